#include "platform/win32/ApplicationWindow.h"

#include "platform/Conventions.h"
#include "platform/Failure.h"
#include "platform/win32/CallbackEdge.h"
#include "platform/win32/Text.h"

namespace {

constexpr wchar_t ClassName[] = L"TApplication";
// Activation is handed on once the system has finished activating this window.
constexpr UINT ActivateWizardMessage = WM_APP + 1;
// No minimise or maximise box: the wizard is not minimised (its own window offers neither).
constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;

}  // namespace

ApplicationWindow::ApplicationWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &ApplicationWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ApplicationIcon(instance, ::GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = ApplicationIcon(instance, ::GetSystemMetrics(SM_CXSMICON));
    windowClass.lpszClassName = ClassName;
    ::RegisterClassExW(&windowClass);
    ::CreateWindowExW(0, ClassName, Widen(ApplicationTitle).c_str(), Style,
                      ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0,
                      0, nullptr, nullptr, instance, this);
    if (!hwnd) throw Failure(SystemErrorText(::GetLastError()));
    // Set on the window too, where the taskbar and Alt+Tab ask for them.
    ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowClass.hIcon));
    ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowClass.hIconSm));
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

LRESULT CALLBACK ApplicationWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    return AtCallbackEdge<LRESULT>(0, [&]() -> LRESULT {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<ApplicationWindow*>(
                reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->hwnd = window;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self =
            reinterpret_cast<ApplicationWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->hwnd = nullptr;
        }
        return self->HandleMessage(message, wParam, lParam);
    });
}

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) ::PostMessageW(hwnd, ActivateWizardMessage, 0, 0);
            return 0;
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
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// The window the user last worked in: the wizard, or a message box or the chooser it opened.
void ApplicationWindow::ActivateWizard() {
    HWND target = ::GetLastActivePopup(hwnd);
    if (target == hwnd) target = main;
    if (target && ::IsWindowVisible(target)) ::SetActiveWindow(target);
}
