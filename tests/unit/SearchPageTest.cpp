#include <gtest/gtest.h>

#include "tests/support/FakePlatform.h"

namespace {

const std::string Prompt = "Naciśnij przycisk \"Dalej >>\" aby zainstalować nakładkę.";

// What page 2 shows for each thing the registry can hold, and that a return visit (Back, then
// Next) neither reads nor probes again nor undoes any of it.
TEST(SearchPage, TheRegistryFolderDecidesWhatThePageShowsOnceForAllVisits) {
    struct Case {
        const char* situation;
        std::optional<std::string> stored;   // none: no entry
        std::optional<FakeLibrary> library;  // at stored + "\KORDALIN.dll"
        std::string text;                    // of StaticText3
        bool closes;  // the missing-components message is shown, then the window closed
    };
    const Case cases[] = {
        {"network edition", "\\\\serwer\\programy\\Tesmaren", FakeLibrary{1, "Zakład Łódź"},
         "Odnaleziono wersję sieciową programu \"Tesmaren\".\r"
         "Lokalizacja: \\\\serwer\\programy\\Tesmaren\rZakład Łódź\r" +
             Prompt,
         false},
        {"single station, empty owner, location kept as stored", "C:\\Tesmaren\\",
         FakeLibrary{0, ""},
         "Odnaleziono wersję jednostanowiskową programu \"Tesmaren\".\r"
         "Lokalizacja: C:\\Tesmaren\\\r\r" +
             Prompt,
         false},
        {"folder without the library", "C:\\Stary", std::nullopt, "Odnaleziono:", true},
        {"empty value", "", std::nullopt, "Odnaleziono:", true},
        {"no entry: the folder is asked for by hand", std::nullopt, std::nullopt,
         "Nie odnaleziono rejestru!!!\rProblem z określeniem lokalizacji programu \"Tesmren\". "
         "Określ lokalizację programu na dysku lub skontaktuj się ze sprzedawcą.",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        FakeWizard wizard;
        wizard.registry.value = c.stored;
        if (c.library) wizard.InstallHost(*c.stored, *c.library);
        // The window must still be open while the user reads the message.
        wizard.surface.onMessage = [](FakeSurface& s) { EXPECT_EQ(s.closeRequests, 0); };
        wizard.Click(Widget::BitBtn2);
        for (const char* visit : {"first visit", "return visit"}) {
            SCOPED_TRACE(visit);
            EXPECT_EQ(wizard.registry.reads, 1);
            EXPECT_EQ(wizard.registry.lastKey + "\\" + wizard.registry.lastName,
                      "KvTesmaren\\Lokalizacja");
            EXPECT_EQ(wizard.form.Location, c.stored.value_or(""));
            EXPECT_EQ(wizard.libraries.loads.size(), c.stored ? 1u : 0u);
            EXPECT_EQ(wizard.Text(Widget::StaticText1),
                      "Trwa wyszukiwanie zainstalowanych składników programu.");
            EXPECT_EQ(wizard.Text(Widget::StaticText3), c.text);
            EXPECT_EQ(wizard.surface.messages,
                      c.closes ? std::vector<std::string>{"Nie odnaleziono potrzebnych składników "
                                                          "programu, skontaktuj się ze "
                                                          "sprzedawcą. Nastąpi zamknięcie "
                                                          "instalatora."}
                               : std::vector<std::string>{});
            EXPECT_EQ(wizard.surface.closeRequests, c.closes ? 1 : 0);
            EXPECT_EQ(wizard.surface.IsVisible(Widget::Edit1), !c.stored);
            EXPECT_EQ(wizard.surface.IsVisible(Widget::BitBtn5), !c.stored);
            EXPECT_FALSE(wizard.surface.IsEnabled(Widget::Edit1)) << "display only";
            EXPECT_EQ(wizard.surface.Tag(Widget::TabSheet2), 1) << "the handler runs to its end";
            EXPECT_TRUE(wizard.files.files.empty());
            wizard.Click(Widget::BitBtn1);
            wizard.Click(Widget::BitBtn2);
        }
    }
}

}  // namespace
