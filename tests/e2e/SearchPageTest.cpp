#include "tests/e2e/WizardTest.h"

namespace {

using SearchPage = WizardTest;

// The real registry, loader and library reach the page (its texts are the unit tests' part): a
// folder with Polish letters survives the trips between Windows-1250 and UTF-16, a trailing
// backslash is kept as stored (the library path then has two in a row), and a library writing
// on past the counted owner gives the owner its length byte says.
TEST_F(SearchPage, TheRegistryFolderAndWhatItsLibraryAnswersAreShown) {
    const struct {
        const char* folder;
        const char* fixture;
        const char* stored;  // after the folder
        const char* edition;
        const char* owner;
    } cases[] = {
        {"Tesmaren Łódź", "network", "", "sieciową", NetworkOwner},
        {"Tesmaren", "single_station", "\\", "jednostanowiskową", SingleStationOwner},
        {"Nadpisujący", "owner_overrun", "", "sieciową", "Owner"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        std::string stored = MakeHost(c.folder, c.fixture) + c.stored;
        e2e::Wizard wizard = StartOnSearchPage(stored);
        ASSERT_NE(wizard.Handle(), nullptr);
        EXPECT_EQ(wizard.Text(Widget::StaticText3),
                  std::string("Odnaleziono wersję ") + c.edition + " programu \"Tesmaren\".\r" +
                      "Lokalizacja: " + stored + "\r" + c.owner + "\r" + InstallPrompt);
        EXPECT_EQ(States(wizard), (NavigationStates{true, true, true}));
        process.Kill();
    }
}

// The top-level error box has an error icon, and the wizard goes on behind it.
TEST_F(SearchPage, ValueOfWrongTypeShowsTheErrorBoxAndTheWizardGoesOn) {
    SetLocationDword(1);
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);
    wizard.Click(Widget::BitBtn2);
    e2e::MessageBoxView box = e2e::WaitForMessageBox(process);
    ASSERT_NE(box.window, nullptr) << "no error box";
    EXPECT_EQ(box.text, "Invalid data type for 'Lokalizacja'");
    EXPECT_TRUE(box.hasIcon);
    ASSERT_TRUE(e2e::PressOk(box.window));
    ASSERT_TRUE(wizard.WaitForPage(1));
    Settle(wizard);
    EXPECT_TRUE(process.Running());
    EXPECT_EQ(States(wizard), (NavigationStates{true, false, true}));
}

// No library, or one that faults however it can: a plain box over the wizard says the
// components are missing, and the program ends normally once it is read.
class MissingComponents : public WizardTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MissingComponents, AreReportedOverTheWizardAndTheProgramEndsCleanly) {
    SetLocation(MakeHost("Tesmaren", GetParam()));
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);
    wizard.Click(Widget::BitBtn2);
    e2e::MessageBoxView box = e2e::WaitForMessageBox(process);
    ASSERT_NE(box.window, nullptr) << "no message box; the wizard may have crashed";
    EXPECT_EQ(box.text, MissingComponentsMessage);
    EXPECT_FALSE(box.hasIcon);
    EXPECT_EQ(::GetWindow(box.window, GW_OWNER), wizard.Handle()) << "box not owned by the window";
    ASSERT_TRUE(e2e::PressOk(box.window));
    ExpectCleanExit();
}

INSTANTIATE_TEST_SUITE_P(SearchPage, MissingComponents,
                         ::testing::Values("", "null_write", "raise_owner", "cxx_throw",
                                           "owner_past_buffer_end"));

}  // namespace
