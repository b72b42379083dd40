// The bar window of the real program: docking, the Position commands, auto-hide, the hold
// flag, full-screen notifications, dragging with real mouse input and the stored placement.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "rect_compare.h"
#include "support/lark_process.h"
#include "support/test_util.h"

namespace {

const std::wstring kAppBarInfo = std::wstring(test::kProductKey) + L"\\AppBarInfo";
const std::wstring kPreferences = std::wstring(test::kProductKey) + L"\\Preferences";

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

RECT WindowRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

bool IsTopmost(HWND hwnd) {
    return (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

int32_t ReadPlacementValue(const wchar_t* name) {
    DWORD value = 0xDEADBEEF;
    test::ReadRegDwordValue(kAppBarInfo, name, value);
    return static_cast<int32_t>(value);
}

int32_t ReadPreference(const wchar_t* name) {
    DWORD value = 0xDEADBEEF;
    test::ReadRegDwordValue(kPreferences, name, value);
    return static_cast<int32_t>(value);
}

// Real input: the cursor jumps to a screen point.
void MouseTo(POINT p) {
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

void LeftButton(bool down) {
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
        EXPECT_TRUE(p.Start());
        HWND bar = p.WaitForBar();
        EXPECT_NE(bar, nullptr);
        EXPECT_TRUE(test::WaitUntil([&] { return ::IsWindowVisible(bar) != FALSE; }, 5000));
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
        Command(p.Bar(), kExit);
        ASSERT_TRUE(p.WaitForExit(10000));
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

TEST_F(BarWindowTest, FirstStartDocksAtTheBottomWithTheComputedThicknessOnTop) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    // Very large buttons (60) and the tab strip (24).
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(IsTopmost(bar));
    EXPECT_EQ(::GetWindowLongPtrW(bar, GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_EQ(ReadPlacementValue(L"State"), 3);
    EXPECT_EQ(ReadPlacementValue(L"DockSizeBottom"), 84);
    EXPECT_EQ(ReadPlacementValue(L"DockSizeLeft"), 84);
    EXPECT_EQ(ReadPlacementValue(L"AlwaysOnTop"), 1);
    EXPECT_EQ(ReadPlacementValue(L"FloatRectLeft"), DefaultFloat().left);
    EXPECT_EQ(ReadPlacementValue(L"FloatRectBottom"), DefaultFloat().bottom);

    // The children: the grip buttons and the program button bar beside them.
    HWND toolbar = ::GetDlgItem(bar, 6000);
    HWND exitButton = ::GetDlgItem(bar, kExit);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_NE(exitButton, nullptr);
    RECT r = WindowRect(toolbar);
    ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r, (RECT{19, 0, screen_.right - screen_.left, 84}));
    r = WindowRect(exitButton);
    ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r, (RECT{2, 72, 13, 83}));
    Exit(lark);
}

TEST_F(BarWindowTest, EachPositionCommandMovesTheBarAndWritesThePlacement) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    const struct {
        UINT command;
        int32_t state;
        RECT rect;
    } steps[] = {{kLeft, 0, Docked(0, 84)},   {kTop, 1, Docked(1, 84)},
                 {kRight, 2, Docked(2, 84)},  {kCenter, -2, DefaultFloat()},
                 {kBottom, 3, Docked(3, 84)}, {kLeft, 0, Docked(0, 84)}};
    for (const auto& s : steps) {
        Command(bar, s.command);
        EXPECT_TRUE(WaitForRect(bar, s.rect))
            << s.command << " " << ::testing::PrintToString(WindowRect(bar));
        EXPECT_TRUE(test::WaitUntil([&] { return ReadPlacementValue(L"State") == s.state; }, 3000))
            << s.command;
        EXPECT_TRUE(IsTopmost(bar)) << s.command;
        const bool sizing = (::GetWindowLongPtrW(bar, GWL_STYLE) & WS_THICKFRAME) != 0;
        EXPECT_EQ(sizing, s.state == -2) << s.command;
    }
    Exit(lark);
}

TEST_F(BarWindowTest, HideToTrayHidesTheWindowAndLeftBringsItBackDocked) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    Command(bar, kTrayOnly);
    EXPECT_TRUE(test::WaitUntil([&] { return !::IsWindowVisible(bar); }, 3000));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPreference(L"TrayOnly") == 1; }, 3000));
    EXPECT_EQ(ReadPlacementValue(L"State"), -2);

    Command(bar, kLeft);
    EXPECT_TRUE(test::WaitUntil([&] { return ::IsWindowVisible(bar) != FALSE; }, 3000));
    EXPECT_TRUE(WaitForRect(bar, Docked(0, 84)));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPreference(L"TrayOnly") == 0; }, 3000));
    EXPECT_EQ(ReadPlacementValue(L"State"), 0);
    Exit(lark);
}

