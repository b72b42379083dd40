#include "lark_process.h"

#include <tlhelp32.h>
#include <shlobj.h>

#include "test_util.h"

namespace test {
namespace {
const wchar_t kTitle[] = L"larkRunBar ";

struct Find {
    DWORD pid;
    HWND found;
    int count;
};

BOOL CALLBACK FindBar(HWND hwnd, LPARAM lp) {
    auto* f = reinterpret_cast<Find*>(lp);
    wchar_t text[64] = {};
    ::GetWindowTextW(hwnd, text, 64);
    if (std::wstring(text) != kTitle)
        return TRUE;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    ++f->count;
    if (f->pid == 0 || pid == f->pid) {
        f->found = hwnd;
        if (f->pid)
            return FALSE;
    }
    return TRUE;
}
} // namespace

LarkProcess::LarkProcess(std::wstring exePath)
    : exe_(exePath.empty() ? DefaultExePath() : std::move(exePath)) {}

LarkProcess::~LarkProcess() {
    if (IsRunning())
        Kill();
}

std::wstring LarkProcess::DefaultExePath() {
    return ExeFolder() + L"LarkB.exe";
}

bool LarkProcess::Start(const std::wstring& arguments) {
    std::wstring cmd = L"\"" + exe_ + L"\"";
    if (!arguments.empty())
        cmd += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(exe_.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    pid_ = pi.dwProcessId;
    bar_ = nullptr;
    return true;
}

HWND LarkProcess::WaitForBar(DWORD timeoutMs) {
    WaitUntil(
        [&] {
            Find f{pid_, nullptr, 0};
            ::EnumWindows(&FindBar, reinterpret_cast<LPARAM>(&f));
            bar_ = f.found;
            return bar_ != nullptr || !IsRunning();
        },
        timeoutMs);
    return bar_;
}

bool LarkProcess::WaitForExit(DWORD timeoutMs) {
    if (!process_)
        return true;
    return WaitUntil([&] { return !IsRunning(); }, timeoutMs);
}

bool LarkProcess::Exit(DWORD timeoutMs) {
    constexpr UINT kExitCommand = 32774;
    if (!bar_ || !::PostMessageW(bar_, WM_COMMAND, MAKEWPARAM(kExitCommand, 0), 0))
        return false;
    return WaitForExit(timeoutMs);
}

bool LarkProcess::IsRunning() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

DWORD LarkProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_)
        ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

void LarkProcess::Kill() {
    if (IsRunning()) {
        ::TerminateProcess(process_.get(), 99);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

int CountBarWindows() {
    Find f{0, nullptr, 0};
    ::EnumWindows(&FindBar, reinterpret_cast<LPARAM>(&f));
    return f.count;
}

void KillAllLarkProcesses() {
    fw::Handle snap(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap || snap.get() == INVALID_HANDLE_VALUE) {
        snap.release();
        return;
    }
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof(pe);
    for (BOOL ok = ::Process32FirstW(snap.get(), &pe); ok; ok = ::Process32NextW(snap.get(), &pe)) {
        if (_wcsicmp(pe.szExeFile, L"LarkB.exe") != 0)
            continue;
        fw::Handle p(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pe.th32ProcessID));
        if (p) {
            ::TerminateProcess(p.get(), 99);
            ::WaitForSingleObject(p.get(), 5000);
        }
    }
}

std::wstring DataFolder() {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
    return std::wstring(path) + L"\\Tarvo\\LarkRunBar";
}

} // namespace test

namespace test {
std::wstring CopyProgramAlone(const std::wstring& folder) {
    const std::wstring target = folder + L"\\LarkB.exe";
    ::CopyFileW(LarkProcess::DefaultExePath().c_str(), target.c_str(), FALSE);
    return target;
}
} // namespace test
