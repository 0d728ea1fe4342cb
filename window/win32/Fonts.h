#pragma once

#include <windows.h>

#include <array>

#include "platform/win32/UniqueHandle.h"
#include "window/win32/Appearance.h"

// The window's fonts at one DPI; a window moved to another DPI makes a new set.
class FontSet {
  public:
    FontSet() = default;
    explicit FontSet(int dpi);
    HFONT Get(FontId font) const { return static_cast<HFONT>(fonts[Index(font)].get()); }

  private:
    static std::size_t Index(FontId font) { return static_cast<std::size_t>(font); }
    std::array<UniqueGdiObject, FontCount> fonts;
};
