#pragma once

#include <windows.h>

#include <array>

#include "platform/Widget.h"

// The main window's widgets as data, one row per widget at 96 DPI, so that the window can be
// compared line by line with its description and the creating code stays a plain loop.

enum class WidgetKind {
    MainWindow,
    Panel,        // container painted in its background colour
    PageControl,  // container with a raised frame and no tabs
    Page,         // container, one page of PageControl1
    Picture,      // bitmap resource, drawn stretched to the rect
    Label,        // single-line text on its parent's background
    StaticText,   // multi-line text, CR breaks lines
    Edit,
    Button,
};

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
    BYTE charset;
};

// A colour is either an RGB value or, with SystemColourFlag set, a GetSysColor index.
inline constexpr COLORREF SystemColourFlag = 0x80000000;
constexpr COLORREF SystemColour(int index) {
    return SystemColourFlag | static_cast<COLORREF>(index);
}
COLORREF ResolveColour(COLORREF colour);

enum WidgetFlag : unsigned {
    Visible = 1u << 0,
    Enabled = 1u << 1,
    TabStop = 1u << 2,
    AutoSize = 1u << 3,     // a label that sizes itself to its text (width and height)
    Transparent = 1u << 4,  // leaves the labels behind it showing
    DefaultButton = 1u << 5,
};

struct WidgetLayout {
    Widget widget;
    WidgetKind kind;
    Widget parent;     // Form1 for the main window itself
    RECT rect;         // left, top, right, bottom in the parent's client area
    const char* text;  // Windows-1250; for pictures the bitmap's resource name
    FontId font;
    COLORREF textColour;
    COLORREF background;
    unsigned flags;
};

// Indexed by Widget; parents come before their children.
const std::array<WidgetLayout, WidgetCount>& MainWindowLayout();
const WidgetLayout& LayoutOf(Widget widget);
const FontStyle& FontOf(FontId font);

// Widgets that must lie in front of their siblings, frontmost first: the yellow title over its
// shadow, and the navigation buttons over the page control (also their Tab order).
const std::array<Widget, 6>& FrontToBack();

// Where the pages sit inside PageControl1: the whole area inside its frame.
RECT PageArea();
