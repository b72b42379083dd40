#include "model/keep_aside.h"

#include <windows.h>

#include <algorithm>
#include <mutex>

#include "framework/handle.h"
#include "framework/text.h"

namespace model {
namespace {

constexpr int kAsideNames = 1000;

std::wstring AsideName(const std::wstring& path, const wchar_t* suffix, int n) {
    std::wstring name = path + suffix;
    if (n > 0)
        name += L"." + std::to_wstring(n);
    return name;
}

bool IsNameTaken(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

bool WriteAll(HANDLE file, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written != chunk)
            return false;
        done += written;
    }
    return ::FlushFileBuffers(file) != FALSE;
}

// Paths this run must not write over yet. Replacements ask from the writer thread too.
std::mutex g_lock;
std::vector<std::wstring> g_protected;

std::vector<std::wstring>::iterator FindProtected(const std::wstring& path) {
    return std::find_if(g_protected.begin(), g_protected.end(),
                        [&](const std::wstring& p) { return fw::EqualsNoCase(p, path); });
}

} // namespace

std::wstring SetFileAside(const std::wstring& path) {
    for (int n = 0; n < kAsideNames; ++n) {
        const std::wstring target = AsideName(path, kUnreadableSuffix, n);
        if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (::MoveFileExW(path.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
            return target;
        // A file held open by another program may not be renamed; a copy still keeps the
        // user's data.
        if (::CopyFileW(path.c_str(), target.c_str(), TRUE))
            return target;
        if (!IsNameTaken(::GetLastError()))
            return std::wstring();
    }
    return std::wstring();
}

std::wstring KeepBytesAside(const std::wstring& path, const wchar_t* suffix,
                            const std::vector<uint8_t>& bytes) {
    return WriteUnderFreeName([&](int n) { return AsideName(path, suffix, n); }, bytes);
}

std::wstring WriteUnderFreeName(const std::function<std::wstring(int)>& name,
                                const std::vector<uint8_t>& bytes) {
    for (int n = 0; n < kAsideNames; ++n) {
        const std::wstring target = name(n);
        fw::FileHandle file(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            if (IsNameTaken(::GetLastError()))
                continue;
            return std::wstring();
        }
        const bool written = WriteAll(file.get(), bytes);
        file.reset();
        if (written)
            return target;
        ::DeleteFileW(target.c_str());
        return std::wstring();
    }
    return std::wstring();
}

std::wstring CopyFileAside(const std::wstring& path, const wchar_t* suffix) {
    for (int n = 0; n < kAsideNames; ++n) {
        const std::wstring target = AsideName(path, suffix, n);
        if (::CopyFileW(path.c_str(), target.c_str(), TRUE))
            return target;
        if (!IsNameTaken(::GetLastError()))
            return std::wstring();
    }
    return std::wstring();
}

void ProtectUntilCopied(const std::wstring& path) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (FindProtected(path) == g_protected.end())
        g_protected.push_back(path);
}

bool IsProtected(const std::wstring& path) {
    std::lock_guard<std::mutex> hold(g_lock);
    return FindProtected(path) != g_protected.end();
}

void ReleaseProtection(const std::wstring& path) {
    std::lock_guard<std::mutex> hold(g_lock);
    const auto found = FindProtected(path);
    if (found != g_protected.end())
        g_protected.erase(found);
}

bool ReadyToReplace(const std::wstring& path) {
    std::lock_guard<std::mutex> hold(g_lock);
    const auto found = FindProtected(path);
    if (found == g_protected.end())
        return true;
    // Gone meanwhile: there is nothing left to lose.
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
        ::GetLastError() == ERROR_FILE_NOT_FOUND) {
        g_protected.erase(found);
        return true;
    }
    if (CopyFileAside(path, kKeptSuffix).empty())
        return false;
    g_protected.erase(found);
    return true;
}

void ForgetProtections() {
    std::lock_guard<std::mutex> hold(g_lock);
    g_protected.clear();
}

} // namespace model
