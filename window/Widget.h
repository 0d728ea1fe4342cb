#pragma once

#include <optional>
#include <string>

#include "window/WidgetTable.h"

// Every widget of the main window, named as the handlers name them.
enum class Widget {
#define INSTALATOR_WIDGET_ENUMERATOR(name, ...) name,
    INSTALATOR_WIDGETS(INSTALATOR_WIDGET_ENUMERATOR)
#undef INSTALATOR_WIDGET_ENUMERATOR
};

// NOLINTNEXTLINE(bugprone-macro-parentheses): each widget adds a term "+1" to the sum.
#define INSTALATOR_WIDGET_ONE(...) +1
inline constexpr int WidgetCount = 0 INSTALATOR_WIDGETS(INSTALATOR_WIDGET_ONE);
#undef INSTALATOR_WIDGET_ONE

const char* WidgetName(Widget widget);
// The widget of that name, if any.
std::optional<Widget> WidgetNamed(const std::string& name);

// The control ID of a widget's window, by which the window and whoever drives it find it.
constexpr int WidgetControlId(Widget widget) {
    return 1000 + static_cast<int>(widget);
}
// The widget that a control ID names, if any.
constexpr std::optional<Widget> WidgetOfControlId(int id) {
    int index = id - WidgetControlId(Widget::Form1);
    if (index < 0 || index >= WidgetCount) return std::nullopt;
    return static_cast<Widget>(index);
}
