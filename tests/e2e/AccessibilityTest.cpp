// oleacc.h needs windows.h and ole2.h before it.
// clang-format off
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>
// clang-format on

#include <set>

#include "platform/win32/Text.h"
#include "tests/e2e/WizardTest.h"
#include "window/win32/ComPointer.h"

// The wizard as a screen reader and a keyboard user meet it, from outside its process: MSAA
// objects through AccessibleObjectFromWindow, the live-text event through an out-of-context
// WinEvent hook, keys posted to the focused control as the keyboard would deliver them.
namespace {

using namespace std::chrono_literals;

constexpr DWORD LiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED

struct Apartment {
    Apartment() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Apartment() { ::CoUninitialize(); }
};

using Accessible = ComPointer<IAccessible>;

VARIANT Self() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

std::string Read(HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*),
                 const Accessible& object) {
    BSTR value = nullptr;
    if (!object || FAILED((object.get()->*property)(Self(), &value)) || !value) return "";
    std::string text = Narrow(std::wstring(value, ::SysStringLen(value)));
    ::SysFreeString(value);
    return text;
}

LONG Query(HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, VARIANT*),
           const Accessible& object) {
    VARIANT answer{};
    return object && SUCCEEDED((object.get()->*property)(Self(), &answer)) && answer.vt == VT_I4
               ? answer.lVal
               : 0;
}

// The window's client object as the wizard answers for it, or as Windows' standard object would.
Accessible ClientObject(HWND window, bool standard = false) {
    Accessible object;
    if (standard)
        ::CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, object.put());
    else
        ::AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, object.put());
    return object;
}

// What a screen reader reads for a window: its client object's name, role and description.
struct Reading {
    std::string name, description;
    LONG role = 0;
};

Reading ReadWindow(HWND window, bool standard = false) {
    Accessible object = ClientObject(window, standard);
    return {Read(&IAccessible::get_accName, object), Read(&IAccessible::get_accDescription, object),
            Query(&IAccessible::get_accRole, object)};
}

// The names of the window's accessible children in order, leaving out those marked invisible.
// Each child is a window object; a screen reader reads it through its client object too (Wine's
// window objects answer neither name nor state).
std::vector<std::string> ReadableChildren(HWND window) {
    std::vector<std::string> names;
    Accessible parent = ClientObject(window);
    LONG count = 0;
    if (!parent || FAILED(parent->get_accChildCount(&count))) return names;
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    LONG obtained = 0;
    ::AccessibleChildren(parent.get(), 0, count, children.data(), &obtained);
    for (LONG i = 0; i < obtained; ++i) {
        VARIANT& child = children[static_cast<std::size_t>(i)];
        Accessible object;
        HWND childWindow = nullptr;
        if (child.vt == VT_DISPATCH && child.pdispVal &&
            SUCCEEDED(child.pdispVal->QueryInterface(IID_IAccessible, object.put())) &&
            SUCCEEDED(::WindowFromAccessibleObject(object.get(), &childWindow))) {
            Accessible client = ClientObject(childWindow);
            LONG state = Query(&IAccessible::get_accState, object) |
                         Query(&IAccessible::get_accState, client);
            if (client && !(state & STATE_SYSTEM_INVISIBLE))
                names.push_back(Read(&IAccessible::get_accName, client));
        }
        ::VariantClear(&child);
    }
    return names;
}

std::set<HWND> liveTexts;

void CALLBACK OnLiveText(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF) liveTexts.insert(window);
}

// Out-of-context events arrive while this thread fetches its messages.
bool WaitForLiveText(HWND text) {
    return e2e::WaitUntil([&] {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        return liveTexts.count(text) > 0;
    });
}

using ScreenReader = WizardTest;

