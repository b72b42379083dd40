#include "model/mapped_file.h"

#include <algorithm>
#include <utility>

namespace model {

MappedFile::~MappedFile() {
    Close();
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : file_(std::move(other.file_)), section_(std::move(other.section_)),
      view_(std::exchange(other.view_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        Close();
        file_ = std::move(other.file_);
        section_ = std::move(other.section_);
        view_ = std::exchange(other.view_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void MappedFile::Close() noexcept {
    if (view_)
        ::UnmapViewOfFile(view_);
    view_ = nullptr;
    size_ = 0;
    section_.reset();
    file_.reset();
}

ReadResult MappedFile::Open(const std::wstring& path, size_t maxSize, DWORD waitMs) {
    Close();
    size_t size = 0;
    const ReadResult opened =
        OpenForReading(path, FILE_FLAG_RANDOM_ACCESS, maxSize, waitMs, file_, size);
    if (opened != ReadResult::Ok || size == 0)
        return opened; // an empty file cannot be mapped, and has no bytes to map
    section_.reset(::CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!section_) {
        Close();
        return ReadResult::Failed;
    }
    size_ = size;
    if (!Renew())
        return ReadResult::Failed;
    return ReadResult::Ok;
}

bool MappedFile::Renew() {
    if (!section_)
        return false;
    // The new view is made before the old one goes, so it never lies where the old one did:
    // a pointer kept into the old view by mistake faults at once instead of reading on.
    const auto* view =
        static_cast<const uint8_t*>(::MapViewOfFile(section_.get(), FILE_MAP_READ, 0, 0, 0));
    if (view_)
        ::UnmapViewOfFile(view_);
    view_ = view;
    if (!view_) {
        Close();
        return false;
    }
    return true;
}

bool MappedFile::ReadAt(uint64_t offset, void* out, size_t size) const {
    if (!file_ || offset > size_ || size > size_ - offset)
        return false;
    auto* to = static_cast<uint8_t*>(out);
    while (size > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(file_.get(), to, chunk, &got, &at) || got == 0)
            return false;
        to += got;
        offset += got;
        size -= got;
    }
    return true;
}

std::vector<uint8_t> MappedFile::Copy() const {
    return view_ ? std::vector<uint8_t>(view_, view_ + size_) : std::vector<uint8_t>();
}

bool IsOnFixedDrive(const std::wstring& path) {
    wchar_t volume[MAX_PATH] = {};
    if (!::GetVolumePathNameW(path.c_str(), volume, MAX_PATH))
        return false;
    return ::GetDriveTypeW(volume) == DRIVE_FIXED;
}

} // namespace model
