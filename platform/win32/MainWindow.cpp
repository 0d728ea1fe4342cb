#include "platform/win32/MainWindow.h"

#include "platform/win32/CallbackEdge.h"

namespace {

// Close() queues this rather than WM_CLOSE, which is the user's request and goes to the events.
constexpr UINT CloseNow = WM_APP + 1;

MainWindow* Owner(HWND window) {
    return reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return AtCallbackEdge<LRESULT>(0, [&]() -> LRESULT {
        if (message == WM_NCCREATE) {
            auto* self =
                static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->hwnd = window;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        MainWindow* self = Owner(window);
        if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
        LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->hwnd = nullptr;
            self->lastFocus = nullptr;
            self->windows.fill(nullptr);
        }
        return result;
    });
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleChildNotification(message, wParam, lParam, result)) return result;
    if (HandleDpiChange(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_ACTIVATE:
            OnActivate(wParam);
            return 0;
        case WM_SETFOCUS:
            OnSetFocus();
            return 0;
        case WM_CLOSE:
            if (events) Forward([this] { events->CloseRequested(); });
            return 0;
        case CloseNow:
            ::DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::ContainerProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    return AtCallbackEdge<LRESULT>(0, [&]() -> LRESULT {
        if (message == WM_NCCREATE)
            ::SetWindowLongPtrW(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(
                                    reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        if (MainWindow* self = Owner(window)) {
            LRESULT result = 0;
            if (self->HandleChildNotification(message, wParam, lParam, result)) return result;
            if (message == WM_ERASEBKGND) {
                self->EraseContainer(window, reinterpret_cast<HDC>(wParam));
                return 1;
            }
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    });
}

bool MainWindow::HandleChildNotification(UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            result = 0;
            return true;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            result = ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            return result != 0;
        case WM_DRAWITEM:
            DrawOwnerDrawn(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            result = TRUE;
            return true;
    }
    return false;
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED || !lParam || !events) return;
    if (std::optional<Widget> widget = WidgetOfControlId(LOWORD(wParam)))
        Forward([this, clicked = *widget] { events->Clicked(clicked); });
}

template <typename Report>
void MainWindow::Forward(Report report) {
    report();
    KeepFocusUsable();
}

void MainWindow::Close() {
    if (hwnd) ::PostMessageW(hwnd, CloseNow, 0, 0);
}
