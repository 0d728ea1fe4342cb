#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "window/win32/WindowAppearance.h"

// What screen readers hear beyond what Windows' standard accessible objects say
// (Accessibility.cpp): a name for the controls whose text is no name ("..."), decoration marked
// as such, and the page's outcome as the description of the buttons the focus lands on after it,
// all from the widget table. The widgets concerned answer WM_GETOBJECT with the standard object
// wrapped; the visible texts stay as they are. The outcome is announced as live text once a
// handler has finished building it, so that a screen reader reads it unasked.
class WindowAccessibility {
  public:
    WindowAccessibility() = default;
    WindowAccessibility(const WindowAccessibility&) = delete;
    WindowAccessibility& operator=(const WindowAccessibility&) = delete;

    // Has the widgets made since the last call answer WM_GETOBJECT through this object, which
    // they keep with them (their window's user data) until they are destroyed.
    void Describe(const WidgetWindows& windows);
    // While the wizard waits for foreign code that may hold the loader lock (a library in its
    // DllMain), the described controls answer as standard ones: describing them looks up and
    // loads functions, which would wait for that code.
    void Hold(bool held) { this->held = held; }
    // Raises the live-text event for each outcome text that changed and shows.
    void AnnounceChanges(const WidgetWindows& windows);

  private:
    static LRESULT CALLBACK DescribedProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam);
    LRESULT AnswerGetObject(HWND window, Widget widget, WPARAM wParam, LPARAM lParam);
    bool InApartment();

    std::array<WNDPROC, WidgetCount> ownProcedures{};  // the described windows' own
    bool held = false;
    enum class Apartment { NotAsked, Joined, Refused } apartment = Apartment::NotAsked;
    std::array<std::wstring, 2> announced;  // each outcome text's, in the table's order
    bool politeSet = false;
};
