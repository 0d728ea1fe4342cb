#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/win32/LaidOutWindow.h"
#include "window/win32/ApplicationWindow.h"

// The real window, made in this process at the DPIs a lab PC is set to, with every text the
// wizard shows: each text must fit its control as drawn with that control's own font, each
// control must lie inside its parent and apart from its siblings. Needs the test prefix's fonts
// (Wine's Central European "MS Sans Serif", Carlito for Calibri), which have Windows' metrics.
namespace {

const std::string Host = "C:\\Program Files\\Tesmaren";

class WindowLayout : public ::testing::TestWithParam<int> {};

TEST_P(WindowLayout, TextsFitTheirControlsWhichLieInsideTheirParentAndApart) {
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

// Tab walks the navigation buttons in their own order, then into the page, as the dialog manager
// that the message loop hands the keys to walks it; disabled and hidden controls are passed over.
TEST(WindowKeyboard, TabGoesBackNextCancelThenIntoThePage) {
    LaidOutWindow wizard(96);
    ChooseByHand(wizard);
    wizard.Show();
    HWND main = wizard.Handle(Widget::Form1), at = wizard.Handle(Widget::BitBtn1);
    std::vector<std::string> order;
    for (int i = 0; i < 4; ++i) {
        at = ::GetNextDlgTabItem(main, at, FALSE);
        std::optional<Widget> widget = WidgetOfControlId(::GetDlgCtrlID(at));
        order.push_back(widget ? WidgetName(*widget) : "?");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"BitBtn2", "BitBtn3", "BitBtn5", "BitBtn1"}));
}

TEST(ApplicationWindow, CarriesTheTitleAndTheIconsAndOffersNeitherMinimiseNorMaximise) {
    ApplicationWindow application(::GetModuleHandleW(nullptr), "Instalator");
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
