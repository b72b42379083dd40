#include "model/pidl.h"

#include <cstring>

namespace model {

size_t PidlSize(LPCITEMIDLIST pidl) noexcept {
    if (!pidl)
        return 0;
    size_t size = 0;
    const BYTE* p = reinterpret_cast<const BYTE*>(pidl);
    for (;;) {
        USHORT cb = 0;
        std::memcpy(&cb, p + size, sizeof(cb));
        if (cb == 0)
            return size + sizeof(USHORT);
        size += cb;
    }
}

LPITEMIDLIST PidlClone(LPCITEMIDLIST pidl) noexcept {
    const size_t size = PidlSize(pidl);
    if (size == 0)
        return nullptr;
    void* copy = ::CoTaskMemAlloc(size);
    if (!copy)
        return nullptr;
    std::memcpy(copy, pidl, size);
    return static_cast<LPITEMIDLIST>(copy);
}

bool PidlIsWellFormed(const void* data, size_t size) noexcept {
    if (!data || size < sizeof(USHORT))
        return false;
    const BYTE* p = static_cast<const BYTE*>(data);
    size_t offset = 0;
    for (;;) {
        if (size - offset < sizeof(USHORT))
            return false;
        USHORT cb = 0;
        std::memcpy(&cb, p + offset, sizeof(cb));
        if (cb == 0)
            return offset + sizeof(USHORT) == size;
        // An item holds at least its own size field.
        if (cb < sizeof(USHORT) || cb > size - offset)
            return false;
        offset += cb;
    }
}

} // namespace model
