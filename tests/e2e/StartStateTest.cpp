#include <vector>

#include "tests/e2e/WizardTest.h"

namespace {

using StartState = WizardTest;

TEST_F(StartState, WindowIsAFixedDialogFrameCentredWithTheExactCaptionAndClientSize) {
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);
    HWND main = wizard.Handle();

    EXPECT_EQ(e2e::Text(main), "Nakładka dla programu \"Tesmaren\" Z27Z");
    RECT client{};
    ::GetClientRect(main, &client);
    EXPECT_EQ(client.right - client.left, 666);
    EXPECT_EQ(client.bottom - client.top, 206);

    RECT frame{};
    ::GetWindowRect(main, &frame);
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(frame.left, screenWidth - frame.right, 1) << "not centred horizontally";
    EXPECT_NEAR(frame.top, screenHeight - frame.bottom, 1) << "not centred vertically";

    LONG style = ::GetWindowLongW(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be resizable";
}

// As a framework application shows itself: one taskbar entry, titled "Instalator", standing for
// the wizard, which is owned by it and so has no entry of its own. (Its icons are checked in
// process: Wine answers no icon to another process.)
TEST_F(StartState, TheTaskbarListsOneEntryTitledInstalatorThatActivatesTheWizard) {
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);

    std::vector<HWND> entries = e2e::TaskbarWindows(process.Id());
    ASSERT_EQ(entries.size(), 1u);
    HWND entry = entries.front();
    EXPECT_EQ(e2e::Text(entry), "Instalator");
    EXPECT_EQ(::GetWindow(wizard.Handle(), GW_OWNER), entry);
    EXPECT_FALSE(::GetWindowLongW(entry, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    // The taskbar entry activated (as a click on it does) brings the wizard forward.
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                   nullptr, nullptr, nullptr);
    ::SetForegroundWindow(other);
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == other; }));
    ::SetForegroundWindow(entry);
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == wizard.Handle(); }))
        << "the foreground window is \"" << e2e::Text(::GetForegroundWindow()) << "\"";
    ::DestroyWindow(other);

    // While a message box is open, the entry still is the only one.
    SetLocation(Root() + "\\Brak");
    wizard.Click(Widget::BitBtn2);
    ASSERT_NE(e2e::WaitForMessageBox(process).window, nullptr);
    EXPECT_EQ(e2e::TaskbarWindows(process.Id()), entries);
}

TEST_F(StartState, FirstPageShowsTheIntroductionWithOnlyNextAndCancelEnabledAndNextFocused) {
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);

    EXPECT_TRUE(e2e::IsVisibleOnScreen(wizard.Window(Widget::TabSheet1)));
    EXPECT_FALSE(e2e::IsVisibleOnScreen(wizard.Window(Widget::TabSheet2)));
    EXPECT_FALSE(e2e::IsVisibleOnScreen(wizard.Window(Widget::TabSheet3)));

    EXPECT_EQ(wizard.Text(Widget::StaticText2),
              "Instalator zainstaluje nakładkę na szablony sprawozdania z badań.\r"
              "Efekt działania:\r"
              "W tabeli ciągłej z wynikami dla chemii metoda dozymetrii indywidualnej, wprowadza "
              "kolumnę z wynikami oznaczenia przez podwykonawcę zawartości związku w próbce.\r"
              "Usuwa wpis \"Podwykonawstwo badań\" z nad tabeli i wprowadza wpis \"Podwykonawstwo "
              "badań\" pod nazwa związku w tabeli.\r"
              "\r"
              "Naciśnij przycisk \"Dalej >>\" jeśli chcesz kontynuować.\r");

    EXPECT_EQ(States(wizard), (NavigationStates{false, true, true}));
    EXPECT_EQ(e2e::FocusOf(wizard.Handle()), wizard.Window(Widget::BitBtn2)) << "Next not focused";
    for (Widget button : {Widget::BitBtn1, Widget::BitBtn2, Widget::BitBtn3})
        EXPECT_TRUE(e2e::IsVisibleOnScreen(wizard.Window(button))) << WidgetName(button);

    EXPECT_FALSE(wizard.Shown(Widget::Edit1));
    EXPECT_FALSE(wizard.Shown(Widget::BitBtn5));
    EXPECT_FALSE(wizard.Enabled(Widget::Edit1)) << "Edit1 only displays the folder";
}

