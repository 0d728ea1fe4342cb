#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/UniqueHandle.h"

// A bitmap resource made once at the size it is drawn at, with a mask of its background colour
// when that is to be left unpainted; drawing is then a plain copy through the mask. A picture has
// a version of its own for each larger size it is drawn at on common DPIs, named after it with
// the size ("IMAGE2_72", drawn for 144 DPI); at any other size the version nearest it is
// stretched. A window moved to another DPI prepares its pictures again.
class Picture {
  public:
    // `baseWidth` is the picture's width at 96 DPI, which names the other versions.
    void Prepare(HINSTANCE instance, const std::wstring& resource, int baseWidth, int width,
                 int height, bool transparent);
    void Draw(HDC dc, const RECT& area) const;

  private:
    UniqueGdiObject colour;
    UniqueGdiObject mask;  // none when the whole picture is painted
};
