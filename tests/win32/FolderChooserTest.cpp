// clang-format off
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <atomic>
#include <thread>

#include "platform/win32/CallbackEdge.h"
#include "platform/win32/Win32FolderChooser.h"
#include "tests/support/TestFolders.h"

namespace {

// What the user's side saw of the dialog, filled in by the thread that answers it.
struct Observed {
    std::atomic<bool> found{false};
    std::atomic<bool> ownedByMain{false};
    std::atomic<bool> ownerDisabled{false};
    std::atomic<bool> titleShown{false};
    std::atomic<UINT> processErrorMode{0};  // the quiet error mode is the chooser's thread's only
};

HWND FindChooser(HWND owner) {
    for (int i = 0; i < 200; ++i) {
        HWND dialog = nullptr;
        while ((dialog = ::FindWindowExW(nullptr, dialog, L"#32770", nullptr)))
            if (::GetWindow(dialog, GW_OWNER) == owner) return dialog;
        ::Sleep(50);
    }
    return nullptr;
}

BOOL CALLBACK FindTitle(HWND child, LPARAM observed) {
    return AtCallbackEdge<BOOL>(FALSE, [&] {
        wchar_t text[64] = L"";
        ::GetWindowTextW(child, text, 64);
        if (std::wstring(text) == L"Wybierz folder:")
            reinterpret_cast<Observed*>(observed)->titleShown = true;
        return TRUE;
    });
}

// The text of the folder selected in the chooser's tree (the dialog runs in this process).
std::wstring SelectedFolderName(HWND dialog) {
    HWND tree = ::FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
    if (!tree) return {};
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    wchar_t text[MAX_PATH] = L"";
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = MAX_PATH;
    if (!item || !::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query)))
        return {};
    return text;
}

// Answers the chooser from another thread, as a user would, with OK or Cancel; with a folder name
// given, only once the tree shows that folder selected (Wine expands it step by step).
std::thread Answer(HWND owner, int button, Observed& observed, std::wstring selection = {}) {
    return std::thread([owner, button, &observed, selection] {
        HWND dialog = FindChooser(owner);
        if (!dialog) return;
        observed.found = true;
        observed.ownedByMain = ::GetWindow(dialog, GW_OWNER) == owner;
        observed.ownerDisabled = !::IsWindowEnabled(owner);
        observed.processErrorMode = ::GetErrorMode();
        // The dialog fills in its controls after it appears; give it a moment.
        for (int i = 0; i < 100 && !observed.titleShown; ++i) {
            ::EnumChildWindows(dialog, &FindTitle, reinterpret_cast<LPARAM>(&observed));
            if (!observed.titleShown) ::Sleep(20);
        }
        ::Sleep(300);  // lets the preselection of the initial folder settle
        for (int i = 0; i < 250 && !selection.empty() && SelectedFolderName(dialog) != selection;
             ++i)
            ::Sleep(20);
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, button)));
    });
}

// A user who moves the selection as soon as the dialog is there (Home: to the top of the tree),
// then looks again a second later; answers Cancel.
std::thread ChooseEarly(HWND owner, std::wstring& chosen, std::wstring& later) {
    return std::thread([owner, &chosen, &later] {
        HWND dialog = FindChooser(owner);
        if (!dialog) return;
        HWND tree = nullptr;
        for (int i = 0; i < 200 && !tree; ++i, ::Sleep(10))
            tree = ::FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
        ::PostMessageW(tree, WM_KEYDOWN, VK_HOME, 0);
        ::PostMessageW(tree, WM_KEYUP, VK_HOME, 0xC0000000);
        ::Sleep(150);
        chosen = SelectedFolderName(dialog);
        ::Sleep(1000);
        later = SelectedFolderName(dialog);
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDCANCEL)));
    });
}

class FolderChooserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main.reset(::CreateWindowExW(0, L"STATIC", L"Instalator", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(main);
        chooser.SetOwner(main.get());
    }

    std::optional<std::string> ChooseAndPress(int button, const std::string& initial,
                                              Observed& observed, std::wstring selection = {}) {
        std::thread user = Answer(main.get(), button, observed, selection);
        std::optional<std::string> chosen = chooser.Choose("Wybierz folder:", initial);
        user.join();
        return chosen;
    }

    UniqueWindow main;
    Win32FolderChooser chooser;
    // Wine's chooser does not always expand the tree down into the profile's Temp folder, so the
    // folder to preselect lies directly on the system drive.
    TemporaryFolder folder{L"C:\\"};
};

TEST_F(FolderChooserTest, OkReturnsThePreselectedFolderWhileTheOwnerIsDisabled) {
    std::wstring initial = folder.Wide() + L"\\Tesmaren Łódź";
    ASSERT_TRUE(::CreateDirectoryW(initial.c_str(), nullptr));
    UINT before = ::SetErrorMode(SEM_NOGPFAULTERRORBOX);

    Observed observed;
    std::optional<std::string> chosen =
        ChooseAndPress(IDOK, Narrow(initial), observed, L"Tesmaren Łódź");

    EXPECT_EQ(::SetErrorMode(before), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
    ASSERT_TRUE(observed.found);
    EXPECT_EQ(observed.processErrorMode, static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
    EXPECT_TRUE(observed.ownedByMain);
    EXPECT_TRUE(observed.ownerDisabled);
    EXPECT_TRUE(observed.titleShown);
    EXPECT_TRUE(::IsWindowEnabled(main.get()));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(::CompareStringOrdinal(Widen(*chosen).c_str(), -1, initial.c_str(), -1, TRUE),
              CSTR_EQUAL)
        << *chosen;
}

TEST_F(FolderChooserTest, AnEarlyChoiceOfTheUserIsNotOverriddenByThePreselection) {
    std::wstring initial = folder.Wide() + L"\\Tesmaren";
    ASSERT_TRUE(::CreateDirectoryW(initial.c_str(), nullptr));
    std::wstring chosen, later;
    std::thread user = ChooseEarly(main.get(), chosen, later);
    chooser.Choose("Wybierz folder:", Narrow(initial));
    user.join();
    EXPECT_NE(chosen, L"Tesmaren") << "Home did not move the selection";
    EXPECT_EQ(later, chosen) << "the selection jumped back";
}

TEST_F(FolderChooserTest, CancelReturnsNothingAndAMissingInitialFolderIsNotSelected) {
    Observed cancelled;
    EXPECT_EQ(ChooseAndPress(IDCANCEL, folder.Narrow(), cancelled), std::nullopt);
    EXPECT_TRUE(cancelled.found);
    EXPECT_TRUE(::IsWindowEnabled(main.get()));

    std::string missing = folder.Narrow() + "\\missing";
    Observed observed;
    std::optional<std::string> chosen = ChooseAndPress(IDOK, missing, observed);
    EXPECT_TRUE(observed.found);
    EXPECT_NE(chosen, missing);
}

}  // namespace
