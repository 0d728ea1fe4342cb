#pragma once

// oleacc.h needs windows.h and ole2.h before it, which include sorting would undo.
// clang-format off
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>
// clang-format on

#include "window/Widget.h"
#include "window/win32/ComPointer.h"

// What a screen reader hears of one widget beyond what the standard object says: the accessibility
// columns of the widget table.
struct AccessibleFacts {
    const char* name;    // Windows-1250; empty: the standard object's own
    bool decoration;     // not read at all
    Widget describedBy;  // the text that describes it while that text's page is shown; Form1: none
};

// The standard object of a widget's window with the facts laid over it; everything else is the
// standard object's.
ComPointer<IAccessible> Described(ComPointer<IAccessible> standard, HWND window,
                                  const AccessibleFacts& facts);
