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
    int Count(const std::string& prefix) const {
        return static_cast<int>(std::count_if(
            log.begin(), log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
    }
};

// Each payload in table order is opened, announced and staged; the set is swapped in
// once after the last, over what was there, and the page says so. A registry value with a
// trailing backslash gives doubled separators, kept as they are.
TEST(InstallPage, SuccessWritesEachPayloadInTableOrderThenSwapsTheSetInOnce) {
    for (const std::string& host : {Host, Host + "\\"}) {
        SCOPED_TRACE(host);
        InstallWizard wizard(host);
        wizard.files.files[host + Target(1)] = {"stary", 0x01 | 0x02 | 0x04};
        wizard.Install();

        CallLog expected{"show TabSheet3"};
        for (const PayloadEntry& entry : PayloadTable)
            expected.insert(expected.end(), {std::string("open ") + entry.resourceName,
                                             std::string("StaticText4=") + entry.relativePath,
                                             "stage " + host + entry.relativePath});
        expected.insert(expected.end(), {"commit", "StaticText4=", "hide TabSheet2"});
        EXPECT_EQ(wizard.log, expected);
        for (const PayloadEntry& entry : PayloadTable)
            EXPECT_EQ(wizard.files.files[host + entry.relativePath].bytes,
                      wizard.resources.blocks[FakeResources::Upper(entry.resourceName)]);
        EXPECT_EQ(wizard.files.files.size(), 6u);
        EXPECT_EQ(wizard.Text(Widget::StaticText6), Success);
        EXPECT_TRUE(wizard.surface.messages.empty());
        EXPECT_TRUE(wizard.surface.errorBoxes.empty());
    }
}

// Every way the installation can fail, at every entry: the page reports it the same way, shows the
// entry that failed, and the folder is as it was found (the set is never committed after a failed
// entry; undoing a failed commit is the file layer's part, tested with it).
TEST(InstallPage, FailureAtAnyEntryStopsThereAndLeavesTheFolderAsFound) {
    using Step = std::optional<FakeFiles::Failure>;  // none: the payload is missing
    for (Step step :
         {Step(), Step(FakeFiles::Failure::CannotCreate), Step(FakeFiles::Failure::ShortWrite),
          Step(FakeFiles::Failure::CannotReplace)}) {
        for (int failing = 0; failing < 6; ++failing) {
            SCOPED_TRACE("entry " + std::to_string(failing) + " step " +
                         (step ? std::to_string(static_cast<int>(*step)) : "payload missing"));
            InstallWizard wizard;
            std::string target = Host + Target(failing);
            wizard.files.files[Host + Target(0)] = {"stara głowa tabeli", 0x01};
            wizard.files.files[target] = {"poprzednia wersja"};
            auto found = wizard.files.files;
            if (step)
                wizard.files.failures[target] = *step;
            else
                wizard.resources.blocks.erase(
                    FakeResources::Upper(PayloadTable[failing].resourceName));
            wizard.Install();

            EXPECT_EQ(wizard.Text(Widget::StaticText6), Failure);
            EXPECT_TRUE(wizard.surface.messages.empty());
            EXPECT_TRUE(wizard.surface.errorBoxes.empty());
            // A missing payload fails before its entry's path is announced.
            EXPECT_EQ(wizard.Text(Widget::StaticText4), step           ? Target(failing)
                                                        : failing == 0 ? " "
                                                                       : Target(failing - 1));
            EXPECT_EQ(wizard.files.files.size(), found.size());
            for (const auto& [path, file] : found) {
                EXPECT_EQ(wizard.files.files[path].bytes, file.bytes) << path;
                EXPECT_EQ(wizard.files.files[path].attributes, file.attributes) << path;
            }
            bool replacing = step == FakeFiles::Failure::CannotReplace;
            EXPECT_EQ(wizard.Count("commit"), replacing);
            int opens = !step ? failing : replacing ? 6 : failing + 1;
            EXPECT_EQ(wizard.Count("open "), opens);
        }
    }
}

TEST(InstallPage, RepeatedRunsAccumulateTheirTexts) {
    InstallWizard wizard;
    wizard.files.folders.clear();
    wizard.Install();
    wizard.files.folders.insert(Host + "\\SZABLONY");
    wizard.Click(Widget::BitBtn1);
    wizard.Install();
    EXPECT_EQ(wizard.Text(Widget::StaticText6), Failure + Success);
    EXPECT_EQ(wizard.files.files.size(), 6u);
}

}  // namespace
