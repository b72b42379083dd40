#pragma once
// Readers of the blocks another program hands over in a drop. The bytes come from outside:
// every offset, count and length is checked against the block, and a part that is not whole
// is left out rather than read past the end.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace views {

// Longest path taken from a file list; a longer one is cut.
constexpr size_t kDropPathMax = 1023;

// The paths of a file list block (the drop-files header and its zero-ended paths). Wide
// paths are taken as they are, narrow ones are converted from `codePage`. A path without
// its terminator and everything after it are left out; a header whose offset lies outside
// the block gives no paths.
std::vector<std::wstring> ParseFileList(const void* data, size_t size, UINT codePage = CP_ACP);

// A shell item array: the parent folder's list and the items' lists relative to it, each
// copied whole with its terminator.
struct ShellItemArray {
    std::vector<uint8_t> parent;
    std::vector<std::vector<uint8_t>> items;
};
// False (nothing taken) when the count or the table of offsets does not fit the block or the
// parent's list is not whole inside it; an item whose list is not whole is left out.
bool ParseShellItemArray(const void* data, size_t size, ShellItemArray& out);

// Byte length of the identifier list starting at `offset`, terminator included, or 0 when it
// does not end inside the block.
size_t IdListLengthAt(const uint8_t* data, size_t size, size_t offset) noexcept;

// A web address in the system code page, up to its terminator; empty when it has none.
std::wstring ParseAddress(const void* data, size_t size, UINT codePage = CP_ACP);

} // namespace views
