#include "platform/win32/OurFiles.h"

#include <vector>

namespace {

// The name a rename through a handle wants for a path: the one the system gives what CreateFileW
// opens, "\??\C:\..." or "\??\UNC\server\share\...".
std::wstring SystemName(const std::wstring& path) {
    std::wstring full(::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    if (full.compare(0, 4, L"\\\\?\\") == 0 || full.compare(0, 4, L"\\\\.\\") == 0)
        return L"\\??\\" + full.substr(4);
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\??\\UNC\\" + full.substr(2);
    return L"\\??\\" + full;
}

// A call that reports failure through the thread's last error, as a code.
DWORD CodeOf(BOOL succeeded) {
    return succeeded ? ERROR_SUCCESS : ::GetLastError();
}

}  // namespace

std::string FileErrorText(const std::string& path, DWORD code) {
    if (code == NotAsWritten) return "Stream write error";
    return "Cannot create file \"" + path + "\". " +
           (code == NotOurFile ? "The name is taken by a link or by a file elsewhere."
                               : SystemErrorText(code));
}

std::wstring FinalPath(HANDLE file) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD size = ::GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (size == 0) return {};
        bool fits = size < path.size();
        path.resize(size);
        if (fits) return path;
    }
}

DWORD FinalPathOfFolder(const std::wstring& folder, std::wstring& final) {
    UniqueFile handle(::CreateFileW(folder.empty() ? L"." : folder.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return ::GetLastError();
    final = FinalPath(handle.get());
    if (final.empty()) return ::GetLastError();
    if (final.back() != L'\\') final += L'\\';  // a drive's root has it already
    return ERROR_SUCCESS;
}

DWORD CheckOurs(HANDLE file, const std::wstring& folder, const std::wstring& name) {
    // Two small queries: GetFileInformationByHandle also asks for the volume, a round trip more.
    FILE_ATTRIBUTE_TAG_INFO tag;
    FILE_STANDARD_INFO standard;
    if (!::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag) ||
        !::GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard))
        return ::GetLastError();
    if (tag.FileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY) ||
        standard.Directory || standard.NumberOfLinks > 1)
        return NotOurFile;
    // Wine shows a Unix symbolic link as a plain file with one link; only the path the file
    // resolves to gives it away.
    std::wstring final = FinalPath(file);
    if (final.empty()) return ::GetLastError();
    return SameName(final, folder + name) ? ERROR_SUCCESS : NotOurFile;
}

DWORD OpenOurs(const std::wstring& folder, const std::wstring& path, DWORD access, UniqueFile& file,
               DWORD sharing) {
    file.reset(::CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        DWORD code = ::GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : code;
    }
    return CheckOurs(file.get(), folder, NameOf(path));
}

DWORD RenameTo(const FileCalls& calls, HANDLE file, const std::wstring& path, bool replace) {
    std::wstring name = SystemName(path);
    // NOLINTNEXTLINE(bugprone-misplaced-widening-cast): size_t and DWORD are both 32 bits here.
    DWORD bytes = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + bytes);  // zeroed: terminated
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = replace;
    rename->FileNameLength = bytes;
    std::copy(name.begin(), name.end(), rename->FileName);
    return CodeOf(
        calls.setFileInformation(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())));
}

DWORD RemoveWhenClosed(const FileCalls& calls, HANDLE file) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    return CodeOf(calls.setFileInformation(file, FileDispositionInfo, &dispose, sizeof dispose));
}

// A handle of its own: the one that holds the file was not opened to change attributes, and
// this right is not bound by sharing. Wine refuses that right on a read-only file to a user who
// cannot write it, but changes attributes through any handle (as its SetFileAttributesW does).
DWORD SetAttributesOfOurs(const FileCalls& calls, const std::wstring& folder,
                          const std::wstring& path, DWORD attributes) {
    UniqueFile file;
    DWORD code = OpenOurs(folder, path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, file);
    if (code == ERROR_ACCESS_DENIED) code = OpenOurs(folder, path, FILE_READ_ATTRIBUTES, file);
    if (code) return code;
    if (!file) return ERROR_FILE_NOT_FOUND;
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic))
        return ::GetLastError();
    if (basic.FileAttributes == attributes) return ERROR_SUCCESS;
    FILE_BASIC_INFO changed{};  // times of 0: left as they are
    changed.FileAttributes = attributes;
    return CodeOf(calls.setFileInformation(file.get(), FileBasicInfo, &changed, sizeof changed));
}
