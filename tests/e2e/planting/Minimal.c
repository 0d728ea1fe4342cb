// What any program gets from Wine: it restricts its DLL search to the system folder first thing
// and does nothing else. It imports from the same known DLLs as the installer, so that Wine
// resolves the same dependencies for it.
#include <shlobj.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)instance, (void)previous, (void)commandLine;
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFunction)(DWORD);
    SetDefaultDllDirectoriesFunction restrictSearch =
        (SetDefaultDllDirectoriesFunction)(void (*)(void))GetProcAddress(
            GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (restrictSearch) restrictSearch(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Never taken: only there to import what the installer imports.
    if (show == -12345) {
        MessageBoxW(NULL, NULL, NULL, 0);
        GetStockObject(0);
        RegCloseKey(NULL);
        SHGetPathFromIDListW(NULL, NULL);
        CoUninitialize();
    }
    return 0;
}
