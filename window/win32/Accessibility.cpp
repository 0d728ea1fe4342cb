#include "window/win32/Accessibility.h"

#include <utility>
#include <vector>

#include "platform/win32/CallbackEdge.h"
#include "platform/win32/Text.h"
#include "window/Layout.h"
#include "window/win32/ComPointer.h"
#include "window/win32/DescribedObject.h"
#include "window/win32/SystemFunction.h"

namespace {

using W = Widget;

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

const AccessibleFacts* FactsOf(HWND window) {
    std::optional<Widget> widget = WidgetOfControlId(::GetDlgCtrlID(window));
    if (!widget) return nullptr;
    for (const AccessibleFacts& facts : Facts)
        if (facts.widget == *widget) return &facts;
    return nullptr;
}

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam) {
    LONG object = static_cast<LONG>(lParam);
    const AccessibleFacts* facts = FactsOf(window);
    if (!facts || (object != OBJID_CLIENT && object != OBJID_WINDOW) || !InApartment()) return 0;
    using CreateStandard = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    using FromObject = LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*);
    auto create = SystemFunction<CreateStandard>(L"oleacc.dll", "CreateStdAccessibleObject");
    auto fromObject = SystemFunction<FromObject>(L"oleacc.dll", "LresultFromObject");
    ComPointer<IAccessible> standard;
    if (!create || !fromObject ||
        FAILED(create(window, object, __uuidof(IAccessible), standard.put())))
        return 0;
    ComPointer<IAccessible> described = Described(std::move(standard), window, *facts);
    LRESULT answer = fromObject(__uuidof(IAccessible), wParam, described.get());
    // A failure is an HRESULT; the standard object then answers as if we had not.
    return answer < 0 ? 0 : answer;
}

bool descriptionsHeld = false;

LRESULT CALLBACK DescribedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Subclassed* entry = SubclassOf(window);
    WNDPROC original = entry ? entry->original : &::DefWindowProcW;
    if (message == WM_GETOBJECT && !descriptionsHeld) {
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
    ComPointer<IAccPropServices> services;
    if (!create || !InApartment() ||
        FAILED(create(AccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER, AccPropServicesInterface,
                      services.put())))
        return;
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = Polite;
    // Windows 7 does not know the property; there the event alone has to do.
    services->SetHwndProp(text, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, LiveSettingProperty,
                          polite);
}

}  // namespace

void HoldDescriptions(bool held) {
    descriptionsHeld = held;
}

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
