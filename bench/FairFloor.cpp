// The fair start-up floor: the wizard's windows from the same layout table, with the same
// manifest (common controls 6), and nothing else: no fonts, pictures, logic or services.
#include <windows.h>

#include "bench/BaselineWindow.h"
#include "window/Layout.h"

namespace {

HWND windows[WidgetCount];

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && window == windows[0]) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* ClassOf(WidgetKind kind) {
    switch (kind) {
        case WidgetKind::Edit:
            return L"Edit";
        case WidgetKind::Button:
            return L"Button";
        case WidgetKind::Picture:
        case WidgetKind::Label:
        case WidgetKind::StaticText:
            return L"Static";
        default:
            return L"FairFloor";
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    RegisterBaselineClass(instance, WindowProc, L"FairFloor");
    for (const WidgetRow& row : MainWindowLayout) {
        wchar_t text[128] = L"";
        MultiByteToWideChar(1250, 0, row.content, -1, text, 128);
        bool main = row.kind == WidgetKind::MainWindow;
        DWORD style = main ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN
                           : WS_CHILD | WS_CLIPSIBLINGS | (row.state & Hidden ? 0 : WS_VISIBLE) |
                                 (row.state & Disabled ? WS_DISABLED : 0);
        RECT rect{row.left, row.top, row.left + row.width, row.top + row.height};
        if (main) AdjustWindowRectEx(&rect, style, FALSE, WS_EX_DLGMODALFRAME);
        windows[static_cast<int>(row.name)] = CreateWindowExW(
            main ? WS_EX_DLGMODALFRAME : 0, ClassOf(row.kind), text, style,
            main ? CW_USEDEFAULT : rect.left, main ? CW_USEDEFAULT : rect.top,
            rect.right - rect.left, rect.bottom - rect.top,
            main ? nullptr : windows[static_cast<int>(row.parent)], nullptr, instance, nullptr);
    }
    ShowWindow(windows[0], show);
    UpdateWindow(windows[0]);
    return RunBaselineMessages();
}
