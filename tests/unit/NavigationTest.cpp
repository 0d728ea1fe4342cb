#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "tests/support/FakePlatform.h"

namespace {

const std::string Host = "C:\\Program Files\\Tesmaren";

// The one place the introduction is stated: FormCreate's pieces, each line ended by a single CR.
TEST(StartUp, WindowStartsOnTheIntroductionWithOnlyNextAndCancelEnabled) {
    FakeWizard wizard;
    EXPECT_EQ(wizard.form.ActivePageIndex(), 0);
    EXPECT_EQ(wizard.surface.NavigationState(), "off on on");
    EXPECT_EQ(wizard.Text(Widget::StaticText2),
              "Instalator zainstaluje nakładkę na szablony sprawozdania z badań.\r"
              "Efekt działania:\r"
              "W tabeli ciągłej z wynikami dla chemii metoda dozymetrii indywidualnej, wprowadza "
              "kolumnę z wynikami oznaczenia przez podwykonawcę zawartości związku w próbce.\r"
              "Usuwa wpis \"Podwykonawstwo badań\" z nad tabeli i wprowadza wpis \"Podwykonawstwo "
              "badań\" pod nazwa związku w tabeli.\r\r"
              "Naciśnij przycisk \"Dalej >>\" jeśli chcesz kontynuować.\r");
    // Windows-1250 bytes, not UTF-8: "ł" is the single byte 0xB3.
    EXPECT_NE(wizard.Text(Widget::StaticText2).find('\xB3'), std::string::npos);
}

TEST(StartUp, ClosingFromTheFirstPageTouchesNothingElse) {
    for (Widget close : {Widget::BitBtn3, Widget::BitBtn4}) {
        FakeWizard wizard;
        wizard.Click(close);
        EXPECT_EQ(wizard.surface.closeRequests, 1);
        EXPECT_EQ(wizard.registry.reads, 0);
        EXPECT_TRUE(wizard.libraries.loads.empty());
        EXPECT_TRUE(wizard.files.files.empty());
        EXPECT_EQ(wizard.log, CallLog{"close"});
    }
}

// Each click in a walk through every situation, with the page and the button states it leaves.
TEST(Navigation, ButtonStatesFollowTheWizardTableRowByRow) {
    FakeWizard wizard;
    wizard.registry.value = Host;
    wizard.InstallHost(Host, FakeLibrary{1, "Właściciel"});
    const struct {
        Widget click;
        bool templates;  // SZABLONY there: without it the installation fails
        int page;
        const char* states;
        const char* situation;
    } steps[] = {
        {Widget::BitBtn2, false, 1, "on on on", "page 2, program found"},
        {Widget::BitBtn1, false, 0, "off on on", "page 1 by Back"},
        {Widget::BitBtn2, false, 1, "on on on", "page 2 again"},
        {Widget::BitBtn2, false, 2, "on off off", "page 3, installation failed"},
        {Widget::BitBtn1, false, 1, "on on on", "page 2 by Back from page 3"},
        {Widget::BitBtn2, true, 2, "off off off", "page 3, installed"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.situation);
        wizard.files.folders.erase(Host + "\\SZABLONY");
        if (step.templates) wizard.files.folders.insert(Host + "\\SZABLONY");
        wizard.Click(step.click);
        EXPECT_EQ(wizard.form.ActivePageIndex(), step.page);
        EXPECT_EQ(wizard.surface.NavigationState(), step.states);
    }
}

TEST(Navigation, RegistryMissingKeepsNextDisabledOnEveryVisitUntilAFolderIsConfirmed) {
    FakeWizard wizard;
    wizard.Click(Widget::BitBtn2);
    EXPECT_EQ(wizard.surface.NavigationState(), "on off on");

    wizard.Click(Widget::BitBtn1);
    EXPECT_EQ(wizard.surface.NavigationState(), "off on on");
    wizard.Click(Widget::BitBtn2);
    EXPECT_EQ(wizard.surface.NavigationState(), "on off on")
        << "a return visit must not offer an installation into an unconfirmed folder";
    EXPECT_EQ(wizard.registry.reads, 1);

    wizard.InstallHost("D:\\Tesmaren", FakeLibrary{0, "Lab"});
    wizard.chooser.answers.push_back("D:\\Tesmaren");
    wizard.Click(Widget::BitBtn5);
    EXPECT_EQ(wizard.surface.NavigationState(), "on on on");
    wizard.Click(Widget::BitBtn1);
    wizard.Click(Widget::BitBtn2);
    EXPECT_EQ(wizard.surface.NavigationState(), "on on on");
}

TEST(Navigation, ShowHandlerRunsBeforeTheOldPageIsHiddenAndAllInsideTheClick) {
    FakeWizard wizard;
    wizard.registry.value = Host;
    wizard.InstallHost(Host, FakeLibrary{1, "Lab"});
    wizard.Click(Widget::BitBtn2);
    CallLog expected{"show TabSheet2", "registry",        "load " + Host + "\\KORDALIN.dll",
                     "call TestSiec",  "call Wlasciciel", "free",
                     "hide TabSheet1"};
    EXPECT_EQ(wizard.log, expected);

    wizard.log.clear();
    wizard.Click(Widget::BitBtn2);
    ASSERT_GE(wizard.log.size(), 3u);
    EXPECT_EQ(wizard.log.front(), "show TabSheet3");
    EXPECT_EQ(wizard.log.back(), "hide TabSheet2");
    EXPECT_EQ(wizard.Text(Widget::StaticText4), "") << "installation ran inside the click";
}

TEST(Navigation, BackToTheFirstPageRunsThePageTwoHideHandlerAfterPageOneIsShown) {
    FakeWizard wizard;
    wizard.registry.wrongType = true;  // the search does not complete, so hiding clears the page
    wizard.Click(Widget::BitBtn2);
    wizard.surface.SetVisible(Widget::Edit1, true);
    wizard.log.clear();

    wizard.Click(Widget::BitBtn1);
    CallLog expected{"show TabSheet1", "hide TabSheet2", "hide Edit1", "hide BitBtn5"};
    EXPECT_EQ(wizard.log, expected);
    EXPECT_EQ(wizard.Text(Widget::StaticText3), "");
    EXPECT_EQ(wizard.form.ActivePageIndex(), 0);
}

TEST(Navigation, ErrorFromAShowHandlerGoesToTheErrorBoxAndThePageChangeCompletes) {
    FakeWizard wizard;
    wizard.registry.wrongType = true;
    wizard.Click(Widget::BitBtn2);

    // Ends with a quote, which sorts before ".", so no "." is added.
    EXPECT_EQ(wizard.surface.errorBoxes,
              std::vector<std::string>{"Invalid data type for 'Lokalizacja'"});
    EXPECT_EQ(wizard.form.ActivePageIndex(), 1);
    EXPECT_TRUE(wizard.surface.IsVisible(Widget::TabSheet2));
    EXPECT_FALSE(wizard.surface.IsVisible(Widget::TabSheet1));
    EXPECT_EQ(wizard.surface.Tag(Widget::TabSheet2), 0);
    EXPECT_EQ(wizard.form.Location, "");
    EXPECT_EQ(wizard.surface.NavigationState(), "on off on");
    EXPECT_EQ(wizard.surface.closeRequests, 0);

    // The next visit searches again.
    wizard.registry.wrongType = false;
    wizard.registry.value = Host;
    wizard.InstallHost(Host, FakeLibrary{1, "Lab"});
    wizard.Click(Widget::BitBtn1);
    wizard.Click(Widget::BitBtn2);
    EXPECT_EQ(wizard.registry.reads, 2);
    EXPECT_EQ(wizard.surface.NavigationState(), "on on on");
}

TEST(Navigation, NextOnTheLastPageAndBackOnTheFirstChangeNoPage) {
    FakeWizard wizard;
    wizard.Click(Widget::BitBtn1);
    EXPECT_EQ(wizard.form.ActivePageIndex(), 0);
    EXPECT_TRUE(wizard.log.empty());

    wizard.registry.value = Host;
    wizard.InstallHost(Host, FakeLibrary{1, "Lab"});
    wizard.Click(Widget::BitBtn2);
    wizard.Click(Widget::BitBtn2);
    std::string installed = wizard.Text(Widget::StaticText6);
    wizard.Click(Widget::BitBtn2);
    EXPECT_EQ(wizard.form.ActivePageIndex(), 2);
    EXPECT_EQ(wizard.Text(Widget::StaticText6), installed) << "no second installation";
}

// What each click the window reports does, from the page where it can be clicked; a click on any
// other widget does nothing.
TEST(Events, EachButtonRunsItsOwnHandlerAndNoOtherWidgetRunsAny) {
    using Observed = std::array<int, 4>;  // page, close requests, choosers opened, registry reads
    auto observe = [](const FakeWizard& w) {
        return Observed{w.form.ActivePageIndex(), w.surface.closeRequests,
                        static_cast<int>(w.chooser.titles.size()), w.registry.reads};
    };
    struct Case {
        Widget widget;
        int startPage;
        Observed expected;
    };
    const Case cases[] = {
        {Widget::BitBtn2, 0, {1, 0, 0, 1}}, {Widget::BitBtn1, 1, {0, 0, 0, 1}},
        {Widget::BitBtn3, 0, {0, 1, 0, 0}}, {Widget::BitBtn4, 0, {0, 1, 0, 0}},
        {Widget::BitBtn5, 1, {1, 0, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(WidgetName(c.widget));
        FakeWizard wizard;  // no registry entry: page 2 offers the manual choice
        if (c.startPage == 1) wizard.Click(Widget::BitBtn2);
        wizard.Click(c.widget);
        EXPECT_EQ(observe(wizard), c.expected);
    }
    for (int i = 0; i < WidgetCount; ++i) {
        Widget widget = static_cast<Widget>(i);
        if (widget == Widget::BitBtn1 || widget == Widget::BitBtn2 || widget == Widget::BitBtn3 ||
            widget == Widget::BitBtn4 || widget == Widget::BitBtn5)
            continue;
        SCOPED_TRACE(WidgetName(widget));
        FakeWizard wizard;
        wizard.Click(Widget::BitBtn2);
        wizard.log.clear();
        wizard.Click(widget);
        EXPECT_EQ(observe(wizard), (Observed{1, 0, 0, 1}));
        EXPECT_TRUE(wizard.log.empty());
    }
}

TEST(Events, TheCloseBoxClosesLikeCancelAndAnErrorInAClickIsReportedThenTheButtonsFollow) {
    FakeWizard wizard;
    wizard.form.CloseRequested();
    EXPECT_EQ(wizard.log, CallLog{"close"});

    FakeWizard failing;
    failing.Click(Widget::BitBtn2);
    failing.surface.SetEnabled(Widget::BitBtn1, false);
    failing.libraries.libraries.clear();
    failing.chooser.answers.push_back(std::string("C:\\Lab"));
    failing.surface.onMessage = [](FakeSurface&) { throw std::runtime_error("Okno zamknięte"); };
    failing.Click(Widget::BitBtn5);
    EXPECT_EQ(failing.surface.errorBoxes, std::vector<std::string>{"Okno zamknięte."});
    EXPECT_EQ(failing.surface.NavigationState(), "on off on");
}

TEST(TopLevelError, PeriodIsAddedOnlyAfterACharacterThatSortsAfterIt) {
    EXPECT_EQ(TopLevelErrorText("Stream write error"), "Stream write error.");
    EXPECT_EQ(TopLevelErrorText("Koniec."), "Koniec.");
    EXPECT_EQ(TopLevelErrorText("Invalid data type for 'Lokalizacja'"),
              "Invalid data type for 'Lokalizacja'");
    EXPECT_EQ(TopLevelErrorText("Gotowe!"), "Gotowe!");
    EXPECT_EQ(TopLevelErrorText("Błąd 5"), "Błąd 5.");
    EXPECT_EQ(TopLevelErrorText("Zażółć"), "Zażółć.") << "Windows-1250 letters sort after '.'";
    EXPECT_EQ(TopLevelErrorText(""), "");
}

}  // namespace
