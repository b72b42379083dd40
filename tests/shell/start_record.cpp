#include "start_record.h"

#include <tlhelp32.h>

#include "support/test_util.h"

namespace shelltest {

std::wstring HelperPath() {
    return test::ExeFolder() + L"lark_record_start.exe";
}

void RecordInto(const std::wstring& file) {
    ::DeleteFileW(file.c_str());
    ::SetEnvironmentVariableW(L"LARK_RECORD_FILE", file.c_str());
}

namespace {
bool HelperRuns() {
    const HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return true;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = ::Process32FirstW(snap, &entry); more && !found;
         more = ::Process32NextW(snap, &entry))
        found = ::lstrcmpiW(entry.szExeFile, L"lark_record_start.exe") == 0;
    ::CloseHandle(snap);
    return found;
}
} // namespace

bool WaitForHelpersGone(DWORD barProcess, DWORD timeoutMs) {
    return test::WaitUntil(
        [&] {
            DWORD owner = 0;
            if (const HWND fg = ::GetForegroundWindow())
                ::GetWindowThreadProcessId(fg, &owner);
            const bool ours = owner == 0 || owner == ::GetCurrentProcessId() || owner == barProcess;
            return !HelperRuns() && ours;
        },
        timeoutMs);
}

bool WaitForRecord(const std::wstring& file, StartRecord& record, DWORD timeoutMs) {
    // Read until the whole record is there: the helper's rename may still hold the file a
    // moment after its name appears, and a read then sees nothing.
    std::string text;
    if (!test::WaitUntil(
            [&] {
                const std::vector<uint8_t> bytes = test::ReadFileBytes(file);
                text.assign(bytes.begin(), bytes.end());
                return text.find("\nshow=") != std::string::npos;
            },
            timeoutMs))
        return false;
    auto field = [&](const std::string& key) {
        const size_t at = text.find(key + "=");
        if (at == std::string::npos)
            return std::wstring();
        const size_t start = at + key.size() + 1;
        const std::string value = text.substr(start, text.find('\n', start) - start);
        std::wstring out(value.size(), L'\0');
        const int n =
            ::MultiByteToWideChar(CP_UTF8, 0, value.data(), static_cast<int>(value.size()),
                                  out.data(), static_cast<int>(out.size()));
        out.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return out;
    };
    record.commandLine = field("cmdline");
    record.workDir = field("cwd");
    record.show = _wtoi(field("show").c_str());
    return true;
}

std::wstring ArgumentsOf(const std::wstring& commandLine) {
    size_t pos = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        pos = commandLine.find(L'"', 1);
        pos = pos == std::wstring::npos ? commandLine.size() : pos + 1;
    } else {
        pos = commandLine.find(L' ');
        if (pos == std::wstring::npos)
            pos = commandLine.size();
    }
    while (pos < commandLine.size() && commandLine[pos] == L' ')
        ++pos;
    return commandLine.substr(pos);
}

bool SamePath(std::wstring a, std::wstring b) {
    while (!a.empty() && a.back() == L'\\')
        a.pop_back();
    while (!b.empty() && b.back() == L'\\')
        b.pop_back();
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

} // namespace shelltest
