#include "model/memory_lock_bytes.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace model {
namespace {
// Compound files this program writes are far below this; a larger request is refused.
constexpr uint64_t kMaxSize = uint64_t{1} << 32;
} // namespace

fw::ComPtr<MemoryLockBytes> MemoryLockBytes::Create(std::vector<uint8_t> initial,
                                                    bool strictReads) {
    fw::ComPtr<MemoryLockBytes> out;
    out.Attach(new (std::nothrow) MemoryLockBytes(std::move(initial), strictReads));
    return out;
}

bool MemoryLockBytes::Grow(uint64_t size) noexcept {
    if (size <= bytes_.size())
        return true;
    if (size > kMaxSize)
        return false;
    try {
        if (size > bytes_.capacity())
            bytes_.reserve(std::max<size_t>(static_cast<size_t>(size), bytes_.capacity() * 2));
        bytes_.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool MemoryLockBytes::Reserve(size_t size) noexcept {
    try {
        bytes_.reserve(size);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

HRESULT MemoryLockBytes::ReadAt(ULARGE_INTEGER offset, void* buffer, ULONG count, ULONG* read) {
    ULONG n = 0;
    if (strictReads_ &&
        (offset.QuadPart > bytes_.size() || count > bytes_.size() - offset.QuadPart)) {
        if (read)
            *read = 0;
        return STG_E_READFAULT;
    }
    if (offset.QuadPart < bytes_.size()) {
        const uint64_t left = bytes_.size() - offset.QuadPart;
        n = static_cast<ULONG>(std::min<uint64_t>(count, left));
        std::memcpy(buffer, bytes_.data() + offset.QuadPart, n);
    }
    if (read)
        *read = n;
    return S_OK;
}

HRESULT MemoryLockBytes::WriteAt(ULARGE_INTEGER offset, const void* buffer, ULONG count,
                                 ULONG* written) {
    if (written)
        *written = 0;
    if (offset.QuadPart > kMaxSize || !Grow(offset.QuadPart + count))
        return STG_E_MEDIUMFULL;
    std::memcpy(bytes_.data() + offset.QuadPart, buffer, count);
    if (written)
        *written = count;
    return S_OK;
}

HRESULT MemoryLockBytes::SetSize(ULARGE_INTEGER size) {
    if (size.QuadPart < bytes_.size()) {
        bytes_.resize(static_cast<size_t>(size.QuadPart));
        return S_OK;
    }
    return Grow(size.QuadPart) ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT MemoryLockBytes::Stat(STATSTG* stat, DWORD) {
    if (!stat)
        return STG_E_INVALIDPOINTER;
    std::memset(stat, 0, sizeof(*stat));
    stat->type = STGTY_LOCKBYTES;
    stat->cbSize.QuadPart = bytes_.size();
    return S_OK;
}

} // namespace model
