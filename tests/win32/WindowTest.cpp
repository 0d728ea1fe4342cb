#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
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

// What the DPI decides about a widget (its place in its parent, its font's height and what a
// picture draws) and what a change of DPI must keep: its text.
struct Looks {
    std::tuple<LONG, LONG, LONG, LONG> place;
    LONG fontHeight = 0;
    std::vector<DWORD> drawn;
    std::wstring text;
};

// What an owner-drawn control paints, taken without showing it.
std::vector<DWORD> Drawn(HWND control) {
    RECT client;
    ::GetClientRect(control, &client);
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof info.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueGdiObject bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    SelectObjectScope selected(dc.get(), bitmap.get());
    ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    ::GdiFlush();
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    return std::vector<DWORD>(pixels, pixels + client.right * client.bottom);
}

class LaidOutWindow : public FakeWizard {
  public:
    explicit LaidOutWindow(int dpi)
        : FakeWizard(window), dpi(dpi), window(::GetModuleHandleW(nullptr), dpi) {}

    // With the hidden pages as the message loop has them once the first page is painted.
    void Create(bool hiddenPages = true) {
        window.Create(form);
        if (hiddenPages) window.CreateHiddenPages();
    }
    const MainWindow& Window() const { return window; }
    void Show() { window.Show(SW_SHOWNORMAL); }
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

    // As Windows moves a window to a monitor of another DPI (Wine never does): it asks for the
    // size there, then suggests the rectangle of that size where the window is.
    void ChangeDpi(int newDpi) {
        SIZE size{0, 0};
        HWND main = window.Handle();
        EXPECT_TRUE(::SendMessageW(main, 0x02E4 /* WM_GETDPISCALEDSIZE */, newDpi,
                                   reinterpret_cast<LPARAM>(&size)));
        RECT now;
        ::GetWindowRect(main, &now);
        RECT suggested{now.left, now.top, now.left + size.cx, now.top + size.cy};
        ::SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                       reinterpret_cast<LPARAM>(&suggested));
        dpi = newDpi;
    }

    std::vector<Looks> EveryWidget() const {
        std::vector<Looks> all;
        for (const WidgetRow& row : MainWindowLayout) {
            HWND control = Handle(row.name);
            Looks looks;
            RECT place;
            ::GetWindowRect(control, &place);
            if (row.name == Widget::Form1)
                ::OffsetRect(&place, -place.left, -place.top);
            else
                ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place),
                                  2);
            looks.place = {place.left, place.top, place.right, place.bottom};
            LOGFONTW font{};
            ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)),
                         sizeof font, &font);
            looks.fontHeight = font.lfHeight;
            if (row.kind == WidgetKind::Picture) looks.drawn = Drawn(control);
            looks.text = WindowText(control);
            all.push_back(looks);
        }
        return all;
    }

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
        wizard.Click(Widget::BitBtn2);
        wizard.ExpectEverythingFits("found by the registry");
        wizard.Click(Widget::BitBtn2);
        wizard.ExpectEverythingFits("installed");
    }
    {
        LaidOutWindow wizard(GetParam());
        wizard.chooser.answers.push_back(Host);
        wizard.libraries.libraries[Host + "\\KORDALIN.dll"] =
            FakeLibrary{0, "Pracownia Pomiarów Środowiskowych"};
        wizard.Create();
        wizard.Click(Widget::BitBtn2);
        wizard.ExpectEverythingFits("no registry entry");
        wizard.Click(Widget::BitBtn5);
        wizard.ExpectEverythingFits("chosen by hand");
        wizard.Click(Widget::BitBtn2);  // SZABLONY is missing
        wizard.ExpectEverythingFits("installation failed");
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, WindowLayout, ::testing::Values(96, 120, 144));

// Page 2 with the folder chosen by hand, so the edit and its button show too.
void ChooseByHand(
    LaidOutWindow& wizard, bool hiddenPages = true,
    const std::function<void()>& beforeNext = [] {}) {
    wizard.chooser.answers.push_back(Host);
    wizard.libraries.libraries[Host + "\\KORDALIN.dll"] = FakeLibrary{1, "Laboratorium Łódź"};
    wizard.Create(hiddenPages);
    beforeNext();
    wizard.Click(Widget::BitBtn2);
    wizard.Click(Widget::BitBtn5);
}

TEST(WindowDpi, MovedToAnotherDpiItLooksAsIfMadeThereAndKeepsItsTextsAndFocus) {
    LaidOutWindow moved(96);
    ChooseByHand(moved);
    moved.Show();
    HWND focused = moved.Handle(Widget::BitBtn5);
    ::SetFocus(focused);
    ASSERT_EQ(::GetFocus(), focused);
    for (int dpi : {144, 120, 96}) {
        SCOPED_TRACE("moved to " + std::to_string(dpi) + " DPI");
        std::vector<HGDIOBJ> oldFonts;
        for (const WidgetRow& row : MainWindowLayout)
            oldFonts.push_back(reinterpret_cast<HGDIOBJ>(
                ::SendMessageW(moved.Handle(row.name), WM_GETFONT, 0, 0)));
        moved.ChangeDpi(dpi);
        LaidOutWindow fresh(dpi);
        ChooseByHand(fresh);
        std::vector<Looks> now = moved.EveryWidget(), made = fresh.EveryWidget();
        for (std::size_t i = 0; i < now.size(); ++i) {
            SCOPED_TRACE(WidgetName(MainWindowLayout[i].name));
            EXPECT_EQ(now[i].place, made[i].place);
            EXPECT_EQ(now[i].fontHeight, made[i].fontHeight);
            EXPECT_TRUE(now[i].drawn == made[i].drawn) << "the picture differs";
            EXPECT_EQ(Narrow(now[i].text), Narrow(made[i].text));
            EXPECT_EQ(::GetObjectType(oldFonts[i]), 0u) << "the old font is still there";
        }
        moved.ExpectEverythingFits("moved");
        EXPECT_EQ(::GetFocus(), focused);
    }
}

// Only the first page is made before the first paint; the others are made when first used, in
// the fonts and sizes of the DPI of that moment, and read as the table has them until then.
TEST(WindowDpi, TheHiddenPagesAreMadeWhenFirstUsedAtTheDpiOfThatMoment) {
    LaidOutWindow moved(96);
    ChooseByHand(moved, false, [&] {
        EXPECT_EQ(moved.Handle(Widget::Edit1), nullptr);
        EXPECT_EQ(moved.Window().Text(Widget::StaticText1), LayoutOf(Widget::StaticText1).content);
        moved.ChangeDpi(144);
    });
    moved.ExpectEverythingFits("made after a move");
    auto font = [&](Widget widget) {
        return ::SendMessageW(moved.Handle(widget), WM_GETFONT, 0, 0);
    };
    EXPECT_EQ(font(Widget::Edit1), font(Widget::BitBtn2));
    EXPECT_EQ(font(Widget::StaticText3), font(Widget::StaticText2));
    RECT first, second;  // the pages fill the same place
    ::GetWindowRect(moved.Handle(Widget::TabSheet1), &first);
    ::GetWindowRect(moved.Handle(Widget::TabSheet2), &second);
    EXPECT_TRUE(::EqualRect(&first, &second));
}

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
