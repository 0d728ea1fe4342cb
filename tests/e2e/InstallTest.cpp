#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "tests/e2e/WizardTest.h"
#include "tests/support/TemplateNames.h"

namespace {

using Install = WizardTest;

const std::vector<std::string> Templates = TemplateNames();

const std::string StartLine = "Instalacja nakładki Z27Z.\r";
const std::string SuccessLines =
    "Gotowe. Zainstalowano nakładkę Z27Z. Zamknij instalatora i uruchom program \"Tesmaren\".\r"
    "\r"
    "Jeśli pracujesz w sieci pamiętaj aby zainstalować nakładkę na wszystkich komputerach.";
const std::string FailureLine =
    "Wystąpił problem podczas instalacji, instalacja nie powiodła się!. Skontaktuj się ze "
    "sprzedawcą.";

void ExpectTemplatesInstalled(const std::string& host) {
    for (const std::string& name : Templates) {
        SCOPED_TRACE(name);
        std::optional<std::string> expected = WizardTest::ReadFileBytes(PayloadPath(name));
        ASSERT_TRUE(expected.has_value()) << "payload file missing: " << PayloadPath(name);
        std::optional<std::string> written =
            WizardTest::ReadFileBytes(host + "\\SZABLONY\\" + name);
        ASSERT_TRUE(written.has_value()) << "not installed";
        EXPECT_TRUE(*written == *expected) << "differs from the payload (" << written->size()
                                           << " bytes, expected " << expected->size() << ")";
    }
}

TEST_F(Install, NextTwiceWritesTheSixTemplatesReplacingOldOnesAndReportsSuccess) {
    std::string host = MakeHost("Tesmaren", "network");
    // An older template, read-only, must give way to the new one.
    std::string old = host + PayloadTable[1].relativePath;
    WriteFileBytes(old, "{\\rtf1 stary szablon}");
    ASSERT_TRUE(::SetFileAttributesW(Widen(old).c_str(), FILE_ATTRIBUTE_READONLY));
    e2e::Wizard wizard = StartOnSearchPage(host);
    ASSERT_NE(wizard.Handle(), nullptr);
    Next(wizard, 2);
    EXPECT_TRUE(e2e::NoMessageBoxAppears(process));
    EXPECT_EQ(wizard.Text(Widget::StaticText6), StartLine + SuccessLines);
    EXPECT_EQ(wizard.Text(Widget::StaticText4), "");
    EXPECT_EQ(States(wizard), (NavigationStates{false, false, false}));
    EXPECT_TRUE(e2e::IsVisibleOnScreen(wizard.Window(Widget::BitBtn4)));
    ExpectTemplatesInstalled(host);
    EXPECT_EQ(Listing(host + "\\SZABLONY"), Templates) << "stray files left in SZABLONY";
    DWORD attributes = ::GetFileAttributesW(Widen(old).c_str());
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY) << "replaced template still read-only";

    wizard.Click(Widget::BitBtn4);
    ExpectCleanExit();
}

TEST_F(Install, MissingTemplatesFolderFailsCreatesNothingAndBackThenNextRetries) {
    std::string host = MakeHost("Tesmaren", "single_station", false);
    e2e::Wizard wizard = StartOnSearchPage(host);
    ASSERT_NE(wizard.Handle(), nullptr);
    Next(wizard, 2);
    EXPECT_TRUE(e2e::NoMessageBoxAppears(process));
    EXPECT_EQ(wizard.Text(Widget::StaticText6), StartLine + FailureLine);
    EXPECT_EQ(wizard.Text(Widget::StaticText4), PayloadTable[0].relativePath);
    EXPECT_EQ(States(wizard), (NavigationStates{true, false, false}));
    EXPECT_EQ(Listing(host), (std::vector<std::string>{"KORDALIN.dll"}))
        << "the failed installation must not create anything";

    ASSERT_TRUE(::CreateDirectoryW(Widen(host + "\\SZABLONY").c_str(), nullptr));
    Back(wizard, 1);
    EXPECT_EQ(States(wizard), (NavigationStates{true, true, true}));
    Next(wizard, 2);
    EXPECT_EQ(wizard.Text(Widget::StaticText6), StartLine + FailureLine + StartLine + SuccessLines);
    EXPECT_EQ(wizard.Text(Widget::StaticText4), "");
    EXPECT_EQ(States(wizard), (NavigationStates{false, false, false}));
    ExpectTemplatesInstalled(host);
}

// The common case on a lab PC: the host program holds one template open. The whole set stays
// the old one, so no report gets a head that does not match its rows.
TEST_F(Install, ATemplateHeldOpenLeavesTheWholeOldSetAndTheRetryInstallsTheNewOne) {
    std::string host = MakeHost("Tesmaren", "network");
    std::string folder = host + "\\SZABLONY\\";
    for (const std::string& name : Templates) WriteFileBytes(folder + name, "stary " + name);
    ASSERT_TRUE(::SetFileAttributesW(Widen(folder + Templates[0]).c_str(),
                                     FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    DWORD oldAttributes = ::GetFileAttributesW(Widen(folder + Templates[0]).c_str());
    UniqueFile held(::CreateFileW(Widen(folder + Templates[3]).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    e2e::Wizard wizard = StartOnSearchPage(host);
    ASSERT_NE(wizard.Handle(), nullptr);
    Next(wizard, 2);
    EXPECT_TRUE(e2e::NoMessageBoxAppears(process));
    EXPECT_EQ(wizard.Text(Widget::StaticText6), StartLine + FailureLine);
    EXPECT_EQ(wizard.Text(Widget::StaticText4), PayloadTable[3].relativePath);
    EXPECT_EQ(States(wizard), (NavigationStates{true, false, false}));
    held.reset();
    for (const std::string& name : Templates)
        EXPECT_EQ(ReadFileBytes(folder + name), "stary " + name) << name;
    EXPECT_EQ(::GetFileAttributesW(Widen(folder + Templates[0]).c_str()), oldAttributes);
    EXPECT_EQ(Listing(host + "\\SZABLONY"), Templates) << "stray files left in SZABLONY";

    Back(wizard, 1);
    Next(wizard, 2);
    EXPECT_EQ(wizard.Text(Widget::StaticText6), StartLine + FailureLine + StartLine + SuccessLines);
    ExpectTemplatesInstalled(host);
    EXPECT_EQ(::GetFileAttributesW(Widen(folder + Templates[0]).c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(Listing(host + "\\SZABLONY"), Templates) << "stray files left in SZABLONY";
}

// On a network installation every lab computer runs the installer, often at the same moment:
// the second to start waits for the first one's set, and both end with one whole new set.
TEST_F(Install, TwoInstallersPressingNextTogetherBothSucceedWithOneWholeSet) {
    std::string host = MakeHost("Tesmaren", "network");
    std::string folder = host + "\\SZABLONY\\";
    for (const std::string& name : Templates) WriteFileBytes(folder + name, "stary " + name);
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
        EXPECT_EQ(wizard->Text(Widget::StaticText6), StartLine + SuccessLines);
    }
    ExpectTemplatesInstalled(host);
    EXPECT_EQ(Listing(host + "\\SZABLONY"), Templates) << "stray files left in SZABLONY";
}

}  // namespace
