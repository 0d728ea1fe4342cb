#include "tests/support/FakeSurface.h"

#include "window/Layout.h"

FakeSurface::FakeSurface(CallLog& log) : log(log) {
    for (const WidgetRow& row : MainWindowLayout) {
        texts[Index(row.name)] = row.content;
        enabled[Index(row.name)] = !(row.state & Disabled);
        visible[Index(row.name)] = !(row.state & Hidden);
    }
}

void FakeSurface::SetText(Widget widget, const std::string& text) {
    texts[Index(widget)] = text;
    if (widget == Widget::StaticText4) log.push_back("StaticText4=" + text);
}

std::string FakeSurface::Text(Widget widget) const {
    return texts[Index(widget)];
}

void FakeSurface::SetEnabled(Widget widget, bool on) {
    enabled[Index(widget)] = on;
}

void FakeSurface::SetVisible(Widget widget, bool on) {
    visible[Index(widget)] = on;
    log.push_back(std::string(on ? "show " : "hide ") + WidgetName(widget));
}

int FakeSurface::Tag(Widget widget) const {
    return tags[Index(widget)];
}

void FakeSurface::SetTag(Widget widget, int tag) {
    tags[Index(widget)] = tag;
}

void FakeSurface::ShowMessage(const std::string& text) {
    log.push_back("message");
    messages.push_back(text);
    if (onMessage) onMessage(*this);
}

void FakeSurface::ShowErrorBox(const std::string& text) {
    log.push_back("error box");
    errorBoxes.push_back(text);
}

void FakeSurface::Close() {
    log.push_back("close");
    ++closeRequests;
}

std::string FakeSurface::NavigationState() const {
    auto state = [this](Widget w) { return std::string(IsEnabled(w) ? "on" : "off"); };
    return state(Widget::BitBtn1) + " " + state(Widget::BitBtn2) + " " + state(Widget::BitBtn3);
}
