// Sizes derived from the button size: the table, the defaults and the tab-strip rule.
#include <gtest/gtest.h>

#include <iterator>

#include "rect_compare.h"

#include "model/preferences.h"
#include "bar/bar_metrics.h"

namespace {

using namespace bar;

TEST(BarMetricsTest, TableForAllSevenButtonSizes) {
    const struct {
        int32_t code;
        UINT command;
        SIZE button;
        SIZE gap;
        int leftRight;
        int topBottom;
        SIZE floatSize;
    } rows[] = {
        {0, 1502, {40, 40}, {2, 2}, 44, 44, {369, 86}},
        {1, 1500, {24, 24}, {1, 1}, 26, 26, {233, 51}},
        {2, 1501, {32, 32}, {2, 2}, 36, 36, {305, 70}},
        {3, 1503, {56, 56}, {2, 2}, 60, 60, {497, 118}},
        {4, 1504, {104, 24}, {1, 1}, 106, 26, {453, 51}},
        {5, 1505, {120, 40}, {2, 2}, 124, 44, {521, 86}},
        {6, 1506, {80, 56}, {2, 2}, 84, 60, {361, 118}},
    };
    for (const auto& r : rows) {
        const BarMetrics m = MetricsForButtonSize(r.code);
        EXPECT_EQ(m.button.cx, r.button.cx) << r.code;
        EXPECT_EQ(m.button.cy, r.button.cy) << r.code;
        EXPECT_EQ(m.gap.cx, r.gap.cx) << r.code;
        EXPECT_EQ(m.gap.cy, r.gap.cy) << r.code;
        EXPECT_EQ(m.thicknessLeftRight, r.leftRight) << r.code;
        EXPECT_EQ(m.thicknessTopBottom, r.topBottom) << r.code;
        EXPECT_EQ(m.floatSize.cx, r.floatSize.cx) << r.code;
        EXPECT_EQ(m.floatSize.cy, r.floatSize.cy) << r.code;
        EXPECT_EQ(m.smallButton.cx, 11);
        EXPECT_EQ(m.smallButton.cy, 11);
        EXPECT_EQ(m.layoutButton.cx, 24);
        EXPECT_EQ(m.layoutButton.cy, 24);
        EXPECT_EQ(ButtonSizeForCommand(r.command), r.code);
    }
    EXPECT_EQ(ButtonSizeForCommand(1499), -1);
    EXPECT_EQ(ButtonSizeForCommand(1507), -1);
}

// Every fixed size follows the resolution; at 96 DPI each is the size above.
TEST(BarMetricsTest, EverySizeScalesWithTheResolution) {
    const struct {
        int dpi;
        int large, largeGap, largeThickness, floatWidth, smallLong, small, category, tabStrip,
            collapsed, grip, offset, paging, line, navigation, tabDepth, tabScroll, tabRoom, arrow;
    } rows[] = {
        {96, 40, 2, 44, 369, 104, 11, 24, 24, 3, 15, 19, 12, 2, 10, 19, 20, 46, 16},
        {120, 50, 3, 55, 461, 130, 14, 30, 30, 4, 19, 24, 15, 3, 13, 24, 25, 58, 20},
        {144, 60, 3, 66, 554, 156, 17, 36, 36, 5, 23, 29, 18, 3, 15, 29, 30, 69, 24},
        {192, 80, 4, 88, 738, 208, 22, 48, 48, 6, 30, 38, 24, 4, 20, 38, 40, 92, 32},
    };
    for (const auto& r : rows) {
        const BarMetrics m = MetricsForButtonSize(0, r.dpi);
        const views::ButtonMetrics t = ToolBarMetrics(m);
        const int got[] = {m.button.cy,
                           m.gap.cx,
                           m.thicknessTopBottom,
                           m.floatSize.cx,
                           MetricsForButtonSize(4, r.dpi).button.cx,
                           m.smallButton.cx,
                           t.sizes.category,
                           m.tabStrip,
                           m.collapsed,
                           m.gripStrip,
                           m.toolBarOffset,
                           t.sizes.paging,
                           t.sizes.line,
                           t.sizes.navigationInset,
                           t.sizes.tab.depth,
                           t.sizes.tab.scrollButton,
                           t.sizes.tab.scrollRoom,
                           t.sizes.arrow,
                           t.sizes.tab.arrow};
        const int want[] = {r.large,     r.largeGap, r.largeThickness, r.floatWidth, r.smallLong,
                            r.small,     r.category, r.tabStrip,       r.collapsed,  r.grip,
                            r.offset,    r.paging,   r.line,           r.navigation, r.tabDepth,
                            r.tabScroll, r.tabRoom,  r.arrow,          r.arrow};
        for (size_t i = 0; i < std::size(want); ++i)
            EXPECT_EQ(got[i], want[i]) << r.dpi << " DPI, value " << i;
        // Defaults and the tab strip toggle use the same scaled strip.
        const DefaultSizes d = ComputeDefaultSizes(m, VIEW_TAB_STRIP, FrameAllowance{}, RECT{});
        int32_t sizes[4] = {d.dockSizes[0], d.dockSizes[1], d.dockSizes[2], d.dockSizes[3]};
        ToggleTabStripDockSizes(sizes, false, m.tabStrip);
        EXPECT_EQ(sizes[3], r.largeThickness) << r.dpi;
    }
}

TEST(BarMetricsTest, UnknownButtonSizesTakeTheLargeRow) {
    for (int32_t code : {-1, 7, 1000}) {
        const BarMetrics m = MetricsForButtonSize(code);
        EXPECT_EQ(m.button.cx, 40);
        EXPECT_EQ(m.thicknessTopBottom, 44);
        EXPECT_EQ(m.floatSize.cx, 369);
    }
}

TEST(BarMetricsTest, IncrementsFollowTheButtonsWhenDocked) {
    const BarMetrics m = MetricsForButtonSize(4);
    EXPECT_EQ(MetricsIncrements(m, false).cx, 105);
    EXPECT_EQ(MetricsIncrements(m, false).cy, 25);
    EXPECT_EQ(MetricsIncrements(m, true).cx, 8);
    EXPECT_EQ(MetricsIncrements(m, true).cy, 8);
    EXPECT_EQ(StateIncrements(m, false).cx, 105);
    EXPECT_EQ(StateIncrements(m, true).cx, 2);
    EXPECT_EQ(StateIncrements(m, true).cy, 2);
}

TEST(BarMetricsTest, FrameAllowanceIsTwiceBorderAndEdge) {
    const FrameAllowance f = FrameAllowanceFor(1, 2, 3);
    EXPECT_EQ(f.ax, 6);
    EXPECT_EQ(f.ay, 8);
}

TEST(BarMetricsTest, FirstStartAtTheBottomWithTheTabStripIs84High) {
    const RECT work{0, 0, 1280, 984};
    const FrameAllowance frame{6, 6};
    const DefaultSizes d =
        ComputeDefaultSizes(MetricsForButtonSize(3), 0x8003, frame, work); // default view word
    for (int32_t size : d.dockSizes)
        EXPECT_EQ(size, 84);
    // 497 x 118 plus the frame, centred in the work area.
    EXPECT_EQ(d.floatRect, (RECT{388, 430, 891, 554}));
    EXPECT_EQ((work.right - d.floatRect.right) - (d.floatRect.left - work.left), 1);
}

TEST(BarMetricsTest, TheTabStripCountsOnlyWithoutTheCategoryOnlyView) {
    const FrameAllowance frame{6, 6};
    const RECT work{100, 50, 1380, 1074}; // a work area that does not start at 0
    const BarMetrics m = MetricsForButtonSize(6);
    DefaultSizes d = ComputeDefaultSizes(m, VIEW_ICON_BUTTONS, frame, work);
    EXPECT_EQ(d.dockSizes[0], 84);
    EXPECT_EQ(d.dockSizes[1], 60);
    EXPECT_EQ(d.dockSizes[2], 84);
    EXPECT_EQ(d.dockSizes[3], 60);
    d = ComputeDefaultSizes(m, VIEW_TAB_STRIP | VIEW_CATEGORY_ONLY, frame, work);
    EXPECT_EQ(d.dockSizes[0], 84);
    EXPECT_EQ(d.dockSizes[3], 60);
    d = ComputeDefaultSizes(m, VIEW_TAB_STRIP, frame, work);
    EXPECT_EQ(d.dockSizes[0], 108);
    EXPECT_EQ(d.dockSizes[1], 84);
    EXPECT_EQ(d.floatRect, (RECT{100 + (1280 - 367) / 2, 50 + (1024 - 124) / 2,
                                 100 + (1280 - 367) / 2 + 367, 50 + (1024 - 124) / 2 + 124}));
}

TEST(BarMetricsTest, AFloatingRectangleLargerThanTheWorkAreaStartsBeforeIt) {
    const DefaultSizes d =
        ComputeDefaultSizes(MetricsForButtonSize(5), 0, FrameAllowance{6, 6}, RECT{0, 0, 400, 60});
    EXPECT_EQ(d.floatRect.left, (400 - 527) / 2);
    EXPECT_EQ(d.floatRect.right - d.floatRect.left, 527);
}

TEST(BarMetricsTest, ButtonSizeChangeDiscardsTheUsersSizes) {
    // Whatever the user made of the bar, the defaults depend only on the new size.
    const RECT work{0, 0, 1280, 1024};
    const DefaultSizes small =
        ComputeDefaultSizes(MetricsForButtonSize(1), 0x8003, FrameAllowance{6, 6}, work);
    EXPECT_EQ(small.dockSizes[3], 26 + 24);
    EXPECT_EQ(small.floatRect, (RECT{(1280 - 239) / 2, (1024 - 57) / 2, (1280 - 239) / 2 + 239,
                                     (1024 - 57) / 2 + 57}));
}

TEST(BarMetricsTest, TabViewOnThenOffRestoresTheDockSizes) {
    int32_t sizes[4] = {84, 61, 200, 20};
    ToggleTabStripDockSizes(sizes, true);
    EXPECT_EQ(sizes[0], 108);
    EXPECT_EQ(sizes[1], 85);
    EXPECT_EQ(sizes[2], 224);
    EXPECT_EQ(sizes[3], 44);
    ToggleTabStripDockSizes(sizes, false);
    EXPECT_EQ(sizes[0], 84);
    EXPECT_EQ(sizes[1], 61);
    EXPECT_EQ(sizes[2], 200);
    EXPECT_EQ(sizes[3], 20);
}

} // namespace
