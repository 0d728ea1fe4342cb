#pragma once

#include <array>

#include "window/Widget.h"

// The main window's widgets as data, one row per widget of the widget table (WidgetTable.h), at 96
// pixels per inch. The real window is made from it and the fake window of the tests starts from it.

enum class WidgetKind : unsigned char {
    MainWindow,
    Panel,
    Picture,  // the bitmap resource named after the widget
    Label,    // one line on its parent's background, sized to its text
    PageControl,
    Page,
    StaticText,  // several lines, CR breaks them
    Edit,
    Button,
};

// A widget starts shown and enabled unless its row says otherwise.
enum WidgetState : unsigned {
    Shown = 0,
    Hidden = 1u << 0,
    Disabled = 1u << 1,
};
constexpr WidgetState operator|(WidgetState a, WidgetState b) {
    return static_cast<WidgetState>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

enum class WidgetRole : unsigned char {
    NoRole,
    DefaultButton,  // pressed by Enter when no other button has the focus; focused first
    CancelButton,   // leaves the wizard, and still does while it waits where leaving is allowed
    Decoration,     // not read by screen readers
};

// Laid out small: the rows are in the executable, whose size is counted.
struct WidgetRow {
    Widget name;
    Widget parent;  // Form1 for the main window itself
    const char* content;  // the initial text, Windows-1250
    WidgetState state;
    short left, top, width, height;
    WidgetKind kind;
    WidgetRole role;
    unsigned char front;  // 1: in front of all its siblings, 2: behind that one...; 0: behind those
};

namespace layout_table {

inline constexpr std::array<WidgetRow, WidgetCount> Rows = {{
#define INSTALATOR_LAYOUT_ROW(name, kind, parent, left, top, width, height, content, state, role, \
                              front, ...)                                                         \
    {Widget::name, Widget::parent, content, state, left, top, width, height, WidgetKind::kind,    \
     WidgetRole::role, front},
    INSTALATOR_WIDGETS(INSTALATOR_LAYOUT_ROW)
#undef INSTALATOR_LAYOUT_ROW
}};

constexpr bool ParentsComeFirst() {
    for (int i = 1; i < WidgetCount; ++i)
        if (static_cast<int>(Rows[static_cast<std::size_t>(i)].parent) >= i) return false;
    return true;
}
static_assert(ParentsComeFirst(), "every widget's parent must come before it");

constexpr int WithRole(WidgetRole role) {
    int found = 0;
    for (const WidgetRow& row : Rows) found += row.role == role;
    return found;
}
static_assert(WithRole(WidgetRole::DefaultButton) == 1 && WithRole(WidgetRole::CancelButton) == 1,
              "one button is pressed by Enter and one cancels");
}  // namespace layout_table

inline constexpr const std::array<WidgetRow, WidgetCount>& MainWindowLayout = layout_table::Rows;

constexpr const WidgetRow& LayoutOf(Widget widget) {
    return layout_table::Rows[static_cast<std::size_t>(widget)];
}

// The one widget of that role (DefaultButton, CancelButton).
constexpr Widget WidgetWithRole(WidgetRole role) {
    for (const WidgetRow& row : MainWindowLayout)
        if (row.role == role) return row.name;
    return Widget::Form1;
}
