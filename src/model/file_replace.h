#pragma once
// Whole-file operations of the data file: reading it in one go, replacing it so that it is
// never half written, and setting an unreadable one aside.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace model {

enum class ReadResult { Ok, Missing, Failed };
// Reads the whole file; files above `maxSize` bytes are refused (Failed).
ReadResult ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& out,
                         size_t maxSize = size_t{1} << 30);

// Writes the bytes to a file beside `path`, flushes it, then moves it over `path` with
// write-through. Until the move, `path` is untouched; on any failure it stays as it was
// and the file beside is removed.
bool ReplaceFileAtomically(const std::wstring& path, const uint8_t* data, size_t size);
// The two steps of a replacement, for a writer that decides between them whether the new
// file may still replace the old one. WriteReplacement writes and flushes the file beside
// `path` (removing it on failure); SwapInReplacement moves it over `path` (removing it on
// failure); DiscardReplacement removes it instead.
bool WriteReplacement(const std::wstring& path, const uint8_t* data, size_t size);
bool SwapInReplacement(const std::wstring& path);
void DiscardReplacement(const std::wstring& path);
// Name of the file written beside `path` during a replacement.
std::wstring ReplacementName(const std::wstring& path);

// Renames `path` to "<path>.unreadable", or "<path>.unreadable.N" with the first N that is
// free, in the same folder; copies it there when it cannot be renamed. Returns the new name,
// or an empty string when neither worked.
std::wstring SetFileAside(const std::wstring& path);

} // namespace model
