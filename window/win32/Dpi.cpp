#include "window/win32/Dpi.h"

#include "platform/win32/DllSearch.h"
#include "window/win32/GdiScope.h"

namespace {

// Only from modules already loaded: these functions are not worth loading a DLL for. Each is
// looked up once, at start-up: a lookup while a foreign library runs its DllMain would wait for it.
template <typename Function>
Function LoadedExport(const wchar_t* module, const char* name) {
    return ExportOf<Function>(::GetModuleHandleW(module), name);
}

int SystemDpi() {
    WindowDc screen(nullptr);
    int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

}  // namespace

HMONITOR MonitorOfPointer() {
    POINT pointer{0, 0};
    ::GetCursorPos(&pointer);
    return ::MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
}

int MonitorDpi(HMONITOR monitor) {
    // MDT_EFFECTIVE_DPI = 0; the shell's scaling helpers are loaded by the shell, not by us.
    using Function = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    UINT x = 0, y = 0;
    static const auto get = LoadedExport<Function>(L"shcore.dll", "GetDpiForMonitor");
    if (get)
        if (SUCCEEDED(get(monitor, 0, &x, &y)) && y > 0) return static_cast<int>(y);
    return SystemDpi();
}

int WindowDpi(HWND window, int fallback) {
    using Function = UINT(WINAPI*)(HWND);
    static const auto get = LoadedExport<Function>(L"user32.dll", "GetDpiForWindow");
    UINT dpi = get ? get(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : fallback;
}

RECT FrameAround(RECT client, DWORD style, DWORD exStyle, int dpi) {
    using Function = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = LoadedExport<Function>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&client, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        ::AdjustWindowRectEx(&client, style, FALSE, exStyle);
    return client;
}
