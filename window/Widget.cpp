#include "window/Widget.h"

const char* WidgetName(Widget widget) {
#define INSTALATOR_WIDGET_NAME(name, ...) #name,
    static const char* const names[WidgetCount] = {INSTALATOR_WIDGETS(INSTALATOR_WIDGET_NAME)};
#undef INSTALATOR_WIDGET_NAME
    int index = static_cast<int>(widget);
    return index >= 0 && index < WidgetCount ? names[index] : "?";
}

std::optional<Widget> WidgetNamed(const std::string& name) {
    for (int i = 0; i < WidgetCount; ++i)
        if (name == WidgetName(static_cast<Widget>(i))) return static_cast<Widget>(i);
    return std::nullopt;
}
