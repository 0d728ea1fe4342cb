#pragma once

#include <array>

#include "window/Widget.h"

// The main window's widgets as data, one row per widget of the widget table (WidgetTable.h), at 96
// pixels per inch. The real window is made from it and the fake window of the tests starts from it.

enum class WidgetKind {
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

struct WidgetRow {
    Widget name;
    WidgetKind kind;
    Widget parent;  // Form1 for the main window itself
    int left, top, width, height;
    const char* content;  // the initial text, Windows-1250
    WidgetState state;
};

namespace layout_table {

inline constexpr std::array<WidgetRow, WidgetCount> Rows = {{
#define INSTALATOR_LAYOUT_ROW(name, kind, parent, left, top, width, height, content, state, ...) \
    {Widget::name, WidgetKind::kind, Widget::parent, left, top, width, height, content, state},
    INSTALATOR_WIDGETS(INSTALATOR_LAYOUT_ROW)
#undef INSTALATOR_LAYOUT_ROW
}};

constexpr bool ParentsComeFirst() {
    for (int i = 1; i < WidgetCount; ++i)
        if (static_cast<int>(Rows[static_cast<std::size_t>(i)].parent) >= i) return false;
    return true;
}
static_assert(ParentsComeFirst(), "every widget's parent must come before it");
}  // namespace layout_table

inline constexpr const std::array<WidgetRow, WidgetCount>& MainWindowLayout = layout_table::Rows;

constexpr const WidgetRow& LayoutOf(Widget widget) {
    return layout_table::Rows[static_cast<std::size_t>(widget)];
}
