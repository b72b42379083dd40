// Sizing by the mouse follows the cursor from where the sizing began.
#include <gtest/gtest.h>

#include "bar/bar_layout.h"
#include "bar/sizing_track.h"
#include "rect_compare.h"

namespace {

TEST(SizingTrackTest, TheDraggedEdgesFollowTheCursorOffset) {
    const RECT start{0, 940, 1280, 1024};
    const POINT from{640, 941};
    const struct {
        UINT edge;
        POINT to;
        RECT expected;
    } cases[] = {
        {WMSZ_TOP, {600, 871}, {0, 870, 1280, 1024}},
        {WMSZ_BOTTOM, {640, 951}, {0, 940, 1280, 1034}},
        {WMSZ_LEFT, {650, 0}, {10, 940, 1280, 1024}},
        {WMSZ_RIGHT, {630, 941}, {0, 940, 1270, 1024}},
        {WMSZ_TOPLEFT, {630, 931}, {-10, 930, 1280, 1024}},
        {WMSZ_BOTTOMRIGHT, {645, 946}, {0, 940, 1285, 1029}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bar::TrackSizingRect(start, c.edge, from, c.to), c.expected) << c.edge;
}

TEST(SizingTrackTest, ADragInStepsSmallerThanTheIncrementStillSizesTheBar) {
    // What the system's loop does: each step starts from the rectangle the last one left.
    const RECT start{0, 940, 1280, 1024};
    const POINT from{640, 941};
    RECT rect = start;
    for (LONG y = 936; y >= 871; y -= 5) {
        RECT proposed = rect;
        proposed.top -= 5;
        (void)proposed; // the system's proposal, which the tracking does not use
        const RECT wanted = bar::TrackSizingRect(start, WMSZ_TOP, from, POINT{640, y});
        rect = bar::SnapSizingRect(start, wanted, WMSZ_TOP, SIZE{58, 58});
    }
    EXPECT_EQ(rect, (RECT{0, 940 - 58, 1280, 1024}));
}

} // namespace
