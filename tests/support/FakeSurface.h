#pragma once

#include <array>
#include <string>
#include <vector>

#include "window/Surface.h"

// One ordered record of what the handlers did, shared by the fakes so tests can check the order
// of events across the window and the system.
using CallLog = std::vector<std::string>;

// A window that keeps its state and records what the handlers asked of it. Starts as the real
// window starts, from the same layout table.
class FakeSurface : public Surface {
  public:
    explicit FakeSurface(CallLog& log);

    void SetText(Widget widget, const std::string& text) override;
    std::string Text(Widget widget) const override;
    void SetEnabled(Widget widget, bool enabled) override;
    void SetVisible(Widget widget, bool visible) override;
    int Tag(Widget widget) const override;
    void SetTag(Widget widget, int tag) override;
    void ShowMessage(const std::string& text) override;
    void ShowErrorBox(const std::string& text) override;
    void Close() override;
    std::string OwnPath() const override { return ownPath; }

    bool IsEnabled(Widget widget) const { return enabled[Index(widget)]; }
    bool IsVisible(Widget widget) const { return visible[Index(widget)]; }
    // "<<", "on", "off" as the three navigation buttons Back, Next, Cancel stand.
    std::string NavigationState() const;

    std::vector<std::string> messages;
    std::vector<std::string> errorBoxes;
    int closeRequests = 0;
    std::string ownPath = "C:\\Pobrane\\Instalator.exe";
    // Called from inside ShowMessage, as a modal box would let the user act meanwhile.
    void (*onMessage)(FakeSurface&) = nullptr;

  private:
    static int Index(Widget widget) { return static_cast<int>(widget); }

    CallLog& log;
    std::array<std::string, WidgetCount> texts{};
    std::array<bool, WidgetCount> enabled{};
    std::array<bool, WidgetCount> visible{};
    std::array<int, WidgetCount> tags{};
};
