#include <gtest/gtest.h>

#include "tests/support/FakePlatform.h"

namespace {

const std::string Prompt = "Naciśnij przycisk \"Dalej >>\" aby zainstalować nakładkę.";
const std::string NetworkFound =
    "Odnaleziono wersję sieciową programu \"Tesmaren\".\rZakład Łódź\r" + Prompt;
const std::string SingleFound =
    "Odnaleziono wersję jednostanowiskową programu \"Tesmaren\".\rLab\r" + Prompt;
const std::string NoRegistry =
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

// Every click probes the chosen folder (a cancelled choice the current one) and rewrites the
// result; a folder without components is refused with a message, keeping a folder confirmed
// before it, and the installation goes to the folder confirmed last.
TEST(ManualLocation, EachChoiceIsProbedAndOnlyAConfirmedFolderIsKept) {
    struct Case {
        const char* situation;
        std::vector<std::optional<std::string>> answers;
        std::string location;  // afterwards, also in Edit1
        std::string probed;    // the library asked last
        const std::string& text;
        bool network;
        int refusals;  // "not here" messages
    };
    // clang-format off
    const Case cases[] = {
        {"confirmed, without its backslash", {"E:\\Lab\\"}, "E:\\Lab", "E:\\Lab\\KORDALIN.dll",
         NetworkFound, true, 0},
        {"drive root", {"D:\\"}, "D:", "D:\\KORDALIN.dll", SingleFound, false, 0},
        {"no components", {"C:\\Inny"}, "C:\\Inny", "C:\\Inny\\KORDALIN.dll", NoRegistry, false, 1},
        {"cancelled first choice", {std::nullopt}, "", "\\KORDALIN.dll", NoRegistry, false, 1},
        {"a faulting library after a confirmed folder", {"E:\\Lab", "F:\\Zepsuty"}, "E:\\Lab",
         "F:\\Zepsuty\\KORDALIN.dll", NetworkFound, true, 1},
        {"a second folder", {"E:\\Lab", "D:"}, "D:", "D:\\KORDALIN.dll", SingleFound, false, 0},
        {"cancel after a choice", {"D:", std::nullopt}, "D:", "D:\\KORDALIN.dll", SingleFound,
         false, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        ManualWizard wizard;
        wizard.InstallHost("E:\\Lab", FakeLibrary{1, "Zakład Łódź"});
        wizard.InstallHost("D:", FakeLibrary{0, "Lab"});
        FakeLibrary faulty{0, "Obcy"};
        faulty.ownerFaults = true;  // answers the edition, then faults
        wizard.InstallHost("F:\\Zepsuty", faulty);
        for (const auto& answer : c.answers) wizard.Choose(answer);

        bool found = c.text != NoRegistry;
        EXPECT_EQ(wizard.form.Location, c.location);
        EXPECT_EQ(wizard.Text(Widget::Edit1), c.location);
        EXPECT_EQ(wizard.libraries.loads.size(), c.answers.size());
        EXPECT_EQ(wizard.libraries.loads.back(), c.probed);
        EXPECT_EQ(wizard.libraries.loaded, 0);
        EXPECT_EQ(wizard.Text(Widget::StaticText3), c.text);
        EXPECT_EQ(wizard.form.NetworkEdition, c.network);
        EXPECT_EQ(wizard.surface.messages,
                  std::vector<std::string>(c.refusals,
                                           "W podanej lokalizacji nie odnaleziono potrzebnych "
                                           "składników programu. Zmień lokalizację lub "
                                           "skontaktuj się ze sprzedawcą."));
        EXPECT_EQ(wizard.surface.closeRequests, 0);
        EXPECT_EQ(wizard.surface.IsEnabled(Widget::BitBtn2), found);
        if (!found) continue;
        wizard.Click(Widget::BitBtn2);
        EXPECT_EQ(wizard.files.files.count(c.location + PayloadTable[5].relativePath), 1u);
    }
}

}  // namespace
