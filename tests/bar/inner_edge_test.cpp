// The band along the inner edge of a docked bar that sizes it.
#include <gtest/gtest.h>

#include "model/placement.h"
#include "bar/inner_edge.h"

namespace {

TEST(InnerEdgeTest, OnlyTheBandFacingTheInteriorOfASizableDockedBarSizesIt) {
    const SIZE wide{1280, 84}, tall{84, 1024}, inc{58, 58};
    const struct {
        int32_t state;
        bool autoHide;
        SIZE increment, client;
        POINT point;
        LRESULT expected;
    } cases[] = {
        {STATE_BOTTOM, false, inc, wide, {640, 3}, HTTOP},
        {STATE_BOTTOM, false, inc, wide, {640, 4}, HTNOWHERE},
        {STATE_TOP, false, inc, wide, {0, 80}, HTBOTTOM},
        {STATE_LEFT, false, inc, tall, {83, 500}, HTRIGHT},
        {STATE_LEFT, false, inc, tall, {0, 500}, HTNOWHERE}, // the screen's edge
        {STATE_RIGHT, false, inc, tall, {3, 0}, HTLEFT},
        {STATE_BOTTOM, true, inc, wide, {640, 1}, HTNOWHERE},      // auto-hide
        {STATE_BOTTOM, false, {58, 0}, wide, {640, 1}, HTNOWHERE}, // no increment
        {STATE_FLOAT, false, inc, wide, {640, 1}, HTNOWHERE},
    };
    for (const auto& c : cases) {
        bar::InnerEdgeContext ctx{c.state, c.autoHide, c.increment, c.point, c.client, {4, 4}};
        EXPECT_EQ(bar::InnerEdgeHitTest(ctx), c.expected)
            << c.state << " (" << c.point.x << "," << c.point.y << ")";
    }
}

} // namespace
