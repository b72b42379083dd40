// The band along the inner edge of a docked bar that sizes it.
#include <gtest/gtest.h>

#include "app/placement.h"
#include "bar/inner_edge.h"

namespace {

TEST(InnerEdgeTest, OnlyTheBandFacingTheInteriorOfASizableDockedBarSizesIt) {
    const SIZE wide{1280, 84}, tall{84, 1024}, band{4, 4}, inc{58, 58};
    const struct {
        int32_t state;
        bool autoHide;
        SIZE increment;
        SIZE client;
        POINT point;
        LRESULT expected;
    } cases[] = {
        {STATE_BOTTOM, false, inc, wide, {640, 0}, HTTOP},
        {STATE_BOTTOM, false, inc, wide, {640, 3}, HTTOP},
        {STATE_BOTTOM, false, inc, wide, {640, 4}, HTNOWHERE},
        {STATE_BOTTOM, false, inc, wide, {640, 83}, HTNOWHERE}, // the screen's edge
        {STATE_TOP, false, inc, wide, {0, 80}, HTBOTTOM},
        {STATE_TOP, false, inc, wide, {0, 79}, HTNOWHERE},
        {STATE_LEFT, false, inc, tall, {83, 500}, HTRIGHT},
        {STATE_LEFT, false, inc, tall, {0, 500}, HTNOWHERE},
        {STATE_RIGHT, false, inc, tall, {3, 0}, HTLEFT},
        {STATE_RIGHT, false, inc, tall, {84, 10}, HTNOWHERE}, // outside the client area
        {STATE_BOTTOM, true, inc, wide, {640, 1}, HTNOWHERE}, // auto-hide: no sizing
        {STATE_BOTTOM, false, {58, 0}, wide, {640, 1}, HTNOWHERE}, // no vertical increment
        {STATE_LEFT, false, {0, 58}, tall, {83, 1}, HTNOWHERE},
        {STATE_FLOAT, false, inc, wide, {640, 1}, HTNOWHERE}, // floating: the frame sizes
    };
    for (const auto& c : cases) {
        bar::InnerEdgeContext ctx;
        ctx.state = c.state;
        ctx.autoHide = c.autoHide;
        ctx.increment = c.increment;
        ctx.client = c.point;
        ctx.clientSize = c.client;
        ctx.band = band;
        EXPECT_EQ(bar::InnerEdgeHitTest(ctx), c.expected)
            << c.state << " (" << c.point.x << "," << c.point.y << ")";
    }
}

TEST(InnerEdgeTest, SizingAnswersMapToTheSystemsSizingEdges) {
    EXPECT_EQ(bar::SizingEdgeOfHit(HTLEFT), static_cast<UINT>(WMSZ_LEFT));
    EXPECT_EQ(bar::SizingEdgeOfHit(HTRIGHT), static_cast<UINT>(WMSZ_RIGHT));
    EXPECT_EQ(bar::SizingEdgeOfHit(HTTOP), static_cast<UINT>(WMSZ_TOP));
    EXPECT_EQ(bar::SizingEdgeOfHit(HTBOTTOM), static_cast<UINT>(WMSZ_BOTTOM));
}

} // namespace
