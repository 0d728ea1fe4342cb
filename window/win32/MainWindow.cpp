#include "window/win32/MainWindow.h"

namespace {

// From Windows 10 version 1703; the headers declare it only for programs that require that.
constexpr UINT GetDpiScaledSizeMessage = 0x02E4;  // WM_GETDPISCALEDSIZE

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, std::string title, int dpi)
    : title(std::move(title)), appearance(instance), layout(instance, dpi, appearance) {}

MainWindow::~MainWindow() {
    if (hwnd) ::DestroyWindow(hwnd);
}

void MainWindow::Create(WindowEvents& windowEvents, HWND owner) {
    layout.Create(owner, &WindowProcedure<MainWindow>, this);
    accessibility.Describe(layout.Windows());
    lastFocus = layout.Window(WidgetWithRole(WidgetRole::DefaultButton));
    events = &windowEvents;
    events->Created();
}

void MainWindow::CreateHiddenPages() {
    if (layout.MakeHiddenPages()) accessibility.Describe(layout.Windows());
}

HWND MainWindow::Made(Widget widget) {
    if (!layout.Window(widget)) CreateHiddenPages();
    return layout.Window(widget);
}

void MainWindow::Show(int showCommand) {
    ::ShowWindow(hwnd, showCommand);
    ::UpdateWindow(hwnd);
}

void MainWindow::BeginWait(bool leaveAtOnce) {
    wait.Begin(layout.Windows(), leaveAtOnce);
    accessibility.Hold(true);
}

void MainWindow::EndWait() {
    accessibility.Hold(false);
    wait.End(layout.Windows());
}

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleChildNotification(message, wParam, lParam, result)) return result;
    if (window != hwnd) {
        // A container: a panel, the page control or a page.
        if (message == WM_ERASEBKGND) {
            appearance.EraseContainer(window, reinterpret_cast<HDC>(wParam));
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
                if (wait.Waiting())
                    wait.Leave(layout.Windows());
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
                appearance.FollowSystemColours(hwnd);
                return 0;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void MainWindow::Destroyed() {
    lastFocus = nullptr;
    layout.Forget();
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
            result = appearance.ControlColour(reinterpret_cast<HDC>(wParam),
                                              reinterpret_cast<HWND>(lParam));
            return result != 0;
        case WM_DRAWITEM:
            appearance.DrawOwnerDrawn(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam),
                                      layout.Windows());
            result = TRUE;
            return true;
    }
    return false;
}

bool MainWindow::HandleDpiChange(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case GetDpiScaledSizeMessage:
            // The size a window made at that DPI has, rather than the old one scaled as a whole,
            // which rounds differently.
            *reinterpret_cast<SIZE*>(lParam) = layout.FrameSize(static_cast<int>(wParam));
            result = TRUE;
            return true;
        case WM_DPICHANGED:
            layout.MoveToDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            result = 0;
            return true;
    }
    return false;
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED || !lParam || !events) return;
    std::optional<Widget> widget = WidgetOfControlId(LOWORD(wParam));
    if (!widget) return;
    // While the wizard waits, a click acts at no later time; only the cancel button asks to leave.
    if (wait.Waiting()) {
        if (LayoutOf(*widget).role == WidgetRole::CancelButton) wait.Leave(layout.Windows());
        return;
    }
    Forward([this, clicked = *widget] { events->Clicked(clicked); });
}

template <typename Report>
void MainWindow::Forward(Report report) {
    report();
    KeepFocusUsable();
    accessibility.AnnounceChanges(layout.Windows());
}
