#pragma once

// commctrl.h needs windows.h before it, which include sorting would undo anywhere else.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

// Loads the common controls (version 6, through the manifest) and registers their classes. Called
// only after SecureDllSearch, which is why the executable does not import them.
void InitialiseCommonControls();