TEST_F(BarWindowTest, ThePlacementSurvivesARestart) {
    {
        test::LarkProcess lark(exe_);
        HWND bar = Start(lark);
        Command(bar, kRight);
        ASSERT_TRUE(WaitForRect(bar, Docked(2, 84)));
        Command(bar, kAlwaysOnTop); // off
        ASSERT_TRUE(test::WaitUntil([&] { return !IsTopmost(bar); }, 3000));
        Exit(lark);
    }
    EXPECT_EQ(ReadPlacementValue(L"AlwaysOnTop"), 0);
    test::WriteRegDword(kAppBarInfo, L"DockSizeRight", 130);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    EXPECT_TRUE(WaitForRect(bar, Docked(2, 130))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_FALSE(IsTopmost(bar));
    Exit(lark);
    EXPECT_EQ(ReadPlacementValue(L"State"), 2);
    EXPECT_EQ(ReadPlacementValue(L"DockSizeRight"), 130);
}

TEST_F(BarWindowTest, AStoredMonitorThatNoLongerExistsDocksOnThePrimary) {
    test::WriteRegDword(kAppBarInfo, L"Monitor", 12345);
    test::WriteRegDword(kAppBarInfo, L"State", 1);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    EXPECT_TRUE(WaitForRect(bar, Docked(1, 84)));
    const HMONITOR primary = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    EXPECT_EQ(ReadPlacementValue(L"Monitor"),
              static_cast<int32_t>(reinterpret_cast<intptr_t>(primary)));
    Exit(lark);
}

TEST_F(BarWindowTest, AButtonSizeChangeDiscardsTheUsersSizes) {
    // A placement of the user's own: a taller bottom bar and a small floating rectangle.
    test::WriteRegDword(kAppBarInfo, L"State", 3);
    for (const wchar_t* name : {L"DockSizeLeft", L"DockSizeTop", L"DockSizeRight"})
        test::WriteRegDword(kAppBarInfo, name, 100);
    test::WriteRegDword(kAppBarInfo, L"DockSizeBottom", 150);
    test::WriteRegDword(kAppBarInfo, L"FloatRectLeft", 10);
    test::WriteRegDword(kAppBarInfo, L"FloatRectTop", 20);
    test::WriteRegDword(kAppBarInfo, L"FloatRectRight", 310);
    test::WriteRegDword(kAppBarInfo, L"FloatRectBottom", 220);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 150))) << ::testing::PrintToString(WindowRect(bar));

    Command(bar, kSmallButtons);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 26 + 24))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPreference(L"ButtonSize") == 1; }, 3000));
    EXPECT_EQ(ReadPlacementValue(L"DockSizeBottom"), 50);
    EXPECT_EQ(ReadPlacementValue(L"DockSizeLeft"), 50);
    const RECT f = DefaultFloat(233, 51);
    EXPECT_EQ(ReadPlacementValue(L"FloatRectLeft"), f.left);
    EXPECT_EQ(ReadPlacementValue(L"FloatRectRight"), f.right);
    Exit(lark);
}

TEST_F(BarWindowTest, TabViewOffThenOnRestoresTheThickness) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    Command(bar, kTabView); // the default view has the tab strip: this turns it off
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 60)));
    EXPECT_TRUE(
        test::WaitUntil([] { return ReadPreference(L"ViewGroupButtonMethod") == 0x8001; }, 3000));
    Command(bar, kTabView);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
    EXPECT_TRUE(
        test::WaitUntil([] { return ReadPreference(L"ViewGroupButtonMethod") == 0x8003; }, 3000));
    EXPECT_EQ(ReadPlacementValue(L"DockSizeLeft"), 84);
    Exit(lark);
}

