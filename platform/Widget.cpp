#include "platform/Widget.h"

const char* WidgetName(Widget widget) {
    static const char* const names[WidgetCount] = {
        "Form1",        "Panel1",    "Image1",      "Label1",      "Label2",      "Label3",
        "Label4",       "Label5",    "Label6",      "Label7",      "Image2",      "Panel2",
        "PageControl1", "TabSheet1", "StaticText2", "TabSheet2",   "StaticText1", "StaticText3",
        "Edit1",        "BitBtn5",   "TabSheet3",   "StaticText6", "BitBtn4",     "StaticText4",
        "BitBtn3",      "BitBtn1",   "BitBtn2",
    };
    int index = static_cast<int>(widget);
    return index >= 0 && index < WidgetCount ? names[index] : "?";
}

std::optional<Widget> WidgetNamed(const std::string& name) {
    for (int i = 0; i < WidgetCount; ++i)
        if (name == WidgetName(static_cast<Widget>(i))) return static_cast<Widget>(i);
    return std::nullopt;
}
