#pragma once

#include <windows.h>

#include "platform/Files.h"

// The system calls through which a set writes, swaps and removes its files, so that a test can
// make one of them fail, or end the process at one as a power cut would. Renames, removals and
// attribute changes all go through a handle that was checked, by setFileInformation.
struct FileCalls {
    decltype(&::WriteFile) writeFile = ::WriteFile;
    decltype(&::SetFileInformationByHandle) setFileInformation = ::SetFileInformationByHandle;
};

// How long a set waits for others in a shared folder before it fails: for another installer's
// set to end, and for a file that a reader (a virus scanner, an indexer) holds for a moment, per
// step. Nothing is waited for when nothing is busy.
struct FilePatience {
    DWORD busySetMs = 10000;
    DWORD transientMs = 2000;
};

class Win32Files : public Files {
  public:
    explicit Win32Files(FileSetNames names, FileCalls calls = {}, FilePatience patience = {})
        : names(names), calls(calls), patience(patience) {}
    std::unique_ptr<FileSet> BeginSet(const std::vector<std::string>& targets) override;

  private:
    FileSetNames names;
    FileCalls calls;
    FilePatience patience;
};
