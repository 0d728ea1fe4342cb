#pragma once

#include <windows.h>

#include "platform/win32/DllSearch.h"

// A function of a system DLL the executable does not import (accessibility, COM), loaded when
// first needed from the system folder, so that no copy beside the installer is ever picked up;
// null when this Windows lacks it.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = ::GetModuleHandleW(dll);
    return ExportOf<Function>(module ? module : LoadFromSystemFolder(dll), name);
}
