// Layout rules of the main window: children, sizing snap, minimum sizes, grip hit test.
#include <gtest/gtest.h>

#include "rect_compare.h"

#include "model/placement.h"
#include "bar/bar_layout.h"
#include "bar/sizing_track.h"
#include "model/preferences.h"
#include "views/toolbar_layout.h"

namespace {

using namespace bar;

TEST(ChildLayoutTest, HorizontalBarPutsTheButtonsOnTheLeft) {
    const ChildLayout l = LayOutChildren(SIZE{1280, 60}, false);
    ASSERT_EQ(l.action, ChildLayout::Place);
    EXPECT_EQ(l.menuButton, (RECT{2, 1, 13, 12}));
    EXPECT_EQ(l.exitButton, (RECT{2, 48, 13, 59}));
    EXPECT_EQ(l.toolBar, (RECT{19, 0, 1280, 60}));
}

TEST(ChildLayoutTest, VerticalBarPutsTheButtonsOnTop) {
    const ChildLayout l = LayOutChildren(SIZE{84, 1024}, false);
    ASSERT_EQ(l.action, ChildLayout::Place);
    EXPECT_EQ(l.menuButton, (RECT{1, 2, 12, 13}));
    EXPECT_EQ(l.exitButton, (RECT{72, 2, 83, 13}));
    EXPECT_EQ(l.toolBar, (RECT{0, 19, 84, 1024}));
}

TEST(ChildLayoutTest, ASquareBarIsHorizontal) {
    EXPECT_FALSE(IsVerticalClient(SIZE{50, 50}));
    EXPECT_EQ(LayOutChildren(SIZE{50, 50}, false).toolBar, (RECT{19, 0, 50, 50}));
    EXPECT_TRUE(IsVerticalClient(SIZE{49, 50}));
}

TEST(ChildLayoutTest, CollapsedHidesAndEmptySkips) {
    EXPECT_EQ(LayOutChildren(SIZE{1280, 3}, true).action, ChildLayout::Hide);
    EXPECT_EQ(LayOutChildren(SIZE{0, 60}, false).action, ChildLayout::Skip);
    EXPECT_EQ(LayOutChildren(SIZE{1280, 0}, true).action, ChildLayout::Skip);
}

TEST(ChildLayoutTest, GripStripAtTheStartOfTheBar) {
    EXPECT_EQ(GripStripRect(SIZE{1280, 84}, false), (RECT{0, 0, 15, 84}));
    EXPECT_EQ(GripStripRect(SIZE{84, 1024}, true), (RECT{0, 0, 84, 15}));
    EXPECT_EQ(GripStripRect(SIZE{1280, 84}, false, kGripRepaintSize), (RECT{0, 0, 17, 84}));
}

TEST(ChildLayoutTest, ANearSquareBarHandsItsOrientationToTheProgramButtonBar) {
    // The program button bar lies beside the grip strip, 19 pixels shorter one way, so its
    // own shape may say the other orientation: its grip and tab strips must still run as the
    // main window's do.
    for (SIZE main : {SIZE{300, 290}, SIZE{290, 300}, SIZE{140, 135}, SIZE{130, 140}}) {
        const bool vertical = IsVerticalClient(main);
        const RECT r = LayOutChildren(main, false).toolBar;
        views::BarLayoutInput in;
        in.client = SIZE{r.right - r.left, r.bottom - r.top};
        in.vertical = vertical;
        in.viewFlags = VIEW_TAB_STRIP;
        in.slots.assign(3, views::SlotRole::Button);
        in.resetPaging = true;
        const views::BarLayout l = views::LayoutBar(in);
        const RECT grip = vertical ? RECT{0, 0, in.client.cx, 7} : RECT{0, 0, 7, in.client.cy};
        EXPECT_EQ(l.grip.rect, grip) << main.cx << "x" << main.cy;
        const RECT& t = l.tabs.rect;
        EXPECT_EQ(vertical ? t.right - t.left : t.bottom - t.top, 24) << main.cx << "x" << main.cy;
    }
}

TEST(SizingTest, AThirteenPixelDragSnapsToEight) {
    const RECT now{100, 100, 603, 224};
    EXPECT_EQ(SnapSizingRect(now, RECT{100, 100, 616, 224}, WMSZ_RIGHT, SIZE{8, 8}),
              (RECT{100, 100, 611, 224}));
    // Shrinking truncates toward zero too: 13 pixels narrower is 8 narrower.
    EXPECT_EQ(SnapSizingRect(now, RECT{100, 100, 590, 224}, WMSZ_RIGHT, SIZE{8, 8}),
              (RECT{100, 100, 595, 224}));
    // Less than one step leaves the size alone.
    EXPECT_EQ(SnapSizingRect(now, RECT{100, 100, 610, 224}, WMSZ_RIGHT, SIZE{8, 8}),
              (RECT{100, 100, 603, 224}));
}

TEST(SizingTest, TheDraggedEdgeMovesAndTheOtherStays) {
    const RECT now{100, 100, 300, 200};
    const SIZE step{10, 20};
    EXPECT_EQ(SnapSizingRect(now, RECT{75, 100, 300, 200}, WMSZ_LEFT, step),
              (RECT{80, 100, 300, 200}));
    EXPECT_EQ(SnapSizingRect(now, RECT{100, 55, 300, 200}, WMSZ_TOP, step),
              (RECT{100, 60, 300, 200}));
    EXPECT_EQ(SnapSizingRect(now, RECT{100, 100, 300, 245}, WMSZ_BOTTOM, step),
              (RECT{100, 100, 300, 240}));
    EXPECT_EQ(SnapSizingRect(now, RECT{77, 100, 300, 259}, WMSZ_BOTTOMLEFT, step),
              (RECT{80, 100, 300, 240}));
    EXPECT_EQ(SnapSizingRect(now, RECT{100, 33, 329, 200}, WMSZ_TOPRIGHT, step),
              (RECT{100, 40, 320, 200}));
}

TEST(SizingTest, EachEdgeMovesItsSidesByTheCursorFromWhereSizingBegan) {
    const RECT start{100, 100, 300, 200};
    const POINT from{500, 500}, to{513, 480}; // 13 right, 20 up
    const struct {
        UINT edge;
        RECT tracked;
    } cases[] = {
        {WMSZ_LEFT, {113, 100, 300, 200}},
        {WMSZ_RIGHT, {100, 100, 313, 200}},
        {WMSZ_TOP, {100, 80, 300, 200}},
        {WMSZ_BOTTOM, {100, 100, 300, 180}},
        {WMSZ_TOPLEFT, {113, 80, 300, 200}},
        {WMSZ_TOPRIGHT, {100, 80, 313, 200}},
        {WMSZ_BOTTOMLEFT, {113, 100, 300, 180}},
        {WMSZ_BOTTOMRIGHT, {100, 100, 313, 180}},
        {0, start},
        {WMSZ_BOTTOMRIGHT + 1, start},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrackSizingRect(start, c.edge, from, to), c.tracked) << "edge " << c.edge;
        // Snapping moves the same sides: the tracked rectangle is whole steps of 1 already.
        EXPECT_EQ(SnapSizingRect(start, c.tracked, c.edge, SIZE{1, 1}), c.tracked)
            << "edge " << c.edge;
    }
}

