// Auto-hide, the hold flag, always on top and the full-screen notification of the real
// program, with the grip strip and collapsed frame as they appear on the screen.
#include "bar_process_fixture.h"

namespace {

using namespace bartest;

class AutoHideWindowTest : public BarWindowTest {};

TEST_F(AutoHideWindowTest, AutoHideCollapsesExpandsOnTheMouseAndCollapsesWhenLeft) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    HWND toolbar = ::GetDlgItem(bar, 6000);
    BringOtherWindowToFront();
    MouseTo(POINT{640, 400});

    Command(bar, kAutoHide);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(IsTopmost(bar));
    EXPECT_FALSE(::IsWindowVisible(toolbar));
    // The placement is written just after the move.
    EXPECT_TRUE(test::WaitUntil([] { return ReadPlacementValue(L"AutoHide") == 1; }, 3000));
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

TEST_F(AutoHideWindowTest, LosingActivationCollapsesTheBarEvenWithTheCursorOnIt) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    BringOtherWindowToFront();
    Command(bar, kAutoHide);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 3)));
    MouseTo(POINT{640, screen_.bottom - 1});
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    MouseTo(POINT{640, screen_.bottom - 40}); // on the expanded bar, above the strip
    ::SetForegroundWindow(bar);
    ASSERT_TRUE(test::WaitUntil([&] { return ::GetForegroundWindow() == bar; }, 3000));
    test::PumpMessages(700);
    EXPECT_EQ(WindowRect(bar), Docked(3, 84)); // active: the auto-hide check leaves it open
    BringOtherWindowToFront();
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3), 3000));
    Exit(lark);
}

TEST_F(AutoHideWindowTest, TheHoldFlagKeepsAnExpandedBarOpen) {
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

TEST_F(AutoHideWindowTest, WithADelayTheBarExpandsOnlyAfterTheMouseRested) {
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

TEST_F(AutoHideWindowTest, AFullScreenProgramLowersTheBarAndItsEndRaisesIt) {
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

TEST_F(AutoHideWindowTest, TheGripStripIsBlackWhenActiveAndSilverWhenNotInMonochrome) {
    test::WriteRegDword(kPreferences, L"IconMono", 1);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    BringOtherWindowToFront();
    const POINT grip{6, screen_.bottom - 40}; // between the two small buttons
    EXPECT_TRUE(test::WaitUntil([&] { return ScreenPixel(grip) == RGB(192, 192, 192); }, 3000))
        << std::hex << ScreenPixel(grip);
    ::SetForegroundWindow(bar);
    EXPECT_TRUE(test::WaitUntil([&] { return ScreenPixel(grip) == RGB(0, 0, 0); }, 3000))
        << std::hex << ScreenPixel(grip);
    Exit(lark);
}

TEST_F(AutoHideWindowTest, TheCollapsedStripIsARaisedFrameAndTheGripTakesTheCaptionColour) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    BringOtherWindowToFront();
    const POINT grip{6, screen_.bottom - 40};
    EXPECT_TRUE(test::WaitUntil(
        [&] { return ScreenPixel(grip) == ::GetSysColor(COLOR_INACTIVECAPTION); }, 3000))
        << std::hex << ScreenPixel(grip);
    MouseTo(POINT{640, 300});
    Command(bar, kAutoHide);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 3)));
    const LONG y = screen_.bottom - 3;
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            return ScreenPixel(POINT{640, y}) == ::GetSysColor(COLOR_BTNHIGHLIGHT);
        },
        3000));
    EXPECT_EQ(ScreenPixel(POINT{640, y + 1}), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ScreenPixel(POINT{640, y + 2}), ::GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(ScreenPixel(POINT{0, y + 1}), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ScreenPixel(POINT{screen_.right - 1, y + 1}), ::GetSysColor(COLOR_3DDKSHADOW));
    Exit(lark);
}

} // namespace
