#include "startup_wait.h"

#include "test_util.h"

namespace test {
namespace {

struct ProgressSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchProgress(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<ProgressSearch*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t text[64] = {};
    ::GetWindowTextW(hwnd, text, 64);
    if (pid != s->pid || std::wstring(text) != L"Preparing larkRunBar...")
        return TRUE;
    s->found = hwnd;
    return FALSE;
}

} // namespace

HWND FindProgressWindow(DWORD pid) {
    ProgressSearch s{pid, nullptr};
    ::EnumWindows(&MatchProgress, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool WaitForStartupDone(DWORD pid, HWND bar, const std::wstring& dataFile, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    auto left = [&] {
        const ULONGLONG now = ::GetTickCount64();
        return static_cast<DWORD>(now < end ? end - now : 0);
    };
    // The file is written before the progress window goes; after that the bar's thread
    // answers only from its main loop.
    if (!WaitUntil([&] { return FileExists(dataFile); }, left()))
        return false;
    if (!WaitUntil([&] { return FindProgressWindow(pid) == nullptr; }, left()))
        return false;
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_NORMAL, left(), &answer) != 0;
}

} // namespace test
