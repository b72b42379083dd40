#pragma once
// A byte array in memory that the system's structured storage can live on. The data file is
// built and read through it: the storage code makes tens of thousands of small reads and
// writes, which cost a system call each on a file but nothing here.
#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <vector>

#include "framework/com.h"
#include "framework/com_object.h"

namespace model {

class MemoryLockBytes final : public fw::ComObject<ILockBytes> {
public:
    // With `strictReads`, a read that would pass the end fails instead of coming back short:
    // the storage code fills a short sector up with zeros and would hand them on as data,
    // while a failure ends the stream there, so a cut file reads as far as it is whole.
    static fw::ComPtr<MemoryLockBytes> Create(std::vector<uint8_t> initial = {},
                                              bool strictReads = false);

    const std::vector<uint8_t>& Bytes() const noexcept { return bytes_; }
    // Room for `size` bytes up front: growing a large array step by step costs more than
    // building the file in it.
    bool Reserve(size_t size) noexcept;
    // Hands the bytes over, leaving the array empty (once the storage on it is released).
    std::vector<uint8_t> TakeBytes() noexcept { return std::move(bytes_); }

    HRESULT STDMETHODCALLTYPE ReadAt(ULARGE_INTEGER offset, void* buffer, ULONG count,
                                     ULONG* read) override;
    HRESULT STDMETHODCALLTYPE WriteAt(ULARGE_INTEGER offset, const void* buffer, ULONG count,
                                      ULONG* written) override;
    HRESULT STDMETHODCALLTYPE Flush() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;

private:
    MemoryLockBytes(std::vector<uint8_t> initial, bool strictReads)
        : bytes_(std::move(initial)), strictReads_(strictReads) {}
    ~MemoryLockBytes() override = default;
    bool Grow(uint64_t size) noexcept;

    std::vector<uint8_t> bytes_;
    bool strictReads_ = false;
};

} // namespace model
