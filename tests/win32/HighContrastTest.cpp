#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "tests/win32/LaidOutWindow.h"

// High contrast: the window gives way to the system's colours while the setting is on and follows
// it while running. Wine always answers "no high contrast", so the setting is answered here
// through the window's seam; system colours are really changed with SetSysColors.
namespace {

bool highContrastOn = false;
bool AnswerHighContrast() {
    return highContrastOn;
}

// The window's client area as it was painted, one COLORREF per pixel.
std::vector<COLORREF> Pixels(HWND window) {
    RECT client;
    ::GetClientRect(window, &client);
    WindowDc screen(window);
    UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    SelectObjectScope selected(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, client.right, client.bottom, screen.get(), 0, 0, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) pixels.push_back(::GetPixel(memory.get(), x, y));
    return pixels;
}

std::size_t CountOf(const std::vector<COLORREF>& pixels, COLORREF colour) {
    return static_cast<std::size_t>(std::count(pixels.begin(), pixels.end(), colour));
}

// Paints what the window itself has marked for painting, and nothing more.
void PaintPending(HWND main) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    ::RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

class HighContrastWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        highContrastOn = false;
        wizard.Create();
        wizard.Window().AnswerHighContrastWith(&AnswerHighContrast);
        main = wizard.Handle(Widget::Form1);
        ::ShowWindow(main, SW_SHOWNORMAL);
        PaintPending(main);
    }
    void Switch(bool on) {
        highContrastOn = on;
        ::SendMessageW(main, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        PaintPending(main);
    }
    // The title's ink: pixels of the panel's text colour where the title and its shadow lie.
    std::size_t TitleInk(COLORREF ink) {
        RECT title, shadow;
        ::GetWindowRect(wizard.Handle(Widget::Label2), &title);
        ::GetWindowRect(wizard.Handle(Widget::Label1), &shadow);
        ::UnionRect(&title, &title, &shadow);
        ::MapWindowPoints(nullptr, wizard.Handle(Widget::Panel1), reinterpret_cast<POINT*>(&title),
                          2);
        WindowDc dc(wizard.Handle(Widget::Panel1));
        std::size_t count = 0;
        for (int y = title.top; y < title.bottom; ++y)
            for (int x = title.left; x < title.right; ++x)
                count += ::GetPixel(dc.get(), x, y) == ink;
        return count;
    }

    LaidOutWindow wizard{96};
    HWND main = nullptr;
};

TEST_F(HighContrastWindow, GivesWayToTheSystemColoursWithoutTheShadowAndKeepsThePictures) {
    const COLORREF navy = RGB(0, 0, 128), yellow = RGB(255, 255, 0), silver = RGB(192, 192, 192);
    std::vector<COLORREF> logo = Pixels(wizard.Handle(Widget::Image1));
    std::size_t titleWithShadow = TitleInk(yellow) + TitleInk(silver);
    ASSERT_GT(CountOf(Pixels(wizard.Handle(Widget::Panel1)), navy), 0u) << "not painted";

    Switch(true);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW), text = ::GetSysColor(COLOR_WINDOWTEXT);
    std::vector<COLORREF> panel = Pixels(wizard.Handle(Widget::Panel1));
    for (COLORREF ours : {navy, yellow, silver}) EXPECT_EQ(CountOf(panel, ours), 0u) << ours;
    EXPECT_GT(CountOf(panel, window), panel.size() / 2);
    for (Widget label : {Widget::Label3, Widget::Label7})
        EXPECT_GT(CountOf(Pixels(wizard.Handle(label)), text), 0u) << WidgetName(label);
    std::vector<COLORREF> intro = Pixels(wizard.Handle(Widget::StaticText2));
    EXPECT_GT(CountOf(intro, window), intro.size() / 2);
    EXPECT_GT(CountOf(intro, text), 0u);
    // Without the shadow the title is one line of ink: well under the title and shadow together.
    std::size_t title = TitleInk(text);
    EXPECT_GT(title, 0u);
    EXPECT_LT(title * 10, titleWithShadow * 7) << title << " of " << titleWithShadow;
    EXPECT_EQ(Pixels(wizard.Handle(Widget::Image1)), logo) << "the logo is not the same";
    std::vector<COLORREF> box = Pixels(wizard.Handle(Widget::Image2));
    EXPECT_LT(CountOf(box, window), box.size()) << "the box picture is gone";

    Switch(false);
    EXPECT_GT(CountOf(Pixels(wizard.Handle(Widget::Panel1)), navy), 0u) << "ours not back";
    EXPECT_EQ(TitleInk(yellow) + TitleInk(silver), titleWithShadow);
}

// SetSysColors tells every window (WM_SYSCOLORCHANGE); the restored colours are told as well.
TEST_F(HighContrastWindow, FollowsTheSystemColoursWhileRunning) {
    const INT elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT};
    const COLORREF before[] = {::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT)};
    const COLORREF scheme[] = {RGB(0, 0, 0), RGB(0, 255, 0)};
    Switch(true);
    ::SetSysColors(2, elements, scheme);
    PaintPending(main);
    std::vector<COLORREF> panel = Pixels(wizard.Handle(Widget::Panel1));
    std::vector<COLORREF> label = Pixels(wizard.Handle(Widget::Label3));
    ::SetSysColors(2, elements, before);
    PaintPending(main);
    EXPECT_GT(CountOf(panel, scheme[0]), panel.size() / 2);
    EXPECT_GT(CountOf(label, scheme[1]), 0u);
    EXPECT_GT(CountOf(Pixels(wizard.Handle(Widget::Panel1)), before[0]), panel.size() / 2);
}

}  // namespace
