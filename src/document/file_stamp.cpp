#include "document/file_stamp.h"

#include <cwchar>

#include "model/file_replace.h"
#include "model/keep_aside.h"

namespace document {

bool SameContent(const FileStamp& a, const FileStamp& b) noexcept {
    if (a.present != b.present)
        return false;
    return !a.present || (a.size == b.size && a.hash == b.hash);
}

FileStamp StampOfBytes(const std::vector<uint8_t>& bytes, uint64_t lastWrite) {
    // FNV-1a: a change of any byte shows; the file is never trusted to be small.
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return FileStamp{true, bytes.size(), lastWrite, hash};
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
