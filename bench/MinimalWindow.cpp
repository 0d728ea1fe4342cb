// The start-up baseline: the smallest Win32 window program the same toolchain makes.
#include <windows.h>

#include "bench/BaselineWindow.h"

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    RegisterBaselineClass(instance, WindowProc, L"MinimalWindow");
    HWND window = CreateWindowW(L"MinimalWindow", L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 666, 206, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);
    return RunBaselineMessages();
}
