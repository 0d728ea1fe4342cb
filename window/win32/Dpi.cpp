#include "window/win32/Dpi.h"

#include "platform/win32/SystemFunctions.h"
#include "window/win32/GdiScope.h"

namespace {

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
    // MDT_EFFECTIVE_DPI = 0; the shell's scaling helper is taken only if something loaded it.
    UINT x = 0, y = 0;
    ProvideSystemFunctions(SystemGroup::Dpi);
    if (auto get = System().GetDpiForMonitor)
        if (SUCCEEDED(get(monitor, 0, &x, &y)) && y > 0) return static_cast<int>(y);
    return SystemDpi();
}

int WindowDpi(HWND window, int fallback) {
    auto get = System().GetDpiForWindow;
    UINT dpi = get ? get(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : fallback;
}

RECT FrameAround(RECT client, DWORD style, DWORD exStyle, int dpi) {
    auto adjust = System().AdjustWindowRectExForDpi;
    if (!adjust || !adjust(&client, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        ::AdjustWindowRectEx(&client, style, FALSE, exStyle);
    return client;
}
