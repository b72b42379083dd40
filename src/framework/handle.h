#pragma once
// Owners for kernel, module, registry and search handles.
#include <windows.h>

#include <utility>

namespace fw {

// Owns one handle of the kind described by Traits (type, invalid value, close).
template <class Traits> class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type h) noexcept : h_(h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o)
            reset(o.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::Invalid(); }
    Type release() noexcept { return std::exchange(h_, Traits::Invalid()); }
    void reset(Type h = Traits::Invalid()) noexcept {
        Type old = std::exchange(h_, h);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }
    // For APIs that fill a handle through a pointer.
    Type* put() noexcept {
        reset();
        return &h_;
    }

private:
    Type h_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};
struct ChangeNotificationTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindCloseChangeNotification(h); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::FreeLibrary(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::RegCloseKey(h); }
};

using Handle = UniqueHandle<KernelHandleTraits>;             // events, threads, processes
using FileHandle = UniqueHandle<FileHandleTraits>;           // CreateFile results
using FindHandle = UniqueHandle<FindHandleTraits>;           // FindFirstFile results
using ChangeHandle = UniqueHandle<ChangeNotificationTraits>; // FindFirstChangeNotification
using Module = UniqueHandle<ModuleTraits>;                   // LoadLibrary results
using RegKey = UniqueHandle<RegKeyTraits>;

} // namespace fw
