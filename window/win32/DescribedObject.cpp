#include "window/win32/DescribedObject.h"

#include <string>
#include <utility>

#include "platform/win32/Text.h"
#include "window/Layout.h"
#include "platform/win32/SystemFunctions.h"

namespace {

using W = Widget;

// The accessibility functions have been provided before any object is made.
BSTR AllocateString(const std::wstring& text) {
    auto allocate = System().SysAllocStringLen;
    return allocate ? allocate(text.data(), static_cast<UINT>(text.size())) : nullptr;
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

class DescribedObject final : public IAccessible {
  public:
    DescribedObject(ComPointer<IAccessible> standard, HWND window, const AccessibleFacts& facts)
        : standard(std::move(standard)), window(window), facts(facts) {}
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
        if (!*facts.name || !IsSelf(child)) return standard->get_accName(child, name);
        if (!name) return E_POINTER;
        *name = AllocateString(Widen(facts.name));
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (facts.describedBy != W::Form1 && IsSelf(child) && description) {
            HWND page = WidgetWindow(window, LayoutOf(facts.describedBy).parent);
            HWND text = WidgetWindow(window, facts.describedBy);
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
    ~DescribedObject() = default;  // deleted by Release alone

    ComPointer<IAccessible> standard;
    HWND window;
    const AccessibleFacts& facts;
    ULONG references = 1;
};

}  // namespace

ComPointer<IAccessible> Described(ComPointer<IAccessible> standard, HWND window,
                                  const AccessibleFacts& facts) {
    return ComPointer<IAccessible>(new DescribedObject(std::move(standard), window, facts));
}
