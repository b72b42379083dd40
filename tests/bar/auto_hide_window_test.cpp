// Auto-hide, the hold flag, always on top and the full-screen notification of the real
// program, with the grip strip and collapsed frame as they appear on the screen.
#include "bar_process_fixture.h"

namespace {

using namespace bartest;

// Auto-hide scenarios that begin and end at the first start's placement share a program.
class AutoHideWindowTest : public SharedBarTest {
protected:
    // Runs the bar's periodic auto-hide check (timer 1) now and waits until it is done, so a
    // check that must leave the bar alone has certainly run.
    static void RunAutoHideCheck(HWND bar) { SendNow(bar, WM_TIMER, 1, 0); }
};

// Scenarios with settings stored before the program starts.
class AutoHideStartTest : public BarWindowTest {};

TEST_F(AutoHideWindowTest, AutoHideCollapsesExpandsOnTheMouseAndCollapsesWhenLeft) {
    HWND bar = Bar();
    HWND toolbar = ::GetDlgItem(bar, 6000);
    BringOtherWindowToFront();
    MouseTo(POINT{640, 400});

    Command(bar, kAutoHide);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(IsTopmost(bar));
    EXPECT_FALSE(::IsWindowVisible(toolbar));
    EXPECT_TRUE(PlacementBecomes(L"AutoHide", 1));
    EXPECT_TRUE(PlacementBecomes(L"DockSizeBottom", 84));

    // The mouse on the strip expands the bar over other windows.
    MouseTo(POINT{640, screen_.bottom - 2});
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(
        test::WaitUntil([&] { return ::IsWindowVisible(toolbar) != FALSE; }, test::kPatientMs));

    // Just off the bar it stays open; well away, the auto-hide check collapses it.
    MouseTo(POINT{640, screen_.bottom - 84 - 2});
    RunAutoHideCheck(bar);
    EXPECT_EQ(WindowRect(bar), Docked(3, 84));
    MouseTo(POINT{640, 300});
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(test::WaitUntil([&] { return !::IsWindowVisible(toolbar); }, test::kPatientMs));

    // Off again: the full thickness with its children.
    Command(bar, kAutoHide);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
    EXPECT_TRUE(
        test::WaitUntil([&] { return ::IsWindowVisible(toolbar) != FALSE; }, test::kPatientMs));
}

TEST_F(AutoHideWindowTest, APositionAfterFloatingOrTheTrayCollapsesToTheThreePixelStrip) {
    HWND bar = Bar();
    BringOtherWindowToFront();
    MouseTo(POINT{640, 400});
    Command(bar, kAutoHide);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 3)));
    const struct {
        UINT away, edge;
        int32_t state;
    } steps[] = {{kTrayOnly, kTop, 1}, {kCenter, kBottom, 3}};
    for (const auto& s : steps) {
        Command(bar, s.away);
        EXPECT_TRUE(PlacementBecomes(L"State", -2));
        Command(bar, s.edge);
        EXPECT_TRUE(PlacementBecomes(L"State", s.state));
        Settle(bar); // not two sizing frames thick, as the floating bar's frame kept it
        EXPECT_EQ(WindowRect(bar), Docked(s.state, 3)) << s.away;
    }
    Command(bar, kAutoHide);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
}

TEST_F(AutoHideWindowTest, LosingActivationCollapsesTheBarEvenWithTheCursorOnIt) {
    HWND bar = Bar();
    BringOtherWindowToFront();
    Command(bar, kAutoHide);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 3)));
    MouseTo(POINT{640, screen_.bottom - 1});
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    MouseTo(POINT{640, screen_.bottom - 40}); // on the expanded bar, above the strip
    ::SetForegroundWindow(bar);
    ASSERT_TRUE(test::WaitUntil([&] { return ::GetForegroundWindow() == bar; }, test::kPatientMs));
    RunAutoHideCheck(bar);
    EXPECT_EQ(WindowRect(bar), Docked(3, 84)); // active: the auto-hide check leaves it open
    BringOtherWindowToFront();
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3)));
    // Auto-hide off again, for the next scenario.
    Command(bar, kAutoHide);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
}

TEST_F(AutoHideWindowTest, TheHoldFlagKeepsAnExpandedBarOpen) {
    const UINT setHold = ::RegisterWindowMessageW(L"LarkRunBar.TestSetHold");
    HWND bar = Bar();
    BringOtherWindowToFront();
    Command(bar, kAutoHide);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 3)));
    MouseTo(POINT{640, screen_.bottom - 1});
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));

    SendNow(bar, setHold, 1, 0);
    MouseTo(POINT{640, 300});
    RunAutoHideCheck(bar);
    EXPECT_EQ(WindowRect(bar), Docked(3, 84));

    ::PostMessageW(bar, setHold, 0, 0);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3)));
    // Auto-hide off again, for the next scenario.
    Command(bar, kAutoHide);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
}

