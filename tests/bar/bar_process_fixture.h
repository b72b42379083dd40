#pragma once
// The bar window tests drive the real program: start it, post commands and notifications to
// its window, move the real mouse, and read the window and the registry back.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "rect_compare.h"
#include "support/lark_process.h"
#include "support/prepared_data.h"
#include "support/test_util.h"

namespace bartest {

inline const std::wstring kAppBarInfo = std::wstring(test::kProductKey) + L"\\AppBarInfo";
inline const std::wstring kPreferences = std::wstring(test::kProductKey) + L"\\Preferences";

enum : UINT {
    kLeft = 34000,
    kTop = 34001,
    kRight = 34002,
    kBottom = 34003,
    kCenter = 34004,
    kTrayOnly = 34005,
    kAlwaysOnTop = 32771,
    kAutoHide = 32772,
    kExit = 32774,
    kTabView = 33086,
    kSmallButtons = 1500,
};

inline RECT WindowRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

inline bool IsTopmost(HWND hwnd) {
    return (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

inline int32_t ReadPlacementValue(const wchar_t* name) {
    DWORD value = 0xDEADBEEF;
    test::ReadRegDwordValue(kAppBarInfo, name, value);
    return static_cast<int32_t>(value);
}

inline int32_t ReadPreference(const wchar_t* name) {
    DWORD value = 0xDEADBEEF;
    test::ReadRegDwordValue(kPreferences, name, value);
    return static_cast<int32_t>(value);
}

// Real input: the cursor jumps to a screen point; returns once the system has it there.
inline void MouseTo(POINT p) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN);
    const int h = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((static_cast<int64_t>(p.x) * 65536 + w - 1) / w);
    in.mi.dy = static_cast<LONG>((static_cast<int64_t>(p.y) * 65536 + h - 1) / h);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (::SendInput(1, &in, sizeof(in)) != 1)
        test::ReportSystemError("SendInput(move)", ::GetLastError());
    POINT at{};
    EXPECT_TRUE(test::WaitUntil([&] { return ::GetCursorPos(&at) && at.x == p.x && at.y == p.y; },
                                test::kPatientMs))
        << "cursor at " << at.x << "," << at.y << " instead of " << p.x << "," << p.y;
}

inline void LeftButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    if (::SendInput(1, &in, sizeof(in)) != 1)
        test::ReportSystemError(down ? "SendInput(left down)" : "SendInput(left up)",
                                ::GetLastError());
    const bool wanted = down;
    EXPECT_TRUE(
        test::WaitUntil([&] { return ((::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0) == wanted; },
                        test::kPatientMs));
}

// True while the thread of `window` runs the system's move or size loop.
inline bool InMoveSizeLoop(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    return ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE) != 0;
}

// Presses the left button at `at` on the bar and returns once the bar's move or size loop
// runs, so the moves that follow are the loop's. The bar answers a press on its client area
// with a drag only while the button is down in the asynchronous key state, which Wine answers
// from a cache up to 50 ms old: a press handled right after the move to it can be taken for
// a plain click. Such a press is released and made again, each time with more patience.
inline void PressToDrag(HWND bar, POINT at) {
    DWORD patience = 2000;
    for (int attempt = 1; attempt <= 5; ++attempt, patience *= 2) {
        MouseTo(at);
        test::PumpMessages(100);
        LeftButton(true);
        if (test::WaitUntil([&] { return InMoveSizeLoop(bar); }, patience))
            return;
        LeftButton(false);
        // A loop that began just as the button went up ends by itself.
        test::WaitUntil([&] { return !InMoveSizeLoop(bar); }, test::kPatientMs);
        std::printf("[ PressToDrag ] attempt %d at %ld,%ld started no move or size loop\n", attempt,
                    static_cast<long>(at.x), static_cast<long>(at.y));
    }
    ADD_FAILURE() << "no press at " << at.x << "," << at.y << " started a move or size loop";
}

// Makes the bar's thread handle everything posted to it before (commands, notifications).
inline void Settle(HWND bar) {
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_NORMAL, test::kPatientMs, &answer))
        << test::SystemErrorText(::GetLastError());
}

