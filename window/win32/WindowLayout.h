#pragma once

#include <windows.h>

#include "window/Layout.h"
#include "window/win32/WindowAppearance.h"

// The widgets' windows, made from the layout table and placed at the window's DPI
// (WindowCreation.cpp): every widget is a child window whose control ID is WidgetControlId(widget).
// The first page and what surrounds the pages are made with the window; the pages that start
// hidden when asked for, or when one of their widgets is first used.
class WindowLayout {
  public:
    WindowLayout(HINSTANCE instance, int fixedDpi, WindowAppearance& appearance)
        : instance(instance), fixedDpi(fixedDpi), appearance(appearance) {}
    WindowLayout(const WindowLayout&) = delete;
    WindowLayout& operator=(const WindowLayout&) = delete;

    // Creates the (still hidden) main window, owned by `owner`, at the DPI given or else at the
    // monitor's under the mouse pointer, centred there, with the widgets that do not start
    // hidden. `procedure` answers the main window's messages and its containers', bound to
    // `self` at their creation.
    HWND Create(HWND owner, WNDPROC procedure, void* self);
    // True when it made them now.
    bool MakeHiddenPages();
    // The widget's window, making the hidden pages first if it is on one.
    HWND Made(Widget widget);
    HWND Window(Widget widget) const { return windows[static_cast<std::size_t>(widget)]; }
    const WidgetWindows& Windows() const { return windows; }
    void Forget() { windows.fill(nullptr); }

    // The window's outer size at a DPI, and every widget laid out again at a new one.
    SIZE FrameSize(int atDpi) const;
    void MoveToDpi(int newDpi, const RECT& suggested);
    // A label is as large as its text.
    void FitLabelToText(Widget label);

  private:
    void CreateWidgets(bool onHiddenPages);
    void CreateWidget(const WidgetRow& row);
    RECT CentredFrame(HMONITOR monitor) const;
    RECT PlacedRect(const WidgetRow& row);

    HINSTANCE instance;
    int fixedDpi;  // 0: the monitor's
    int dpi = 96;
    WindowAppearance& appearance;
    void* self = nullptr;
    WidgetWindows windows{};
    bool hiddenPagesMade = false;
};
