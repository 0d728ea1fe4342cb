#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"

// A build-tree path as Wine shows it to Windows programs (the Unix root is drive Z:).
inline std::string WindowsPath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return "Z:" + unixPath;
}

// The names in a folder, "." and ".." left out.
inline std::wstring Listing(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    std::wstring names;
    if (!find) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names += (names.empty() ? L"" : L"|") + name;
    } while (::FindNextFileW(find.get(), &found));
    return names;
}

inline void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    {
        UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
        if (find) {
            do {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                std::wstring path = folder + L"\\" + name;
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    ::DeleteFileW(path.c_str());
            } while (::FindNextFileW(find.get(), &found));
        }
    }
    ::RemoveDirectoryW(folder.c_str());
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