TEST_F(BarWindowTest, AutoHideCollapsesExpandsOnTheMouseAndCollapsesWhenLeft) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    HWND toolbar = ::GetDlgItem(bar, 6000);
    BringOtherWindowToFront();
    MouseTo(POINT{640, 400});

    Command(bar, kAutoHide);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(IsTopmost(bar));
    EXPECT_FALSE(::IsWindowVisible(toolbar));
    EXPECT_EQ(ReadPlacementValue(L"AutoHide"), 1);
    EXPECT_EQ(ReadPlacementValue(L"DockSizeBottom"), 84);

    // The mouse on the strip expands the bar over other windows.
    MouseTo(POINT{640, screen_.bottom - 2});
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(::IsWindowVisible(toolbar));

    // Just off the bar it stays open; well away, the auto-hide check collapses it.
    MouseTo(POINT{640, screen_.bottom - 84 - 2});
    test::PumpMessages(1200);
    EXPECT_EQ(WindowRect(bar), Docked(3, 84));
    MouseTo(POINT{640, 300});
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3), 3000)) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_FALSE(::IsWindowVisible(toolbar));

    // Off again: the full thickness with its children.
    Command(bar, kAutoHide);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
    EXPECT_TRUE(test::WaitUntil([&] { return ::IsWindowVisible(toolbar) != FALSE; }, 3000));
    Exit(lark);
}

TEST_F(BarWindowTest, TheHoldFlagKeepsAnExpandedBarOpen) {
    const UINT setHold = ::RegisterWindowMessageW(L"LarkRunBar.TestSetHold");
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    BringOtherWindowToFront();
    Command(bar, kAutoHide);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 3)));
    MouseTo(POINT{640, screen_.bottom - 1});
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));

    ::PostMessageW(bar, setHold, 1, 0);
    test::PumpMessages(200);
    MouseTo(POINT{640, 300});
    test::PumpMessages(1500);
    EXPECT_EQ(WindowRect(bar), Docked(3, 84));

    ::PostMessageW(bar, setHold, 0, 0);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3), 3000));
    Exit(lark);
}

TEST_F(BarWindowTest, WithADelayTheBarExpandsOnlyAfterTheMouseRested) {
    test::WriteRegDword(kPreferences, L"UseAutoHideDelayTime", 1);
    test::WriteRegDword(kPreferences, L"AutoHideDelayTime", 1500);
    test::WriteRegDword(kAppBarInfo, L"AutoHide", 1);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    BringOtherWindowToFront();
    MouseTo(POINT{640, 300});
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 3)));

    MouseTo(POINT{600, screen_.bottom - 1});
    test::PumpMessages(400);
    EXPECT_EQ(WindowRect(bar), Docked(3, 3)); // the hover time has not passed yet
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84), 6000));
    Exit(lark);
}

TEST_F(BarWindowTest, AFullScreenProgramLowersTheBarAndItsEndRaisesIt) {
    const UINT notify = ::RegisterWindowMessageW(L"AppBarNotify");
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(IsTopmost(bar));
    ::PostMessageW(bar, notify, ABN_FULLSCREENAPP, 1);
    EXPECT_TRUE(test::WaitUntil([&] { return !IsTopmost(bar); }, 3000));
    ::PostMessageW(bar, notify, ABN_FULLSCREENAPP, 0);
    EXPECT_TRUE(test::WaitUntil([&] { return IsTopmost(bar); }, 3000));
    // The same notification twice is acted on once.
    ::PostMessageW(bar, notify, ABN_FULLSCREENAPP, 0);
    test::PumpMessages(200);
    EXPECT_TRUE(IsTopmost(bar));
    // Without always on top the notifications change nothing; turned on, it is on top again.
    Command(bar, kAlwaysOnTop);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsTopmost(bar); }, 3000));
    ::PostMessageW(bar, notify, ABN_FULLSCREENAPP, 1);
    ::PostMessageW(bar, notify, ABN_FULLSCREENAPP, 0);
    test::PumpMessages(300);
    EXPECT_FALSE(IsTopmost(bar));
    Command(bar, kAlwaysOnTop);
    EXPECT_TRUE(test::WaitUntil([&] { return IsTopmost(bar); }, 3000));
    // The position notification re-docks at the same place.
    ::PostMessageW(bar, notify, ABN_POSCHANGED, 0);
    test::PumpMessages(300);
    EXPECT_EQ(WindowRect(bar), Docked(3, 84));
    Exit(lark);
}

