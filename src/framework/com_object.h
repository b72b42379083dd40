#pragma once
// Reference counting and QueryInterface, written once for every COM object of the program:
//
//     class DropTarget final : public fw::ComObject<IDropTarget> { ... };
//     fw::ComPtr<DropTarget> target = fw::MakeComObject<DropTarget>(...);
//
// QueryInterface answers IUnknown and each listed interface (not the interfaces they derive
// from unless listed too). Objects live on the heap and delete themselves on the last Release.
#include <windows.h>
#include <objbase.h>

#include <new>
#include <utility>

#include "framework/com.h"

namespace fw {

template <class... Interfaces> class ComObject : public Interfaces... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == __uuidof(IUnknown))
            *out = static_cast<IUnknown*>(static_cast<First*>(this));
        else
            (void)(... || Answer<Interfaces>(iid, out));
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(::InterlockedIncrement(&refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = ::InterlockedDecrement(&refs_);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

protected:
    // Born with one reference, which MakeComObject hands to its ComPtr.
    ComObject() = default;
    virtual ~ComObject() = default;

private:
    template <class First_, class...> struct Head { using Type = First_; };
    using First = typename Head<Interfaces...>::Type;

    template <class I> bool Answer(REFIID iid, void** out) noexcept {
        if (iid != __uuidof(I))
            return false;
        *out = static_cast<I*>(this);
        return true;
    }

    volatile LONG refs_ = 1;
};

// A new object owned by the returned pointer; null when memory runs out.
template <class T, class... Args> ComPtr<T> MakeComObject(Args&&... args) {
    ComPtr<T> out;
    out.Attach(new (std::nothrow) T(std::forward<Args>(args)...));
    return out;
}

} // namespace fw