TEST_F(StartState, WidgetsCarryTheirInitialTexts) {
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);

    const std::pair<Widget, const char*> texts[] = {
        {Widget::Label1, "Tesmaren"},
        {Widget::Label2, "Tesmaren"},
        {Widget::Label3, "Nakładka Z27Z"},
        {Widget::StaticText1, "Trwa wyszukiwanie zainstalowanych składników programu."},
        {Widget::StaticText3, "Odnaleziono:"},
        {Widget::Edit1, ""},
        {Widget::BitBtn5, "..."},
        {Widget::StaticText6, ""},
        {Widget::BitBtn4, "Zamknij."},
        {Widget::StaticText4, " "},
        {Widget::BitBtn3, "Anuluj"},
        {Widget::BitBtn1, "<< Cofnij"},
        {Widget::BitBtn2, "Dalej >>"},
    };
    for (const auto& [widget, text] : texts)
        EXPECT_EQ(wizard.Text(widget), text) << WidgetName(widget);
}

TEST_F(StartState, EveryWidgetSitsInItsParentWhereTheLayoutPutsIt) {
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);

    struct Expected {
        Widget widget;
        Widget parent;
        int left, top, width, height;  // width 0: a label, sized to its text
    };
    using W = Widget;
    const Expected table[] = {
        {W::Panel1, W::Form1, 0, 0, 185, 206},
        {W::Image1, W::Panel1, 8, 8, 32, 32},
        {W::Label1, W::Panel1, 54, 10, 0, 0},
        {W::Label2, W::Panel1, 52, 8, 0, 0},
        {W::Label3, W::Panel1, 8, 72, 0, 0},
        {W::Label4, W::Panel1, 8, 124, 0, 0},
        {W::Label5, W::Panel1, 8, 140, 0, 0},
        {W::Label6, W::Panel1, 10, 160, 0, 0},
        {W::Label7, W::Panel1, 10, 180, 0, 0},
        {W::Image2, W::Panel1, 132, 56, 48, 48},
        {W::Panel2, W::Form1, 185, 0, 481, 206},
        {W::PageControl1, W::Panel2, 0, 0, 481, 206},
        {W::StaticText2, W::TabSheet1, 0, 4, 473, 153},
        {W::StaticText1, W::TabSheet2, 4, 4, 407, 20},
        {W::StaticText3, W::TabSheet2, 4, 28, 461, 101},
        {W::Edit1, W::TabSheet2, 4, 132, 437, 21},
        {W::BitBtn5, W::TabSheet2, 442, 132, 25, 21},
        {W::StaticText6, W::TabSheet3, 4, 4, 461, 125},
        {W::BitBtn4, W::TabSheet3, 384, 166, 75, 25},
        {W::StaticText4, W::TabSheet3, 4, 136, 461, 17},
        {W::BitBtn3, W::Panel2, 16, 172, 75, 25},
        {W::BitBtn1, W::Panel2, 112, 172, 75, 25},
        {W::BitBtn2, W::Panel2, 204, 172, 75, 25},
    };
    for (const Expected& row : table) {
        SCOPED_TRACE(WidgetName(row.widget));
        HWND window = wizard.Window(row.widget);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(::GetParent(window), wizard.Window(row.parent));
        RECT rect = e2e::RectInParent(window);
        EXPECT_EQ(rect.left, row.left);
        EXPECT_EQ(rect.top, row.top);
        if (row.width == 0) continue;
        EXPECT_EQ(rect.right - rect.left, row.width);
        EXPECT_EQ(rect.bottom - rect.top, row.height);
    }

    // The three pages share the page control's whole page area, inside its frame.
    RECT control{};
    ::GetClientRect(wizard.Window(W::PageControl1), &control);
    RECT first = e2e::RectInParent(wizard.Window(W::TabSheet1));
    for (Widget page : {W::TabSheet1, W::TabSheet2, W::TabSheet3}) {
        SCOPED_TRACE(WidgetName(page));
        HWND window = wizard.Window(page);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(::GetParent(window), wizard.Window(W::PageControl1));
        RECT rect = e2e::RectInParent(window);
        EXPECT_TRUE(::EqualRect(&rect, &first));
        EXPECT_GE(rect.left, control.left);
        EXPECT_GE(rect.top, control.top);
        EXPECT_LE(rect.right, control.right);
        EXPECT_LE(rect.bottom, control.bottom);
    }

    // Siblings front to back, which is also the Tab order: the yellow title over its shadow, and
    // the navigation buttons, in their Tab order, over the page control's bottom strip.
    auto frontToBack = [](HWND parent) {
        std::vector<HWND> children;
        for (HWND child = ::GetWindow(parent, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT))
            children.push_back(child);
        return children;
    };
    std::vector<HWND> title = frontToBack(wizard.Window(W::Panel1));
    title.resize(2);
    EXPECT_EQ(title, (std::vector<HWND>{wizard.Window(W::Label2), wizard.Window(W::Label1)}));
    EXPECT_EQ(frontToBack(wizard.Window(W::Panel2)),
              (std::vector<HWND>{wizard.Window(W::BitBtn1), wizard.Window(W::BitBtn2),
                                 wizard.Window(W::BitBtn3), wizard.Window(W::PageControl1)}));
}

}  // namespace
