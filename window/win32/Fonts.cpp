#include "window/win32/Fonts.h"

FontSet::FontSet(int dpi) {
    for (int i = 0; i < FontCount; ++i) {
        const FontStyle& font = FontOf(static_cast<FontId>(i));
        fonts[static_cast<std::size_t>(i)].reset(::CreateFontW(
            ::MulDiv(font.height, dpi, 96), 0, 0, 0, font.weight, font.italic, font.underline,
            FALSE, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
            DEFAULT_PITCH | FF_DONTCARE, font.face));
    }
}
