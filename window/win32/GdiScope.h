#pragma once

#include <windows.h>

// Selects a GDI object into a DC for the scope's lifetime.
class SelectObjectScope {
  public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc(dc), previous(::SelectObject(dc, object)) {}
    ~SelectObjectScope() { ::SelectObject(dc, previous); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

  private:
    HDC dc;
    HGDIOBJ previous;
};

// A window's DC (the screen's for nullptr). GetDC's counterpart needs the window as well as the
// DC, so it does not fit UniqueHandle.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window(window), dc(::GetDC(window)) {}
    ~WindowDc() {
        if (dc) ::ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc; }

  private:
    HWND window;
    HDC dc;
};
