#include "platform/Failure.h"
#include "platform/win32/Text.h"
#include "window/win32/MainWindow.h"

namespace {

// A transparent label in front may show this one's text, so the neighbourhood is redrawn too.
void RedrawAround(HWND window) {
    RECT area;
    ::GetWindowRect(window, &area);
    HWND parent = ::GetParent(window);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace

void MainWindow::SetText(Widget widget, const std::string& text) {
    HWND window = Made(widget);
    if (!window) return;
    ::SetWindowTextW(window, Widen(text).c_str());
    if (LayoutOf(widget).kind != WidgetKind::Label) return;
    layout.FitLabelToText(widget);
    RedrawAround(window);
}

std::string MainWindow::Text(Widget widget) const {
    if (HWND window = layout.Window(widget)) return Narrow(WindowText(window));
    // On a hidden page not made yet, the text is still the table's.
    return hwnd ? std::string(LayoutOf(widget).content) : std::string();
}

void MainWindow::SetEnabled(Widget widget, bool enabled) {
    if (HWND window = Made(widget)) ::EnableWindow(window, enabled);
}

void MainWindow::SetVisible(Widget widget, bool visible) {
    HWND window = Made(widget);
    if (!window) return;
    if (!visible)
        ::ShowWindow(window, SW_HIDE);
    else if (LayoutOf(widget).kind == WidgetKind::Page)
        // A page that is shown comes to the front of its siblings; other widgets keep their
        // place, which is also their Tab order.
        ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else
        ::ShowWindow(window, SW_SHOWNA);
}

int MainWindow::Tag(Widget widget) const {
    return tags[static_cast<std::size_t>(widget)];
}

void MainWindow::SetTag(Widget widget, int tag) {
    tags[static_cast<std::size_t>(widget)] = tag;
}

void MainWindow::ShowBox(const std::string& text, UINT icon) {
    ::MessageBoxW(hwnd, Widen(text).c_str(), Widen(title).c_str(), MB_OK | icon);
}

void MainWindow::ShowMessage(const std::string& text) {
    ShowBox(text, 0);
}

void MainWindow::ShowErrorBox(const std::string& text) {
    ShowBox(text, MB_ICONERROR);
}

std::string MainWindow::OwnPath() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw Failure(SystemErrorText(::GetLastError()));
        if (length < path.size()) {
            path.resize(length);
            return Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

void MainWindow::Close() {
    if (hwnd) ::PostMessageW(hwnd, CloseNow, 0, 0);
}
