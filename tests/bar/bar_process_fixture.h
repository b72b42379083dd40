#pragma once
// The bar window tests drive the real program: start it, post commands and notifications to
// its window, move the real mouse, and read the window and the registry back.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "rect_compare.h"
#include "bar/test_hooks.h"
#include "model/data_path.h"
#include "support/lark_process.h"
#include "support/prepared_data.h"
#include "support/real_input.h"
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

// The program writes the placement and the preferences after it has moved the window: a
// value is waited for, not read at once.
inline ::testing::AssertionResult ValueBecomes(const std::wstring& key, const wchar_t* name,
                                               int32_t expected) {
    int32_t value = 0;
    if (test::WaitUntil(
            [&] {
                DWORD raw = 0xDEADBEEF;
                test::ReadRegDwordValue(key, name, raw);
                value = static_cast<int32_t>(raw);
                return value == expected;
            },
            test::kPatientMs))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << test::Narrow(name) << " is " << value << ", not " << expected;
}
inline ::testing::AssertionResult PlacementBecomes(const wchar_t* name, int32_t expected) {
    return ValueBecomes(kAppBarInfo, name, expected);
}
inline ::testing::AssertionResult PreferenceBecomes(const wchar_t* name, int32_t expected) {
    return ValueBecomes(kPreferences, name, expected);
}

// Real input (support/real_input.h), by the names these tests use.
using test::MouseTo;
inline void LeftButton(bool down) {
    test::Press(down);
}

// True while the thread of `window` runs the system's move or size loop.
inline bool InMoveSizeLoop(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    return ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE) != 0;
}

// Presses the left button at `at` on the bar and returns once the bar's move or size loop
// runs, so the moves that follow are the loop's. Under Wine a press does not always start the
// loop: the bar drags only while the button is down in the asynchronous key state, which Wine
// may answer from a short-lived cache, and a press on a bar that has just been moved by a
// command is sometimes taken as a plain click. Such a press is released and made again, each
// time with more patience, and logged.
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

// A round trip through the bar's thread: it answers once it is not busy. A message sent is
// handled before those posted, and also while the bar waits on another thread, so this is no
// proof that what was posted before has been handled: send the message itself for that
// (`SendNow`).
inline void Settle(HWND bar) {
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_NORMAL, test::kPatientMs, &answer))
        << test::SystemErrorText(::GetLastError());
}

// Sends `message` to the bar and returns once the bar has handled it.
inline void SendNow(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    EXPECT_TRUE(
        ::SendMessageTimeoutW(bar, message, wParam, lParam, SMTO_NORMAL, test::kPatientMs, &answer))
        << test::SystemErrorText(::GetLastError());
}

// Releases the button and returns once the bar's loop has ended (what the bar stores then
// is waited for by the caller).
inline void ReleaseDrag(HWND bar) {
    LeftButton(false);
    EXPECT_TRUE(test::WaitUntil([&] { return !InMoveSizeLoop(bar); }, test::kPatientMs))
        << "the move or size loop did not end";
}

class BarWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        MeasureScreen();
        test::KillAllLarkProcesses();
        PrepareFirstStart();
        exe_ = test::CopyProgramAlone(dir_.path());
    }
    void TearDown() override {
        if (other_)
            ::DestroyWindow(other_);
        test::KillAllLarkProcesses();
        ::SetEnvironmentVariableW(L"LARK_TEST_HOOKS", nullptr);
    }

    void MeasureScreen() {
        MONITORINFO mi{};
        mi.cbSize = sizeof(mi);
        ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
        screen_ = mi.rcMonitor;
        work_ = mi.rcWork;
    }

    // No settings yet, the test hooks on, and a prepared tree: the bar is what these tests
    // look at, not the first run, so the program reads the tree at once.
    static void PrepareFirstStart() {
        test::DeleteProductKey();
        ::SetEnvironmentVariableW(L"LARK_TEST_HOOKS", L"1");
        EXPECT_FALSE(test::PrepareDataFile().empty());
    }

    HWND Start(test::LarkProcess& p) {
        // Without a tree the start is a first run, whose saved file marks its end; with a
        // prepared tree start-up is over once the bar's thread answers messages again.
        const std::wstring dataFile = test::DataFolder() + L"\\" + model::kDataFileName;
        const bool firstRun = ::GetFileAttributesW(dataFile.c_str()) == INVALID_FILE_ATTRIBUTES;
        EXPECT_TRUE(p.Start()) << p.Problem();
        HWND bar = p.WaitForBar();
        EXPECT_NE(bar, nullptr) << p.Problem();
        EXPECT_TRUE(
            test::WaitUntil([&] { return ::IsWindowVisible(bar) != FALSE; }, test::kPatientMs));
        if (firstRun)
            EXPECT_TRUE(test::WaitForStartupDone(p.Id(), bar, dataFile, test::kPatientMs));
        else
            EXPECT_TRUE(p.WaitUntilIdle() && WaitForSetUp(bar)) << p.Problem();
        return bar;
    }

    // Tips, tray icon and hotkeys are set up once the bar has painted: nothing points at the
    // bar before that (asked through the test hooks, when they are on).
    static bool WaitForSetUp(HWND bar) {
        if (!::GetEnvironmentVariableW(L"LARK_TEST_HOOKS", nullptr, 0))
            return true;
        const UINT query = ::RegisterWindowMessageW(L"LarkRunBar.TestQuery");
        return test::WaitUntil(
            [&] {
                DWORD_PTR started = 0;
                return ::SendMessageTimeoutW(bar, query, TEST_QUERY_STARTED, 0, SMTO_NORMAL,
                                             test::kPatientMs, &started) &&
                       started == 1;
            },
            test::kPatientMs);
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

// Scenarios that begin and end where a first start puts the bar (docked at the bottom, 84
// pixels high, on top, no auto-hide, the tab strip, default sizes) share one program, which
// saves a start for each. Before each test the bar and its stored placement are checked;
// one that a test left elsewhere (or ended) is replaced by a fresh start, so no test depends
// on another.
class SharedBarTest : public BarWindowTest {
protected:
    static void TearDownTestSuite() {
        if (shared_ && shared_->IsRunning() && shared_->Bar()) {
            EXPECT_TRUE(shared_->Exit()) << shared_->Problem();
        }
        shared_.reset();
        sharedDir_.reset();
    }
    void SetUp() override {
        MeasureScreen();
        if (shared_ && shared_->IsRunning()) {
            if (AtFirstStartPlacement())
                return;
            // Ended by its Exit command, which gives its edge back to the shell: Wine keeps
            // the edge of a killed bar reserved, and the next bar would dock beside it.
            EXPECT_TRUE(shared_->Exit()) << shared_->Problem();
        }
        test::KillAllLarkProcesses();
        PrepareFirstStart();
        if (!sharedDir_)
            sharedDir_ = std::make_unique<test::TempDir>();
        shared_ = std::make_unique<test::LarkProcess>(test::CopyProgramAlone(sharedDir_->path()));
        Start(*shared_);
        ASSERT_TRUE(AtFirstStartPlacement()) << ::testing::PrintToString(WindowRect(Bar()));
    }
    void TearDown() override {
        if (other_)
            ::DestroyWindow(other_);
        other_ = nullptr;
    }

    HWND Bar() const { return shared_->Bar(); }
    test::LarkProcess& Process() { return *shared_; }

    bool AtFirstStartPlacement() const {
        HWND bar = Bar();
        if (!bar || !::IsWindowVisible(bar) || !IsTopmost(bar))
            return false;
        Settle(bar);
        if (WindowRect(bar) != Docked(3, 84))
            return false;
        const RECT floating = DefaultFloat();
        const struct {
            const std::wstring& key;
            const wchar_t* name;
            DWORD value;
        } stored[] = {{kAppBarInfo, L"State", 3},
                      {kAppBarInfo, L"AutoHide", 0},
                      {kAppBarInfo, L"AlwaysOnTop", 1},
                      {kAppBarInfo, L"DockSizeLeft", 84},
                      {kAppBarInfo, L"DockSizeTop", 84},
                      {kAppBarInfo, L"DockSizeRight", 84},
                      {kAppBarInfo, L"DockSizeBottom", 84},
                      {kAppBarInfo, L"FloatRectLeft", static_cast<DWORD>(floating.left)},
                      {kAppBarInfo, L"FloatRectTop", static_cast<DWORD>(floating.top)},
                      {kPreferences, L"ButtonSize", 3},
                      {kPreferences, L"ViewGroupButtonMethod", 0x8003},
                      {kPreferences, L"TrayOnly", 0}};
        for (const auto& v : stored) {
            DWORD value = 0;
            if (!test::ReadRegDwordValue(v.key, v.name, value) || value != v.value)
                return false;
        }
        return true;
    }

    inline static std::unique_ptr<test::LarkProcess> shared_;
    inline static std::unique_ptr<test::TempDir> sharedDir_;
};

// The colour on the screen at a point.
inline COLORREF ScreenPixel(POINT p) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, p.x, p.y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

} // namespace bartest
