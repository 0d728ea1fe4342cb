#pragma once

#include <optional>
#include <string>

// Every widget of the main window, named as the handlers name them.
enum class Widget {
    Form1,
    Panel1,
    Image1,
    Label1,
    Label2,
    Label3,
    Label4,
    Label5,
    Label6,
    Label7,
    Image2,
    Panel2,
    PageControl1,
    TabSheet1,
    StaticText2,
    TabSheet2,
    StaticText1,
    StaticText3,
    Edit1,
    BitBtn5,
    TabSheet3,
    StaticText6,
    BitBtn4,
    StaticText4,
    BitBtn3,
    BitBtn1,
    BitBtn2,
};

inline constexpr int WidgetCount = static_cast<int>(Widget::BitBtn2) + 1;

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
