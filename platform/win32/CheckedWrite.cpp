#include "platform/win32/CheckedWrite.h"

#include <algorithm>
#include <cstdint>

namespace {

// WriteFile takes at most a DWORD's worth and may write less than asked, so it is called until
// every byte is out; a call that writes nothing is a failure.
bool WriteAll(const FileCalls& calls, HANDLE file, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!calls.writeFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

// The new file is written and read back past the system's cache where the file system allows
// it (a share may have acknowledged a write it did not keep), through the one handle: in whole
// sectors between sector-aligned memory and the disk, the end trimmed after the write. Windows
// knows disks of 512- and 4096-byte sectors only.
constexpr std::size_t Sector = 4096;

}  // namespace

// Some file systems refuse the unbuffered way: then it goes through the cache.
DWORD CreateNew(const std::wstring& path, UniqueFile& file) {
    for (DWORD unbuffered : {DWORD(FILE_FLAG_NO_BUFFERING), DWORD(0)}) {
        file.reset(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                 FILE_SHARE_READ, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_ARCHIVE | unbuffered, nullptr));
        if (file) return ERROR_SUCCESS;
        if (::GetLastError() != ERROR_INVALID_PARAMETER) break;
    }
    return ::GetLastError();
}

DWORD WriteChecked(const FileCalls& calls, HANDLE file, const unsigned char* data, std::size_t size,
                   std::vector<unsigned char>& buffer) {
    std::size_t padded = (size + Sector - 1) / Sector * Sector;
    std::size_t room = padded + Sector;  // more than expected, to see it
    buffer.assign(Sector + padded + room, 0);
    unsigned char* out =
        buffer.data() +
        (Sector - reinterpret_cast<std::uintptr_t>(buffer.data()) % Sector) % Sector;
    unsigned char* in = out + padded;
    std::copy(data, data + size, out);
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!WriteAll(calls, file, out, padded)) return NotAsWritten;
    if (!::SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end) ||
        !::FlushFileBuffers(file) ||
        ::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return ::GetLastError();
    std::size_t total = 0;
    for (DWORD read = 0; total < room; total += read) {
        if (!::ReadFile(file, in + total, static_cast<DWORD>(room - total), &read, nullptr))
            return ::GetLastError();
        if (read % Sector != 0 || read == 0) {  // the end of the file
            total += read;
            break;
        }
    }
    return total == size && std::equal(data, data + size, in) ? ERROR_SUCCESS : NotAsWritten;
}
