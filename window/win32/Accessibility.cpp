#include "window/win32/Accessibility.h"

#include <optional>
#include <utility>

#include "platform/win32/CallbackEdge.h"
#include "platform/win32/SystemFunctions.h"
#include "platform/win32/Text.h"
#include "window/Layout.h"
#include "window/win32/ComPointer.h"
#include "window/win32/DescribedObject.h"

namespace {

// Every widget's accessibility columns; the objects handed out keep a reference to their row.
constexpr std::array<AccessibleFacts, WidgetCount> Facts = {{
#define INSTALATOR_FACTS(name, kind, parent, left, top, width, height, content, state, role,     \
                         front, font, text, background, flags, accessibleName, describedBy) \
    {accessibleName, WidgetRole::role == WidgetRole::Decoration, Widget::describedBy},
    INSTALATOR_WIDGETS(INSTALATOR_FACTS)
#undef INSTALATOR_FACTS
}};

const AccessibleFacts& FactsOf(Widget widget) {
    return Facts[static_cast<std::size_t>(widget)];
}

bool IsDescribed(Widget widget) {
    const AccessibleFacts& facts = FactsOf(widget);
    return *facts.name || facts.decoration || facts.describedBy != Widget::Form1;
}

// A text that describes some widget: the outcome of page 2 or page 3.
constexpr bool IsOutcome(Widget widget) {
    if (widget == Widget::Form1) return false;
    for (const AccessibleFacts& facts : Facts)
        if (facts.describedBy == widget) return true;
    return false;
}

constexpr std::size_t OutcomeCount() {
    std::size_t count = 0;
    for (int i = 0; i < WidgetCount; ++i) count += IsOutcome(static_cast<Widget>(i));
    return count;
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

// Asks screen readers to read the text without interrupting the user; in an apartment only.
void SetPolite(HWND text) {
    ComPointer<IAccPropServices> services;
    if (FAILED(System().CoCreateInstance(AccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                         AccPropServicesInterface, services.put())))
        return;
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = Polite;
    // Windows 7 does not know the property; there the event alone has to do.
    services->SetHwndProp(text, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, LiveSettingProperty,
                          polite);
}

}  // namespace

// Handing an object to another process marshals it, which needs the thread in an apartment; the
// window's thread joins one the first time and stays (the folder chooser's own join nests in it).
bool WindowAccessibility::InApartment() {
    if (apartment == Apartment::NotAsked) {
        bool joined = ProvideSystemFunctions(SystemGroup::Com) &&
                      SUCCEEDED(System().CoInitializeEx(
                          nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
        apartment = joined ? Apartment::Joined : Apartment::Refused;
    }
    return apartment == Apartment::Joined;
}

LRESULT WindowAccessibility::AnswerGetObject(HWND window, Widget widget, WPARAM wParam,
                                             LPARAM lParam) {
    LONG object = static_cast<LONG>(lParam);
    if ((object != OBJID_CLIENT && object != OBJID_WINDOW) || !InApartment()) return 0;
    ProvideSystemFunctions(SystemGroup::Accessibility);
    auto create = System().CreateStdAccessibleObject;
    auto fromObject = System().LresultFromObject;
    ComPointer<IAccessible> standard;
    if (!create || !fromObject ||
        FAILED(create(window, object, __uuidof(IAccessible), standard.put())))
        return 0;
    ComPointer<IAccessible> described = Described(std::move(standard), window, FactsOf(widget));
    LRESULT answer = fromObject(__uuidof(IAccessible), wParam, described.get());
    // A failure is an HRESULT; the standard object then answers as if we had not.
    return answer < 0 ? 0 : answer;
}

LRESULT CALLBACK WindowAccessibility::DescribedProcedure(HWND window, UINT message, WPARAM wParam,
                                                         LPARAM lParam) {
    auto* self = reinterpret_cast<WindowAccessibility*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    std::optional<Widget> widget = WidgetOfControlId(::GetDlgCtrlID(window));
    WNDPROC own = self && widget ? self->ownProcedures[static_cast<std::size_t>(*widget)]
                                 : &::DefWindowProcW;
    if (message == WM_GETOBJECT && self && widget && !self->held) {
        LRESULT answer = AtCallbackEdge<LRESULT>(
            0, [&] { return self->AnswerGetObject(window, *widget, wParam, lParam); });
        if (answer) return answer;
    }
    if (message == WM_NCDESTROY && self) {
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return ::CallWindowProcW(own, window, message, wParam, lParam);
}

void WindowAccessibility::Describe(const WidgetWindows& windows) {
    for (int i = 0; i < WidgetCount; ++i) {
        HWND window = windows[static_cast<std::size_t>(i)];
        WNDPROC& own = ownProcedures[static_cast<std::size_t>(i)];
        if (!window || !IsDescribed(static_cast<Widget>(i)) ||
            ::GetWindowLongPtrW(window, GWLP_USERDATA))
            continue;
        own = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DescribedProcedure));
    }
}

void WindowAccessibility::AnnounceChanges(const WidgetWindows& windows) {
    static_assert(OutcomeCount() == std::tuple_size_v<decltype(announced)>);
    std::size_t outcome = 0;
    for (int i = 0; i < WidgetCount; ++i) {
        if (!IsOutcome(static_cast<Widget>(i))) continue;
        std::wstring& before = announced[outcome++];
        HWND text = windows[static_cast<std::size_t>(i)];
        if (!text) continue;
        std::wstring now = WindowText(text);
        if (now == before) continue;
        before = now;
        if (now.empty() || !::IsWindowVisible(text)) continue;
        if (!politeSet && InApartment()) {
            for (int j = 0; j < WidgetCount; ++j)
                if (IsOutcome(static_cast<Widget>(j)))
                    SetPolite(windows[static_cast<std::size_t>(j)]);
            politeSet = true;
        }
        ::NotifyWinEvent(LiveRegionChanged, text, OBJID_CLIENT, CHILDID_SELF);
    }
}
