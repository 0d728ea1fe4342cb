#pragma once

#include <windows.h>

#include "platform/win32/CallbackEdge.h"

// The one window procedure of every window class of ours: the object given to CreateWindowExW is
// bound to its window at WM_NCCREATE, each message goes to its HandleMessage, and nothing thrown
// escapes into Windows. One object may serve several windows (the main window serves its
// containers); its hwnd is the first one bound, and Destroyed() tells it that window is gone.
// A template rather than a base class: a second base of MainWindow would link in the runtime's
// multiple-inheritance type information (2 KB).
template <typename Window>
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return AtCallbackEdge<LRESULT>(0, [&]() -> LRESULT {
        if (message == WM_NCCREATE) {
            auto* self =
                static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            if (!self->hwnd) self->hwnd = window;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
        LRESULT result = self->HandleMessage(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            if (window == self->hwnd) {
                self->hwnd = nullptr;
                self->Destroyed();
            }
        }
        return result;
    });
}

// Registers a class of windows served by `procedure`, with the application's icons when asked
// (windows the taskbar or a caption shows) and a brush when Windows is to erase the background.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, bool icons,
                         HBRUSH background = nullptr);
