#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "window/Layout.h"
#include "window/win32/Appearance.h"
#include "window/win32/Fonts.h"
#include "window/win32/Pictures.h"

using WidgetWindows = std::array<HWND, WidgetCount>;  // null where not made (yet)

// How the window's widgets look (Painting.cpp): their fonts and pictures at the window's DPI and
// their colours, ours or in high contrast the system's; it owns what they are drawn with.
class WindowAppearance {
  public:
    explicit WindowAppearance(HINSTANCE instance) : instance(instance) {}

    // Fonts made for `dpi`; the old ones are handed back, to go once no widget uses them.
    FontSet UseDpi(int dpi);
    HFONT Font(FontId font) const { return fonts.Get(font); }
    // A widget's font and, for a picture, the picture made at the size of `rect`.
    void Dress(HWND window, const WidgetRow& row, const RECT& rect);
    // How large a label's text is drawn; nothing when it cannot be measured.
    std::optional<SIZE> LabelTextSize(Widget label, const std::wstring& text);

    void EraseContainer(HWND window, HDC dc);
    LRESULT ControlColour(HDC dc, HWND control);
    void DrawOwnerDrawn(const DRAWITEMSTRUCT& item, const WidgetWindows& windows);
    // Windows' colours or its high-contrast setting changed: everything is drawn anew in them.
    void FollowSystemColours(HWND main);
    // Wine always says no high contrast; tests answer instead (null: Windows answers again).
    void AnswerHighContrastWith(bool (*answer)(), HWND main);

  private:
    void DrawLabelText(HDC dc, HWND window, Widget label, int offsetX, int offsetY) const;
    HBRUSH Brush(COLORREF colour);

    HINSTANCE instance;
    FontSet fonts;
    std::array<Picture, WidgetCount> pictures;
    UniqueMemoryDc measuring;  // the labels' text, on the screen's metrics
    std::vector<std::pair<COLORREF, UniqueGdiObject>> brushes;
    bool (*highContrastAnswer)() = &SystemHighContrast;
    bool highContrast = SystemHighContrast();
};
