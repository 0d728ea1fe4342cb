#include "window/win32/Appearance.h"

#include "window/Layout.h"

namespace {

constexpr COLORREF Navy = RGB(0, 0, 128);
constexpr COLORREF Silver = RGB(192, 192, 192);
constexpr COLORREF Yellow = RGB(255, 255, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Face = SystemColour(COLOR_BTNFACE);
constexpr COLORREF Ink = SystemColour(COLOR_WINDOWTEXT);
constexpr COLORREF Paper = SystemColour(COLOR_WINDOW);

constexpr std::array<WidgetLook, WidgetCount> looks = {{
#define INSTALATOR_LOOK(name, kind, parent, left, top, width, height, content, state, role, front, \
                        font, text, background, flags, ...)                                       \
    {Widget::name, FontId::font, text, background, flags},
    INSTALATOR_WIDGETS(INSTALATOR_LOOK)
#undef INSTALATOR_LOOK
}};

// clang-format off
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

}  // namespace

COLORREF ResolveColour(COLORREF colour) {
    return colour & SystemColourFlag ? ::GetSysColor(static_cast<int>(colour & 0xFF)) : colour;
}

const WidgetLook& LookOf(Widget widget) {
    return looks[static_cast<std::size_t>(widget)];
}

bool SystemHighContrast() {
    HIGHCONTRASTW setting{sizeof setting, 0, nullptr};
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON);
}

namespace {

bool OnWindowColours(Widget widget) {
    const WidgetRow& row = LayoutOf(widget);
    return widget == Widget::Panel1 || row.parent == Widget::Panel1 ||
           row.kind == WidgetKind::StaticText;
}

}  // namespace

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
