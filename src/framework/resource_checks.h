#pragma once
// Reading resources whose bytes nobody vouches for (a language pack is any file laid beside
// the program): every walk stays inside the resource, and a template that does not end where
// its own counts say is no template.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The bytes of one resource as mapped in its module.
struct ResourceBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;
    explicit operator bool() const noexcept { return data != nullptr; }
};

// The resource `name` of `type` in `module`; empty when it is missing or lies (even in part)
// outside the module's image.
ResourceBytes FindResourceBytes(HMODULE module, const wchar_t* type, const wchar_t* name);

// String `index` (0..15) of a string-table block: empty when the block has none there, no
// value when the block ends before it.
std::optional<std::wstring_view> StringFromBlock(ResourceBytes block, unsigned index);

// The control identifiers of a dialog template (plain or extended), or no value when the
// template does not lie whole inside its bytes. Unnamed controls (-1) are left out.
std::optional<std::vector<uint32_t>> DialogControlIds(ResourceBytes dialog);

// The command identifiers of a menu template (plain or extended), or no value when the
// template does not lie whole inside its bytes. Separators (0) are left out.
std::optional<std::vector<uint32_t>> MenuCommandIds(ResourceBytes menu);

// Whether `offered` holds every identifier of `needed`.
bool HoldsAll(const std::vector<uint32_t>& offered, const std::vector<uint32_t>& needed);

// The printf conversions of a pattern in order ("%s", "%02d", ...; "%%" is none): a text
// formatted with one pattern's arguments is safe only with the same conversions.
std::vector<std::wstring> PrintfConversions(std::wstring_view pattern);

} // namespace fw