TEST(SizingTest, ADockedBarSizesByWholeButtons) {
    // Docked bottom with very large buttons: 58 pixels per step.
    const RECT now{0, 940, 1280, 1024};
    EXPECT_EQ(SnapSizingRect(now, RECT{0, 880, 1280, 1024}, WMSZ_TOP, SIZE{58, 58}),
              (RECT{0, 882, 1280, 1024}));
    EXPECT_EQ(SnapSizingRect(now, RECT{0, 900, 1280, 1024}, WMSZ_TOP, SIZE{58, 58}),
              (RECT{0, 940, 1280, 1024}));
}

TEST(MinimumSizeTest, FloatingAndDockedLimits) {
    const BarMetrics m = MetricsForButtonSize(6);
    const FrameAllowance f{6, 8};
    MinTrackSize t = MinimumTrackSize(STATE_FLOAT, false, m, f);
    EXPECT_TRUE(t.hasWidth && t.hasHeight);
    EXPECT_EQ(t.size.x, 32);
    EXPECT_EQ(t.size.y, 32);
    t = MinimumTrackSize(STATE_LEFT, false, m, f);
    EXPECT_TRUE(t.hasWidth);
    EXPECT_FALSE(t.hasHeight);
    EXPECT_EQ(t.size.x, 84 + 6);
    t = MinimumTrackSize(STATE_BOTTOM, false, m, f);
    EXPECT_FALSE(t.hasWidth);
    EXPECT_TRUE(t.hasHeight);
    EXPECT_EQ(t.size.y, 60 + 8);
    t = MinimumTrackSize(STATE_TOP, true, m, f); // auto-hide: no limit
    EXPECT_FALSE(t.hasWidth || t.hasHeight);
    t = MinimumTrackSize(STATE_FLOAT, true, m, f); // auto-hide does not matter floating
    EXPECT_TRUE(t.hasWidth && t.hasHeight);
}

