#include "model/file_replace.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "framework/handle.h"
#include "model/keep_aside.h"

namespace model {
namespace {

constexpr DWORD kSharingRetryMs = 100;

constexpr int kReplacementNames = 100;

bool IsSharingError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// CreateFile's answers for a name that something else has (a file, or a folder).
bool IsNameTaken(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
           error == ERROR_ACCESS_DENIED || IsSharingError(error);
}

} // namespace

ReadResult OpenForReading(const std::wstring& path, DWORD flags, size_t maxSize, DWORD waitMs,
                          fw::FileHandle& file, size_t& size) {
    // Another program (a backup, a virus scanner) may hold the file for a while.
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        file.reset(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, flags, nullptr));
        if (file)
            break;
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return ReadResult::Missing;
        if (!IsSharingError(error))
            return ReadResult::Failed;
        if (::GetTickCount64() - start >= waitMs)
            return ReadResult::InUse;
        ::Sleep(kSharingRetryMs);
    }
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(file.get(), &length) || length.QuadPart < 0 ||
        static_cast<uint64_t>(length.QuadPart) > maxSize) {
        file.reset();
        return ReadResult::Failed;
    }
    size = static_cast<size_t>(length.QuadPart);
    return ReadResult::Ok;
}

ReadResult ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& out, size_t maxSize,
                         DWORD waitMs) {
    out.clear();
    fw::FileHandle file;
    size_t size = 0;
    const ReadResult opened =
        OpenForReading(path, FILE_FLAG_SEQUENTIAL_SCAN, maxSize, waitMs, file, size);
    if (opened != ReadResult::Ok)
        return opened;
    try {
        out.resize(size);
    } catch (const std::bad_alloc&) {
        return ReadResult::Failed;
    }
    size_t done = 0;
    while (done < out.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(file.get(), out.data() + done, chunk, &got, nullptr))
            return ReadResult::Failed;
        if (got == 0)
            break;
        done += got;
    }
    out.resize(done); // a file that shrank while being read is read as far as it goes
    return ReadResult::Ok;
}

std::wstring ReplacementName(const std::wstring& path, int n) {
    std::wstring name = path + L".saving";
    if (n > 0)
        name += L"." + std::to_wstring(n);
    return name;
}

Replacement::~Replacement() {
    Discard();
}

bool Replacement::Open() {
    Discard();
    for (int n = 0; n < kReplacementNames; ++n) {
        const std::wstring name = ReplacementName(path_, n);
        // Never opened over an existing file: that one belongs to another write (or to a
        // run that was killed), which may still move or remove it.
        file_.reset(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file_) {
            temp_ = name;
            return true;
        }
        if (!IsNameTaken(::GetLastError()))
            return false;
    }
    return false;
}

bool Replacement::Write(const uint8_t* data, size_t size) {
    if (!file_)
        return false;
    bool ok = true;
    size_t done = 0;
    while (ok && done < size) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
        DWORD written = 0;
        ok = ::WriteFile(file_.get(), data + done, chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    // The new content must be on the disk before the name points at it.
    ok = ok && ::FlushFileBuffers(file_.get());
    file_.reset();
    if (!ok)
        Discard();
    return ok;
}

bool Replacement::SwapIn() {
    if (temp_.empty() || file_)
        return false;
    if (ReadyToReplace(path_) &&
        ::MoveFileExW(temp_.c_str(), path_.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        temp_.clear(); // it is the file now
        return true;
    }
    Discard();
    return false;
}

void Replacement::Discard() {
    file_.reset();
    if (!temp_.empty()) {
        ::DeleteFileW(temp_.c_str());
        temp_.clear();
    }
}

bool ReplaceFileAtomically(const std::wstring& path, const uint8_t* data, size_t size) {
    Replacement replacement(path);
    return replacement.Open() && replacement.Write(data, size) && replacement.SwapIn();
}

void RemoveLeftoverReplacements(const std::wstring& path) {
    // One look at the folder rather than a deletion tried for every name (each a round trip
    // to the file system at every start); only names of ours go.
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder =
        slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    const std::wstring name = path.substr(folder.size());
    std::vector<std::wstring> ours;
    for (int n = 0; n < kReplacementNames; ++n)
        ours.push_back(ReplacementName(name, n));
    WIN32_FIND_DATAW found{};
    const fw::FindHandle find(::FindFirstFileW((path + L".saving*").c_str(), &found));
    if (!find)
        return;
    std::vector<std::wstring> gone;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            std::find_if(ours.begin(), ours.end(), [&](const std::wstring& our) {
                return ::lstrcmpiW(our.c_str(), found.cFileName) == 0;
            }) != ours.end())
            gone.push_back(folder + found.cFileName);
    } while (::FindNextFileW(find.get(), &found));
    for (const std::wstring& name : gone)
        ::DeleteFileW(name.c_str()); // fails for one still open
}

} // namespace model
