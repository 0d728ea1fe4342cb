#pragma once

#include <windows.h>

#include "platform/Files.h"

// The system calls through which a set writes and swaps its files, so that a test can make one
// of them fail, or end the process at one as a power cut would.
struct FileCalls {
    decltype(&::WriteFile) writeFile = ::WriteFile;
    decltype(&::ReplaceFileW) replaceFile = ::ReplaceFileW;
    decltype(&::MoveFileExW) moveFile = ::MoveFileExW;
    decltype(&::DeleteFileW) deleteFile = ::DeleteFileW;
};

class Win32Files : public Files {
  public:
    explicit Win32Files(FileCalls calls = {}) : calls(calls) {}
    std::unique_ptr<FileSet> BeginSet() override;

  private:
    FileCalls calls;
};
