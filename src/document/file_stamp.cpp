#include "document/file_stamp.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "model/file_replace.h"
#include "model/keep_aside.h"

namespace document {

bool SameContent(const FileStamp& a, const FileStamp& b) noexcept {
    if (a.present != b.present)
        return false;
    return !a.present || (a.size == b.size && a.hash == b.hash);
}

namespace {

constexpr uint64_t kPrime = 0x100000001B3ull;

// xor, multiply, and fold the high half down: a change in any bit reaches every later bit.
uint64_t Mix(uint64_t lane, uint64_t word) noexcept {
    lane = (lane ^ word) * kPrime;
    return lane ^ (lane >> 29);
}

} // namespace

void StampHash::Block(const uint8_t* block) noexcept {
    for (int i = 0; i < 4; ++i) {
        uint64_t word;
        std::memcpy(&word, block + 8 * i, sizeof(word));
        lanes_[i] = Mix(lanes_[i], word);
    }
}

void StampHash::Add(const uint8_t* data, size_t size) noexcept {
    size_ += size;
    if (pendingSize_) {
        const size_t take = std::min(size, sizeof(pending_) - pendingSize_);
        std::memcpy(pending_ + pendingSize_, data, take);
        pendingSize_ += take;
        data += take;
        size -= take;
        if (pendingSize_ < sizeof(pending_))
            return;
        Block(pending_);
        pendingSize_ = 0;
    }
    for (; size >= sizeof(pending_); data += sizeof(pending_), size -= sizeof(pending_))
        Block(data);
    std::memcpy(pending_, data, size);
    pendingSize_ = size;
}

FileStamp StampHash::Stamp(uint64_t lastWrite) const noexcept {
    uint64_t hash = size_;
    for (size_t i = 0; i < pendingSize_; ++i)
        hash = Mix(hash, pending_[i] | (uint64_t{i} << 8));
    for (uint64_t lane : lanes_)
        hash = Mix(hash, lane);
    return FileStamp{true, size_, lastWrite, Mix(hash, hash >> 17)};
}

FileStamp StampOfBytes(const std::vector<uint8_t>& bytes, uint64_t lastWrite) {
    StampHash hash;
    hash.Add(bytes.data(), bytes.size());
    return hash.Stamp(lastWrite);
}

std::optional<FileStamp> ReadFileStamp(const std::wstring& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    // The time first: read after the bytes, it could belong to a newer file.
    WIN32_FILE_ATTRIBUTE_DATA data{};
    uint64_t lastWrite = 0;
    if (::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        lastWrite = (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
    switch (model::ReadWholeFile(path, bytes, model::kMaxDataFileSize, 0)) {
    case model::ReadResult::Ok:
        return StampOfBytes(bytes, lastWrite);
    case model::ReadResult::Missing:
        return FileStamp{};
    default:
        return std::nullopt;
    }
}

FileAction DecideFileAction(const FileStamp& remembered, const std::optional<FileStamp>& current,
                            bool editPending) noexcept {
    if (!current)
        return FileAction::Wait;
    // Gone (deleted, or a sync tool between removing and writing it): nothing to read, and
    // nothing of anyone's is written over by a save.
    if (SameContent(remembered, *current) || !current->present)
        return editPending ? FileAction::Save : FileAction::None;
    return editPending ? FileAction::KeepOtherThenSave : FileAction::Reload;
}

std::wstring OtherVersionName(const std::wstring& path, const SYSTEMTIME& when, int n) {
    const size_t slash = path.find_last_of(L"\\/");
    size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        dot = path.size();
    wchar_t tag[64];
    std::swprintf(tag, 64, L" (other %04u-%02u-%02u %02u%02u", when.wYear, when.wMonth, when.wDay,
                  when.wHour, when.wMinute);
    std::wstring name = path.substr(0, dot) + tag;
    if (n > 1)
        name += L" " + std::to_wstring(n);
    return name + L")" + path.substr(dot);
}

std::wstring KeepOtherVersion(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return model::WriteUnderFreeName([&](int n) { return OtherVersionName(path, now, n + 1); },
                                     bytes);
}

} // namespace document
