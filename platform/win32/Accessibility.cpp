#include "platform/win32/Accessibility.h"

// oleacc.h needs windows.h and ole2.h before it, which include sorting would undo.
// clang-format off
#include <ole2.h>
#include <oleacc.h>
// clang-format on

#include <vector>

#include "platform/Layout.h"
#include "platform/win32/CallbackEdge.h"
#include "platform/win32/DllSearch.h"
#include "platform/win32/Text.h"

namespace {

using W = Widget;

struct AccessibleFacts {
    Widget widget;
    const wchar_t* name;  // null: the standard object's own
    bool decoration;      // not read at all
    Widget outcome;       // the text that describes it while its page is shown; Form1: none
    Widget page;
};

// clang-format off
constexpr AccessibleFacts Facts[] = {
    // widget     name               decoration outcome          page
    {W::BitBtn5,  L"Wybierz folder", false,     W::StaticText3,  W::TabSheet2},
    {W::Edit1,    L"Lokalizacja",    false,     W::Form1,        W::Form1},
    {W::Label1,   nullptr,           true,      W::Form1,        W::Form1},
    {W::Image1,   nullptr,           true,      W::Form1,        W::Form1},
    {W::Image2,   nullptr,           true,      W::Form1,        W::Form1},
    {W::BitBtn2,  nullptr,           false,     W::StaticText3,  W::TabSheet2},
    {W::BitBtn4,  nullptr,           false,     W::StaticText6,  W::TabSheet3},
    {W::BitBtn1,  nullptr,           false,     W::StaticText6,  W::TabSheet3},
};
// clang-format on

constexpr Widget OutcomeTexts[] = {W::StaticText3, W::StaticText6};

// The described windows' own procedures, kept in the process: a window property would cost a
// round trip to the window system on every message these windows get.
struct Subclassed {
    HWND window;
    WNDPROC original;
};
std::vector<Subclassed> subclassed;  // a destroyed window's entry is taken by the next one

Subclassed* SubclassOf(HWND window) {
    for (Subclassed& entry : subclassed)
        if (entry.window == window) return &entry;
    return nullptr;
}

// The live setting of UI Automation, which Windows 8 and later read from a window's annotation.
constexpr GUID LiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr GUID AccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID AccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr LONG Polite = 1;
// EVENT_OBJECT_LIVEREGIONCHANGED, which the headers offer only to programs for Windows 8 and
// later; older readers ignore it.
constexpr DWORD LiveRegionChanged = 0x8019;

// Accessibility and COM are loaded only when a screen reader asks, from the system folder, so
// the executable imports neither and no copy beside the installer is ever picked up.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = ::GetModuleHandleW(dll);
    return ExportOf<Function>(module ? module : LoadFromSystemFolder(dll), name);
}

// Handing an object to another process marshals it, which needs the thread in an apartment; the
// wizard's thread joins one the first time and stays (the folder chooser's own join nests in it).
bool InApartment() {
    using Initialise = HRESULT(WINAPI*)(void*, DWORD);
    static const bool joined = [] {
        auto initialise = SystemFunction<Initialise>(L"ole32.dll", "CoInitializeEx");
        return initialise &&
               SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }();
    return joined;
}

BSTR AllocateString(const std::wstring& text) {
    using Allocate = BSTR(WINAPI*)(const OLECHAR*, UINT);
    static const auto allocate = SystemFunction<Allocate>(L"oleaut32.dll", "SysAllocStringLen");
    return allocate ? allocate(text.data(), static_cast<UINT>(text.size())) : nullptr;
}

const AccessibleFacts* FactsOf(HWND window) {
    std::optional<Widget> widget = WidgetOfControlId(::GetDlgCtrlID(window));
    if (!widget) return nullptr;
    for (const AccessibleFacts& facts : Facts)
        if (facts.widget == *widget) return &facts;
    return nullptr;
}

