#pragma once

// What the file tests share: the host program's folder, its six templates and their new
// contents, the folder's state, and a fixture with a temporary folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "install/OverlayFiles.h"
#include "platform/Failure.h"
#include "platform/win32/Win32Files.h"
#include "tests/support/TemplateNames.h"
#include "tests/support/TestFolders.h"

// Waits short enough for a test, long enough to see that a set waits at all.
inline constexpr FilePatience Quick{300, 200};

inline std::string ContentOf(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file) return "<missing>";
    std::string content(::GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!content.empty()) ::ReadFile(file.get(), content.data(), content.size(), &read, nullptr);
    content.resize(read);
    return content;
}

inline void Create(const std::wstring& path, const std::string& content) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), content.data(), content.size(), &written, nullptr));
}

// As the host program holds a template it has open. Wine, like Windows, refuses to open such a
// file, to replace it or to rename over it (a sharing violation), so the test needs no stand-in.
inline UniqueFile HoldWithoutSharing(const std::wstring& path) {
    return UniqueFile(
        ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

// Every file of a folder with its bytes and attributes.
struct FoundFile {
    std::string bytes;
    DWORD attributes;
    bool operator==(const FoundFile& other) const {
        return bytes == other.bytes && attributes == other.attributes;
    }
};
using FolderState = std::map<std::wstring, FoundFile>;
inline void PrintTo(const FolderState& state, std::ostream* out) {
    for (const auto& [name, file] : state)
        *out << "\n  " << Narrow(name) << " " << std::hex << file.attributes << std::dec << " \""
             << file.bytes << "\"";
}

inline FolderState StateOf(const std::wstring& folder) {
    FolderState state;
    for (const std::wstring& name : Listing(folder)) {
        std::wstring path = folder + L"\\" + name;
        state[name] = {ContentOf(path), ::GetFileAttributesW(path.c_str())};
    }
    return state;
}

inline std::string CannotCreate(const std::wstring& path, DWORD code) {
    return "Cannot create file \"" + Narrow(path) + "\". " + SystemErrorText(code);
}

// The six templates of one installation and the folder they lie in as a host program has it:
// protected, plain and missing targets and a file of its own that is none of ours.
inline const std::vector<std::wstring> Names = [] {
    std::vector<std::wstring> wide;
    for (const std::string& name : TemplateNames()) wide.push_back(Widen(name));
    return wide;
}();
using Listed = std::vector<std::wstring>;
inline std::string NewContent(int i) {
    return "{\\rtf nowy " + std::to_string(i) + "}\r\n";
}

inline void MakeHostFolder(const std::wstring& templates) {
    ASSERT_TRUE(::CreateDirectoryW(templates.c_str(), nullptr));
    const DWORD attributes[] = {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN,
                                0,
                                0,
                                FILE_ATTRIBUTE_SYSTEM,
                                0,
                                FILE_ATTRIBUTE_ARCHIVE};
    for (int i : {0, 1, 3, 5}) {
        std::wstring path = templates + L"\\" + Names[i];
        Create(path, "stary " + Narrow(Names[i]));
        if (attributes[i]) {
            ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attributes[i]));
        }
    }
    Create(templates + L"\\Inny.rtf", "szablon innego raportu");
}

inline void Stage(FileSet& set, const std::wstring& path, const std::string& content) {
    set.Stage(Narrow(path), reinterpret_cast<const unsigned char*>(content.data()), content.size());
}

inline std::vector<std::string> SixTargets(const std::wstring& templates) {
    std::vector<std::string> targets;
    for (const std::wstring& name : Names) targets.push_back(Narrow(templates + L"\\" + name));
    return targets;
}

// Stages the six new templates in table order, counting them, and commits them.
inline void InstallSix(
    Files& files, const std::wstring& templates, int& staged,
    const std::function<void()>& beforeCommit = [] {}) {
    std::unique_ptr<FileSet> set = files.BeginSet(SixTargets(templates));
    for (staged = 0; staged < 6; ++staged)
        Stage(*set, templates + L"\\" + Names[staged], NewContent(staged));
    beforeCommit();
    set->Commit();
}

// The next rename through a handle to this name fails, as a share that refuses it for a moment
// would (putting the old file back is a rename to the same name); an empty name refuses none.
inline std::wstring refusedName;
inline BOOL WINAPI RefusingSetFileInformation(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind,
                                              LPVOID info, DWORD size) {
    if (kind == FileRenameInfo && !refusedName.empty()) {
        const auto* rename = static_cast<const FILE_RENAME_INFO*>(info);
        std::wstring to(rename->FileName, rename->FileNameLength / sizeof(wchar_t));
        if (to.size() >= refusedName.size() &&
            to.compare(to.size() - refusedName.size(), refusedName.size(), refusedName) == 0) {
            refusedName.clear();
            ::SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    return ::SetFileInformationByHandle(file, kind, info, size);
}

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        templates = folder.Wide() + L"\\SZABLONY";
        target = templates + L"\\" + Names[0];
    }

    // A set of one file.
    void Replace(const std::wstring& path, const std::string& content) {
        std::unique_ptr<FileSet> set = files.BeginSet({Narrow(path)});
        Stage(*set, path, content);
        set->Commit();
    }
    std::string ErrorOf(const std::wstring& path, const std::string& content) {
        try {
            Replace(path, content);
        } catch (const Failure& error) {
            return error.what();
        }
        return "no error";
    }

    TemporaryFolder folder;
    std::wstring templates;
    std::wstring target;
    Win32Files files{OverlayFileNames, {}, Quick};
};
