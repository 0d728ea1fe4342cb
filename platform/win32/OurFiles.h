#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Files.h"

// The files a set keeps beside its targets carry names no other program uses (the caller's
// FileSetNames), and only a plain file with one name, that lies in the set's folder under the name
// it was opened by, is taken for one of them: a link or a hard link could reach a file that is not
// ours.
struct OurNames {
    explicit OurNames(const FileSetNames& names)
        : journal(Widen(names.journal)),
          fresh(Widen(names.newSuffix)),
          backup(Widen(names.backupSuffix)) {}
    std::wstring journal, fresh, backup;  // a file name, two suffixes
};

// Every helper of the set returns a system error code, 0 for success; where the system has no
// code for what went wrong, one of ours, with the bit Windows leaves to applications' own codes.
// A name of ours that is taken by a link or by a file with another name elsewhere:
inline constexpr DWORD NotOurFile = 0x20000001;
// A file that did not read back as it was written:
inline constexpr DWORD NotAsWritten = 0x20000002;

// The text of an error met while creating or replacing `path` (Windows-1250).
std::string FileErrorText(const std::string& path, DWORD code);

inline std::wstring NameOf(const std::wstring& path) {
    return path.substr(path.find_last_of(L"\\/") + 1);
}
// As Windows compares file names: whole names, without regard to case, character by character.
inline bool SameName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The path the system resolves an open file or folder to, links, mapped and substituted drives
// followed ("\\?\C:\..." or "\\?\UNC\..."); empty when it cannot say.
std::wstring FinalPath(HANDLE file);

// The final path of the folder a set works in, which every file of ours must lie directly in:
// taken from the folder itself, as the drive letter it is named by may stand for another path.
DWORD FinalPathOfFolder(const std::wstring& folder, std::wstring& final);

// One plain file, `name` in the folder whose final path is `folder`: not a link or a junction
// (the handle must be opened with FILE_FLAG_OPEN_REPARSE_POINT), not a folder, not a hard link
// that another name shares, not a file elsewhere that the name leads to.
DWORD CheckOurs(HANDLE file, const std::wstring& folder, const std::wstring& name);

// Opens a file of ours without following a link and checks it; a missing one is no error and
// leaves `file` empty. Sharing all but `sharing` away makes whoever holds the file that way fail
// it.
DWORD OpenOurs(const std::wstring& folder, const std::wstring& path, DWORD access, UniqueFile& file,
               DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);

// Gives the file open as `file` the name `path`, which must be free unless `replace` says so.
DWORD RenameTo(const FileCalls& calls, HANDLE file, const std::wstring& path, bool replace = false);

// Removes the file open as `file` when the last handle to it is closed.
DWORD RemoveWhenClosed(const FileCalls& calls, HANDLE file);

// Gives a file of ours these attributes, through a handle that was checked.
DWORD SetAttributesOfOurs(const FileCalls& calls, const std::wstring& folder,
                          const std::wstring& path, DWORD attributes);

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
