#include "window/win32/WindowProcedure.h"

#include "window/win32/ApplicationWindow.h"

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, bool icons,
                         HBRUSH background) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    if (icons) {
        windowClass.hIcon = ApplicationIcon(instance, ::GetSystemMetrics(SM_CXICON));
        windowClass.hIconSm = ApplicationIcon(instance, ::GetSystemMetrics(SM_CXSMICON));
    }
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    ::RegisterClassExW(&windowClass);
}
