#include "tests/e2e/WizardTest.h"

namespace {

using SearchPage = WizardTest;

// The folder name has Polish letters, so the registry value, the page text and the library path
// all have to survive the trip between Windows-1250 and the system's UTF-16.
TEST_F(SearchPage, RegistryFolderWithNetworkEditionShowsEditionLocationAndPolishOwner) {
    std::string host = MakeHost("Tesmaren Łódź", "network");
    e2e::Wizard wizard = StartOnSearchPage(host);
    ASSERT_NE(wizard.Handle(), nullptr);
    EXPECT_TRUE(e2e::NoMessageBoxAppears(process));
    EXPECT_EQ(wizard.Text(Widget::StaticText3),
              std::string("Odnaleziono wersję sieciową programu \"Tesmaren\".\r") +
                  "Lokalizacja: " + host + "\r" + NetworkOwner + "\r" + InstallPrompt);
    EXPECT_EQ(wizard.Text(Widget::StaticText1),
              "Trwa wyszukiwanie zainstalowanych składników programu.");
    EXPECT_EQ(States(wizard), (NavigationStates{true, true, true}));
    EXPECT_FALSE(wizard.Shown(Widget::Edit1));
    EXPECT_FALSE(wizard.Shown(Widget::BitBtn5));
}

// A trailing backslash is kept as stored; the library path then has two in a row.
TEST_F(SearchPage, RegistryFolderWithSingleStationEditionIsUsedExactlyAsStored) {
    std::string stored = MakeHost("Tesmaren", "single_station") + "\\";
    e2e::Wizard wizard = StartOnSearchPage(stored);
    ASSERT_NE(wizard.Handle(), nullptr);
    EXPECT_TRUE(e2e::NoMessageBoxAppears(process));
    EXPECT_EQ(wizard.Text(Widget::StaticText3),
              std::string("Odnaleziono wersję jednostanowiskową programu \"Tesmaren\".\r") +
                  "Lokalizacja: " + stored + "\r" + SingleStationOwner + "\r" + InstallPrompt);
    EXPECT_EQ(States(wizard), (NavigationStates{true, true, true}));
}

// A library built against a longer buffer writes on past the counted string; the wizard takes the
// owner its length byte says and goes on.
TEST_F(SearchPage, LibraryWritingPastTheOwnerStillShowsTheOwnerAndCancelEndsTheProgram) {
    std::string host = MakeHost("Tesmaren", "owner_overrun");
    e2e::Wizard wizard = StartOnSearchPage(host);
    ASSERT_NE(wizard.Handle(), nullptr);
    EXPECT_TRUE(e2e::NoMessageBoxAppears(process));
    EXPECT_EQ(wizard.Text(Widget::StaticText3),
              std::string("Odnaleziono wersję sieciową programu \"Tesmaren\".\r") +
                  "Lokalizacja: " + host + "\rOwner\r" + InstallPrompt);
    EXPECT_EQ(States(wizard), (NavigationStates{true, true, true}));
    wizard.Click(Widget::BitBtn3);
    ExpectCleanExit();
}

TEST_F(SearchPage, RegistryFolderWithoutTheLibraryTellsSoAndTheProgramEnds) {
    SetLocation(MakeHost("Tesmaren", ""));
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);

    wizard.Click(Widget::BitBtn2);
    e2e::MessageBoxView box = e2e::WaitForMessageBox(process);
    ASSERT_NE(box.window, nullptr) << "no message box";
    EXPECT_EQ(box.text, MissingComponentsMessage);
    EXPECT_FALSE(box.hasIcon);
    EXPECT_EQ(::GetWindow(box.window, GW_OWNER), wizard.Handle()) << "box not owned by the window";
    ASSERT_TRUE(e2e::PressOk(box.window));
    ExpectCleanExit();
}

TEST_F(SearchPage, ValueOfWrongTypeShowsTheErrorBoxAndTheWizardSearchesAgainOnTheNextVisit) {
    SetLocationDword(1);
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);

    for (int visit = 1; visit <= 2; ++visit) {
        SCOPED_TRACE("visit " + std::to_string(visit));
        wizard.Click(Widget::BitBtn2);
        e2e::MessageBoxView box = e2e::WaitForMessageBox(process);
        ASSERT_NE(box.window, nullptr) << "no error box";
        // Ends with a quote, which sorts before ".", so no full stop is added.
        EXPECT_EQ(box.text, "Invalid data type for 'Lokalizacja'");
        EXPECT_TRUE(box.hasIcon) << "the top-level error box has an error icon";
        ASSERT_TRUE(e2e::PressOk(box.window));

        ASSERT_TRUE(wizard.WaitForPage(1));
        Settle(wizard);
        EXPECT_TRUE(process.Running());
        EXPECT_EQ(States(wizard), (NavigationStates{true, false, true}));
        EXPECT_FALSE(wizard.Shown(Widget::Edit1));
        EXPECT_FALSE(wizard.Shown(Widget::BitBtn5));
        // The unfinished search leaves the result untouched; hiding the page then clears it.
        EXPECT_EQ(wizard.Text(Widget::StaticText3), visit == 1 ? "Odnaleziono:" : "");
        Back(wizard, 0);
    }
}

// Whatever way the library fails, the wizard reports missing components and ends normally.
class FaultingLibrary : public WizardTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FaultingLibrary, IsReportedAsMissingComponentsAndTheProgramEndsCleanly) {
    SetLocation(MakeHost("Tesmaren", GetParam()));
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);

    wizard.Click(Widget::BitBtn2);
    e2e::MessageBoxView box = e2e::WaitForMessageBox(process);
    ASSERT_NE(box.window, nullptr) << "no message box; the wizard may have crashed";
    EXPECT_EQ(box.text, MissingComponentsMessage);
    EXPECT_FALSE(box.hasIcon);
    ASSERT_TRUE(e2e::PressOk(box.window));
    ExpectCleanExit();
}

INSTANTIATE_TEST_SUITE_P(SearchPage, FaultingLibrary,
                         ::testing::Values("null_write", "raise_owner", "cxx_throw",
                                           "owner_past_buffer_end"));

}  // namespace
