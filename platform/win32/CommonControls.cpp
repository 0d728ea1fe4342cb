#include "platform/win32/CommonControls.h"

#include "platform/win32/DllSearch.h"

void InitialiseCommonControls() {
    // By name, not by path: the manifest redirects the name to version 6 in WinSxS; the search
    // behind the redirection is the restricted one.
    HMODULE controls = ::LoadLibraryW(L"comctl32.dll");
    auto initialise = ExportOf<decltype(&::InitCommonControlsEx)>(controls, "InitCommonControlsEx");
    if (!initialise) return;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    initialise(&classes);
}
