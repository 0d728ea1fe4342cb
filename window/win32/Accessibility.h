#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "window/Widget.h"

// What screen readers hear beyond what Windows' standard accessible objects say: a name for the
// controls whose text is no name ("..."), decoration marked as such, and the page's outcome as
// the description of the buttons the focus lands on after it. The widgets concerned answer
// WM_GETOBJECT with the standard object wrapped; the visible texts stay as they are.
void DescribeToScreenReaders(const std::array<HWND, WidgetCount>& windows);

// While the wizard waits for foreign code that may hold the loader lock (a library in its
// DllMain), the described controls answer as standard ones: describing them looks up and loads
// functions, which would wait for that code.
void HoldDescriptions(bool held);

// Raises the live-text event for page 2's and page 3's outcome once a handler has finished
// building it (the texts are built piece by piece), so that a screen reader reads it unasked.
class OutcomeAnnouncer {
  public:
    void AnnounceChanges(const std::array<HWND, WidgetCount>& windows);

  private:
    std::array<std::wstring, 2> announced;
    bool politeSet = false;
};
