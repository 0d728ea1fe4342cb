#include "window/win32/ApplicationWindow.h"

#include "platform/Failure.h"
#include "platform/win32/Text.h"

namespace {

constexpr wchar_t ClassName[] = L"TApplication";
// Activation is handed on once the system has finished activating this window.
constexpr UINT ActivateWizardMessage = WM_APP + 1;
// No minimise or maximise box: the wizard is not minimised (its own window offers neither).
constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;

}  // namespace

ApplicationWindow::ApplicationWindow(HINSTANCE instance, const std::string& title) {
    RegisterWindowClass(instance, ClassName, &WindowProcedure<ApplicationWindow>, true);
    ::CreateWindowExW(0, ClassName, Widen(title).c_str(), Style,
                      ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0,
                      0, nullptr, nullptr, instance, this);
    if (!hwnd) throw Failure(SystemErrorText(::GetLastError()));
    HMENU menu = ::GetSystemMenu(hwnd, FALSE);
    for (UINT command : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE})
        ::DeleteMenu(menu, command, MF_BYCOMMAND);
}

ApplicationWindow::~ApplicationWindow() {
    if (hwnd) ::DestroyWindow(hwnd);
}

void ApplicationWindow::Represent(HWND window) {
    main = window;
}

void ApplicationWindow::Show() {
    ::ShowWindow(hwnd, SW_SHOWNA);
}

LRESULT ApplicationWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) ::PostMessageW(hwnd, ActivateWizardMessage, 0, 0);
            return 0;
        case WM_GETICON:
            // The taskbar and Alt+Tab ask the window before its class: the class's icons answer.
            // Setting them with WM_SETICON instead would have the window system (Wine's X
            // driver at least) convert both icons again for each call, at start-up.
            if (LRESULT own = ::DefWindowProcW(window, message, wParam, lParam)) return own;
            return static_cast<LRESULT>(
                ::GetClassLongPtrW(window, wParam == ICON_BIG ? GCLP_HICON : GCLP_HICONSM));
        case ActivateWizardMessage:
            ActivateWizard();
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    // As the wizard's own close box would; while a box or the chooser is open the
                    // wizard is disabled, and that box comes forward instead.
                    if (main && ::IsWindowEnabled(main))
                        ::PostMessageW(main, WM_CLOSE, 0, 0);
                    else
                        ActivateWizard();
                    return 0;
                case SC_MINIMIZE:
                case SC_MAXIMIZE:
                case SC_SIZE:
                case SC_MOVE:
                    return 0;
            }
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// The window the user last worked in: the wizard, or a message box or the chooser it opened.
void ApplicationWindow::ActivateWizard() {
    HWND target = ::GetLastActivePopup(hwnd);
    if (target == hwnd) target = main;
    if (target && ::IsWindowVisible(target)) ::SetActiveWindow(target);
}
