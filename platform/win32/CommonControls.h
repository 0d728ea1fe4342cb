#pragma once

// commctrl.h needs windows.h before it, which include sorting would undo anywhere else.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
