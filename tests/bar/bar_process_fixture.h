#pragma once
// The bar window tests drive the real program: start it, post commands and notifications to
// its window, move the real mouse, and read the window and the registry back.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>

#include "rect_compare.h"
#include "model/data_path.h"
#include "support/lark_process.h"
#include "support/startup_wait.h"
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

// Real input: the cursor jumps to a screen point.
inline void MouseTo(POINT p) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN);
    const int h = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((static_cast<int64_t>(p.x) * 65536 + w - 1) / w);
    in.mi.dy = static_cast<LONG>((static_cast<int64_t>(p.y) * 65536 + h - 1) / h);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(in));
    test::PumpMessages(60);
}

inline void LeftButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &in, sizeof(in));
    test::PumpMessages(100);
}

class BarWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::KillAllLarkProcesses();
        test::DeleteProductKey();
        ::SetEnvironmentVariableW(L"LARK_TEST_HOOKS", L"1");
        exe_ = test::CopyProgramAlone(dir_.path());
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
        // Without a tree every start is a first run, whose saved file marks its end.
        const std::wstring dataFile = test::DataFolder() + L"\\" + model::kDataFileName;
        ::DeleteFileW(dataFile.c_str());
        EXPECT_TRUE(p.Start());
        HWND bar = p.WaitForBar();
        EXPECT_NE(bar, nullptr);
        EXPECT_TRUE(test::WaitUntil([&] { return ::IsWindowVisible(bar) != FALSE; }, 5000));
        // A first run builds and saves the tree before start-up is over.
        EXPECT_TRUE(test::WaitForStartupDone(p.Id(), bar, dataFile, 30000));
        test::PumpMessages(200);
        return bar;
    }

    static void Command(HWND bar, UINT id) {
        ::PostMessageW(bar, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }

    static bool WaitForRect(HWND bar, const RECT& expected, DWORD ms = 5000) {
        return test::WaitUntil([&] { return WindowRect(bar) == expected; }, ms);
    }

    static void Exit(test::LarkProcess& p) {
        ASSERT_TRUE(p.Exit(10000));
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
        test::WaitUntil([&] { return ::GetForegroundWindow() == other_; }, 3000);
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
