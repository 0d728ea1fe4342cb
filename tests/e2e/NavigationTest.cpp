#include "tests/e2e/WizardTest.h"

namespace {

using Navigation = WizardTest;

TEST_F(Navigation, NextAndBackMoveBetweenPagesWithTheButtonStatesOfEachSituation) {
    std::string host = MakeHost("Tesmaren", "network");
    e2e::Wizard wizard = StartOnSearchPage(host);
    ASSERT_NE(wizard.Handle(), nullptr);
    EXPECT_EQ(States(wizard), (NavigationStates{true, true, true})) << "page 2, program found";
    std::string found = wizard.Text(Widget::StaticText3);
    EXPECT_EQ(found.rfind("Odnaleziono wersję sieciową", 0), 0u) << found;

    Back(wizard, 0);
    EXPECT_EQ(States(wizard), (NavigationStates{false, true, true})) << "page 1 by Back";

    // A return visit neither searches again nor changes what the first one found.
    Next(wizard, 1);
    EXPECT_EQ(States(wizard), (NavigationStates{true, true, true}));
    EXPECT_EQ(wizard.Text(Widget::StaticText3), found);
    EXPECT_TRUE(e2e::NoMessageBoxAppears(process));
    EXPECT_TRUE(process.Running());
}

TEST_F(Navigation, CancelOnTheFirstPageEndsTheProgramWithoutTouchingFilesOrRegistry) {
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);

    wizard.Click(Widget::BitBtn3);
    ExpectCleanExit();
    EXPECT_TRUE(Listing(Root()).empty()) << "the wizard left files in its working folder";
    EXPECT_FALSE(RegistryKeyExists());
}

TEST_F(Navigation, CancelOnTheSearchPageEndsTheProgram) {
    e2e::Wizard wizard = StartOnSearchPage(MakeHost("Tesmaren", "single_station"));
    ASSERT_NE(wizard.Handle(), nullptr);
    wizard.Click(Widget::BitBtn3);
    ExpectCleanExit();
}

TEST_F(Navigation, CloseBoxEndsTheProgram) {
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);

    e2e::PostSystemClose(wizard.Handle());
    ExpectCleanExit();
    EXPECT_TRUE(Listing(Root()).empty());
    EXPECT_FALSE(RegistryKeyExists());
}

TEST_F(Navigation, CloseRequestEndsTheProgram) {
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);

    e2e::PostClose(wizard.Handle());
    ExpectCleanExit();
}

}  // namespace
