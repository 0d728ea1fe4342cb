#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/UniqueHandle.h"

// The files a set keeps beside its targets carry names no other program uses, and only a plain
// file with one name is taken for one of them: a link or a hard link could reach a file that is
// not ours.
inline constexpr wchar_t NewSuffix[] = L".z27z-new";
inline constexpr wchar_t BackupSuffix[] = L".z27z-old";

// The error for a name of ours that is taken by a link or by a file with another name elsewhere.
inline constexpr DWORD NotOurFile = ERROR_CANT_ACCESS_FILE;

inline std::wstring NameOf(const std::wstring& path) {
    return path.substr(path.find_last_of(L"\\/") + 1);
}
// As Windows compares file names: without regard to case, character by character.
inline bool SameName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}
inline bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// One plain file with this one name: not a link or a junction (the handle must be opened with
// FILE_FLAG_OPEN_REPARSE_POINT), not a folder, not a hard link that another name shares.
inline DWORD CheckOurs(HANDLE file) {
    // Two small queries: GetFileInformationByHandle also asks for the volume, a round trip more.
    FILE_ATTRIBUTE_TAG_INFO tag;
    FILE_STANDARD_INFO standard;
    if (!::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag) ||
        !::GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard))
        return ::GetLastError();
    if (tag.FileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY) ||
        standard.Directory || standard.NumberOfLinks > 1)
        return NotOurFile;
    return ERROR_SUCCESS;
}

// Opens a file of ours without following a link and checks it; a missing one is no error and
// leaves `file` empty. Sharing all but `sharing` away makes whoever holds the file that way fail
// it.
inline DWORD OpenOurs(const std::wstring& path, DWORD access, UniqueFile& file,
                      DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) {
    file.reset(::CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        DWORD code = ::GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : code;
    }
    return CheckOurs(file.get());
}

// A reader (a virus scanner, an indexer, another lab computer) holds a file for a moment.
inline bool IsTransient(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
}

// Repeats a step while it fails for a reason that passes, for at most `patienceMs`; a step that
// succeeds or fails for good the first time costs no wait. The pauses stay short: a reader that
// takes the file up again at once (a scanner going round the folder while the set holds the
// other targets) leaves it free only for moments, which long pauses would miss.
template <typename Step, typename Passing>
DWORD Patiently(DWORD patienceMs, Step step, Passing passing) {
    DWORD start = ::GetTickCount();
    for (DWORD pause = 1;; pause = std::min<DWORD>(pause * 2, 4)) {
        DWORD code = step();
        if (!passing(code) || ::GetTickCount() - start >= patienceMs) return code;
        ::Sleep(pause);
    }
}
template <typename Step>
DWORD Patiently(DWORD patienceMs, Step step) {
    return Patiently(patienceMs, step, IsTransient);
}
