#pragma once

#include <windows.h>

// Per-monitor DPI through functions older Windows lacks (the monitor's DPI from 8.1, a window's
// and a frame's at any DPI from 10 version 1607): each is looked up at run time in a system DLL
// the process has already loaded, never imported, and where it is missing the system DPI stands
// in, as a system-aware program sees it.

// The monitor under the mouse pointer, where the user has just started the installer.
HMONITOR MonitorOfPointer();
int MonitorDpi(HMONITOR monitor);
// The DPI Windows has given the window, or `fallback` where it cannot say.
int WindowDpi(HWND window, int fallback);
// The window rectangle around `client` with the frame drawn at `dpi`.
RECT FrameAround(RECT client, DWORD style, DWORD exStyle, int dpi);
