#pragma once

#include "platform/Files.h"

// The names the overlay's file set keeps beside the templates while it swaps them in; a later
// run finds a set that was cut off by them.
inline constexpr FileSetNames OverlayFileNames{"z27z.journal", ".z27z-new", ".z27z-old"};
