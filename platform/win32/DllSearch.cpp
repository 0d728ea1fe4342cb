#include "platform/win32/DllSearch.h"

#include <windows.h>

#include "platform/win32/SystemFunctions.h"

namespace {

// Loaded implicitly by system DLLs that are not known DLLs themselves, so a copy beside the
// installer would be found before the system's. At start: the common controls' visual styles
// (uxtheme, dwmapi, and msimg32, which uxtheme draws with) and their version check (version).
// Those a given Windows lacks are not loaded.
const wchar_t* const LoadedByCommonControls[] = {
    L"uxtheme.dll",
    L"dwmapi.dll",
    L"msimg32.dll",
    L"version.dll",
};

// What the shell's folder chooser brings in, loaded only when it is first opened.
const wchar_t* const LoadedByShell[] = {
    L"propsys.dll", L"profapi.dll", L"userenv.dll",         L"cryptbase.dll",
    L"ntmarta.dll", L"apphelp.dll", L"windows.storage.dll",
};

}  // namespace

// A Windows 7 without its loader update has neither the flags nor a default search to restrict;
// there each DLL is loaded by its full system path instead.
HMODULE LoadFromSystemFolder(const wchar_t* name) {
    if (HasSearchFlags()) return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t path[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + ::lstrlenW(name) >= MAX_PATH) return nullptr;
    path[length] = L'\\';
    ::lstrcpyW(path + length + 1, name);
    return ::LoadLibraryW(path);
}

// Windows 7 without its loader update lacks the function that comes with the flags.
bool HasSearchFlags() {
    return System().SetDefaultDllDirectories != nullptr;
}

void SecureDllSearch() {
    if (auto restrict = System().SetDefaultDllDirectories) restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Kept loaded for the life of the process: whoever asks for them later gets these.
    for (const wchar_t* name : LoadedByCommonControls) LoadFromSystemFolder(name);
}

void LoadShellHelpers() {
    for (const wchar_t* helper : LoadedByShell) LoadFromSystemFolder(helper);
}
