#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "tests/e2e/WizardTest.h"
#include "tests/support/TemplateNames.h"

// What the real exe does to the files; the page's texts are the unit tests' part, and what the
// file layer does to attributes its own tests'.
namespace {

using Install = WizardTest;

const std::vector<std::string> Templates = TemplateNames();

// SZABLONY holds the six templates and nothing else: the payloads built into the exe, or the
// old set the test wrote.
void ExpectSet(const std::string& host, bool installed) {
    std::string folder = host + "\\SZABLONY\\";
    EXPECT_EQ(Listing(folder), Templates) << "stray files left in SZABLONY";
    for (const std::string& name : Templates) {
        std::optional<std::string> expected =
            installed ? WizardTest::ReadFileBytes(PayloadPath(name)) : "stary " + name;
        ASSERT_TRUE(expected) << "payload file missing: " << PayloadPath(name);
        EXPECT_TRUE(WizardTest::ReadFileBytes(folder + name) == expected)
            << name << " is not the " << (installed ? "payload" : "old template");
    }
}

void WriteOldSet(const std::string& host) {
    for (const std::string& name : Templates)
        WizardTest::WriteFileBytes(host + "\\SZABLONY\\" + name, "stary " + name);
}

// Without SZABLONY, or with a template the host program holds open (the common case on a lab PC),
// the installation stops at that entry and leaves the folder as it was; once that is mended,
// Back and Next install the whole set, and "Zamknij." ends the program.
TEST_F(Install, AFailedInstallationLeavesTheFolderAsFoundAndTheRetryInstallsTheSet) {
    for (bool noFolder : {true, false}) {
        SCOPED_TRACE(noFolder ? "no SZABLONY" : "a template held open");
        std::string host = MakeHost(noFolder ? "Bez szablonów" : "Tesmaren", "network", !noFolder);
        UniqueFile held;
        if (!noFolder) {
            WriteOldSet(host);
            held.reset(::CreateFileW(Widen(host + PayloadTable[3].relativePath).c_str(),
                                     GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(held);
        }
        e2e::Wizard wizard = StartOnSearchPage(host);
        ASSERT_NE(wizard.Handle(), nullptr);
        Next(wizard, 2);
        EXPECT_EQ(States(wizard), (NavigationStates{true, false, false})) << "not failed";
        EXPECT_EQ(wizard.Text(Widget::StaticText4), PayloadTable[noFolder ? 0 : 3].relativePath);
        if (noFolder) {
            EXPECT_EQ(Listing(host), (std::vector<std::string>{"KORDALIN.dll"}))
                << "the failed installation must not create anything";
            ASSERT_TRUE(::CreateDirectoryW(Widen(host + "\\SZABLONY").c_str(), nullptr));
        } else {
            held.reset();
            ExpectSet(host, false);
        }

        Back(wizard, 1);
        Next(wizard, 2);
        EXPECT_EQ(States(wizard), (NavigationStates{false, false, false})) << "not installed";
        ExpectSet(host, true);
        EXPECT_TRUE(e2e::IsVisibleOnScreen(wizard.Window(Widget::BitBtn4)));
        wizard.Click(Widget::BitBtn4);
        ExpectCleanExit();
    }
}

// On a network installation every lab computer runs the installer, often at the same moment:
// the second to start waits for the first one's set, and both end with one whole new set.
TEST_F(Install, TwoInstallersPressingNextTogetherBothSucceedWithOneWholeSet) {
    std::string host = MakeHost("Tesmaren", "network");
    WriteOldSet(host);
    SetLocation(host);
    e2e::Wizard first = Start();
    e2e::Process otherProcess(Widen(InstallerPath()), Widen(Root()));
    e2e::Wizard second = e2e::Wizard::Attach(otherProcess);
    ASSERT_NE(first.Handle(), nullptr);
    ASSERT_NE(second.Handle(), nullptr);
    ASSERT_NE(first.Handle(), second.Handle());
    Next(first, 1);
    Next(second, 1);

    first.Click(Widget::BitBtn2);
    second.Click(Widget::BitBtn2);
    for (const e2e::Wizard* wizard : {&first, &second}) {
        EXPECT_TRUE(wizard->WaitForPage(2));
        Settle(*wizard);
        EXPECT_EQ(States(*wizard), (NavigationStates{false, false, false})) << "not installed";
    }
    ExpectSet(host, true);
}

}  // namespace
