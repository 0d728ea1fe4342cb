#include "platform/win32/Win32Files.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"

namespace {

// Thrown for any failure to create or replace the target; the target is untouched by then.
class CreateError : public std::runtime_error {
  public:
    CreateError(const std::string& path, DWORD code)
        : std::runtime_error("Cannot create file \"" + path + "\". " + SystemErrorText(code)) {}
};

std::wstring FolderOf(const std::wstring& path) {
    std::wstring::size_type slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    // "\name" lies in the root of the current drive, "D:\name" in the root of D:.
    if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

// The temporary file beside the target, removed unless it has become the target.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::wstring path) : path(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path.empty()) ::DeleteFileW(path.c_str());
    }
    const std::wstring& Path() const { return path; }
    void Keep() { path.clear(); }

  private:
    std::wstring path;
};

// WriteFile takes at most a DWORD's worth and may write less than asked, so it is called until
// every byte is out; a call that writes nothing is a failure.
bool WriteAll(HANDLE file, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

// The target must be writable by us and by nobody else right now, as it would be for overwriting
// it in place. Renaming over it is not asked that everywhere (Wine lets a rename replace a
// read-only file), so it is asked here first.
DWORD CheckTargetWritable(const std::wstring& target) {
    UniqueFile file(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return ERROR_SUCCESS;
    DWORD code = ::GetLastError();
    return code == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : code;
}

}  // namespace

bool Win32Files::SetAttributes(const std::string& path, std::uint32_t attributes) {
    return ::SetFileAttributesW(Widen(path).c_str(), attributes) != FALSE;
}

// The bytes go to a new file in the target's folder, which then replaces the target in one step:
// a failure at any point leaves the target with its previous content (or absent), never partial.
void Win32Files::ReplaceContents(const std::string& path, const unsigned char* data,
                                 std::size_t size) {
    std::wstring target = Widen(path);
    wchar_t temporaryPath[MAX_PATH];
    if (!::GetTempFileNameW(FolderOf(target).c_str(), L"z27", 0, temporaryPath))
        throw CreateError(path, ::GetLastError());
    TemporaryFile temporary(temporaryPath);

    UniqueFile file(::CreateFileW(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr,
                                  TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw CreateError(path, ::GetLastError());
    if (!WriteAll(file.get(), data, size)) throw std::runtime_error("Stream write error");
    if (!::FlushFileBuffers(file.get())) throw CreateError(path, ::GetLastError());
    file.reset();

    if (DWORD code = CheckTargetWritable(target)) throw CreateError(path, code);
    if (!::MoveFileExW(temporary.Path().c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw CreateError(path, ::GetLastError());
    temporary.Keep();
}
