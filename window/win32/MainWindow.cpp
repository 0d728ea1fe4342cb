#include "window/win32/MainWindow.h"

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleChildNotification(message, wParam, lParam, result)) return result;
    if (window != hwnd) {
        // A container: a panel, the page control or a page.
        if (message == WM_ERASEBKGND) {
            EraseContainer(window, reinterpret_cast<HDC>(wParam));
            return 1;
        }
    } else {
        if (HandleDpiChange(message, wParam, lParam, result)) return result;
        switch (message) {
            case WM_ACTIVATE:
                OnActivate(wParam);
                return 0;
            case WM_SETFOCUS:
                OnSetFocus();
                return 0;
            case WM_CLOSE:
                if (wait)
                    LeaveDuringWait();
                else if (events)
                    Forward([this] { events->CloseRequested(); });
                return 0;
            case CloseNow:
                ::DestroyWindow(hwnd);
                return 0;
            case WM_DESTROY:
                ::PostQuitMessage(0);
                return 0;
            case WM_SETTINGCHANGE:
                if (wParam != SPI_SETHIGHCONTRAST) break;
                [[fallthrough]];
            case WM_SYSCOLORCHANGE:
                FollowSystemColours();
                return 0;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void MainWindow::Destroyed() {
    lastFocus = nullptr;
    windows.fill(nullptr);
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
    std::optional<Widget> widget = WidgetOfControlId(LOWORD(wParam));
    if (!widget) return;
    // While the wizard waits, a click acts at no later time; only "Anuluj" asks to leave.
    if (wait) {
        if (*widget == Widget::BitBtn3) LeaveDuringWait();
        return;
    }
    Forward([this, clicked = *widget] { events->Clicked(clicked); });
}

template <typename Report>
void MainWindow::Forward(Report report) {
    report();
    KeepFocusUsable();
    outcomes.AnnounceChanges(windows);
}
