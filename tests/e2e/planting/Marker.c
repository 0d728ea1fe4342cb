// A stand-in planted beside the installer under a system DLL's name. Loaded, it appends its own
// path to the file named by PLANTED_DLL_LOG; its exports (the real DLL's names and ordinals, all
// one stub) only let a static import of it resolve, so that loading gets as far as this.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t log[MAX_PATH], path[MAX_PATH + 2];
    DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (!GetEnvironmentVariableW(L"PLANTED_DLL_LOG", log, MAX_PATH) || length == 0) return TRUE;
    path[length++] = L'\n';
    HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    DWORD written;
    WriteFile(file, path, length * sizeof(wchar_t), &written, NULL);
    CloseHandle(file);
    return TRUE;
}

int Stub(void) {
    return 0;
}
