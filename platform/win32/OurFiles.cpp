#include "platform/win32/OurFiles.h"

#include "platform/win32/UniqueHandle.h"

DWORD CheckOurs(HANDLE file) {
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

DWORD RemoveLeftover(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        DWORD code = ::GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : code;
    }
    if (DWORD code = CheckOurs(file.get())) return code;
    FILE_DISPOSITION_INFO dispose{TRUE};
    return ::SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose)
               ? ERROR_SUCCESS
               : ::GetLastError();
}

DWORD CheckOursByName(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        DWORD code = ::GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : code;
    }
    return CheckOurs(file.get());
}
