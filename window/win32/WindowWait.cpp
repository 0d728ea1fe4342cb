#include "window/win32/MainWindow.h"

// "Anuluj" stays usable while the user may still leave.
void MainWindow::BeginWait(bool leaveAtOnce) {
    wait.emplace();
    wait->leaveAtOnce = leaveAtOnce;
    wait->focus = ::GetFocus();
    HoldDescriptions(true);
    for (int i = 0; i < WaitButtonCount; ++i) {
        HWND button = Window(WaitButtons[i]);
        if (!button) continue;
        wait->wasEnabled[i] = ::IsWindowEnabled(button) != FALSE;
        if (WaitButtons[i] != Widget::BitBtn3 || !leaveAtOnce) ::EnableWindow(button, FALSE);
    }
}

void MainWindow::EndWait() {
    if (!wait) return;
    WindowWaitState ended = *wait;
    wait.reset();
    for (int i = 0; i < WaitButtonCount; ++i)
        if (HWND button = Window(WaitButtons[i])) ::EnableWindow(button, ended.wasEnabled[i]);
    HoldDescriptions(false);
    if (ended.focus && ::IsWindow(ended.focus) && ::IsWindowEnabled(ended.focus) &&
        ::GetActiveWindow() == hwnd)
        ::SetFocus(ended.focus);
    // The request comes again, now that the wizard can answer it as usual.
    if (ended.leaveAsked && hwnd) ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

bool MainWindow::HoldsOff(const MSG& message) {
    if (!wait || !hwnd || (message.hwnd != hwnd && !::IsChild(hwnd, message.hwnd))) return false;
    bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    if (!key) return false;  // the greyed buttons take no clicks; the rest do nothing with them
    // Escape leaves as the close box does; Alt+F4 and the system menu's keys reach the window,
    // every other key is dropped. With the focused button greyed, keys come as system keys.
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
        message.wParam == VK_ESCAPE) {
        LeaveDuringWait();
        return true;
    }
    bool system = message.message == WM_SYSKEYDOWN || message.message == WM_SYSKEYUP ||
                  message.message == WM_SYSCHAR;
    return !system || !(::GetKeyState(VK_MENU) & 0x8000);
}

void MainWindow::LeaveDuringWait() {
    if (!wait) return;
    if (wait->leaveAtOnce) LeaveNow();
    wait->leaveAsked = true;
}

void MainWindow::LeaveNow() {
    ::ShowWindow(hwnd, SW_HIDE);
    if (HWND owner = ::GetWindow(hwnd, GW_OWNER)) ::ShowWindow(owner, SW_HIDE);
    ::TerminateProcess(::GetCurrentProcess(), 0);
    for (;;) ::Sleep(INFINITE);
}
