#include <gtest/gtest.h>

#include "tests/support/FakePlatform.h"

namespace {

const char* const NotHereMessage =
    "W podanej lokalizacji nie odnaleziono potrzebnych składników programu. Zmień lokalizację lub "
    "skontaktuj się ze sprzedawcą.";
const char* const NoRegistryText =
    "Nie odnaleziono rejestru!!!\rProblem z określeniem lokalizacji programu \"Tesmren\". Określ "
    "lokalizację programu na dysku lub skontaktuj się ze sprzedawcą.";

// Page 2 without a registry entry, where the "..." button is offered.
struct ManualWizard : FakeWizard {
    ManualWizard() { Click(Widget::BitBtn2); }
    void Choose(std::optional<std::string> answer) {
        chooser.answers.push_back(std::move(answer));
        Click(Widget::BitBtn5);
    }
};

TEST(ManualLocation, ChooserOpensOnTheInstallersFolderWithItsTitle) {
    for (auto [own, initial] :
         {std::pair<std::string, std::string>{"C:\\Pobrane\\Instalator.exe", "C:\\Pobrane"},
          {"D:\\Instalator.exe", "D:\\"},
          {"\\\\serwer\\dzial\\Instalator.exe", "\\\\serwer\\dzial"}}) {
        ManualWizard wizard;
        wizard.surface.ownPath = own;
        wizard.Choose(std::nullopt);
        EXPECT_EQ(wizard.chooser.titles, std::vector<std::string>{"Wybierz folder:"});
        EXPECT_EQ(wizard.chooser.initialFolders, std::vector<std::string>{initial});
    }
}

TEST(ManualLocation, ConfirmedFolderShowsThreeLinesAndEnablesNext) {
    ManualWizard wizard;
    wizard.InstallHost("E:\\Lab\\Tesmaren", FakeLibrary{1, "Zakład Łódź"});
    wizard.Choose("E:\\Lab\\Tesmaren\\");
    EXPECT_EQ(wizard.form.Location, "E:\\Lab\\Tesmaren");
    EXPECT_EQ(wizard.Text(Widget::Edit1), "E:\\Lab\\Tesmaren");
    EXPECT_EQ(wizard.Text(Widget::StaticText3),
              "Odnaleziono wersję sieciową programu \"Tesmaren\".\rZakład Łódź\r"
              "Naciśnij przycisk \"Dalej >>\" aby zainstalować nakładkę.");
    EXPECT_TRUE(wizard.surface.IsEnabled(Widget::BitBtn2));
    EXPECT_TRUE(wizard.surface.messages.empty());

    // And the installation goes there.
    wizard.Click(Widget::BitBtn2);
    EXPECT_EQ(
        wizard.files.files.count("E:\\Lab\\Tesmaren" + std::string(PayloadTable[0].relativePath)),
        1u);
}

TEST(ManualLocation, DriveRootLosesItsBackslash) {
    ManualWizard wizard;
    wizard.InstallHost("D:", FakeLibrary{0, "Lab"});
    wizard.Choose("D:\\");
    EXPECT_EQ(wizard.form.Location, "D:");
    EXPECT_EQ(wizard.libraries.loads.back(), "D:\\KORDALIN.dll");
    EXPECT_TRUE(wizard.form.ComponentsFound);
}

TEST(ManualLocation, FirstChoiceWithoutComponentsShowsTheMessageAndChangesNothingElse) {
    ManualWizard wizard;
    wizard.Choose("C:\\Inny");
    EXPECT_EQ(wizard.surface.messages, std::vector<std::string>{NotHereMessage});
    EXPECT_EQ(wizard.form.Location, "C:\\Inny");
    EXPECT_EQ(wizard.Text(Widget::Edit1), "C:\\Inny");
    EXPECT_EQ(wizard.Text(Widget::StaticText3), NoRegistryText);
    EXPECT_FALSE(wizard.surface.IsEnabled(Widget::BitBtn2));
    EXPECT_EQ(wizard.surface.closeRequests, 0);
}

TEST(ManualLocation, CancelledFirstChoiceProbesTheEmptyLocation) {
    ManualWizard wizard;
    wizard.Choose(std::nullopt);
    EXPECT_EQ(wizard.libraries.loads, std::vector<std::string>{"\\KORDALIN.dll"});
    EXPECT_EQ(wizard.surface.messages, std::vector<std::string>{NotHereMessage});
    EXPECT_FALSE(wizard.surface.IsEnabled(Widget::BitBtn2));
}

TEST(ManualLocation, FailedChoiceAfterAConfirmedFolderKeepsTheConfirmedOne) {
    ManualWizard wizard;
    wizard.InstallHost("E:\\Tesmaren", FakeLibrary{1, "Lab"});
    FakeLibrary faulty{0, "Obcy"};
    faulty.ownerFaults = true;  // answers the edition, then faults
    wizard.libraries.libraries["F:\\Zepsuty\\KORDALIN.dll"] = faulty;
    wizard.Choose("E:\\Tesmaren");
    std::string confirmedText = wizard.Text(Widget::StaticText3);

    wizard.Choose("F:\\Zepsuty");
    EXPECT_EQ(wizard.surface.messages, std::vector<std::string>{NotHereMessage});
    EXPECT_EQ(wizard.form.Location, "E:\\Tesmaren");
    EXPECT_EQ(wizard.Text(Widget::Edit1), "E:\\Tesmaren");
    EXPECT_TRUE(wizard.form.ComponentsFound);
    EXPECT_TRUE(wizard.form.NetworkEdition);
    EXPECT_EQ(wizard.form.OwnerName.ToString(), "Lab");
    EXPECT_EQ(wizard.Text(Widget::StaticText3), confirmedText);
    EXPECT_TRUE(wizard.surface.IsEnabled(Widget::BitBtn2));

    wizard.Click(Widget::BitBtn2);
    EXPECT_EQ(wizard.files.files.count("E:\\Tesmaren" + std::string(PayloadTable[5].relativePath)),
              1u);
    EXPECT_EQ(wizard.libraries.loaded, 0);
}

TEST(ManualLocation, EveryClickProbesAgainAndRewritesTheResult) {
    ManualWizard wizard;
    wizard.InstallHost("E:\\A", FakeLibrary{1, "Pierwszy"});
    wizard.InstallHost("E:\\B", FakeLibrary{0, "Drugi"});
    wizard.Choose("E:\\A");
    wizard.Choose("E:\\B");
    EXPECT_EQ(wizard.form.Location, "E:\\B");
    EXPECT_FALSE(wizard.form.NetworkEdition);
    EXPECT_EQ(wizard.Text(Widget::StaticText3),
              "Odnaleziono wersję jednostanowiskową programu \"Tesmaren\".\rDrugi\r"
              "Naciśnij przycisk \"Dalej >>\" aby zainstalować nakładkę.");
    wizard.Choose(std::nullopt);  // cancel: the same folder is probed again
    EXPECT_EQ(wizard.libraries.loads.back(), "E:\\B\\KORDALIN.dll");
    EXPECT_EQ(wizard.libraries.frees, 3);
}

}  // namespace