TEST_F(AutoHideStartTest, WithADelayTheBarExpandsOnlyAfterTheMouseRested) {
    test::WriteRegDword(kPreferences, L"UseAutoHideDelayTime", 1);
    test::WriteRegDword(kPreferences, L"AutoHideDelayTime", 1500);
    test::WriteRegDword(kAppBarInfo, L"AutoHide", 1);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    BringOtherWindowToFront();
    MouseTo(POINT{640, 300});
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 3)));

    // The bar cannot see the mouse before it is moved: the time from here to the expansion
    // is at least the hover time, however busy the machine.
    const ULONGLONG moved = ::GetTickCount64();
    MouseTo(POINT{600, screen_.bottom - 1});
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
    EXPECT_GE(::GetTickCount64() - moved, 1400u) << "expanded before the hover time passed";
    Exit(lark);
}

TEST_F(AutoHideWindowTest, AFullScreenProgramLowersTheBarAndItsEndRaisesIt) {
    const UINT notify = ::RegisterWindowMessageW(L"AppBarNotify");
    HWND bar = Bar();
    ASSERT_TRUE(IsTopmost(bar));
    ::PostMessageW(bar, notify, ABN_FULLSCREENAPP, 1);
    EXPECT_TRUE(test::WaitUntil([&] { return !IsTopmost(bar); }, test::kPatientMs));
    ::PostMessageW(bar, notify, ABN_FULLSCREENAPP, 0);
    EXPECT_TRUE(test::WaitUntil([&] { return IsTopmost(bar); }, test::kPatientMs));
    // The same notification twice is acted on once.
    SendNow(bar, notify, ABN_FULLSCREENAPP, 0);
    EXPECT_TRUE(IsTopmost(bar));
    // Without always on top the notifications change nothing; turned on, it is on top again.
    Command(bar, kAlwaysOnTop);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsTopmost(bar); }, test::kPatientMs));
    ::PostMessageW(bar, notify, ABN_FULLSCREENAPP, 1);
    SendNow(bar, notify, ABN_FULLSCREENAPP, 0);
    EXPECT_FALSE(IsTopmost(bar));
    Command(bar, kAlwaysOnTop);
    EXPECT_TRUE(test::WaitUntil([&] { return IsTopmost(bar); }, test::kPatientMs));
    // The position notification re-docks at the same place.
    SendNow(bar, notify, ABN_POSCHANGED, 0);
    EXPECT_EQ(WindowRect(bar), Docked(3, 84));
}

TEST_F(AutoHideStartTest, TheGripStripIsBlackWhenActiveAndSilverWhenNotInMonochrome) {
    test::WriteRegDword(kPreferences, L"IconMono", 1);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    BringOtherWindowToFront();
    const POINT grip{6, screen_.bottom - 40}; // between the two small buttons
    EXPECT_TRUE(
        test::WaitUntil([&] { return ScreenPixel(grip) == RGB(192, 192, 192); }, test::kPatientMs))
        << std::hex << ScreenPixel(grip);
    ::SetForegroundWindow(bar);
    EXPECT_TRUE(
        test::WaitUntil([&] { return ScreenPixel(grip) == RGB(0, 0, 0); }, test::kPatientMs))
        << std::hex << ScreenPixel(grip);
    Exit(lark);
}

TEST_F(AutoHideWindowTest, TheCollapsedStripIsARaisedFrameAndTheGripTakesTheCaptionColour) {
    HWND bar = Bar();
    BringOtherWindowToFront();
    const POINT grip{6, screen_.bottom - 40};
    EXPECT_TRUE(
        test::WaitUntil([&] { return ScreenPixel(grip) == ::GetSysColor(COLOR_INACTIVECAPTION); },
                        test::kPatientMs))
        << std::hex << ScreenPixel(grip);
    MouseTo(POINT{640, 300});
    Command(bar, kAutoHide);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 3)));
    const LONG y = screen_.bottom - 3;
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            return ScreenPixel(POINT{640, y}) == ::GetSysColor(COLOR_BTNHIGHLIGHT);
        },
        test::kPatientMs));
    EXPECT_EQ(ScreenPixel(POINT{640, y + 1}), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ScreenPixel(POINT{640, y + 2}), ::GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(ScreenPixel(POINT{0, y + 1}), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ScreenPixel(POINT{screen_.right - 1, y + 1}), ::GetSysColor(COLOR_3DDKSHADOW));
    // Auto-hide off again, for the next scenario.
    Command(bar, kAutoHide);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
}

} // namespace