// A widget's window found from any other through the layout's parents.
HWND WidgetWindow(HWND anyWidget, Widget widget) {
    if (widget == W::Form1) return ::GetAncestor(anyWidget, GA_ROOT);
    HWND parent = WidgetWindow(anyWidget, LayoutOf(widget).parent);
    return parent ? ::GetDlgItem(parent, WidgetControlId(widget)) : nullptr;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The standard object with the facts laid over it; everything else is the standard object's.
class DescribedObject final : public IAccessible {
  public:
    DescribedObject(IAccessible* standard, HWND window, const AccessibleFacts& facts)
        : standard(standard), window(window), facts(facts) {}
    DescribedObject(const DescribedObject&) = delete;
    DescribedObject& operator=(const DescribedObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The standard object's helpers only: were its marshalling interfaces handed out, the
        // standard object instead of this one would reach the screen reader.
        if (IsEqualIID(iid, __uuidof(IEnumVARIANT)) || IsEqualIID(iid, __uuidof(IOleWindow)))
            return standard->QueryInterface(iid, object);
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!facts.name || !IsSelf(child)) return standard->get_accName(child, name);
        if (!name) return E_POINTER;
        *name = AllocateString(facts.name);
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (facts.outcome != W::Form1 && IsSelf(child) && description) {
            HWND page = WidgetWindow(window, facts.page);
            HWND text = WidgetWindow(window, facts.outcome);
            std::wstring outcome = text ? WindowText(text) : std::wstring();
            if (page && ::IsWindowVisible(page) && !outcome.empty()) {
                *description = AllocateString(outcome);
                return *description ? S_OK : E_OUTOFMEMORY;
            }
        }
        return standard->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        HRESULT result = standard->get_accState(child, state);
        if (SUCCEEDED(result) && facts.decoration && IsSelf(child) && state->vt == VT_I4)
            state->lVal |= STATE_SYSTEM_INVISIBLE;
        return result;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        return standard->Invoke(id, iid, locale, flags, parameters, result, exception,
                                argumentError);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return standard->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
        return standard->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard->put_accValue(child, value);
    }

  private:
    ~DescribedObject() { standard->Release(); }

    IAccessible* standard;
    HWND window;
    const AccessibleFacts& facts;
    ULONG references = 1;
};

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam) {
    LONG object = static_cast<LONG>(lParam);
    const AccessibleFacts* facts = FactsOf(window);
    if (!facts || (object != OBJID_CLIENT && object != OBJID_WINDOW) || !InApartment()) return 0;
    using CreateStandard = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    using FromObject = LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*);
    auto create = SystemFunction<CreateStandard>(L"oleacc.dll", "CreateStdAccessibleObject");
    auto fromObject = SystemFunction<FromObject>(L"oleacc.dll", "LresultFromObject");
    IAccessible* standard = nullptr;
    if (!create || !fromObject ||
        FAILED(create(window, object, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
        return 0;
    auto* described = new DescribedObject(standard, window, *facts);
    LRESULT answer = fromObject(__uuidof(IAccessible), wParam, described);
    described->Release();
    // A failure is an HRESULT; the standard object then answers as if we had not.
    return answer < 0 ? 0 : answer;
}

LRESULT CALLBACK DescribedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Subclassed* entry = SubclassOf(window);
    WNDPROC original = entry ? entry->original : &::DefWindowProcW;
    if (message == WM_GETOBJECT) {
        LRESULT answer =
            AtCallbackEdge<LRESULT>(0, [&] { return AnswerGetObject(window, wParam, lParam); });
        if (answer) return answer;
    }
    if (message == WM_NCDESTROY && entry) {
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        *entry = Subclassed{};
    }
    return ::CallWindowProcW(original, window, message, wParam, lParam);
}

void SetPolite(HWND text) {
    using CreateInstance = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
    auto create = SystemFunction<CreateInstance>(L"ole32.dll", "CoCreateInstance");
    IAccPropServices* services = nullptr;
    if (!create || !InApartment() ||
        FAILED(create(AccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER, AccPropServicesInterface,
                      reinterpret_cast<void**>(&services))))
        return;
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = Polite;
    // Windows 7 does not know the property; there the event alone has to do.
    services->SetHwndProp(text, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, LiveSettingProperty,
                          polite);
    services->Release();
}

}  // namespace

void DescribeToScreenReaders(const std::array<HWND, WidgetCount>& windows) {
    for (const AccessibleFacts& facts : Facts) {
        HWND window = windows[static_cast<std::size_t>(facts.widget)];
        if (!window || SubclassOf(window)) continue;
        Subclassed* free = SubclassOf(nullptr);
        if (!free) free = &subclassed.emplace_back();
        *free = Subclassed{window,
                           reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC))};
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DescribedProc));
    }
}

void OutcomeAnnouncer::AnnounceChanges(const std::array<HWND, WidgetCount>& windows) {
    static_assert(std::size(OutcomeTexts) == std::tuple_size_v<decltype(announced)>);
    for (std::size_t i = 0; i < std::size(OutcomeTexts); ++i) {
        HWND text = windows[static_cast<std::size_t>(OutcomeTexts[i])];
        if (!text) continue;
        std::wstring now = WindowText(text);
        if (now == announced[i]) continue;
        announced[i] = now;
        if (now.empty() || !::IsWindowVisible(text)) continue;
        if (!politeSet) {
            for (Widget outcome : OutcomeTexts)
                SetPolite(windows[static_cast<std::size_t>(outcome)]);
            politeSet = true;
        }
        ::NotifyWinEvent(LiveRegionChanged, text, OBJID_CLIENT, CHILDID_SELF);
    }
}
