#pragma once

// What both start-up baselines do alike, so that they differ only in the windows they make.
#include <windows.h>

inline void RegisterBaselineClass(HINSTANCE instance, WNDPROC procedure, const wchar_t* name) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

inline int RunBaselineMessages() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
