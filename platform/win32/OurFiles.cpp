#include "platform/win32/OurFiles.h"

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
