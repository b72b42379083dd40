#pragma once
// What the bar last read from or wrote to the data file, and what to do when the file is no
// longer that: another copy of the bar (on this machine, or on another one sharing a synced
// folder) may have written it since. Nothing is ever written over unseen.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace document {

struct FileStamp {
    bool present = false;   // false: there was no file
    uint64_t size = 0;      // bytes
    uint64_t lastWrite = 0; // the file's last-write time (informational: a sync tool may
                            // touch a file without changing it)
    uint64_t hash = 0;      // of the bytes
};

// The same content: both absent, or of equal size and hash (the time is not compared).
bool SameContent(const FileStamp& a, const FileStamp& b) noexcept;
// The stamp of bytes handed over in pieces, in order, of any sizes. Stamps live only in memory
// (never stored), so the hash may change between versions; it is made for speed, as the
// worker runs it over every byte of a big file before the tree counts as whole.
class StampHash {
public:
    void Add(const uint8_t* data, size_t size) noexcept;
    // `lastWrite` as known (0 when not).
    FileStamp Stamp(uint64_t lastWrite = 0) const noexcept;

private:
    void Block(const uint8_t* block) noexcept;

    // Four independent lanes over 32-byte blocks, so the multiplications overlap.
    uint64_t lanes_[4] = {0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                          0x27D4EB2F165667C5ull};
    uint8_t pending_[32] = {};
    size_t pendingSize_ = 0;
    uint64_t size_ = 0;
};
// The stamp of bytes read or written; `lastWrite` as known (0 when not).
FileStamp StampOfBytes(const std::vector<uint8_t>& bytes, uint64_t lastWrite = 0);
// Reads the file at `path` whole (`bytes` receives it) without waiting for another program
// that holds it. nullopt when it is there but cannot be read now.
std::optional<FileStamp> ReadFileStamp(const std::wstring& path, std::vector<uint8_t>& bytes);

enum class FileAction {
    None,              // nothing to write, nothing new to read
    Save,              // the file is as remembered (or gone): the pending edit may be written
    Reload,            // changed elsewhere, nothing of ours pending: read it
    KeepOtherThenSave, // changed elsewhere and an edit pending: keep theirs beside, write ours
    Wait,              // cannot be read now: neither read nor write over it; try later
};

// `current` is nullopt when the file cannot be read now.
FileAction DecideFileAction(const FileStamp& remembered, const std::optional<FileStamp>& current,
                            bool editPending) noexcept;

// "<stem> (other YYYY-MM-DD hhmm)<ext>" beside `path`, with " N" after the time from 2 on.
std::wstring OtherVersionName(const std::wstring& path, const SYSTEMTIME& when, int n = 1);
// Writes `bytes` under the first OtherVersionName that is free, never over an existing file;
// returns its name, or empty when it could not be written.
std::wstring KeepOtherVersion(const std::wstring& path, const std::vector<uint8_t>& bytes);

} // namespace document
