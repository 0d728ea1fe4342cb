#include "platform/win32/CommonControls.h"

void InitialiseCommonControls() {
    // By name, not by path: the manifest redirects the name to version 6 in WinSxS; the search
    // behind the redirection is the restricted one.
    HMODULE controls = ::LoadLibraryW(L"comctl32.dll");
    using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    FARPROC address = controls ? ::GetProcAddress(controls, "InitCommonControlsEx") : nullptr;
    if (!address) return;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    reinterpret_cast<InitCommonControlsExFunction>(reinterpret_cast<void (*)()>(address))(&classes);
}