TEST_F(BarWindowTest, DraggingFromTheBottomToTheLeftEdgeDocksThere) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    // The grip strip between the two small buttons, where the bar is not sized.
    const LONG y = screen_.bottom - 42;
    MouseTo(POINT{5, y});
    LeftButton(true);
    for (LONG step = y - 40; step >= 500; step -= 40)
        MouseTo(POINT{5, step});
    MouseTo(POINT{6, 500});
    LeftButton(false);
    EXPECT_TRUE(WaitForRect(bar, Docked(0, 84))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPlacementValue(L"State") == 0; }, 3000));
    Exit(lark);
}

TEST_F(BarWindowTest, LeavingAnEdgeHangsTheFloatingBarFromTheCursor) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    MouseTo(POINT{5, screen_.bottom - 42});
    LeftButton(true);
    MouseTo(POINT{300, 600}); // inside the work area: the bar floats
    LeftButton(false);
    const RECT f = DefaultFloat();
    const RECT expected{290, 600, 290 + (f.right - f.left), 600 + (f.bottom - f.top)};
    EXPECT_TRUE(WaitForRect(bar, expected)) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPlacementValue(L"State") == -2; }, 3000));
    EXPECT_EQ(ReadPlacementValue(L"FloatRectLeft"), 290);
    EXPECT_EQ(ReadPlacementValue(L"FloatRectTop"), 600);
    EXPECT_NE(::GetWindowLongPtrW(bar, GWL_STYLE) & WS_THICKFRAME, 0);
    Exit(lark);
}

TEST_F(BarWindowTest, SizingADockedBarByItsGripStoresThatEdgesThicknessOnly) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    // The inner half of the grip strip beside the menu button sizes a bottom bar.
    const POINT start{16, screen_.bottom - 84 + 10};
    MouseTo(start);
    LeftButton(true);
    MouseTo(POINT{start.x, start.y - 70}); // 70 pixels: one step of 58
    LeftButton(false);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84 + 58))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPlacementValue(L"DockSizeBottom") == 142; }, 3000));
    EXPECT_EQ(ReadPlacementValue(L"DockSizeTop"), 84);
    EXPECT_EQ(ReadPlacementValue(L"DockSizeLeft"), 84);
    EXPECT_EQ(ReadPlacementValue(L"DockSizeRight"), 84);
    Exit(lark);
}

struct TipSearch {
    DWORD pid;
    std::wstring text;
};

BOOL CALLBACK FindVisibleTip(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<TipSearch*>(lp);
    wchar_t cls[128] = {};
    ::GetClassNameW(hwnd, cls, 128);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    // The class name may carry the common controls' version in front.
    const std::wstring name(cls);
    const std::wstring tail = L"tooltips_class32";
    const bool isTip = name.size() >= tail.size() &&
                       _wcsicmp(name.c_str() + name.size() - tail.size(), tail.c_str()) == 0;
    if (pid != search->pid || !isTip || !::IsWindowVisible(hwnd))
        return TRUE;
    // GetWindowText does not ask a window of another process; the message does.
    wchar_t text[64] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          1000, &copied);
    search->text = text;
    return FALSE;
}

TEST_F(BarWindowTest, TheGripButtonsShowTheirTipsAndTheExitButtonEndsTheProgram) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    const LONG top = screen_.bottom - 84;
    MouseTo(POINT{7, top + 6}); // the menu button
    MouseTo(POINT{8, top + 7});
    TipSearch search{lark.Id(), L""};
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            ::EnumWindows(&FindVisibleTip, reinterpret_cast<LPARAM>(&search));
            return search.text == L"Menu";
        },
        4000))
        << "tip: " << std::string(search.text.begin(), search.text.end());

    MouseTo(POINT{7, top + 77}); // the exit button
    MouseTo(POINT{8, top + 78});
    LeftButton(true);
    LeftButton(false);
    EXPECT_TRUE(lark.WaitForExit(10000));
    EXPECT_EQ(lark.ExitCode(), 0u);
    EXPECT_EQ(ReadPlacementValue(L"State"), 3);
}

} // namespace
