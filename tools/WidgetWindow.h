#pragma once

#include <windows.h>

#include "platform/win32/CallbackEdge.h"
#include "window/Widget.h"

namespace widget_window {
struct Search {
    int id;
    HWND found;
};
inline BOOL CALLBACK MatchId(HWND child, LPARAM parameter) {
    return AtCallbackEdge<BOOL>(FALSE, [&] {
        auto* search = reinterpret_cast<Search*>(parameter);
        if (GetDlgCtrlID(child) != search->id) return TRUE;
        search->found = child;
        return FALSE;
    });
}
}  // namespace widget_window

// A widget's window anywhere below the wizard's main window, found from outside its process by
// the widget's control ID; nullptr when there is none (yet).
inline HWND WidgetWindow(HWND main, Widget widget) {
    widget_window::Search search{WidgetControlId(widget), nullptr};
    if (main)
        EnumChildWindows(main, widget_window::MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
