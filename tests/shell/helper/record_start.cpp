// lark_record_start.exe: a program for the launcher tests to start. It writes how it was
// started (command line, working folder, show state) to the file named by the environment
// variable LARK_RECORD_FILE, as UTF-8 lines "cmdline=", "cwd=", "show=".
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                              n, nullptr, nullptr);
    return out;
}

} // namespace

int main() {
    wchar_t target[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"LARK_RECORD_FILE", target, MAX_PATH))
        return 2;
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    ::GetStartupInfoW(&si);
    const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;

    const std::string record = "cmdline=" + Utf8(::GetCommandLineW()) + "\ncwd=" + Utf8(cwd) +
                               "\nshow=" + std::to_string(show) + "\n";
    // Written under another name and renamed, so a reader never sees half a record.
    const std::wstring temp = std::wstring(target) + L".part";
    HANDLE f = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return 3;
    DWORD put = 0;
    ::WriteFile(f, record.data(), static_cast<DWORD>(record.size()), &put, nullptr);
    ::CloseHandle(f);
    return ::MoveFileExW(temp.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
