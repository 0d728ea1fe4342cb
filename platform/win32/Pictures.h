#pragma once

#include <windows.h>

#include "platform/win32/UniqueHandle.h"

// A bitmap resource scaled once to the size it is drawn at, with a mask of its background colour
// when that is to be left unpainted; drawing is then a plain copy through the mask.
class Picture {
  public:
    void Prepare(HINSTANCE instance, const wchar_t* resource, int width, int height,
                 bool transparent);
    void Draw(HDC dc, const RECT& area) const;

  private:
    UniqueGdiObject colour;
    UniqueGdiObject mask;  // none when the whole picture is painted
};
