#include "lark_process.h"

#include <tlhelp32.h>
#include <shlobj.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include <gtest/gtest.h>

namespace test {
namespace {
const wchar_t kTitle[] = L"larkRunBar ";
// How often a start the system refuses is tried, and how long a killed process may take to
// go away on a busy machine.
constexpr int kStartAttempts = 4;
constexpr DWORD kKillWaitMs = 30000;

struct Find {
    DWORD pid;
    HWND found;
    int count;
};

// The bar is the window of its title that nothing owns: its message boxes bear the same
// title, and one may still be there, hidden, right after it was answered.
bool IsBarWindow(HWND hwnd) {
    wchar_t text[64] = {};
    ::GetWindowTextW(hwnd, text, 64);
    return std::wstring(text) == kTitle && !::GetWindow(hwnd, GW_OWNER);
}

BOOL CALLBACK FindBar(HWND hwnd, LPARAM lp) {
    auto* f = reinterpret_cast<Find*>(lp);
    if (!IsBarWindow(hwnd))
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

// The bar windows of process `pid`.
std::vector<HWND> BarWindowsOf(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid && IsBarWindow(hwnd))
                s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Ends `process` and waits until it is gone; reports what fails. The shell keeps the edge
// of a killed application bar reserved (Wine does): it is given back, or every later bar
// of the run would be placed beside a bar that no longer exists.
void TerminateAndWait(HANDLE process, DWORD pid) {
    const std::vector<HWND> bars = BarWindowsOf(pid);
    struct GiveBackEdges {
        const std::vector<HWND>& bars;
        ~GiveBackEdges() {
            for (HWND bar : bars) {
                APPBARDATA data{};
                data.cbSize = sizeof(data);
                data.hWnd = bar;
                ::SHAppBarMessage(ABM_REMOVE, &data);
            }
        }
    } giveBack{bars};
    if (!::TerminateProcess(process, 99)) {
        const DWORD error = ::GetLastError();
        // A process that has just ended refuses with access denied.
        if (::WaitForSingleObject(process, 0) != WAIT_OBJECT_0)
            ReportSystemError("TerminateProcess(LarkB " + std::to_string(pid) + ")", error);
    }
    const DWORD wait = ::WaitForSingleObject(process, kKillWaitMs);
    if (wait == WAIT_FAILED)
        ReportSystemError("WaitForSingleObject(LarkB " + std::to_string(pid) + ")",
                          ::GetLastError());
    else if (wait != WAIT_OBJECT_0)
        ADD_FAILURE() << "LarkB " << pid << " still runs " << kKillWaitMs
                      << " ms after it was terminated";
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

void LarkProcess::SetProblem(std::string text) {
    problem_ = std::move(text);
    // Also in the log, for callers that assert without printing it.
    std::printf("[ LarkProcess ] %s\n", problem_.c_str());
    std::fflush(stdout);
}

bool LarkProcess::Start(const std::wstring& arguments) {
    problem_.clear();
    bar_ = nullptr;
    if (::GetFileAttributesW(exe_.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        SetProblem("the program " + Narrow(exe_) + " is not there: " + SystemErrorText(error));
        ReportSystemError("GetFileAttributesW(" + Narrow(exe_) + ")", error);
        return false;
    }
    std::wstring cmd = L"\"" + exe_ + L"\"";
    if (!arguments.empty())
        cmd += L" " + arguments;
    std::string refusals;
    for (int attempt = 1; attempt <= kStartAttempts; ++attempt) {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        std::wstring line = cmd; // CreateProcessW may write into its command line
        if (::CreateProcessW(exe_.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &si, &pi)) {
            ::CloseHandle(pi.hThread);
            process_.reset(pi.hProcess);
            pid_ = pi.dwProcessId;
            if (!refusals.empty())
                SetProblem("started at attempt " + std::to_string(attempt) + " after" + refusals);
            problem_.clear();
            return true;
        }
        refusals +=
            " [attempt " + std::to_string(attempt) + ": " + SystemErrorText(::GetLastError()) + "]";
        // Give a busy machine time before the next attempt.
        PumpMessages(500u * static_cast<DWORD>(attempt));
    }
    SetProblem("CreateProcessW(" + Narrow(exe_) + ") refused every start:" + refusals);
    ADD_FAILURE() << problem_;
    return false;
}

HWND LarkProcess::WaitForBar(DWORD timeoutMs) {
    problem_.clear();
    WaitUntil(
        [&] {
            Find f{pid_, nullptr, 0};
            ::EnumWindows(&FindBar, reinterpret_cast<LPARAM>(&f));
            bar_ = f.found;
            return bar_ != nullptr || !IsRunning();
        },
        timeoutMs);
    if (!bar_) {
        if (IsRunning())
            SetProblem("no bar window of process " + std::to_string(pid_) + " within " +
                       std::to_string(timeoutMs) + " ms");
        else
            SetProblem("process " + std::to_string(pid_) + " ended (exit code " +
                       std::to_string(ExitCode()) + ") without a bar window");
    }
    return bar_;
}

bool LarkProcess::WaitUntilIdle(DWORD timeoutMs) {
    problem_.clear();
    DWORD_PTR answer = 0;
    if (bar_ && ::SendMessageTimeoutW(bar_, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &answer))
        return true;
    const DWORD error = ::GetLastError();
    SetProblem("the bar " + std::string(bar_
                                            ? "did not answer within " + std::to_string(timeoutMs) +
                                                  " ms: " + SystemErrorText(error)
                                            : "is not known"));
    return false;
}

bool LarkProcess::WaitForExit(DWORD timeoutMs) {
    problem_.clear();
    if (!process_)
        return true;
    if (WaitUntil([&] { return !IsRunning(); }, timeoutMs))
        return true;
    SetProblem("process " + std::to_string(pid_) + " still runs after " +
               std::to_string(timeoutMs) + " ms");
    return false;
}

bool LarkProcess::Exit(DWORD timeoutMs) {
    constexpr UINT kExitCommand = 32774;
    if (!bar_) {
        SetProblem("Exit without a bar window");
        return false;
    }
    if (!::PostMessageW(bar_, WM_COMMAND, MAKEWPARAM(kExitCommand, 0), 0)) {
        const DWORD error = ::GetLastError();
        SetProblem("PostMessageW(Exit) failed: " + SystemErrorText(error));
        return false;
    }
    return WaitForExit(timeoutMs);
}

bool LarkProcess::IsRunning() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

DWORD LarkProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_ && !::GetExitCodeProcess(process_.get(), &code))
        ReportSystemError("GetExitCodeProcess", ::GetLastError());
    return code;
}

void LarkProcess::Kill() {
    if (IsRunning())
        TerminateAndWait(process_.get(), pid_);
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
        ReportSystemError("CreateToolhelp32Snapshot", ::GetLastError());
        return;
    }
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof(pe);
    for (BOOL ok = ::Process32FirstW(snap.get(), &pe); ok; ok = ::Process32NextW(snap.get(), &pe)) {
        if (_wcsicmp(pe.szExeFile, L"LarkB.exe") != 0)
            continue;
        fw::Handle p(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION,
                                   FALSE, pe.th32ProcessID));
        if (p) {
            TerminateAndWait(p.get(), pe.th32ProcessID);
        } else {
            const DWORD error = ::GetLastError();
            // One that ended since the snapshot was taken cannot be opened any more.
            if (error != ERROR_INVALID_PARAMETER)
                ReportSystemError("OpenProcess(LarkB " + std::to_string(pe.th32ProcessID) + ")",
                                  error);
        }
    }
}

std::wstring DataFolder() {
    wchar_t path[MAX_PATH] = {};
    const HRESULT hr = ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
    if (FAILED(hr))
        ReportSystemError("SHGetFolderPathW(CSIDL_APPDATA)", static_cast<DWORD>(hr));
    return std::wstring(path) + L"\\Tarvo\\LarkRunBar";
}

} // namespace test

namespace test {
std::wstring CopyProgramAlone(const std::wstring& folder) {
    const std::wstring source = LarkProcess::DefaultExePath();
    const std::wstring target = folder + L"\\LarkB.exe";
    if (!::CopyFileW(source.c_str(), target.c_str(), FALSE))
        ReportSystemError("CopyFileW(" + Narrow(source) + " -> " + Narrow(target) + ")",
                          ::GetLastError());
    return target;
}
} // namespace test
