#pragma once

#include "window/Widget.h"

// What the window reports to whoever drives it; the window itself decides nothing.
class WindowEvents {
  public:
    virtual ~WindowEvents() = default;

    // The window and all its widgets exist; it is not shown yet.
    virtual void Created() = 0;
    virtual void Clicked(Widget widget) = 0;
    // The close box, Alt+F4 or the system menu: the window closes only when told to.
    virtual void CloseRequested() = 0;
};
