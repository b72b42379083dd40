#pragma once
// Owners for COM interfaces, COM/OLE initialisation and shell-allocated memory.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>

#include <utility>

namespace fw {

// Reference-counted COM interface pointer.
template <class T> class ComPtr {
public:
    ComPtr() noexcept = default;
    // Shares a pointer the caller holds: one more reference (Attach takes one over instead).
    explicit ComPtr(T* p) noexcept : p_(p) {
        if (p_)
            p_->AddRef();
    }
    ComPtr(const ComPtr& o) noexcept : p_(o.p_) {
        if (p_)
            p_->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset() noexcept {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }
    // Takes over a reference the caller owns (no AddRef).
    void Attach(T* p) noexcept {
        reset();
        p_ = p;
    }
    // Hands the reference over to the caller (no Release).
    T* Detach() noexcept { return std::exchange(p_, nullptr); }
    // For APIs that return a new reference through T**.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    template <class U> ComPtr<U> As() const noexcept {
        ComPtr<U> out;
        if (p_)
            p_->QueryInterface(__uuidof(U), out.put_void());
        return out;
    }

private:
    T* p_ = nullptr;
};

// CoInitialize for a scope (the shortcut readers initialise around each call).
class ComInit {
public:
    ComInit() noexcept : hr_(::CoInitialize(nullptr)) {}
    ~ComInit() {
        if (SUCCEEDED(hr_))
            ::CoUninitialize();
    }
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    HRESULT result() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// OleInitialize for the life of the process's user-interface thread.
class OleInit {
public:
    OleInit() noexcept : hr_(::OleInitialize(nullptr)) {}
    ~OleInit() {
        if (SUCCEEDED(hr_))
            ::OleUninitialize();
    }
    OleInit(const OleInit&) = delete;
    OleInit& operator=(const OleInit&) = delete;
    HRESULT result() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// Memory from the shell (COM task) allocator, such as an item identifier list.
template <class T> class CoTaskMem {
public:
    CoTaskMem() noexcept = default;
    explicit CoTaskMem(T* p) noexcept : p_(p) {}
    CoTaskMem(CoTaskMem&& o) noexcept : p_(o.release()) {}
    CoTaskMem& operator=(CoTaskMem&& o) noexcept {
        if (this != &o)
            reset(o.release());
        return *this;
    }
    CoTaskMem(const CoTaskMem&) = delete;
    CoTaskMem& operator=(const CoTaskMem&) = delete;
    ~CoTaskMem() { reset(); }

    T* get() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    T* release() noexcept { return std::exchange(p_, nullptr); }
    void reset(T* p = nullptr) noexcept {
        if (T* old = std::exchange(p_, p))
            ::CoTaskMemFree(old);
    }
    T** put() noexcept {
        reset();
        return &p_;
    }

private:
    T* p_ = nullptr;
};

using Pidl = CoTaskMem<ITEMIDLIST>;

} // namespace fw
