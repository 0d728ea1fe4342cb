#include "tests/e2e/WizardTest.h"
#include "tests/support/TemplateNames.h"

namespace {

using namespace std::chrono_literals;
using ManualLocation = WizardTest;

const char* const NoRegistryText =
    "Nie odnaleziono rejestru!!!\r"
    "Problem z określeniem lokalizacji programu \"Tesmren\". Określ lokalizację programu na "
    "dysku lub skontaktuj się ze sprzedawcą.";

// The wizard runs from inside the host folder, so the chooser opens on it and OK accepts it.
TEST_F(ManualLocation, ChosenHostFolderIsConfirmedAndTheOverlayIsInstalledThere) {
    std::string host = MakeHost("Tesmaren Gdańsk", "network");
    e2e::Wizard wizard = Start(CopyInstallerTo(host));
    ASSERT_NE(wizard.Handle(), nullptr);

    Next(wizard, 1);
    EXPECT_EQ(wizard.Text(Widget::StaticText3), NoRegistryText);
    EXPECT_EQ(States(wizard), (NavigationStates{true, false, true}));
    EXPECT_TRUE(e2e::IsVisibleOnScreen(wizard.Window(Widget::Edit1)));
    EXPECT_TRUE(e2e::IsVisibleOnScreen(wizard.Window(Widget::BitBtn5)));
    EXPECT_FALSE(wizard.Enabled(Widget::Edit1));

    wizard.Click(Widget::BitBtn5);
    HWND chooser = e2e::WaitForFolderChooser(process);
    ASSERT_NE(chooser, nullptr) << "no folder chooser";
    EXPECT_TRUE(e2e::WaitUntil(
        [&] { return e2e::FolderChooserSelection(chooser) == "Tesmaren Gdańsk"; }, 3s))
        << "the installer's folder is not selected but \"" << e2e::FolderChooserSelection(chooser)
        << "\"";
    EXPECT_FALSE(e2e::IsEnabled(wizard.Handle())) << "the chooser must be modal";
    ASSERT_TRUE(e2e::PressOk(chooser));

    ASSERT_TRUE(e2e::WaitUntil([&] { return wizard.Enabled(Widget::BitBtn2); }))
        << wizard.Text(Widget::StaticText3);
    EXPECT_TRUE(e2e::NoMessageBoxAppears(process));
    EXPECT_EQ(wizard.Text(Widget::StaticText3),
              std::string("Odnaleziono wersję sieciową programu \"Tesmaren\".\r") + NetworkOwner +
                  "\r" + InstallPrompt);
    EXPECT_EQ(wizard.Text(Widget::Edit1), host);
    EXPECT_EQ(States(wizard), (NavigationStates{true, true, true}));

    Next(wizard, 2);
    EXPECT_EQ(States(wizard), (NavigationStates{false, false, false}));
    EXPECT_EQ(Listing(host + "\\SZABLONY"), TemplateNames());
}

TEST_F(ManualLocation, ChosenFolderWithoutTheLibraryIsRefusedAndNextStaysDisabled) {
    std::string folder = MakeHost("Pusty", "", false);
    e2e::Wizard wizard = Start(CopyInstallerTo(folder));
    ASSERT_NE(wizard.Handle(), nullptr);

    Next(wizard, 1);
    wizard.Click(Widget::BitBtn5);
    HWND chooser = e2e::WaitForFolderChooser(process);
    ASSERT_NE(chooser, nullptr) << "no folder chooser";
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::FolderChooserSelection(chooser) == "Pusty"; }, 3s))
        << "the installer's folder is not selected but \"" << e2e::FolderChooserSelection(chooser)
        << "\"";
    ASSERT_TRUE(e2e::PressOk(chooser));

    e2e::MessageBoxView box = e2e::WaitForMessageBox(process);
    ASSERT_NE(box.window, nullptr) << "no message box";
    EXPECT_EQ(box.text,
              "W podanej lokalizacji nie odnaleziono potrzebnych składników programu. Zmień "
              "lokalizację lub skontaktuj się ze sprzedawcą.");
    EXPECT_FALSE(box.hasIcon);
    ASSERT_TRUE(e2e::PressOk(box.window));
    Settle(wizard);

    EXPECT_TRUE(process.Running());
    EXPECT_EQ(wizard.Text(Widget::Edit1), folder);
    EXPECT_EQ(wizard.Text(Widget::StaticText3), NoRegistryText);
    EXPECT_EQ(States(wizard), (NavigationStates{true, false, true}));
}

}  // namespace
