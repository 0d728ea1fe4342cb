#pragma once

// The COM and shell headers need windows.h before them.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
// clang-format on

// clang-format off
// The functions of system DLLs that the executable does not import, in one table: those of
// Windows newer than the oldest we run on, and those of DLLs loaded only when first needed (COM,
// accessibility, the shell), so that they cost nothing at start and no copy beside the installer
// is ever picked up. Columns: the group the function is looked up with, its DLL, its name, its type.
#define INSTALATOR_SYSTEM_FUNCTIONS(X) \
    X(Start,         L"kernel32.dll", SetDefaultDllDirectories,  BOOL(WINAPI*)(DWORD)) \
    X(Start,         L"user32.dll",   GetDpiForWindow,           UINT(WINAPI*)(HWND)) \
    X(Start,         L"user32.dll",   AdjustWindowRectExForDpi,  BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)) \
    X(Dpi,           L"shcore.dll",   GetDpiForMonitor,          HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)) \
    X(Controls,      L"comctl32.dll", InitCommonControlsEx,      BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)) \
    X(Com,           L"ole32.dll",    CoInitializeEx,            HRESULT(WINAPI*)(void*, DWORD)) \
    X(Com,           L"ole32.dll",    CoUninitialize,            void(WINAPI*)()) \
    X(Com,           L"ole32.dll",    CoTaskMemFree,             void(WINAPI*)(void*)) \
    X(Com,           L"ole32.dll",    CoCreateInstance,          HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**)) \
    X(Accessibility, L"oleacc.dll",   CreateStdAccessibleObject, HRESULT(WINAPI*)(HWND, LONG, REFIID, void**)) \
    X(Accessibility, L"oleacc.dll",   LresultFromObject,         LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*)) \
    X(Accessibility, L"oleaut32.dll", SysAllocStringLen,         BSTR(WINAPI*)(const OLECHAR*, UINT)) \
    X(Shell,         L"shell32.dll",  SHBrowseForFolderW,        PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOW*)) \
    X(Shell,         L"shell32.dll",  SHGetPathFromIDListW,      BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, wchar_t*))
// clang-format on

// When each group is looked up:
// - Start: from modules every process of ours has loaded (kernel32, user32), before main runs,
//   so before any second thread exists;
// - Dpi: the shell's scaling helper, only if something has loaded it (it is not worth loading);
// - Controls: the common controls, by name, which the manifest redirects to version 6 (the search
//   behind the redirection is the restricted one), once the DLL search is restricted;
// - Com, Accessibility: loaded from the system folder when first needed;
// - Shell: the same, after what the shell loads implicitly (DllSearch.h) and COM.
// Only the thread that started the process (the window's) provides a group, and never while the
// wizard waits for foreign code, which may hold the loader lock: the folder chooser and the
// accessibility answers run there and then alone. On any other thread a group is not provided.
enum class SystemGroup { Start, Dpi, Controls, Com, Accessibility, Shell };

template <typename Type>
using SystemFunctionType = Type;  // names a function pointer type written as in the table

struct SystemFunctions {
#define INSTALATOR_SYSTEM_FUNCTION_MEMBER(group, dll, name, type) \
    SystemFunctionType<type> name = nullptr;
    INSTALATOR_SYSTEM_FUNCTIONS(INSTALATOR_SYSTEM_FUNCTION_MEMBER)
#undef INSTALATOR_SYSTEM_FUNCTION_MEMBER
};

// The table; a function is null until its group is provided, and where this Windows lacks it.
const SystemFunctions& System();

// Looks the group's functions up, once; true when every one of them is there.
bool ProvideSystemFunctions(SystemGroup group);
