#include <gtest/gtest.h>

#include "tests/support/FakePlatform.h"

namespace {

const std::string Host = "\\\\serwer\\programy\\Tesmaren";

TEST(SearchPage, RegistryFolderWithAnsweringLibraryShowsEditionLocationOwnerAndPrompt) {
    for (bool network : {true, false}) {
        FakeWizard wizard;
        wizard.registry.value = Host;
        wizard.InstallHost(Host, FakeLibrary{static_cast<std::uint8_t>(network), "Zakład Łódź"});
        wizard.Click(Widget::BitBtn2);

        EXPECT_EQ(wizard.registry.lastKey, "KvTesmaren");
        EXPECT_EQ(wizard.registry.lastName, "Lokalizacja");
        EXPECT_EQ(wizard.form.Location, Host);
        std::string edition = network
                                  ? "Odnaleziono wersję sieciową programu \"Tesmaren\"."
                                  : "Odnaleziono wersję jednostanowiskową programu \"Tesmaren\".";
        EXPECT_EQ(wizard.Text(Widget::StaticText3),
                  edition +
                      "\rLokalizacja: \\\\serwer\\programy\\Tesmaren\rZakład Łódź\r"
                      "Naciśnij przycisk \"Dalej >>\" aby zainstalować nakładkę.");
        EXPECT_EQ(wizard.Text(Widget::StaticText1),
                  "Trwa wyszukiwanie zainstalowanych składników programu.");
        EXPECT_FALSE(wizard.surface.IsVisible(Widget::Edit1));
        EXPECT_FALSE(wizard.surface.IsVisible(Widget::BitBtn5));
        EXPECT_EQ(wizard.surface.Tag(Widget::TabSheet2), 1);
        EXPECT_TRUE(wizard.surface.messages.empty());
    }
}

TEST(SearchPage, EmptyOwnerStillHasItsOwnLineAndLocationIsKeptAsStored) {
    FakeWizard wizard;
    wizard.registry.value = "C:\\Tesmaren\\";
    wizard.libraries.libraries["C:\\Tesmaren\\\\KORDALIN.dll"] = FakeLibrary{0, ""};
    wizard.Click(Widget::BitBtn2);
    EXPECT_EQ(wizard.form.Location, "C:\\Tesmaren\\");
    EXPECT_EQ(wizard.Text(Widget::StaticText3),
              "Odnaleziono wersję jednostanowiskową programu \"Tesmaren\".\r"
              "Lokalizacja: C:\\Tesmaren\\\r\r"
              "Naciśnij przycisk \"Dalej >>\" aby zainstalować nakładkę.");
}

TEST(SearchPage, FolderWithoutComponentsShowsTheMessageThenClosesAndFinishesTheSearch) {
    for (std::string stored : {std::string("C:\\Stary"), std::string("")}) {
        FakeWizard wizard;
        wizard.registry.value = stored;
        // The window must still be open while the user reads the message.
        wizard.surface.onMessage = [](FakeSurface& s) { EXPECT_EQ(s.closeRequests, 0); };
        wizard.Click(Widget::BitBtn2);
        EXPECT_EQ(wizard.surface.messages,
                  std::vector<std::string>{
                      "Nie odnaleziono potrzebnych składników programu, skontaktuj się ze "
                      "sprzedawcą. Nastąpi zamknięcie instalatora."});
        EXPECT_EQ(wizard.surface.closeRequests, 1);
        EXPECT_EQ(wizard.Text(Widget::StaticText3), "Odnaleziono:");
        EXPECT_EQ(wizard.surface.Tag(Widget::TabSheet2), 1) << "the handler runs on to its end";
        EXPECT_TRUE(wizard.files.files.empty());
    }
}

TEST(SearchPage, NoRegistryEntryAsksForTheFolderByHand) {
    FakeWizard wizard;
    wizard.Click(Widget::BitBtn2);
    EXPECT_EQ(wizard.Text(Widget::StaticText3),
              "Nie odnaleziono rejestru!!!\rProblem z określeniem lokalizacji programu "
              "\"Tesmren\". Określ lokalizację programu na dysku lub skontaktuj się ze "
              "sprzedawcą.");
    EXPECT_FALSE(wizard.surface.IsEnabled(Widget::BitBtn2));
    EXPECT_TRUE(wizard.surface.IsVisible(Widget::Edit1));
    EXPECT_FALSE(wizard.surface.IsEnabled(Widget::Edit1)) << "display only";
    EXPECT_TRUE(wizard.surface.IsVisible(Widget::BitBtn5));
    EXPECT_TRUE(wizard.libraries.loads.empty());
    EXPECT_EQ(wizard.surface.Tag(Widget::TabSheet2), 1);
    EXPECT_EQ(wizard.surface.closeRequests, 0);
}

TEST(SearchPage, ReturnVisitNeitherReadsNorProbesAgainAndHidingKeepsTheResult) {
    FakeWizard wizard;
    wizard.registry.value = Host;
    wizard.InstallHost(Host, FakeLibrary{1, "Lab"});
    wizard.Click(Widget::BitBtn2);
    std::string result = wizard.Text(Widget::StaticText3);

    wizard.Click(Widget::BitBtn1);
    EXPECT_EQ(wizard.Text(Widget::StaticText3), result);
    wizard.Click(Widget::BitBtn2);
    EXPECT_EQ(wizard.registry.reads, 1);
    EXPECT_EQ(wizard.libraries.loads.size(), 1u);
    EXPECT_EQ(wizard.Text(Widget::StaticText3), result);

    FakeWizard manual;
    manual.Click(Widget::BitBtn2);
    manual.Click(Widget::BitBtn1);
    EXPECT_TRUE(manual.surface.IsVisible(Widget::Edit1)) << "the manual row stays once shown";
    EXPECT_TRUE(manual.surface.IsVisible(Widget::BitBtn5));
}

TEST(SearchPage, InvalidValueTypeLeavesLocationAndTheSearchUndone) {
    FakeWizard wizard;
    wizard.registry.wrongType = true;
    wizard.Click(Widget::BitBtn2);
    EXPECT_EQ(wizard.surface.errorBoxes.size(), 1u);
    EXPECT_EQ(wizard.form.Location, "");
    EXPECT_TRUE(wizard.libraries.loads.empty());
    EXPECT_EQ(wizard.Text(Widget::StaticText3), "Odnaleziono:");
    EXPECT_EQ(wizard.surface.Tag(Widget::TabSheet2), 0);
}

}  // namespace
