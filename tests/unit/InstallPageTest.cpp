#include <gtest/gtest.h>

#include "tests/support/FakePlatform.h"

namespace {

const std::string Host = "C:\\Tesmaren";
const std::string Success =
    "Instalacja nakładki Z27Z.\r"
    "Gotowe. Zainstalowano nakładkę Z27Z. Zamknij instalatora i uruchom program \"Tesmaren\".\r\r"
    "Jeśli pracujesz w sieci pamiętaj aby zainstalować nakładkę na wszystkich komputerach.";
const std::string Failure =
    "Instalacja nakładki Z27Z.\r"
    "Wystąpił problem podczas instalacji, instalacja nie powiodła się!. Skontaktuj się ze "
    "sprzedawcą.";

const char* Target(std::size_t i) {
    return PayloadTable[i].relativePath;
}

// On page 2 with the host program found through the registry, ready for "Dalej >>".
struct InstallWizard : FakeWizard {
    explicit InstallWizard(const std::string& host = Host) {
        registry.value = host;
        InstallHost(host, FakeLibrary{1, "Lab"});
        Click(Widget::BitBtn2);
        log.clear();
    }
    void Install() { Click(Widget::BitBtn2); }
    int Opens() const {
        return static_cast<int>(std::count_if(
            log.begin(), log.end(), [](const std::string& e) { return e.rfind("open ", 0) == 0; }));
    }
    int Releases() const { return static_cast<int>(std::count(log.begin(), log.end(), "release")); }
};

TEST(InstallPage, WritesTheSixPayloadsInTableOrderByteForByte) {
    InstallWizard wizard;
    wizard.Install();

    std::vector<std::string> writes;
    for (const std::string& entry : wizard.log)
        if (entry.rfind("stage ", 0) == 0) writes.push_back(entry.substr(6));
    // The set is swapped in once, after the last payload was written and released.
    EXPECT_EQ(std::count(wizard.log.begin(), wizard.log.end(), "commit"), 1);
    auto commit = std::find(wizard.log.begin(), wizard.log.end(), "commit");
    EXPECT_EQ(std::count(commit, wizard.log.end(), "release"), 0);
    const char* const resources[] = {"PLIK7T", "PLIK8T", "PLIK9T", "PLIK10T", "PLIK11T", "PLIK12T"};
    ASSERT_EQ(writes.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(writes[i], Host + Target(i));
        EXPECT_EQ(wizard.files.files[Host + Target(i)].bytes, wizard.resources.blocks[resources[i]])
            << Target(i);
    }
    EXPECT_EQ(wizard.Opens(), 6);
    EXPECT_EQ(wizard.Releases(), 6);
    EXPECT_TRUE(wizard.resources.open.empty());
    EXPECT_EQ(wizard.resources.badReleases, 0);
}

TEST(InstallPage, SuccessReportsExactTextsAndLeavesEveryButtonDisabled) {
    InstallWizard wizard;
    wizard.Install();
    EXPECT_EQ(wizard.Text(Widget::StaticText6), Success);
    EXPECT_EQ(wizard.Text(Widget::StaticText4), "");
    EXPECT_EQ(wizard.surface.NavigationState(), "off off off");
    EXPECT_TRUE(wizard.surface.messages.empty());
    EXPECT_TRUE(wizard.surface.errorBoxes.empty());

    // Each file is announced in StaticText4 before it is written.
    auto announced =
        std::find(wizard.log.begin(), wizard.log.end(), std::string("StaticText4=") + Target(3));
    auto written = std::find(wizard.log.begin(), wizard.log.end(), "stage " + Host + Target(3));
    EXPECT_LT(announced, written);
}

// A template already there is replaced, not kept. Which attributes it ends with is the file
// layer's doing (the fake sets them itself), so that is checked against the real one.
TEST(InstallPage, ExistingTargetIsReplacedWithThePayload) {
    InstallWizard wizard;
    wizard.files.files[Host + Target(1)] = {"stary", 0x01 | 0x02 | 0x04};
    wizard.Install();
    EXPECT_EQ(wizard.Text(Widget::StaticText6), Success);
    EXPECT_EQ(wizard.files.files[Host + Target(1)].bytes, wizard.resources.blocks["PLIK8T"]);
}

// Every way the installation can fail, at every entry: the page reports it the same way, shows the
// entry that failed, and the folder is as it was found (the set is never committed after a failed
// entry; undoing a failed commit is the file layer's part, tested with it).
TEST(InstallPage, FailureAtAnyEntryStopsThereAndLeavesTheFolderAsFound) {
    enum class Step { PayloadMissing, CannotCreate, ShortWrite, CannotReplace };
    const char* const resources[] = {"PLIK7T", "PLIK8T", "PLIK9T", "PLIK10T", "PLIK11T", "PLIK12T"};
    for (Step step :
         {Step::PayloadMissing, Step::CannotCreate, Step::ShortWrite, Step::CannotReplace}) {
        for (int failing = 0; failing < 6; ++failing) {
            SCOPED_TRACE("entry " + std::to_string(failing) + " step " +
                         std::to_string(static_cast<int>(step)));
            InstallWizard wizard;
            std::string target = Host + Target(failing);
            wizard.files.files[Host + Target(0)] = {"stara głowa tabeli", 0x01};
            wizard.files.files[target] = {"poprzednia wersja"};
            auto found = wizard.files.files;
            if (step == Step::PayloadMissing) wizard.resources.blocks.erase(resources[failing]);
            if (step == Step::CannotCreate)
                wizard.files.failures[target] = FakeFiles::Failure::CannotCreate;
            if (step == Step::ShortWrite)
                wizard.files.failures[target] = FakeFiles::Failure::ShortWrite;
            if (step == Step::CannotReplace)
                wizard.files.failures[target] = FakeFiles::Failure::CannotReplace;
            wizard.Install();

            EXPECT_EQ(wizard.Text(Widget::StaticText6), Failure);
            EXPECT_TRUE(wizard.surface.messages.empty());
            EXPECT_TRUE(wizard.surface.errorBoxes.empty());
            EXPECT_EQ(wizard.surface.NavigationState(), "on off off");
            // A missing payload fails before its entry's path is announced.
            std::string expectedLine = step == Step::PayloadMissing
                                           ? (failing == 0 ? " " : Target(failing - 1))
                                           : Target(failing);
            EXPECT_EQ(wizard.Text(Widget::StaticText4), expectedLine);
            EXPECT_EQ(wizard.files.files.size(), found.size());
            for (const auto& [path, file] : found) {
                EXPECT_EQ(wizard.files.files[path].bytes, file.bytes) << path;
                EXPECT_EQ(wizard.files.files[path].attributes, file.attributes) << path;
            }
            bool committed = std::count(wizard.log.begin(), wizard.log.end(), "commit") > 0;
            EXPECT_EQ(committed, step == Step::CannotReplace);
            int expectedOpens = step == Step::PayloadMissing  ? failing
                                : step == Step::CannotReplace ? 6
                                                              : failing + 1;
            EXPECT_EQ(wizard.Opens(), expectedOpens);
            EXPECT_EQ(wizard.Releases(), expectedOpens);
            EXPECT_EQ(wizard.resources.badReleases, 0);
            EXPECT_TRUE(wizard.resources.open.empty());
        }
    }
}

TEST(InstallPage, RepeatedRunsAccumulateTheirTexts) {
    InstallWizard wizard;
    wizard.files.folders.clear();
    wizard.Install();
    EXPECT_EQ(wizard.Text(Widget::StaticText4), Target(0));
    EXPECT_EQ(wizard.files.files.size(), 0u) << "no folder is created";

    wizard.files.folders.insert(Host + "\\SZABLONY");
    wizard.Click(Widget::BitBtn1);
    wizard.Install();
    EXPECT_EQ(wizard.Text(Widget::StaticText6), Failure + Success);
    EXPECT_EQ(wizard.files.files.size(), 6u);
    EXPECT_EQ(wizard.surface.NavigationState(), "off off off");
}

TEST(InstallPage, TargetPathsArePlainConcatenation) {
    // A registry value with a trailing backslash gives doubled separators, kept as they are.
    InstallWizard wizard("C:\\Tesmaren\\");
    wizard.files.folders.insert("C:\\Tesmaren\\\\SZABLONY");
    wizard.Install();
    EXPECT_EQ(wizard.files.files.count(std::string("C:\\Tesmaren\\") + Target(0)), 1u);
}

}  // namespace
