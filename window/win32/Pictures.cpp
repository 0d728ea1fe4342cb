#include "window/win32/Pictures.h"

#include <cstdlib>

#include "window/win32/GdiScope.h"

namespace {

// By hand: the standard conversions would bring the printf family, some 40 KB, into the exe.
std::wstring Decimal(int value) {
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + value % 10));
        value /= 10;
    } while (value > 0);
    return digits;
}

}  // namespace

void Picture::Prepare(HINSTANCE instance, const std::wstring& resource, int baseWidth, int width,
                      int height, bool transparent) {
    // The version drawn nearest the size wanted; between two, the larger, as shrinking keeps
    // more detail than enlarging.
    int nearest = baseWidth;
    for (int dpi : {120, 144}) {
        int drawn = ::MulDiv(baseWidth, dpi, 96);
        if (std::abs(drawn - width) <= std::abs(nearest - width)) nearest = drawn;
    }
    mask.reset();
    UniqueGdiObject loaded;
    if (nearest != baseWidth)
        loaded.reset(::LoadImageW(instance, (resource + L"_" + Decimal(nearest)).c_str(),
                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!loaded)
        loaded.reset(
            ::LoadImageW(instance, resource.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!loaded) return;
    BITMAP info{};
    ::GetObjectW(loaded.get(), sizeof info, &info);
    WindowDc screen(nullptr);
    UniqueMemoryDc source(::CreateCompatibleDC(screen.get()));
    UniqueMemoryDc target(::CreateCompatibleDC(screen.get()));
    SelectObjectScope sourceBitmap(source.get(), loaded.get());
    colour.reset(::CreateCompatibleBitmap(screen.get(), width, height));
    SelectObjectScope targetBitmap(target.get(), colour.get());
    ::SetStretchBltMode(target.get(), COLORONCOLOR);
    ::StretchBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight,
                 SRCCOPY);
    if (!transparent) return;

    // The bottom-left pixel is the background colour: a colour-to-mono copy turns that colour
    // into 1 and every other into 0.
    mask.reset(::CreateBitmap(width, height, 1, 1, nullptr));
    SelectObjectScope maskBitmap(source.get(), mask.get());
    ::SetBkColor(target.get(), ::GetPixel(target.get(), 0, height - 1));
    ::BitBlt(source.get(), 0, 0, width, height, target.get(), 0, 0, SRCCOPY);
}

void Picture::Draw(HDC dc, const RECT& area) const {
    if (!colour) return;
    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    SelectObjectScope selected(source.get(), colour.get());
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    // Where the mask is 1 (the background colour) the destination stays, elsewhere the picture
    // is copied.
    constexpr DWORD KeepDestination = 0x00AA0029;
    if (mask)
        ::MaskBlt(dc, area.left, area.top, width, height, source.get(), 0, 0,
                  static_cast<HBITMAP>(mask.get()), 0, 0, MAKEROP4(KeepDestination, SRCCOPY));
    else
        ::BitBlt(dc, area.left, area.top, width, height, source.get(), 0, 0, SRCCOPY);
}
