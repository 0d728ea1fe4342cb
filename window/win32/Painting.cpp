#include <optional>

#include "platform/win32/Text.h"
#include "window/win32/GdiScope.h"
#include "window/win32/WindowAppearance.h"

namespace {

constexpr UINT LabelTextFormat = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS;

Widget WidgetOfWindow(HWND window) {
    return WidgetOfControlId(::GetDlgCtrlID(window)).value_or(Widget::Form1);
}

}  // namespace

FontSet WindowAppearance::UseDpi(int dpi) {
    return std::exchange(fonts, FontSet(dpi));
}

void WindowAppearance::Dress(HWND window, const WidgetRow& row, const RECT& rect) {
    const WidgetLook& look = LookOf(row.name);
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(look.font)), FALSE);
    if (row.kind == WidgetKind::Picture)
        pictures[static_cast<std::size_t>(row.name)].Prepare(
            instance, Widen(WidgetName(row.name)), row.width, rect.right - rect.left,
            rect.bottom - rect.top, look.flags & Transparent);
}

std::optional<SIZE> WindowAppearance::LabelTextSize(Widget label, const std::wstring& text) {
    // One memory DC measures every label: a window's own DC costs a round trip each time.
    if (!measuring) measuring.reset(::CreateCompatibleDC(nullptr));
    if (!measuring) return std::nullopt;
    SelectObjectScope font(measuring.get(), fonts.Get(LookOf(label).font));
    RECT needed{0, 0, 0, 0};
    ::DrawTextW(measuring.get(), text.c_str(), static_cast<int>(text.size()), &needed,
                LabelTextFormat | DT_CALCRECT);
    return SIZE{needed.right, needed.bottom};
}

void WindowAppearance::EraseContainer(HWND window, HDC dc) {
    Widget widget = WidgetOfWindow(window);
    RECT client;
    ::GetClientRect(window, &client);
    ::FillRect(dc, &client, Brush(BackgroundOf(widget, highContrast)));
    if (LayoutOf(widget).kind == WidgetKind::PageControl)
        ::DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
}

LRESULT WindowAppearance::ControlColour(HDC dc, HWND control) {
    Widget widget = WidgetOfWindow(control);
    if (widget == Widget::Form1 || LayoutOf(widget).kind == WidgetKind::Edit) return 0;
    COLORREF background = BackgroundOf(widget, highContrast);
    ::SetTextColor(dc, TextColourOf(widget, highContrast));
    ::SetBkColor(dc, ResolveColour(background));
    return reinterpret_cast<LRESULT>(Brush(background));
}

void WindowAppearance::DrawOwnerDrawn(const DRAWITEMSTRUCT& item, const WidgetWindows& windows) {
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
            HWND otherWindow = windows[static_cast<std::size_t>(other.name)];
            if (other.name == widget || other.kind != WidgetKind::Label ||
                other.parent != row.parent || (LookOf(other.name).flags & Transparent) ||
                (highContrast && (LookOf(other.name).flags & Shadow)) || !otherWindow ||
                !::IsWindowVisible(otherWindow))
                continue;
            RECT theirs, overlap;
            ::GetWindowRect(otherWindow, &theirs);
            if (::IntersectRect(&overlap, &mine, &theirs))
                DrawLabelText(item.hDC, otherWindow, other.name, theirs.left - mine.left,
                              theirs.top - mine.top);
        }
    }
    DrawLabelText(item.hDC, item.hwndItem, widget, 0, 0);
}

void WindowAppearance::DrawLabelText(HDC dc, HWND window, Widget label, int offsetX,
                                     int offsetY) const {
    RECT area;
    ::GetClientRect(window, &area);
    ::OffsetRect(&area, offsetX, offsetY);
    std::wstring text = WindowText(window);
    SelectObjectScope font(dc, fonts.Get(LookOf(label).font));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, TextColourOf(label, highContrast));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, LabelTextFormat);
}

HBRUSH WindowAppearance::Brush(COLORREF colour) {
    if (colour & SystemColourFlag) return ::GetSysColorBrush(static_cast<int>(colour & 0xFF));
    for (const auto& [known, brush] : brushes)
        if (known == colour) return static_cast<HBRUSH>(brush.get());
    brushes.emplace_back(colour, UniqueGdiObject(::CreateSolidBrush(colour)));
    return static_cast<HBRUSH>(brushes.back().second.get());
}

void WindowAppearance::FollowSystemColours(HWND main) {
    highContrast = highContrastAnswer();
    if (main)
        ::RedrawWindow(main, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void WindowAppearance::AnswerHighContrastWith(bool (*answer)(), HWND main) {
    highContrastAnswer = answer ? answer : &SystemHighContrast;
    FollowSystemColours(main);
}
