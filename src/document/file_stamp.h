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
