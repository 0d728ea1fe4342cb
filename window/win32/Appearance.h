#pragma once

#include <windows.h>

#include <array>

#include "window/Widget.h"

// How each widget looks on Windows: its font, its colours and how it is drawn, from the look
// columns of the widget table (WidgetTable.h).

enum class FontId {
    Default,  // "MS Sans Serif" -11, the window's font
    Title,    // "Calibri" -27 bold italic
    Heading,  // "MS Sans Serif" -13 bold underlined
    Bold,     // "MS Sans Serif" -13 bold
    Text,     // "MS Sans Serif" -13
};
inline constexpr int FontCount = static_cast<int>(FontId::Text) + 1;

struct FontStyle {
    const wchar_t* face;
    int height;  // pixels at 96 DPI, negative = character height
    int weight;
    bool italic;
    bool underline;
};

// A colour is either an RGB value or, with SystemColourFlag set, a GetSysColor index.
inline constexpr COLORREF SystemColourFlag = 0x80000000;
constexpr COLORREF SystemColour(int index) {
    return SystemColourFlag | static_cast<COLORREF>(index);
}
COLORREF ResolveColour(COLORREF colour);

enum LookFlag : unsigned {
    Plain = 0,
    Transparent = 1u << 0,    // leaves what is behind it showing: a label's neighbours, a
                              // picture's background colour
    Shadow = 1u << 1,         // not drawn in high contrast
};

struct WidgetLook {
    Widget name;
    FontId font;
    COLORREF textColour;
    COLORREF background;
    unsigned flags;
};

const WidgetLook& LookOf(Widget widget);

// Whether Windows' high-contrast setting is on. Wine always says no, so tests give the window
// another answer (MainWindow::AnswerHighContrastWith).
bool SystemHighContrast();

// The colours a widget is drawn in: ours, or in high contrast the system's, window and window
// text for the branding panel and the page texts, button face elsewhere. The text colour is RGB;
// the background may name a system colour, as brushes are made from it.
COLORREF TextColourOf(Widget widget, bool highContrast);
COLORREF BackgroundOf(Widget widget, bool highContrast);
const FontStyle& FontOf(FontId font);
