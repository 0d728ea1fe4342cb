#include <utility>

#include "window/win32/MainWindow.h"

namespace {

// From Windows 10 version 1703; the headers declare it only for programs that require that.
constexpr UINT GetDpiScaledSizeMessage = 0x02E4;  // WM_GETDPISCALEDSIZE

}  // namespace

bool MainWindow::HandleDpiChange(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case GetDpiScaledSizeMessage:
            // The size a window made at that DPI has, rather than the old one scaled as a whole,
            // which rounds differently.
            *reinterpret_cast<SIZE*>(lParam) = FrameSize(static_cast<int>(wParam));
            result = TRUE;
            return true;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            result = 0;
            return true;
    }
    return false;
}

// Every widget is laid out again from the table as at creation, in fonts made for the new DPI;
// the old fonts go once no widget uses them. Texts, states and the focus belong to the controls
// and stay as they are.
void MainWindow::OnDpiChanged(int newDpi, const RECT& suggested) {
    if (newDpi <= 0 || !hwnd) return;
    dpi = newDpi;
    FontSet old = std::move(fonts);
    fonts = FontSet(dpi);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(FontId::Default)), FALSE);
    for (const WidgetRow& row : MainWindowLayout) {
        if (row.name == Widget::Form1 || !Window(row.name)) continue;  // made later at this DPI
        RECT rect = PlacedRect(row);
        ::SetWindowPos(Window(row.name), nullptr, rect.left, rect.top, rect.right - rect.left,
                       rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        Dress(row, rect);
    }
    ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(hwnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
