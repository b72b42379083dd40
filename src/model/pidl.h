#pragma once
// Item identifier lists: size, copy and validation of untrusted bytes. Lists are always
// allocated and freed with the shell's (COM task) allocator.
#include <windows.h>
#include <shlobj.h>

#include <cstddef>
#include <cstdint>

namespace model {

// Byte size of a list including its two-byte terminator; 0 for null.
size_t PidlSize(LPCITEMIDLIST pidl) noexcept;
// A deep copy in memory of the shell's allocator; null for null or on allocation failure.
LPITEMIDLIST PidlClone(LPCITEMIDLIST pidl) noexcept;
// True when `size` bytes at `data` form exactly one well-formed list: every item's size
// stays inside the buffer and the last two bytes are the terminator that ends the list.
bool PidlIsWellFormed(const void* data, size_t size) noexcept;
// True for the empty list (the desktop): only the terminator.
inline bool PidlIsEmpty(LPCITEMIDLIST pidl) noexcept {
    return pidl && pidl->mkid.cb == 0;
}

} // namespace model
