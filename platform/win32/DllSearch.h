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
