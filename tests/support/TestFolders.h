#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"

// A build-tree path (Unix) as Wine shows it to Windows programs: the Unix root is drive Z:.
inline std::string WindowsPath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return "Z:" + unixPath;
}

// The names in a folder, sorted, "." and ".." left out.
inline std::vector<std::wstring> Listing(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}
inline std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const std::wstring& name : Listing(Widen(folder))) names.push_back(Narrow(name));
    return names;
}

// A file or a folder with everything in it; read-only files cannot be deleted, so attributes go
// first.
inline void RemoveTree(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found{};
    {
        UniqueFind search(::FindFirstFileW((path + L"\\*").c_str(), &found));
        if (search) {
            do {
                std::wstring name = found.cFileName;
                if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
            } while (::FindNextFileW(search.get(), &found));
        }
    }
    ::RemoveDirectoryW(path.c_str());
}

// A fresh folder under the user's temporary folder (or under `base`, ending in a backslash),
// removed with everything in it.
class TemporaryFolder {
  public:
    explicit TemporaryFolder(std::wstring base = TemporaryPath()) {
        static unsigned serial = 0;
        path = std::wstring(base) + L"instalator-test-" + std::to_wstring(::GetCurrentProcessId()) +
               L"-" + std::to_wstring(++serial);
        RemoveTree(path);
        ::CreateDirectoryW(path.c_str(), nullptr);
    }
    ~TemporaryFolder() { RemoveTree(path); }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::wstring& Wide() const { return path; }
    std::string Narrow() const { return ::Narrow(path); }

  private:
    static std::wstring TemporaryPath() {
        wchar_t base[MAX_PATH];
        ::GetTempPathW(MAX_PATH, base);
        return base;
    }

    std::wstring path;
};
