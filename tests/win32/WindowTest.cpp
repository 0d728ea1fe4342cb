#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Layout.h"
#include "platform/win32/Appearance.h"
#include "platform/win32/ApplicationWindow.h"
#include "platform/win32/GdiScope.h"
#include "platform/win32/MainWindow.h"
#include "platform/win32/Text.h"
#include "tests/support/FakePlatform.h"

// The real window, made in this process at the DPIs a lab PC is set to, with every text the
// wizard shows: each text must fit its control as drawn with that control's own font, and each
// control must lie inside its parent. Needs the test prefix's fonts (Wine's Central European
// "MS Sans Serif", Carlito for Calibri), which have Windows' metrics.
namespace {

const std::string Host = "C:\\Program Files\\Tesmaren";

// DrawText breaks lines at CR LF; the wizard's texts break them at a lone CR, as the static
// control shows them.
std::wstring WithWindowsLineBreaks(const std::wstring& text) {
    std::wstring converted;
    for (wchar_t c : text) {
        converted += c;
        if (c == L'\r') converted += L'\n';
    }
    return converted;
}

SIZE Needed(HWND control, const std::wstring& text, int wrapWidth) {
    WindowDc dc(control);
    SelectObjectScope font(dc.get(),
                           reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    std::wstring lines = WithWindowsLineBreaks(text);
    RECT needed{0, 0, wrapWidth, 0};
    UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wrapWidth > 0 ? DT_WORDBREAK : 0);
    ::DrawTextW(dc.get(), lines.empty() ? L" " : lines.c_str(), lines.empty() ? 1 : -1, &needed,
                format);
    return SIZE{needed.right, needed.bottom};
}

class LaidOutWindow {
  public:
    explicit LaidOutWindow(int dpi) : dpi(dpi), window(::GetModuleHandleW(nullptr), dpi) {}

    void Create() { window.Create(form); }
    HWND Handle(Widget widget) const {
        if (widget == Widget::Form1) return window.Handle();
        return ::GetDlgItem(Parent(widget), WidgetControlId(widget));
    }

    // Every widget of the table, whatever page it is on.
    void ExpectEverythingFits(const std::string& situation) const {
        for (const WidgetRow& row : MainWindowLayout) {
            if (row.name == Widget::Form1) continue;
            SCOPED_TRACE(situation + ", " + WidgetName(row.name) + " at " + std::to_string(dpi) +
                         " DPI");
            HWND control = Handle(row.name);
            ASSERT_NE(control, nullptr);
            ExpectInsideParent(control);
            ExpectTextFits(row, control);
        }
    }

    CallLog log;
    FakeRegistry registry;
    FakeLibraries libraries{log};
    FakeFolderChooser chooser;
    FakeResources resources{log};
    FakeFiles files{log};

  private:
    HWND Parent(Widget widget) const {
        Widget parent = LayoutOf(widget).parent;
        return parent == Widget::Form1 ? window.Handle() : Handle(parent);
    }
    int Scaled(int value) const { return ::MulDiv(value, dpi, 96); }

