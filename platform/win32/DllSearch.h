#pragma once

#include <windows.h>

// The installer usually runs from a Downloads folder, where a web page can leave any DLL. Before
// anything loads a DLL that is not one of Windows' known DLLs, the search is restricted to the
// system folder and the system DLLs that others load implicitly are loaded from there.
void SecureDllSearch();

// True when the loader takes the LOAD_LIBRARY_SEARCH_* flags (Windows 7 with its loader update
// and later).
bool HasSearchFlags();

// Loads a system DLL from the system folder, whatever the search order; null when this Windows
// lacks it.
HMODULE LoadFromSystemFolder(const wchar_t* name);

// An export of a module as the function type the caller names; null when the module (null too)
// or the export is missing.
template <typename Function>
Function ExportOf(HMODULE module, const char* name) {
    FARPROC address = module ? ::GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

// Loads from the system folder what the shell loads implicitly, before the shell itself (once,
// through SystemFunctions.h); kept for the life of the process. Only the folder chooser needs
// the shell, so it is not imported and costs nothing at start.
void LoadShellHelpers();
