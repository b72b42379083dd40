#pragma once
// Whole-file operations of the data file: reading it in one go and replacing it so that it
// is never half written (nor written over before a copy is kept; see keep_aside.h).
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "framework/handle.h"

namespace model {

// InUse: another program held the file open without sharing it for as long as the read
// waited (kInUseWaitMs), which says nothing about its content.
enum class ReadResult { Ok, Missing, InUse, Failed };
constexpr DWORD kInUseWaitMs = 5000;
constexpr size_t kMaxDataFileSize = size_t{1} << 30;
// Opens the file for reading, shared with readers only (nobody writes it while it is open),
// waiting up to `waitMs` while another program holds it; `size` receives its length. Files
// above `maxSize` bytes are refused (Failed).
ReadResult OpenForReading(const std::wstring& path, DWORD flags, size_t maxSize, DWORD waitMs,
                          fw::FileHandle& file, size_t& size);
// Reads the whole file, waiting up to `waitMs` while another program holds it; files above
// `maxSize` bytes are refused (Failed).
ReadResult ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& out,
                         size_t maxSize = kMaxDataFileSize, DWORD waitMs = kInUseWaitMs);

// Writes the bytes to a file beside `path`, flushes it, then moves it over `path` with
// write-through. Until the move, `path` is untouched; on any failure it stays as it was
// and the file beside is removed.
bool ReplaceFileAtomically(const std::wstring& path, const uint8_t* data, size_t size);

// The steps of a replacement, for a writer that decides between them whether the new file
// may still replace the old one. Every replacement has a file beside `path` of its own
// ("<path>.saving", else "<path>.saving.1", ... whichever is free when it is created), so
// that a write that was given up and one made after it never meet: each writes, moves and
// removes only its own file.
class Replacement {
public:
    explicit Replacement(std::wstring path) : path_(std::move(path)) {}
    ~Replacement(); // removes the file beside unless it was moved over `path`
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    // Creates the file beside under a free name and keeps it open, shared with no one.
    bool Open();
    // Writes the bytes to it, flushes and closes it; removes it on failure.
    bool Write(const uint8_t* data, size_t size);
    // Moves it over `path` once ReadyToReplace allows it; removes it on failure.
    bool SwapIn();
    void Discard();
    // The name of the file beside; empty before Open.
    const std::wstring& Name() const noexcept { return temp_; }

private:
    std::wstring path_;
    std::wstring temp_;
    fw::FileHandle file_;
};

// The names a file beside `path` may take: n = 0 is "<path>.saving".
std::wstring ReplacementName(const std::wstring& path, int n = 0);
// Removes files beside `path` that replacements of earlier runs left behind (a run that was
// killed during a save); one that is still open is left alone.
void RemoveLeftoverReplacements(const std::wstring& path);

} // namespace model
