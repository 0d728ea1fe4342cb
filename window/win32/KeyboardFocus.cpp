#include "platform/win32/CommonControls.h"
#include "window/win32/MainWindow.h"

bool MainWindow::TranslateKeyboard(MSG& message) {
    if (!hwnd) return false;
    // Escape leaves the wizard as its close box does. A message box or the folder chooser runs
    // its own loop, so Escape there never gets here and stays theirs.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
        (message.hwnd == hwnd || ::IsChild(hwnd, message.hwnd))) {
        ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    // Enter presses whichever button has the focus, as Space does; the dialog manager alone
    // would press only the one that happens to carry the default style.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        HWND focus = ::GetFocus();
        wchar_t className[16] = {};
        if (focus && ::IsChild(hwnd, focus) && ::IsWindowEnabled(focus) &&
            ::GetClassNameW(focus, className, 16) && ::lstrcmpiW(className, WC_BUTTONW) == 0) {
            ::SendMessageW(focus, BM_CLICK, 0, 0);
            return true;
        }
    }
    return ::IsDialogMessageW(hwnd, &message) != FALSE;
}

// Keeps the focused control across message boxes and switching applications.
void MainWindow::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) return;
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(hwnd, focus)) lastFocus = focus;
}

void MainWindow::OnSetFocus() {
    if (lastFocus && ::IsWindow(lastFocus) && ::IsWindowVisible(lastFocus) &&
        ::IsWindowEnabled(lastFocus))
        ::SetFocus(lastFocus);
    else
        KeepFocusUsable();
}

// A handler may have disabled or hidden the focused button; move on as Tab would, so the keyboard
// keeps working.
void MainWindow::KeepFocusUsable() {
    if (!hwnd || ::GetActiveWindow() != hwnd) return;
    HWND focus = ::GetFocus();
    if (focus && focus != hwnd && ::IsChild(hwnd, focus) && ::IsWindowVisible(focus) &&
        ::IsWindowEnabled(focus))
        return;
    HWND next = ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
    if (next) ::SetFocus(next);
}
