#pragma once

#include <windows.h>

#include <string>

#include "window/win32/WindowProcedure.h"

// The application's icon (resource 1) at a size in pixels, shared: never destroyed.
inline HICON ApplicationIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_SHARED));
}

// The application's own window, the way a framework application has one: it carries the
// application's title and icon on the taskbar and in Alt+Tab, and owns the main window, which
// therefore has no entry of its own there. It is shown but has no size, so nothing of it is seen;
// when it is activated (the taskbar entry, Alt+Tab) it hands the activation on to the wizard.
class ApplicationWindow {
  public:
    // `title` is the taskbar entry's (Windows-1250).
    ApplicationWindow(HINSTANCE instance, const std::string& title);
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    HWND Handle() const { return hwnd; }
    // The window that the taskbar entry stands for and closes.
    void Represent(HWND main);
    void Show();

  private:
    template <typename Window>
    friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Destroyed() {}
    void ActivateWizard();

    HWND hwnd = nullptr;
    HWND main = nullptr;
};
