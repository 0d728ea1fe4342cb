#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/Text.h"
#include "tests/support/FakePlatform.h"
#include "window/Layout.h"
#include "window/win32/GdiScope.h"
#include "window/win32/MainWindow.h"

// The real window, made in this process at a given DPI, over the wizard's logic and fakes, and
// what every text and control in it must keep to.

// DrawText breaks lines at CR LF; the wizard's texts break them at a lone CR, as the static
// control shows them.
inline std::wstring WithWindowsLineBreaks(const std::wstring& text) {
    std::wstring converted;
    for (wchar_t c : text) {
        converted += c;
        if (c == L'\r') converted += L'\n';
    }
    return converted;
}

inline SIZE Needed(HWND control, const std::wstring& text, int wrapWidth) {
    WindowDc dc(control);
    SelectObjectScope font(dc.get(),
                           reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    std::wstring lines = WithWindowsLineBreaks(text);
    RECT needed{0, 0, wrapWidth, 0};
    UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wrapWidth > 0 ? DT_WORDBREAK : 0);
    ::DrawTextW(dc.get(), lines.empty() ? L" " : lines.c_str(), lines.empty() ? 1 : -1, &needed,
                format);
    return SIZE{needed.right, needed.bottom};
}

// What the DPI decides about a widget (its place in its parent, its font's height and what a
// picture draws) and what a change of DPI must keep: its text.
struct Looks {
    std::tuple<LONG, LONG, LONG, LONG> place;
    LONG fontHeight = 0;
    std::vector<DWORD> drawn;
    std::wstring text;
};

// What an owner-drawn control paints, taken without showing it.
inline std::vector<DWORD> Drawn(HWND control) {
    RECT client;
    ::GetClientRect(control, &client);
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof info.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueGdiObject bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    SelectObjectScope selected(dc.get(), bitmap.get());
    ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    ::GdiFlush();
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    return std::vector<DWORD>(pixels, pixels + client.right * client.bottom);
}

class LaidOutWindow : public FakeWizard {
  public:
    explicit LaidOutWindow(int dpi)
        : FakeWizard(window), dpi(dpi), window(::GetModuleHandleW(nullptr), "Instalator", dpi) {}

    // With the hidden pages as the message loop has them once the first page is painted.
    void Create(bool hiddenPages = true) {
        window.Create(form);
        if (hiddenPages) window.CreateHiddenPages();
    }
    MainWindow& Window() { return window; }
    const MainWindow& Window() const { return window; }
    void Show() { window.Show(SW_SHOWNORMAL); }
    HWND Handle(Widget widget) const {
        if (widget == Widget::Form1) return window.Handle();
        return ::GetDlgItem(Parent(widget), WidgetControlId(widget));
    }

    // Every widget of the table, whatever page it is on.
    void ExpectEverythingFits(const std::string& situation) const {
        for (const WidgetRow& row : MainWindowLayout) {
            if (row.name == Widget::Form1) continue;
            SCOPED_TRACE(situation + ", " + WidgetName(row.name) + " at " + std::to_string(dpi) +
                         " DPI");
            HWND control = Handle(row.name);
            ASSERT_NE(control, nullptr);
            ExpectInsideParent(control);
            ExpectTextFits(row, control);
            ExpectApartFromLaterSiblings(row.name);
        }
    }

