#include "platform/win32/Text.h"
#include "window/win32/GdiScope.h"
#include "window/win32/MainWindow.h"

namespace {

constexpr UINT LabelTextFormat = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS;

Widget WidgetOfWindow(HWND window) {
    return WidgetOfControlId(::GetDlgCtrlID(window)).value_or(Widget::Form1);
}

}  // namespace

void MainWindow::EraseContainer(HWND window, HDC dc) {
    Widget widget = WidgetOfWindow(window);
    RECT client;
    ::GetClientRect(window, &client);
    ::FillRect(dc, &client, Brush(BackgroundOf(widget, highContrast)));
    if (LayoutOf(widget).kind == WidgetKind::PageControl)
        ::DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
}

LRESULT MainWindow::ControlColour(HDC dc, HWND control) {
    Widget widget = WidgetOfWindow(control);
    if (widget == Widget::Form1 || LayoutOf(widget).kind == WidgetKind::Edit) return 0;
    COLORREF background = BackgroundOf(widget, highContrast);
    ::SetTextColor(dc, TextColourOf(widget, highContrast));
    ::SetBkColor(dc, ResolveColour(background));
    return reinterpret_cast<LRESULT>(Brush(background));
}

void MainWindow::DrawOwnerDrawn(const DRAWITEMSTRUCT& item) {
    std::optional<Widget> drawn = WidgetOfControlId(static_cast<int>(item.CtlID));
    if (!drawn) return;
    Widget widget = *drawn;
    const WidgetRow& row = LayoutOf(widget);
    ::FillRect(item.hDC, &item.rcItem, Brush(BackgroundOf(row.parent, highContrast)));
    // In high contrast the title's shadow would only blur the title.
    if (highContrast && (LookOf(widget).flags & Shadow)) return;

    if (row.kind == WidgetKind::Picture) {
        pictures[static_cast<std::size_t>(widget)].Draw(item.hDC, item.rcItem);
        return;
    }
    if (LookOf(widget).flags & Transparent) {
        // Labels behind this one show through where they overlap it.
        RECT mine;
        ::GetWindowRect(item.hwndItem, &mine);
        for (const WidgetRow& other : MainWindowLayout) {
            HWND otherWindow = Window(other.name);
            if (other.name == widget || other.kind != WidgetKind::Label ||
                other.parent != row.parent || (LookOf(other.name).flags & Transparent) ||
                (highContrast && (LookOf(other.name).flags & Shadow)) || !otherWindow ||
                !::IsWindowVisible(otherWindow))
                continue;
            RECT theirs, overlap;
            ::GetWindowRect(otherWindow, &theirs);
            if (::IntersectRect(&overlap, &mine, &theirs))
                DrawLabelText(item.hDC, other.name, theirs.left - mine.left, theirs.top - mine.top);
        }
    }
    DrawLabelText(item.hDC, widget, 0, 0);
}

void MainWindow::DrawLabelText(HDC dc, Widget label, int offsetX, int offsetY) {
    HWND window = Window(label);
    const WidgetLook& look = LookOf(label);
    RECT area;
    ::GetClientRect(window, &area);
    ::OffsetRect(&area, offsetX, offsetY);
    std::wstring text = WindowText(window);
    SelectObjectScope font(dc, fonts.Get(look.font));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, TextColourOf(label, highContrast));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, LabelTextFormat);
}

void MainWindow::FitLabelToText(Widget label) {
    HWND window = Window(label);
    if (!window) return;
    RECT rect = PlacedRect(LayoutOf(label));
    ::SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where the widget goes at the current DPI; a label as large as its text (the window's, or the
// table's before it is made), so that it is made or moved at that size rather than resized after.
RECT MainWindow::PlacedRect(const WidgetRow& row) {
    RECT rect = ScaledRect(row);
    if (row.kind != WidgetKind::Label) return rect;
    HWND window = Window(row.name);
    std::wstring text = window ? WindowText(window) : Widen(row.content);
    if (text.empty()) text = L" ";
    // One memory DC measures every label: a window's own DC costs a round trip each time.
    if (!measuring) measuring.reset(::CreateCompatibleDC(nullptr));
    if (!measuring) return rect;  // the table's size, which fits the initial texts
    SelectObjectScope font(measuring.get(), fonts.Get(LookOf(row.name).font));
    RECT needed{0, 0, 0, 0};
    ::DrawTextW(measuring.get(), text.c_str(), static_cast<int>(text.size()), &needed,
                LabelTextFormat | DT_CALCRECT);
    return RECT{rect.left, rect.top, rect.left + needed.right, rect.top + needed.bottom};
}

// A transparent label in front may show this one's text, so the neighbourhood is redrawn too.
void MainWindow::RedrawAround(HWND window) {
    RECT area;
    ::GetWindowRect(window, &area);
    HWND parent = ::GetParent(window);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HBRUSH MainWindow::Brush(COLORREF colour) {
    if (colour & SystemColourFlag) return ::GetSysColorBrush(static_cast<int>(colour & 0xFF));
    for (const auto& [known, brush] : brushes)
        if (known == colour) return static_cast<HBRUSH>(brush.get());
    brushes.emplace_back(colour, UniqueGdiObject(::CreateSolidBrush(colour)));
    return static_cast<HBRUSH>(brushes.back().second.get());
}

// Windows' colours or its high-contrast setting changed: everything is drawn anew in them.
void MainWindow::FollowSystemColours() {
    highContrast = HighContrast();
    ::RedrawWindow(hwnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}