TEST(GripHitTestTest, InnerHalfOfTheGripSizesADockedBar) {
    const SIZE horizontal{1280, 84};
    const SIZE vertical{84, 1024};
    // Docked bottom: above half the height and right of 13.
    EXPECT_EQ(GripHitTest(HTCLIENT, STATE_BOTTOM, POINT{16, 10}, horizontal), HTTOP);
    EXPECT_EQ(GripHitTest(HTCAPTION, STATE_BOTTOM, POINT{14, 41}, horizontal), HTTOP);
    EXPECT_EQ(GripHitTest(HTCAPTION, STATE_BOTTOM, POINT{14, 42}, horizontal), HTCAPTION);
    EXPECT_EQ(GripHitTest(HTCLIENT, STATE_BOTTOM, POINT{13, 10}, horizontal), HTCLIENT);
    // Docked top: below half the height.
    EXPECT_EQ(GripHitTest(HTCLIENT, STATE_TOP, POINT{16, 43}, horizontal), HTBOTTOM);
    EXPECT_EQ(GripHitTest(HTCLIENT, STATE_TOP, POINT{16, 42}, horizontal), HTCLIENT);
    // Docked left: right of half the width and below 13.
    EXPECT_EQ(GripHitTest(HTCAPTION, STATE_LEFT, POINT{43, 16}, vertical), HTRIGHT);
    EXPECT_EQ(GripHitTest(HTCAPTION, STATE_LEFT, POINT{42, 16}, vertical), HTCAPTION);
    EXPECT_EQ(GripHitTest(HTCAPTION, STATE_LEFT, POINT{60, 13}, vertical), HTCAPTION);
    // Docked right: left of half the width.
    EXPECT_EQ(GripHitTest(HTCLIENT, STATE_RIGHT, POINT{41, 16}, vertical), HTLEFT);
    EXPECT_EQ(GripHitTest(HTCLIENT, STATE_RIGHT, POINT{42, 16}, vertical), HTCLIENT);
}

TEST(GripHitTestTest, FloatingAndOtherAnswersAreLeftAlone) {
    EXPECT_EQ(GripHitTest(HTCLIENT, STATE_FLOAT, POINT{16, 10}, SIZE{500, 120}), HTCLIENT);
    EXPECT_EQ(GripHitTest(HTBORDER, STATE_BOTTOM, POINT{16, 10}, SIZE{1280, 84}), HTBORDER);
    EXPECT_EQ(GripHitTest(HTNOWHERE, STATE_LEFT, POINT{60, 60}, SIZE{84, 1024}), HTNOWHERE);
}

TEST(GripColourTest, MonochromeUsesBlackAndSilver) {
    const COLORREF active = RGB(0, 84, 227);
    const COLORREF inactive = RGB(122, 150, 223);
    EXPECT_EQ(GripColour(true, false, active, inactive), active);
    EXPECT_EQ(GripColour(false, false, active, inactive), inactive);
    EXPECT_EQ(GripColour(true, true, active, inactive), RGB(0, 0, 0));
    EXPECT_EQ(GripColour(false, true, active, inactive), RGB(192, 192, 192));
}

} // namespace
