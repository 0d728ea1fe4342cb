#include "platform/win32/Appearance.h"

#include "platform/Layout.h"

namespace {

constexpr COLORREF Navy = RGB(0, 0, 128);
constexpr COLORREF Silver = RGB(192, 192, 192);
constexpr COLORREF Yellow = RGB(255, 255, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Face = SystemColour(COLOR_BTNFACE);
constexpr COLORREF Ink = SystemColour(COLOR_WINDOWTEXT);
constexpr COLORREF Paper = SystemColour(COLOR_WINDOW);

using W = Widget;
using F = FontId;

// clang-format off
constexpr std::array<WidgetLook, WidgetCount> looks = {{
    // name           font        text    background flags
    {W::Form1,        F::Default, Ink,    Face,      Plain},
    {W::Panel1,       F::Default, White,  Navy,      Plain},
    {W::Image1,       F::Default, White,  Navy,      Plain},
    {W::Label1,       F::Title,   Silver, Navy,      Shadow},
    {W::Label2,       F::Title,   Yellow, Navy,      Transparent},
    {W::Label3,       F::Heading, White,  Navy,      Plain},
    {W::Label4,       F::Bold,    White,  Navy,      Plain},
    {W::Label5,       F::Bold,    White,  Navy,      Plain},
    {W::Label6,       F::Bold,    White,  Navy,      Plain},
    {W::Label7,       F::Bold,    White,  Navy,      Plain},
    {W::Image2,       F::Default, White,  Navy,      Transparent},
    {W::Panel2,       F::Default, Ink,    Face,      Plain},
    {W::PageControl1, F::Default, Ink,    Face,      Plain},
    {W::TabSheet1,    F::Default, Ink,    Face,      Plain},
    {W::StaticText2,  F::Text,    Black,  Face,      Plain},
    {W::TabSheet2,    F::Default, Ink,    Face,      Plain},
    {W::StaticText1,  F::Bold,    Ink,    Face,      Plain},
    {W::StaticText3,  F::Text,    Ink,    Face,      Plain},
    {W::Edit1,        F::Default, Ink,    Paper,     Plain},
    {W::BitBtn5,      F::Default, Ink,    Face,      Plain},
    {W::TabSheet3,    F::Default, Ink,    Face,      Plain},
    {W::StaticText6,  F::Text,    Ink,    Face,      Plain},
    {W::BitBtn4,      F::Default, Ink,    Face,      Plain},
    {W::StaticText4,  F::Default, Ink,    Face,      Plain},
    {W::BitBtn3,      F::Default, Ink,    Face,      Plain},
    {W::BitBtn1,      F::Default, Ink,    Face,      Plain},
    {W::BitBtn2,      F::Default, Ink,    Face,      DefaultButton},
}};

// East European character sets throughout, so that "MS Sans Serif" has the Polish letters.
constexpr std::array<FontStyle, FontCount> fonts = {{
    // face              height weight    italic underline
    {L"MS Sans Serif",   -11,   FW_NORMAL, false, false},
    {L"Calibri",         -27,   FW_BOLD,   true,  false},
    {L"MS Sans Serif",   -13,   FW_BOLD,   false, true},
    {L"MS Sans Serif",   -13,   FW_BOLD,   false, false},
    {L"MS Sans Serif",   -13,   FW_NORMAL, false, false},
}};
// clang-format on

constexpr bool FollowsTheWidgetList() {
    for (int i = 0; i < WidgetCount; ++i)
        if (static_cast<int>(looks[static_cast<std::size_t>(i)].name) != i) return false;
    return true;
}
static_assert(FollowsTheWidgetList(), "row i must be widget i");

constexpr std::array<Widget, 6> frontToBack = {W::Label2,  W::Label1,  W::BitBtn1,
                                               W::BitBtn2, W::BitBtn3, W::PageControl1};

}  // namespace

COLORREF ResolveColour(COLORREF colour) {
    return colour & SystemColourFlag ? ::GetSysColor(static_cast<int>(colour & 0xFF)) : colour;
}

const WidgetLook& LookOf(Widget widget) {
    return looks[static_cast<std::size_t>(widget)];
}

namespace {

bool SystemHighContrast() {
    HIGHCONTRASTW setting{sizeof setting, 0, nullptr};
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON);
}

bool (*highContrastAnswer)() = &SystemHighContrast;

bool OnWindowColours(Widget widget) {
    const WidgetRow& row = LayoutOf(widget);
    return widget == W::Panel1 || row.parent == W::Panel1 || row.kind == WidgetKind::StaticText;
}

}  // namespace

bool HighContrast() {
    return highContrastAnswer();
}

void AnswerHighContrastWith(bool (*answer)()) {
    highContrastAnswer = answer ? answer : &SystemHighContrast;
}

COLORREF TextColourOf(Widget widget, bool highContrast) {
    if (!highContrast) return ResolveColour(LookOf(widget).textColour);
    return ::GetSysColor(OnWindowColours(widget) ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
}

COLORREF BackgroundOf(Widget widget, bool highContrast) {
    if (!highContrast) return LookOf(widget).background;
    return OnWindowColours(widget) ? Paper : Face;
}

const FontStyle& FontOf(FontId font) {
    return fonts[static_cast<std::size_t>(font)];
}

const std::array<Widget, 6>& FrontToBack() {
    return frontToBack;
}
