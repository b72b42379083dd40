#include "test_util.h"

#include <gtest/gtest.h>

#include "framework/handle.h"
#include "framework/resources.h"

namespace test {

std::string SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n ? std::wstring(text, n) : std::wstring();
    if (text)
        ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
        message.pop_back();
    return "error " + std::to_string(error) + (message.empty() ? "" : " (" + Narrow(message) + ")");
}

void ReportSystemError(const std::string& step, DWORD error) {
    ADD_FAILURE() << step << " failed: " << SystemErrorText(error);
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        out += (c > 0 && c < 0x80) ? static_cast<char>(c) : '?';
    return out;
}

TempDir::TempDir() {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(base) + L"lark_test_" + std::to_wstring(::GetCurrentProcessId()) +
                L"_" + std::to_wstring(++counter);
        if (::CreateDirectoryW(path_.c_str(), nullptr))
            break;
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS) {
            ReportSystemError("CreateDirectoryW(" + Narrow(path_) + ")", error);
            break;
        }
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd{};
    fw::FindHandle find(::FindFirstFileW((path + L"\\*").c_str(), &fd));
    if (find) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = path + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(full.c_str());
            }
        } while (::FindNextFileW(find.get(), &fd));
    }
    find.reset();
    ::RemoveDirectoryW(path.c_str());
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
    fw::FileHandle f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    std::vector<uint8_t> out;
    if (!f)
        return out;
    LARGE_INTEGER size{};
    ::GetFileSizeEx(f.get(), &size);
    out.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!out.empty())
        ::ReadFile(f.get(), out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
    out.resize(got);
    return out;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    fw::FileHandle f(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!f) {
        ReportSystemError("CreateFileW(" + Narrow(path) + ")", ::GetLastError());
        return false;
    }
    DWORD put = 0;
    if (bytes.empty())
        return true;
    if (!::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr)) {
        ReportSystemError("WriteFile(" + Narrow(path) + ")", ::GetLastError());
        return false;
    }
    return put == bytes.size();
}

bool WriteTextFile(const std::wstring& path, const std::string& utf8) {
    return WriteFileBytes(path, std::vector<uint8_t>(utf8.begin(), utf8.end()));
}

void DeleteProductKey() {
    const LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        ReportSystemError("RegDeleteTreeW(product key)", static_cast<DWORD>(status));
}

void WriteRegRaw(const std::wstring& subkey, const wchar_t* name, DWORD type, const void* data,
                 DWORD size) {
    fw::RegKey key;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0,
                                       KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) {
        ReportSystemError("RegCreateKeyExW(" + Narrow(subkey) + ")", static_cast<DWORD>(status));
        return;
    }
    status = ::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size);
    if (status != ERROR_SUCCESS)
        ReportSystemError("RegSetValueExW(" + Narrow(name) + ")", static_cast<DWORD>(status));
}

void WriteRegDword(const std::wstring& subkey, const wchar_t* name, DWORD value) {
    WriteRegRaw(subkey, name, REG_DWORD, &value, sizeof(value));
}

bool ReadRegDwordValue(const std::wstring& subkey, const wchar_t* name, DWORD& value) {
    DWORD type = 0, size = sizeof(value);
    return ::RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name, RRF_RT_ANY, &type, &value,
                          &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof(DWORD);
}

std::wstring ExeFolder() {
    return fw::ProgramFolder();
}

void PumpMessages(DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    MSG msg;
    do {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount64() < end);
}

} // namespace test
