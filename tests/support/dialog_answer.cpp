#include "dialog_answer.h"

#include <vector>

namespace test {
namespace {

struct Search {
    DWORD pid;
    int buttonId;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !::IsWindowVisible(hwnd))
        return TRUE;
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (std::wstring(cls) != L"#32770" || !::GetDlgItem(hwnd, s->buttonId))
        return TRUE;
    s->found = hwnd;
    return FALSE;
}

std::wstring TextOf(HWND hwnd) {
    const int n = ::GetWindowTextLengthW(hwnd);
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 2);
    ::GetWindowTextW(hwnd, buf.data(), static_cast<int>(buf.size()));
    return buf.data();
}

BOOL CALLBACK FindIcon(HWND child, LPARAM lp) {
    if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HICON*>(lp) =
            reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

// A dialog answers messages once its creation is over and its loop runs: then its controls
// are complete and a pressed button is acted on.
void WaitUntilAnswering(HWND dialog) {
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer);
}

} // namespace

HWND FindDialogOf(DWORD pid, int buttonId) {
    Search s{pid ? pid : ::GetCurrentProcessId(), buttonId, nullptr};
    ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

SeenDialog DescribeDialog(HWND dialog) {
    SeenDialog seen;
    seen.hwnd = dialog;
    seen.owner = ::GetWindow(dialog, GW_OWNER);
    seen.caption = TextOf(dialog);
    if (HWND message = ::GetDlgItem(dialog, 0xFFFF))
        seen.text = TextOf(message);
    seen.hasYes = ::GetDlgItem(dialog, IDYES) != nullptr;
    seen.hasNo = ::GetDlgItem(dialog, IDNO) != nullptr;
    seen.hasOk = ::GetDlgItem(dialog, IDOK) != nullptr;
    seen.hasCancel = ::GetDlgItem(dialog, IDCANCEL) != nullptr;
    ::EnumChildWindows(dialog, &FindIcon, reinterpret_cast<LPARAM>(&seen.icon));
    RECT r{};
    if (::GetWindowRect(dialog, &r)) {
        const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        HWND there = ::GetAncestor(::WindowFromPoint(centre), GA_ROOT);
        seen.inFront = there == dialog;
        if (!seen.inFront && there)
            seen.coveredBy = TextOf(there);
    }
    return seen;
}

void PressButton(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

DialogAnswerer::DialogAnswerer(int buttonId, DWORD pid, DWORD timeoutMs,
                               std::function<void(HWND)> prepare) {
    thread_ = std::thread([this, buttonId, pid, timeoutMs, prepare] {
        const ULONGLONG end = ::GetTickCount64() + timeoutMs;
        while (::GetTickCount64() < end) {
            if (HWND dialog = FindDialogOf(pid, buttonId)) {
                WaitUntilAnswering(dialog);
                seen_ = DescribeDialog(dialog);
                if (prepare)
                    prepare(dialog);
                PressButton(dialog, buttonId);
                answered_ = true;
                return;
            }
            ::Sleep(20);
        }
    });
}

DialogAnswerer::~DialogAnswerer() {
    Finish();
}

bool DialogAnswerer::Finish() {
    if (thread_.joinable())
        thread_.join();
    return answered_;
}

DialogAutoAnswerer::DialogAutoAnswerer(int buttonId, DWORD pid) {
    thread_ = std::thread([this, buttonId, pid] {
        HWND last = nullptr;
        while (!stop_) {
            HWND dialog = FindDialogOf(pid, buttonId);
            if (dialog && dialog != last) {
                WaitUntilAnswering(dialog);
                PressButton(dialog, buttonId);
                last = dialog;
                ++answered_;
            }
            ::Sleep(20);
        }
    });
}

DialogAutoAnswerer::~DialogAutoAnswerer() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

} // namespace test
