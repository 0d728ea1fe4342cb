#include "platform/win32/Layout.h"

namespace {

constexpr COLORREF Navy = RGB(0, 0, 128);
constexpr COLORREF Silver = RGB(192, 192, 192);
constexpr COLORREF Yellow = RGB(255, 255, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF ButtonFace = SystemColour(COLOR_BTNFACE);
constexpr COLORREF WindowText = SystemColour(COLOR_WINDOWTEXT);
constexpr COLORREF WindowBackground = SystemColour(COLOR_WINDOW);

constexpr unsigned Shown = Visible | Enabled;
constexpr unsigned Hidden = Enabled;

// The page control draws a 2-pixel frame; its pages fill the rest with a little margin.
constexpr int PageInset = 4;

constexpr RECT At(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

constexpr RECT PageRect = At(PageInset, PageInset, 481 - 2 * PageInset, 206 - 2 * PageInset);

using W = Widget;
using K = WidgetKind;
using F = FontId;

const std::array<WidgetLayout, WidgetCount> layout = {{
    {W::Form1, K::MainWindow, W::Form1, At(0, 0, 666, 206),
     "Nakładka dla programu \"Tesmaren\" Z27Z", F::Default, WindowText, ButtonFace, Shown},
    {W::Panel1, K::Panel, W::Form1, At(0, 0, 185, 206), "", F::Default, White, Navy, Shown},
    {W::Image1, K::Picture, W::Panel1, At(8, 8, 32, 32), "IMAGE1", F::Default, White, Navy, Shown},
    {W::Label1, K::Label, W::Panel1, At(54, 10, 100, 33), "Tesmaren", F::Title, Silver, Navy,
     Shown | AutoSize},
    {W::Label2, K::Label, W::Panel1, At(52, 8, 100, 33), "Tesmaren", F::Title, Yellow, Navy,
     Shown | AutoSize | Transparent},
    {W::Label3, K::Label, W::Panel1, At(8, 72, 110, 16), "Nakładka Z27Z", F::Heading, White, Navy,
     Shown | AutoSize},
    {W::Label4, K::Label, W::Panel1, At(8, 124, 63, 16), "Laborsoft s.c.", F::Bold, White, Navy,
     Shown | AutoSize},
    {W::Label5, K::Label, W::Panel1, At(8, 140, 144, 16), "Programy dla", F::Bold, White, Navy,
     Shown | AutoSize},
    {W::Label6, K::Label, W::Panel1, At(10, 160, 164, 16), "laboratoriów badawczych", F::Bold,
     White, Navy, Shown | AutoSize},
    {W::Label7, K::Label, W::Panel1, At(10, 180, 120, 16), "Kontakt: Jan Walczak", F::Bold, White,
     Navy, Shown | AutoSize},
    {W::Image2, K::Picture, W::Panel1, At(132, 56, 48, 48), "IMAGE2", F::Default, White, Navy,
     Shown | Transparent},
    {W::Panel2, K::Panel, W::Form1, At(185, 0, 481, 206), "", F::Default, WindowText, ButtonFace,
     Shown},
    {W::PageControl1, K::PageControl, W::Panel2, At(0, 0, 481, 206), "", F::Default, WindowText,
     ButtonFace, Shown},
    {W::TabSheet1, K::Page, W::PageControl1, PageRect, "", F::Default, WindowText, ButtonFace,
     Shown},
    {W::StaticText2, K::StaticText, W::TabSheet1, At(0, 4, 473, 153), "", F::Text, Black,
     ButtonFace, Shown},
    {W::TabSheet2, K::Page, W::PageControl1, PageRect, "", F::Default, WindowText, ButtonFace,
     Hidden},
    {W::StaticText1, K::StaticText, W::TabSheet2, At(4, 4, 407, 20),
     "Trwa wyszukiwanie zainstalowanych składników programu.", F::Bold, WindowText, ButtonFace,
     Shown},
    {W::StaticText3, K::StaticText, W::TabSheet2, At(4, 28, 461, 101), "Odnaleziono:", F::Text,
     WindowText, ButtonFace, Shown},
    {W::Edit1, K::Edit, W::TabSheet2, At(4, 132, 437, 21), "", F::Default, WindowText,
     WindowBackground, 0},
    {W::BitBtn5, K::Button, W::TabSheet2, At(442, 132, 25, 21), "...", F::Default, WindowText,
     ButtonFace, Hidden | TabStop},
    {W::TabSheet3, K::Page, W::PageControl1, PageRect, "", F::Default, WindowText, ButtonFace,
     Hidden},
    {W::StaticText6, K::StaticText, W::TabSheet3, At(4, 4, 461, 125), "", F::Text, WindowText,
     ButtonFace, Shown},
    {W::BitBtn4, K::Button, W::TabSheet3, At(384, 166, 75, 25), "Zamknij.", F::Default, WindowText,
     ButtonFace, Shown | TabStop},
    {W::StaticText4, K::StaticText, W::TabSheet3, At(4, 136, 461, 17), " ", F::Default, WindowText,
     ButtonFace, Shown},
    {W::BitBtn3, K::Button, W::Panel2, At(16, 172, 75, 25), "Anuluj", F::Default, WindowText,
     ButtonFace, Shown | TabStop},
    {W::BitBtn1, K::Button, W::Panel2, At(112, 172, 75, 25), "<< Cofnij", F::Default, WindowText,
     ButtonFace, Visible | TabStop},
    {W::BitBtn2, K::Button, W::Panel2, At(204, 172, 75, 25), "Dalej >>", F::Default, WindowText,
     ButtonFace, Shown | TabStop | DefaultButton},
}};

const std::array<FontStyle, FontCount> fonts = {{
    {L"MS Sans Serif", -11, FW_NORMAL, false, false, EASTEUROPE_CHARSET},
    {L"Calibri", -27, FW_BOLD, true, false, EASTEUROPE_CHARSET},
    {L"MS Sans Serif", -13, FW_BOLD, false, true, EASTEUROPE_CHARSET},
    {L"MS Sans Serif", -13, FW_BOLD, false, false, EASTEUROPE_CHARSET},
    {L"MS Sans Serif", -13, FW_NORMAL, false, false, EASTEUROPE_CHARSET},
}};

const std::array<Widget, 6> frontToBack = {W::Label2,  W::Label1,  W::BitBtn1,
                                           W::BitBtn2, W::BitBtn3, W::PageControl1};

}  // namespace

COLORREF ResolveColour(COLORREF colour) {
    return colour & SystemColourFlag ? ::GetSysColor(static_cast<int>(colour & 0xFF)) : colour;
}

const std::array<WidgetLayout, WidgetCount>& MainWindowLayout() {
    return layout;
}

const WidgetLayout& LayoutOf(Widget widget) {
    return layout[static_cast<size_t>(widget)];
}

const FontStyle& FontOf(FontId font) {
    return fonts[static_cast<size_t>(font)];
}

const std::array<Widget, 6>& FrontToBack() {
    return frontToBack;
}

RECT PageArea() {
    return PageRect;
}
