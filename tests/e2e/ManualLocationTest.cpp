#include "tests/e2e/WizardTest.h"
#include "tests/support/TemplateNames.h"

namespace {

using namespace std::chrono_literals;
using ManualLocation = WizardTest;

// The wizard runs from inside the folder, so the real chooser opens on it, modal, and OK accepts
// it: a host folder is confirmed and installed into; a folder without the library is refused in a
// plain box and the page stays as it was.
TEST_F(ManualLocation, TheChooserOpensOnTheInstallersFolderAndWhatItGivesIsProbed) {
    for (bool host : {false, true}) {
        SCOPED_TRACE(host ? "host folder" : "folder without the library");
        std::string name = host ? "Tesmaren Gdańsk" : "Pusty";
        std::string folder = MakeHost(name, host ? "network" : "", host);
        e2e::Wizard wizard = Start(CopyInstallerTo(folder));
        ASSERT_NE(wizard.Handle(), nullptr);
        Next(wizard, 1);
        std::string asking = wizard.Text(Widget::StaticText3);
        EXPECT_TRUE(e2e::IsVisibleOnScreen(wizard.Window(Widget::Edit1)));
        EXPECT_TRUE(e2e::IsVisibleOnScreen(wizard.Window(Widget::BitBtn5)));

        wizard.Click(Widget::BitBtn5);
        HWND chooser = e2e::WaitForFolderChooser(process);
        ASSERT_NE(chooser, nullptr) << "no folder chooser";
        EXPECT_TRUE(
            e2e::WaitUntil([&] { return e2e::FolderChooserSelection(chooser) == name; }, 3s))
            << "the installer's folder is not selected but \""
            << e2e::FolderChooserSelection(chooser) << "\"";
        EXPECT_FALSE(e2e::IsEnabled(wizard.Handle())) << "the chooser must be modal";
        ASSERT_TRUE(e2e::PressOk(chooser));

        if (host) {
            ASSERT_TRUE(e2e::WaitUntil([&] { return wizard.Enabled(Widget::BitBtn2); }))
                << wizard.Text(Widget::StaticText3);
            EXPECT_EQ(wizard.Text(Widget::StaticText3),
                      std::string("Odnaleziono wersję sieciową programu \"Tesmaren\".\r") +
                          NetworkOwner + "\r" + InstallPrompt);
            EXPECT_EQ(wizard.Text(Widget::Edit1), folder);
            Next(wizard, 2);
            EXPECT_EQ(Listing(folder + "\\SZABLONY"), TemplateNames());
        } else {
            e2e::MessageBoxView box = e2e::WaitForMessageBox(process);
            ASSERT_NE(box.window, nullptr) << "no message box";
            EXPECT_EQ(box.text.rfind("W podanej lokalizacji nie odnaleziono", 0), 0u) << box.text;
            EXPECT_FALSE(box.hasIcon);
            ASSERT_TRUE(e2e::PressOk(box.window));
            Settle(wizard);
            EXPECT_TRUE(process.Running());
            EXPECT_EQ(wizard.Text(Widget::Edit1), folder);
            EXPECT_EQ(wizard.Text(Widget::StaticText3), asking);
            EXPECT_EQ(States(wizard), (NavigationStates{true, false, true}));
        }
        process.Kill();
    }
}

}  // namespace
