#pragma once
// Small text helpers: code-page conversion, case-insensitive comparison, printf-style formatting.
#include <windows.h>

#include <string>
#include <string_view>

namespace fw {

// Converts single-byte text in the given code page (CP_ACP: the thread's) to UTF-16.
std::wstring FromCodePage(std::string_view text, UINT codePage = CP_THREAD_ACP);
// Converts UTF-16 text to the given code page; unmappable characters become the default char.
std::string ToCodePage(std::wstring_view text, UINT codePage = CP_THREAD_ACP);
// How many bytes of `text` (single-byte text in `codePage`) fit in `maxBytes` without
// splitting a double-byte character.
size_t FittingCodePageBytes(std::string_view text, size_t maxBytes, UINT codePage = CP_THREAD_ACP);

// Ordinal comparison ignoring letter case, as the system compares file names.
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

// Formats with the C library's wide printf rules; used for string-table patterns like "Can't find
// %s.".
std::wstring FormatText(const wchar_t* pattern, ...);

} // namespace fw