// Installed, then failed for want of SZABLONY: the names, what is not read, and each page's
// outcome carried by the focused button and announced.
TEST_F(ScreenReader, HearsNamesNotDecorationAndEachOutcomeUnasked) {
    Apartment apartment;
    struct Walk {
        bool templates;
        Widget focusedAfterInstall;
    };
    for (Walk walk : {Walk{true, Widget::BitBtn4}, Walk{false, Widget::BitBtn1}}) {
        SCOPED_TRACE(walk.templates ? "installed" : "installation failed");
        SetLocation(
            MakeHost(walk.templates ? "Tesmaren" : "Bez szablonów", "network", walk.templates));
        e2e::Wizard wizard = Start();
        ASSERT_NE(wizard.Handle(), nullptr);
        EXPECT_EQ(ReadableChildren(wizard.Window(Widget::Panel1)),
                  (std::vector<std::string>{"Tesmaren", "Nakładka Z27Z", "LabSoft", "Programy dla",
                                            "laboratoriów badań", "Jan Walczak"}));
        EXPECT_EQ(ReadWindow(wizard.Window(Widget::BitBtn5)).name, "Wybierz folder");
        EXPECT_EQ(ReadWindow(wizard.Window(Widget::Edit1)).name, "Lokalizacja");
        for (const WidgetRow& row : MainWindowLayout) {
            if (row.name == Widget::Form1 || row.name == Widget::BitBtn5 ||
                row.name == Widget::Edit1)
                continue;
            Reading ours = ReadWindow(wizard.Window(row.name));
            Reading standard = ReadWindow(wizard.Window(row.name), true);
            EXPECT_EQ(ours.name, standard.name) << WidgetName(row.name);
            EXPECT_EQ(ours.role, standard.role) << WidgetName(row.name);
            EXPECT_EQ(ours.description, "") << WidgetName(row.name) << ": page 1 has no outcome";
        }

        // Wine tells the wizard's thread about the hook when that thread next fetches messages.
        liveTexts.clear();
        HWINEVENTHOOK hook = ::SetWinEventHook(LiveRegionChanged, LiveRegionChanged, nullptr,
                                               OnLiveText, process.Id(), 0, WINEVENT_OUTOFCONTEXT);
        ASSERT_NE(hook, nullptr);
        for (int page : {1, 2}) {
            Next(wizard, page);
            HWND text = wizard.Window(page == 1 ? Widget::StaticText3 : Widget::StaticText6);
            EXPECT_TRUE(WaitForLiveText(text)) << "page " << page + 1 << " was not announced";
            HWND focus = e2e::FocusOf(wizard.Handle());
            if (page == 2) {
                EXPECT_EQ(focus, wizard.Window(walk.focusedAfterInstall));
            }
            EXPECT_EQ(ReadWindow(focus).description, e2e::Text(text)) << "page " << page + 1;
        }
        ::UnhookWinEvent(hook);
        process.Kill();
    }
}

// Keys go to the focused control's queue, where the keyboard puts them.
void Press(const e2e::Wizard& wizard, UINT key) {
    HWND focus = e2e::FocusOf(wizard.Handle());
    HWND target = focus ? focus : wizard.Handle();
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

using Keyboard = WizardTest;

// On page 2 the folder chooser is opened first: Escape there closes only the chooser.
TEST_F(Keyboard, EscapeLeavesTheWizardOnEveryPage) {
    std::string host = MakeHost("Tesmaren", "network");
    for (int page : {0, 1, 2}) {
        SCOPED_TRACE("page " + std::to_string(page + 1));
        if (page == 1)
            ::RegDeleteKeyW(HKEY_CURRENT_USER, L"KvTesmaren");
        else
            SetLocation(host);
        e2e::Wizard wizard = Start();
        ASSERT_NE(wizard.Handle(), nullptr);
        for (int i = 1; i <= page; ++i) Next(wizard, i);
        if (page == 1) {
            // A cancelled choice finds nothing and says so in a box: Escape closes each in turn.
            wizard.Click(Widget::BitBtn5);
            HWND chooser = e2e::WaitForFolderChooser(process);
            ASSERT_NE(chooser, nullptr);
            Press(wizard, VK_ESCAPE);
            EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(chooser); }));
            HWND box = e2e::WaitForMessageBox(process).window;
            ASSERT_NE(box, nullptr);
            Press(wizard, VK_ESCAPE);
            EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(box); }));
            Settle(wizard);
            EXPECT_TRUE(process.Running()) << "Escape in the chooser or its box left the wizard";
        }
        Press(wizard, VK_ESCAPE);
        ExpectCleanExit();
    }
}

}  // namespace
