#include "tests/e2e/WizardTest.h"

namespace {

using Navigation = WizardTest;

TEST_F(Navigation, NextAndBackMoveBetweenPagesWithTheButtonStatesOfEachSituation) {
    std::string host = MakeHost("Tesmaren", "network");
    e2e::Wizard wizard = StartOnSearchPage(host);
    ASSERT_NE(wizard.Handle(), nullptr);
    EXPECT_EQ(States(wizard), (NavigationStates{true, true, true})) << "page 2, program found";
    std::string found = wizard.Text(Widget::StaticText3);
    EXPECT_EQ(found.rfind("Odnaleziono wersję sieciową", 0), 0u) << found;

    Back(wizard, 0);
    EXPECT_EQ(States(wizard), (NavigationStates{false, true, true})) << "page 1 by Back";

    // A return visit neither searches again nor changes what the first one found.
    Next(wizard, 1);
    EXPECT_EQ(States(wizard), (NavigationStates{true, true, true}));
    EXPECT_EQ(wizard.Text(Widget::StaticText3), found);
    EXPECT_TRUE(e2e::NoMessageBoxAppears(process));
    EXPECT_TRUE(process.Running());
}

// Each way out ends the program with exit code 0; from the first page it leaves no file and no
// registry key behind. The search page comes last, as its host folder and registry entry stay.
TEST_F(Navigation, CancelTheCloseBoxAndACloseRequestEachEndTheProgramCleanly) {
    const struct {
        const char* way;
        void (*leave)(HWND main, HWND cancel);
        bool onSearchPage;
    } ways[] = {
        {"Cancel", [](HWND, HWND cancel) { e2e::Click(cancel); }, false},
        {"close box", [](HWND main, HWND) { e2e::PostSystemClose(main); }, false},
        {"WM_CLOSE", [](HWND main, HWND) { e2e::PostClose(main); }, false},
        {"Cancel on page 2", [](HWND, HWND cancel) { e2e::Click(cancel); }, true},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        e2e::Wizard wizard =
            way.onSearchPage ? StartOnSearchPage(MakeHost("Tesmaren", "single_station")) : Start();
        ASSERT_NE(wizard.Handle(), nullptr);
        way.leave(wizard.Handle(), wizard.Window(Widget::BitBtn3));
        ExpectCleanExit();
        if (way.onSearchPage) continue;
        EXPECT_TRUE(Listing(Root()).empty()) << "the wizard left files in its working folder";
        EXPECT_FALSE(RegistryKeyExists());
    }
}

}  // namespace
