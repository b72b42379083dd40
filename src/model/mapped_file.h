#pragma once
// A file's bytes seen through a read-only mapping, for reading a big data file in parts:
// pages come in only as they are touched, so the bar can paint after reading the few that
// the first paint needs. The file stays open shared with readers only, so nobody can write
// or cut it while its bytes are in use.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/handle.h"
#include "model/file_replace.h"

namespace model {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Opens and maps `path` as ReadWholeFile reads it (same waits and limits). An empty file
    // is Ok with no bytes.
    ReadResult Open(const std::wstring& path, size_t maxSize = kMaxDataFileSize,
                    DWORD waitMs = kInUseWaitMs);
    const uint8_t* data() const noexcept { return view_; }
    size_t size() const noexcept { return size_; }
    // Gives back the pages touched so far by mapping the file afresh; data() may move, and
    // nothing may keep pointers into the old view. False when the new view could not be made
    // (then there are no bytes).
    bool Renew();
    // Reads `size` bytes at `offset` from the file itself, past the mapping: pages read this
    // way never count as the mapping's.
    bool ReadAt(uint64_t offset, void* out, size_t size) const;
    // The bytes as a copy of their own.
    std::vector<uint8_t> Copy() const;
    void Close() noexcept;

private:
    fw::FileHandle file_;
    fw::Handle section_;
    const uint8_t* view_ = nullptr;
    size_t size_ = 0;
};

// Whether `path` lies on a fixed local drive, where a mapping's pages cannot fail to come in
// (on a network or removable drive a read error would surface as a fault on a touch).
bool IsOnFixedDrive(const std::wstring& path);

} // namespace model
