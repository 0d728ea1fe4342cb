#pragma once

#include <windows.h>

#include <array>

#include "platform/win32/Appearance.h"
#include "platform/win32/UniqueHandle.h"

// The window's fonts, made once at the screen's DPI.
class FontSet {
  public:
    explicit FontSet(int dpi);
    HFONT Get(FontId font) const { return static_cast<HFONT>(fonts[Index(font)].get()); }

  private:
    static std::size_t Index(FontId font) { return static_cast<std::size_t>(font); }
    std::array<UniqueGdiObject, FontCount> fonts;
};