// Releases the button and returns once the bar's loop has ended and the bar has handled its
// end (the placement it stores then).
inline void ReleaseDrag(HWND bar) {
    LeftButton(false);
    EXPECT_TRUE(test::WaitUntil([&] { return !InMoveSizeLoop(bar); }, test::kPatientMs))
        << "the move or size loop did not end";
    Settle(bar);
}

class BarWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::KillAllLarkProcesses();
        test::DeleteProductKey();
        ::SetEnvironmentVariableW(L"LARK_TEST_HOOKS", L"1");
        // The bar is what these tests look at, not the first run: the program reads a
        // prepared tree at once.
        exe_ = test::CopyProgramAlone(dir_.path());
        ASSERT_FALSE(test::PrepareDataFile().empty());
        MONITORINFO mi{};
        mi.cbSize = sizeof(mi);
        ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
        screen_ = mi.rcMonitor;
        work_ = mi.rcWork;
    }
    void TearDown() override {
        if (other_)
            ::DestroyWindow(other_);
        test::KillAllLarkProcesses();
        ::SetEnvironmentVariableW(L"LARK_TEST_HOOKS", nullptr);
    }

    HWND Start(test::LarkProcess& p) {
        EXPECT_TRUE(p.Start()) << p.Problem();
        HWND bar = p.WaitForBar();
        EXPECT_NE(bar, nullptr) << p.Problem();
        EXPECT_TRUE(
            test::WaitUntil([&] { return ::IsWindowVisible(bar) != FALSE; }, test::kPatientMs));
        // Start-up is over once the bar's thread answers messages again (reading the tree
        // keeps it busy until then).
        EXPECT_TRUE(p.WaitUntilIdle()) << p.Problem();
        return bar;
    }

    static void Command(HWND bar, UINT id) {
        EXPECT_TRUE(::PostMessageW(bar, WM_COMMAND, MAKEWPARAM(id, 0), 0))
            << test::SystemErrorText(::GetLastError());
    }

    static bool WaitForRect(HWND bar, const RECT& expected, DWORD ms = test::kPatientMs) {
        return test::WaitUntil([&] { return WindowRect(bar) == expected; }, ms);
    }

    static void Exit(test::LarkProcess& p) {
        ASSERT_TRUE(p.Exit()) << p.Problem();
        EXPECT_EQ(p.ExitCode(), 0u);
    }

    RECT Docked(int32_t state, int thickness) const {
        RECT r = screen_;
        switch (state) {
        case 0:
            r.right = r.left + thickness;
            break;
        case 1:
            r.bottom = r.top + thickness;
            break;
        case 2:
            r.left = r.right - thickness;
            break;
        default:
            r.top = r.bottom - thickness;
            break;
        }
        return r;
    }

    // The default floating rectangle for very large buttons: 497 x 118 and the frame,
    // centred in the work area.
    RECT DefaultFloat(LONG width = 497, LONG height = 118) const {
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof(ncm);
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
        width += 2 * ncm.iBorderWidth + 2 * ::GetSystemMetrics(SM_CXEDGE);
        height += 2 * ncm.iBorderWidth + 2 * ::GetSystemMetrics(SM_CYEDGE);
        const LONG left = work_.left + (work_.right - work_.left - width) / 2;
        const LONG top = work_.top + (work_.bottom - work_.top - height) / 2;
        return RECT{left, top, left + width, top + height};
    }

    // A window of the test in front of the bar.
    void BringOtherWindowToFront() {
        if (!other_)
            other_ = ::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                       300, 200, 400, 300, nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(other_);
        EXPECT_TRUE(
            test::WaitUntil([&] { return ::GetForegroundWindow() == other_; }, test::kPatientMs));
    }

    test::TempDir dir_;
    std::wstring exe_;
    RECT screen_{};
    RECT work_{};
    HWND other_ = nullptr;
};

// The colour on the screen at a point.
inline COLORREF ScreenPixel(POINT p) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, p.x, p.y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

} // namespace bartest
