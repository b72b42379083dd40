#include "framework/accessible.h"

#include <oleacc.h>

#include "framework/com.h"
#include "framework/com_object.h"

namespace fw {
namespace {

BSTR MakeBstr(const std::wstring& text) {
    return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// The number of the element a VARIANT names, or -1 when it names none.
long ChildOf(const VARIANT& v) {
    return v.vt == VT_I4 ? v.lVal : -1;
}

class AccessibleWindow final : public ComObject<IAccessible> {
public:
    AccessibleWindow(HWND hwnd, ComPtr<IAccessible> standard)
        : hwnd_(hwnd), standard_(std::move(standard)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        // IAccessible is a dispatch interface; clients ask for either.
        if (out && iid == __uuidof(IDispatch)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return ComObject<IAccessible>::QueryInterface(iid, out);
    }

    // IDispatch: clients of this program's objects call the methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count)
            return E_POINTER;
        AccessibleQuery q;
        if (!Ask(q))
            return RPC_E_DISCONNECTED;
        *count = q.childCount;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        AccessibleQuery q;
        HRESULT hr = Element(child, q);
        // The parts are simple elements, described through this object.
        return FAILED(hr) ? hr : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        return Text(child, out, &AccessibleInfo::name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        return Text(child, out, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return Text(child, out, &AccessibleInfo::description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        return Number(child, out, &AccessibleInfo::role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        return Number(child, out, &AccessibleInfo::state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
        return Text(child, out, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file)
            *file = nullptr;
        if (topic)
            *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return Text(child, out, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        return standard_->get_accFocus(out);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        return standard_->get_accSelection(out);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return Text(child, out, &AccessibleInfo::defaultAction);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return ChildOf(child) == CHILDID_SELF ? standard_->accSelect(flags, child)
                                              : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* cx, long* cy,
                                          VARIANT child) override {
        if (ChildOf(child) == CHILDID_SELF)
            return standard_->accLocation(x, y, cx, cy, child);
        if (!x || !y || !cx || !cy)
            return E_POINTER;
        AccessibleQuery q;
        const HRESULT hr = Element(child, q);
        if (FAILED(hr))
            return hr;
        *x = q.childRect.left;
        *y = q.childRect.top;
        *cx = q.childRect.right - q.childRect.left;
        *cy = q.childRect.bottom - q.childRect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* out) override {
        return standard_->accNavigate(dir, start, out);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        if (!out)
            return E_POINTER;
        const HRESULT hr = standard_->accHitTest(x, y, out);
        if (hr != S_OK || out->vt != VT_I4 || out->lVal != CHILDID_SELF)
            return hr;
        AccessibleQuery q;
        if (!Ask(q))
            return RPC_E_DISCONNECTED;
        for (long i = 1; i <= q.childCount; ++i) {
            AccessibleQuery part;
            part.child = i;
            if (Ask(part) && part.answered && ::PtInRect(&part.childRect, POINT{x, y})) {
                out->lVal = i;
                break;
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        AccessibleQuery q;
        HRESULT hr = Element(child, q);
        if (FAILED(hr))
            return hr;
        if (q.info.defaultAction.empty())
            return DISP_E_MEMBERNOTFOUND;
        q.doDefaultAction = true;
        return Ask(q) ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    bool Ask(AccessibleQuery& q) const {
        DWORD_PTR answered = 0;
        // The window's own thread makes these calls (the object lives in its apartment);
        // a window gone since the object was made answers nothing.
        return ::IsWindow(hwnd_) &&
               ::SendMessageTimeoutW(hwnd_, AccessibleQueryMessage(), 0,
                                     reinterpret_cast<LPARAM>(&q), SMTO_NORMAL, 5000,
                                     &answered) != 0 &&
               answered != 0;
    }
    HRESULT Element(const VARIANT& child, AccessibleQuery& q) const {
        q.child = ChildOf(child);
        if (q.child < 0)
            return E_INVALIDARG;
        if (!Ask(q))
            return RPC_E_DISCONNECTED;
        return q.answered && q.child <= q.childCount ? S_OK : E_INVALIDARG;
    }
    HRESULT Text(const VARIANT& child, BSTR* out, std::wstring AccessibleInfo::*field) const {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        AccessibleQuery q;
        const HRESULT hr = Element(child, q);
        if (FAILED(hr))
            return hr;
        if (!field || (q.info.*field).empty())
            return S_FALSE;
        *out = MakeBstr(q.info.*field);
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT Number(const VARIANT& child, VARIANT* out, long AccessibleInfo::*field) const {
        if (!out)
            return E_POINTER;
        ::VariantInit(out);
        AccessibleQuery q;
        const HRESULT hr = Element(child, q);
        if (FAILED(hr))
            return hr;
        out->vt = VT_I4;
        out->lVal = q.info.*field;
        return S_OK;
    }

    HWND hwnd_;
    ComPtr<IAccessible> standard_;
};

} // namespace

UINT AccessibleQueryMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"LarkAccessibleQuery");
    return message;
}

LRESULT AccessibleObjectFor(HWND hwnd, WPARAM wp) {
    ComPtr<IAccessible> standard;
    if (FAILED(::CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                           standard.put_void())) ||
        !standard)
        return 0;
    ComPtr<AccessibleWindow> object = MakeComObject<AccessibleWindow>(hwnd, std::move(standard));
    if (!object)
        return 0;
    const LRESULT answer =
        ::LresultFromObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(object.get()));
    return answer > 0 ? answer : 0;
}

void NotifyFocus(HWND hwnd, long child) {
    ::NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, child);
}

void NotifyStateChange(HWND hwnd, long child) {
    ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, child);
}

} // namespace fw
