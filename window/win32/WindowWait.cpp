#include "window/win32/WindowWait.h"

namespace {

HWND MainOf(const WidgetWindows& windows) {
    return windows[static_cast<std::size_t>(Widget::Form1)];
}

// Ends the wizard now: its windows go, and the process ends without waiting for the work or
// running any library's unload code (a call into the library may still be in flight).
[[noreturn]] void LeaveNow(HWND main) {
    ::ShowWindow(main, SW_HIDE);
    if (HWND owner = ::GetWindow(main, GW_OWNER)) ::ShowWindow(owner, SW_HIDE);
    ::TerminateProcess(::GetCurrentProcess(), 0);
    for (;;) ::Sleep(INFINITE);
}

}  // namespace

void WindowWait::Begin(const WidgetWindows& windows, bool leaveAtOnce) {
    state.emplace();
    state->leaveAtOnce = leaveAtOnce;
    state->focus = ::GetFocus();
    for (const WidgetRow& row : MainWindowLayout) {
        HWND button = windows[static_cast<std::size_t>(row.name)];
        if (row.kind != WidgetKind::Button || !button) continue;
        state->wasEnabled[static_cast<std::size_t>(row.name)] = ::IsWindowEnabled(button) != FALSE;
        if (row.role != WidgetRole::CancelButton || !leaveAtOnce) ::EnableWindow(button, FALSE);
    }
}

void WindowWait::End(const WidgetWindows& windows) {
    if (!state) return;
    WindowWaitState ended = *state;
    state.reset();
    for (const WidgetRow& row : MainWindowLayout)
        if (HWND button = windows[static_cast<std::size_t>(row.name)];
            button && row.kind == WidgetKind::Button)
            ::EnableWindow(button, ended.wasEnabled[static_cast<std::size_t>(row.name)]);
    HWND main = MainOf(windows);
    if (ended.focus && ::IsWindow(ended.focus) && ::IsWindowEnabled(ended.focus) &&
        ::GetActiveWindow() == main)
        ::SetFocus(ended.focus);
    // The request comes again, now that the wizard can answer it as usual.
    if (ended.leaveAsked && main) ::PostMessageW(main, WM_CLOSE, 0, 0);
}

void WindowWait::Leave(const WidgetWindows& windows) {
    if (!state) return;
    if (state->leaveAtOnce) LeaveNow(MainOf(windows));
    state->leaveAsked = true;
}

bool WindowWait::HoldsOff(const MSG& message, const WidgetWindows& windows) {
    HWND main = MainOf(windows);
    if (!state || !main || (message.hwnd != main && !::IsChild(main, message.hwnd))) return false;
    bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    if (!key) return false;  // the greyed buttons take no clicks; the rest do nothing with them
    // Escape leaves as the close box does; Alt+F4 and the system menu's keys reach the window,
    // every other key is dropped. With the focused button greyed, keys come as system keys.
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
        message.wParam == VK_ESCAPE) {
        Leave(windows);
        return true;
    }
    bool system = message.message == WM_SYSKEYDOWN || message.message == WM_SYSKEYUP ||
                  message.message == WM_SYSCHAR;
    return !system || !(::GetKeyState(VK_MENU) & 0x8000);
}
