#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "window/win32/WindowAppearance.h"

// What the window does while the wizard waits for work off its thread (WindowWait.cpp): every
// button of the table is greyed, but the cancel button while the user may still leave, and no
// click or key reaches the wizard. A request to leave ends the wizard at once where leaving is
// allowed; otherwise it is kept and made again when the wait ends.
// What the window keeps while the wizard waits.
struct WindowWaitState {
    bool leaveAtOnce = false;
    bool leaveAsked = false;
    HWND focus = nullptr;
    std::array<bool, WidgetCount> wasEnabled{};  // the greyed buttons' own states
};

class WindowWait {
  public:
    void Begin(const WidgetWindows& windows, bool leaveAtOnce);
    // Puts the buttons and the focus back as they were.
    void End(const WidgetWindows& windows);
    bool Waiting() const { return state.has_value(); }
    // The user asked to leave (the close box, the cancel button, Escape).
    void Leave(const WidgetWindows& windows);
    // For the wait's message loop: true when the message is input to hold off (dropped).
    bool HoldsOff(const MSG& message, const WidgetWindows& windows);

  private:
    std::optional<WindowWaitState> state;
};