    // As Windows moves a window to a monitor of another DPI (Wine never does): it asks for the
    // size there, then suggests the rectangle of that size where the window is.
    void ChangeDpi(int newDpi) {
        SIZE size{0, 0};
        HWND main = window.Handle();
        EXPECT_TRUE(::SendMessageW(main, 0x02E4 /* WM_GETDPISCALEDSIZE */, newDpi,
                                   reinterpret_cast<LPARAM>(&size)));
        RECT now;
        ::GetWindowRect(main, &now);
        RECT suggested{now.left, now.top, now.left + size.cx, now.top + size.cy};
        ::SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                       reinterpret_cast<LPARAM>(&suggested));
        dpi = newDpi;
    }

    std::vector<Looks> EveryWidget() const {
        std::vector<Looks> all;
        for (const WidgetRow& row : MainWindowLayout) {
            HWND control = Handle(row.name);
            Looks looks;
            RECT place;
            ::GetWindowRect(control, &place);
            if (row.name == Widget::Form1)
                ::OffsetRect(&place, -place.left, -place.top);
            else
                place = Place(control);
            looks.place = {place.left, place.top, place.right, place.bottom};
            LOGFONTW font{};
            ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)),
                         sizeof font, &font);
            looks.fontHeight = font.lfHeight;
            if (row.kind == WidgetKind::Picture) looks.drawn = Drawn(control);
            looks.text = WindowText(control);
            all.push_back(looks);
        }
        return all;
    }

  private:
    HWND Parent(Widget widget) const {
        Widget parent = LayoutOf(widget).parent;
        return parent == Widget::Form1 ? window.Handle() : Handle(parent);
    }
    int Scaled(int value) const { return ::MulDiv(value, dpi, 96); }

    // The control's rectangle in its parent's client area.
    static RECT Place(HWND control) {
        RECT place;
        ::GetWindowRect(control, &place);
        ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    static void ExpectInsideParent(HWND control) {
        RECT mine = Place(control), parent;
        ::GetClientRect(::GetParent(control), &parent);
        EXPECT_TRUE(mine.left >= 0 && mine.top >= 0 && mine.right <= parent.right &&
                    mine.bottom <= parent.bottom)
            << "at " << mine.left << "," << mine.top << "-" << mine.right << "," << mine.bottom
            << " in a parent of " << parent.right << "x" << parent.bottom;
    }

    // Siblings lie apart, except where the layout lays one in front of another: the title over
    // its shadow, the navigation buttons over the page control's bottom strip, and the pages,
    // which share one place and show one at a time.
    static bool MeantToOverlap(Widget front, Widget back) {
        if (LayoutOf(front).kind == WidgetKind::Page)
            return LayoutOf(back).kind == WidgetKind::Page;
        if (back == Widget::Label1) return front == Widget::Label2;
        return back == Widget::PageControl1 &&
               (front == Widget::BitBtn1 || front == Widget::BitBtn2 || front == Widget::BitBtn3);
    }
    static bool InFront(HWND window, HWND sibling) {
        for (HWND next = ::GetWindow(window, GW_HWNDNEXT); next;
             next = ::GetWindow(next, GW_HWNDNEXT))
            if (next == sibling) return true;
        return false;
    }
    void ExpectApartFromLaterSiblings(Widget widget) const {
        for (int i = static_cast<int>(widget) + 1; i < WidgetCount; ++i) {
            Widget other = static_cast<Widget>(i);
            if (LayoutOf(other).parent != LayoutOf(widget).parent) continue;
            RECT mine = Place(Handle(widget)), theirs = Place(Handle(other)), common;
            if (!::IntersectRect(&common, &mine, &theirs)) continue;
            bool mineInFront = InFront(Handle(widget), Handle(other));
            Widget front = mineInFront ? widget : other, back = mineInFront ? other : widget;
            EXPECT_TRUE(MeantToOverlap(front, back))
                << WidgetName(front) << " lies over " << WidgetName(back);
        }
    }

    void ExpectTextFits(const WidgetRow& row, HWND control) const {
        std::wstring text = WindowText(control);
        RECT client;
        ::GetClientRect(control, &client);
        switch (row.kind) {
            case WidgetKind::StaticText: {
                SIZE needed = Needed(control, text, client.right);
                EXPECT_LE(needed.cx, client.right) << Narrow(text);
                EXPECT_LE(needed.cy, client.bottom) << Narrow(text);
                break;
            }
            case WidgetKind::Label: {
                // Labels size themselves to their text, which must fit the table's size. The
                // title's width in the table predates its font: Calibri draws "Tesmaren" 110
                // pixels wide, on Windows too; it only has to stay inside the panel.
                if (row.name == Widget::Label1 || row.name == Widget::Label2) break;
                SIZE needed = Needed(control, text, 0);
                EXPECT_LE(needed.cx, Scaled(row.width)) << Narrow(text);
                EXPECT_LE(needed.cy, Scaled(row.height)) << Narrow(text);
                break;
            }
            case WidgetKind::Button:
            case WidgetKind::Edit: {
                // Room for the frame, and for the edit's margins.
                SIZE needed = Needed(control, text, 0);
                EXPECT_LE(needed.cx, client.right - Scaled(4)) << Narrow(text);
                EXPECT_LE(needed.cy, client.bottom) << Narrow(text);
                break;
            }
            default:
                break;
        }
    }

    int dpi;
    MainWindow window;
};
