#pragma once
// Owners for the memory that data is handed between programs in: movable global memory,
// its lock, and storage mediums (clipboard, drag and drop).
#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <utility>

#include "framework/handle.h"

namespace fw {

struct GlobalMemoryTraits {
    using Type = HGLOBAL;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::GlobalFree(h); }
};
using GlobalMemory = UniqueHandle<GlobalMemoryTraits>;

// Memory for a data object or the clipboard; release() it when the receiver takes it over.
inline GlobalMemory AllocGlobal(size_t size, UINT flags = GMEM_MOVEABLE | GMEM_ZEROINIT) noexcept {
    return GlobalMemory(::GlobalAlloc(flags, size));
}

// GlobalLock for a scope; null (false) when the memory cannot be locked.
template <class T = void> class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL memory) noexcept
        : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr),
          size_(data_ ? ::GlobalSize(memory) : 0) {}
    ~GlobalLockScope() {
        if (data_)
            ::GlobalUnlock(memory_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;

    T* get() const noexcept { return static_cast<T*>(data_); }
    // Bytes of the block (which may be more than were asked for).
    size_t size() const noexcept { return size_; }
    explicit operator bool() const noexcept { return data_ != nullptr; }

private:
    HGLOBAL memory_;
    void* data_;
    size_t size_;
};

// A storage medium received from IDataObject::GetData, released with ReleaseStgMedium.
class StgMedium {
public:
    StgMedium() noexcept = default;
    ~StgMedium() { reset(); }
    StgMedium(const StgMedium&) = delete;
    StgMedium& operator=(const StgMedium&) = delete;

    const STGMEDIUM& get() const noexcept { return medium_; }
    HGLOBAL global() const noexcept {
        return medium_.tymed == TYMED_HGLOBAL ? medium_.hGlobal : nullptr;
    }
    void reset() noexcept {
        if (medium_.tymed != TYMED_NULL)
            ::ReleaseStgMedium(&medium_);
        medium_ = STGMEDIUM{};
    }
    // For GetData: releases what is held and hands out the empty medium.
    STGMEDIUM* put() noexcept {
        reset();
        return &medium_;
    }

private:
    STGMEDIUM medium_{};
};

} // namespace fw