    static void ExpectInsideParent(HWND control) {
        RECT mine, parent;
        ::GetWindowRect(control, &mine);
        ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&mine), 2);
        ::GetClientRect(::GetParent(control), &parent);
        EXPECT_TRUE(mine.left >= 0 && mine.top >= 0 && mine.right <= parent.right &&
                    mine.bottom <= parent.bottom)
            << "at " << mine.left << "," << mine.top << "-" << mine.right << "," << mine.bottom
            << " in a parent of " << parent.right << "x" << parent.bottom;
    }

    void ExpectTextFits(const WidgetRow& row, HWND control) const {
        std::wstring text = WindowText(control);
        RECT client;
        ::GetClientRect(control, &client);
        switch (row.kind) {
            case WidgetKind::StaticText: {
                SIZE needed = Needed(control, text, client.right);
                EXPECT_LE(needed.cx, client.right) << Narrow(text);
                EXPECT_LE(needed.cy, client.bottom) << Narrow(text);
                break;
            }
            case WidgetKind::Label: {
                // Labels size themselves to their text, which must fit the table's size. The
                // title's width in the table predates its font: Calibri draws "Tesmaren" 110
                // pixels wide, on Windows too; it only has to stay inside the panel.
                if (row.name == Widget::Label1 || row.name == Widget::Label2) break;
                SIZE needed = Needed(control, text, 0);
                EXPECT_LE(needed.cx, Scaled(row.width)) << Narrow(text);
                EXPECT_LE(needed.cy, Scaled(row.height)) << Narrow(text);
                break;
            }
            case WidgetKind::Button:
            case WidgetKind::Edit: {
                // Room for the frame, and for the edit's margins.
                SIZE needed = Needed(control, text, 0);
                EXPECT_LE(needed.cx, client.right - Scaled(4)) << Narrow(text);
                EXPECT_LE(needed.cy, client.bottom) << Narrow(text);
                break;
            }
            default:
                break;
        }
    }

    int dpi;
    MainWindow window;
    Platform platform{registry, libraries, chooser, resources, files};
    TForm1 form{window, platform};

  public:
    TForm1& Form() { return form; }
};

class WindowLayout : public ::testing::TestWithParam<int> {};

TEST_P(WindowLayout, EveryTextFitsItsControlAndEveryControlItsParent) {
    {
        LaidOutWindow wizard(GetParam());
        wizard.registry.value = Host;
        wizard.libraries.libraries[Host + "\\KORDALIN.dll"] =
            FakeLibrary{1, "Laboratorium Badań Środowiska Łódź"};
        wizard.files.folders.insert(Host + "\\SZABLONY");
        wizard.Create();
        wizard.ExpectEverythingFits("start");
        wizard.Form().Clicked(Widget::BitBtn2);
        wizard.ExpectEverythingFits("found by the registry");
        wizard.Form().Clicked(Widget::BitBtn2);
        wizard.ExpectEverythingFits("installed");
    }
    {
        LaidOutWindow wizard(GetParam());
        wizard.chooser.answers.push_back(Host);
        wizard.libraries.libraries[Host + "\\KORDALIN.dll"] =
            FakeLibrary{0, "Pracownia Pomiarów Środowiskowych"};
        wizard.Create();
        wizard.Form().Clicked(Widget::BitBtn2);
        wizard.ExpectEverythingFits("no registry entry");
        wizard.Form().Clicked(Widget::BitBtn5);
        wizard.ExpectEverythingFits("chosen by hand");
        wizard.Form().Clicked(Widget::BitBtn2);  // SZABLONY is missing
        wizard.ExpectEverythingFits("installation failed");
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, WindowLayout, ::testing::Values(96, 120, 144));

TEST(ApplicationWindow, CarriesTheTitleAndTheIconsAndOffersNeitherMinimiseNorMaximise) {
    ApplicationWindow application(::GetModuleHandleW(nullptr));
    HWND window = application.Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Narrow(WindowText(window)), "Instalator");
    for (WPARAM size : {ICON_BIG, ICON_SMALL})
        EXPECT_NE(::SendMessageW(window, WM_GETICON, size, 0), 0) << "icon " << size;
    EXPECT_FALSE(::GetWindowLongW(window, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    HMENU menu = ::GetSystemMenu(window, FALSE);
    for (UINT command : {SC_MINIMIZE, SC_MAXIMIZE, SC_SIZE})
        EXPECT_EQ(::GetMenuState(menu, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << command;
    EXPECT_NE(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

}  // namespace

// High contrast: the window gives way to the system's colours while the setting is on and follows
// it while running. Wine always answers "no high contrast", so the setting is answered here
// through the seam the window reads it by; system colours are really changed with SetSysColors.
namespace {

bool highContrastOn = false;
bool AnswerHighContrast() {
    return highContrastOn;
}

struct HighContrastAnswer {
    HighContrastAnswer() {
        highContrastOn = false;
        AnswerHighContrastWith(&AnswerHighContrast);
    }
    ~HighContrastAnswer() { AnswerHighContrastWith(nullptr); }
};

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
        wizard.Create();
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

    HighContrastAnswer answer;
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
