#include <string>
#include <vector>

#include "tests/e2e/WizardTest.h"

namespace {

using StartState = WizardTest;

TEST_F(StartState, WindowIsAFixedDialogFrameCentredWithTheTablesCaptionAndClientSize) {
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);
    HWND main = wizard.Handle();

    EXPECT_EQ(e2e::Text(main), e2e::Wizard::Title);
    RECT client{};
    ::GetClientRect(main, &client);
    EXPECT_EQ(client.right - client.left, LayoutOf(Widget::Form1).width);
    EXPECT_EQ(client.bottom - client.top, LayoutOf(Widget::Form1).height);

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

// The real exe's window is the layout table as drawn: every widget in its parent at the table's
// place (a label takes its text's size), with the table's text and state; page 1 shows what the
// form wrote there, and the keyboard starts on Next.
TEST_F(StartState, TheWindowIsTheTableOnTheIntroductionPageWithNextFocused) {
    e2e::Wizard wizard = Start();
    ASSERT_NE(wizard.Handle(), nullptr);
    for (const WidgetRow& row : MainWindowLayout) {
        if (row.name == Widget::Form1) continue;
        SCOPED_TRACE(WidgetName(row.name));
        HWND window = wizard.Window(row.name);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(::GetParent(window), wizard.Window(row.parent));
        RECT rect = e2e::RectInParent(window);
        EXPECT_EQ(rect.left, row.left);
        EXPECT_EQ(rect.top, row.top);
        if (row.kind != WidgetKind::Label) {
            EXPECT_EQ(rect.right - rect.left, row.width);
            EXPECT_EQ(rect.bottom - rect.top, row.height);
        }
        if (row.name != Widget::StaticText2) {
            EXPECT_EQ(e2e::Text(window), row.content);
        }
        EXPECT_EQ(e2e::IsShown(window), !(row.state & Hidden));
        EXPECT_EQ(e2e::IsEnabled(window), !(row.state & Disabled));
    }

    // The introduction sends the user on by Next's caption.
    std::string introduction = wizard.Text(Widget::StaticText2);
    EXPECT_NE(introduction.find('"' + wizard.Text(Widget::BitBtn2) + '"'), std::string::npos)
        << introduction;
    // The message loop hands Tab to the dialog manager, which passes over the disabled Back.
    EXPECT_EQ(e2e::FocusOf(wizard.Handle()), wizard.Window(Widget::BitBtn2)) << "Next not focused";
    for (Widget next : {Widget::BitBtn3, Widget::BitBtn2}) {
        HWND focus = e2e::FocusOf(wizard.Handle());
        ::PostMessageW(focus, WM_KEYDOWN, VK_TAB, 1);
        ::PostMessageW(focus, WM_KEYUP, VK_TAB, 0xC0000001);
        EXPECT_TRUE(e2e::WaitUntil([&] {
            return e2e::FocusOf(wizard.Handle()) == wizard.Window(next);
        })) << WidgetName(next)
            << " not focused by Tab";
    }
}

}  // namespace
