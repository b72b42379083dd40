// Docking decisions of the application bar, checked as plain functions.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "rect_compare.h"

#include "model/placement.h"
#include "bar/docking_geometry.h"

namespace {

using namespace bar;

// A 1280 x 1024 monitor whose work area leaves 40 pixels to a taskbar at the bottom.
PointContext At(LONG x, LONG y) {
    PointContext c;
    c.point = POINT{x, y};
    c.monitor = RECT{0, 0, 1280, 1024};
    c.workArea = RECT{0, 0, 1280, 984};
    c.scrollWidth = 17;
    c.scrollHeight = 17;
    c.allowed = ALLOW_ALL;
    return c;
}

TEST(ProposedStateTest, InsideTheWorkAreaLessScrollBarMarginsFloats) {
    EXPECT_EQ(ProposedStateForPoint(At(640, 500)), STATE_FLOAT);
    EXPECT_EQ(ProposedStateForPoint(At(17, 17)), STATE_FLOAT);    // first inner pixel
    EXPECT_EQ(ProposedStateForPoint(At(1262, 966)), STATE_FLOAT); // last inner pixel
    EXPECT_EQ(ProposedStateForPoint(At(16, 500)), STATE_LEFT);    // in the left margin
    EXPECT_EQ(ProposedStateForPoint(At(1263, 500)), STATE_RIGHT); // in the right margin
    EXPECT_EQ(ProposedStateForPoint(At(640, 16)), STATE_TOP);
    EXPECT_EQ(ProposedStateForPoint(At(640, 967)), STATE_BOTTOM);  // margin above the taskbar
    EXPECT_EQ(ProposedStateForPoint(At(640, 1000)), STATE_BOTTOM); // over the taskbar
}

TEST(ProposedStateTest, CtrlFloatsAnywhere) {
    for (POINT p : {POINT{0, 0}, POINT{1279, 500}, POINT{640, 1023}, POINT{3, 3}}) {
        PointContext c = At(p.x, p.y);
        c.ctrlDown = true;
        EXPECT_EQ(ProposedStateForPoint(c), STATE_FLOAT) << p.x << "," << p.y;
    }
    // Only when floating is allowed at all.
    PointContext c = At(2, 500);
    c.ctrlDown = true;
    c.allowed = ALLOW_LEFT_RIGHT | ALLOW_TOP_BOTTOM;
    EXPECT_EQ(ProposedStateForPoint(c), STATE_LEFT);
}

TEST(ProposedStateTest, APointOnADiagonalDocksLeftOrRight) {
    // Centre (640, 512); |dx| * 1024 == |dy| * 1280 for dx = 5k, dy = 4k.
    EXPECT_EQ(ProposedStateForPoint(At(640 - 635, 512 - 508)), STATE_LEFT);
    EXPECT_EQ(ProposedStateForPoint(At(640 + 635, 512 + 508)), STATE_RIGHT);
    EXPECT_EQ(ProposedStateForPoint(At(640 - 630, 512 + 504)), STATE_LEFT);
    // One pixel further along the vertical axis tips it to top or bottom.
    EXPECT_EQ(ProposedStateForPoint(At(640 - 635, 512 - 509)), STATE_TOP);
    EXPECT_EQ(ProposedStateForPoint(At(640 + 630, 512 + 505)), STATE_BOTTOM);
    // Without the left/right pair a diagonal point goes to top or bottom.
    PointContext c = At(640 - 635, 512 - 508);
    c.allowed = ALLOW_TOP_BOTTOM | ALLOW_FLOAT;
    EXPECT_EQ(ProposedStateForPoint(c), STATE_TOP);
}

TEST(ProposedStateTest, AllowedPlacementsSteerTheChoice) {
    PointContext c = At(640, 2); // clearly the top edge
    c.allowed = ALLOW_LEFT_RIGHT | ALLOW_FLOAT;
    EXPECT_EQ(ProposedStateForPoint(c), STATE_RIGHT); // dx = 0 is not left
    c.allowed = ALLOW_FLOAT;                          // no edge pair: floats anywhere
    EXPECT_EQ(ProposedStateForPoint(c), STATE_FLOAT);
    c = At(640, 500);
    c.allowed = ALLOW_TOP_BOTTOM; // floating not allowed: the middle docks too
    EXPECT_EQ(ProposedStateForPoint(c), STATE_TOP);
}

TEST(ProposedStateTest, SecondMonitorUsesItsOwnRectangles) {
    PointContext c;
    c.point = POINT{-1910, 300};
    c.monitor = RECT{-1920, 0, 0, 1080};
    c.workArea = RECT{-1920, 0, 0, 1080};
    c.scrollWidth = c.scrollHeight = 17;
    EXPECT_EQ(ProposedStateForPoint(c), STATE_LEFT);
    c.point = POINT{-5, 540};
    EXPECT_EQ(ProposedStateForPoint(c), STATE_RIGHT);
}

TEST(DockRectTest, AutoHideReservesThreePixelsWhateverTheDockSize) {
    const int32_t sizes[4] = {84, 200, 20, 500};
    for (int32_t state = STATE_LEFT; state <= STATE_BOTTOM; ++state) {
        EXPECT_EQ(DockThickness(state, true, sizes), 3);
        EXPECT_EQ(DockThickness(state, false, sizes), sizes[state]);
    }
    const RECT monitor{0, 0, 1280, 1024};
    EXPECT_EQ(CutToEdge(monitor, STATE_LEFT, 3), (RECT{0, 0, 3, 1024}));
    EXPECT_EQ(CutToEdge(monitor, STATE_TOP, 3), (RECT{0, 0, 1280, 3}));
    EXPECT_EQ(CutToEdge(monitor, STATE_RIGHT, 3), (RECT{1277, 0, 1280, 1024}));
    EXPECT_EQ(CutToEdge(monitor, STATE_BOTTOM, 3), (RECT{0, 1021, 1280, 1024}));
}

TEST(DockRectTest, TheShellsAnswerIsCutAtTheEdge) {
    // A taskbar of 40 pixels at the bottom: the shell moved our bottom edge up.
    const RECT answer{0, 0, 1280, 984};
    EXPECT_EQ(CutToEdge(answer, STATE_BOTTOM, 84), (RECT{0, 900, 1280, 984}));
    EXPECT_EQ(CutToEdge(answer, STATE_LEFT, 84), (RECT{0, 0, 84, 984}));
}

TEST(DockRectTest, ATaskbarTheShellLeftInsideTheAnswerIsDockedBeside) {
    const RECT screen{0, 0, 1280, 800};
    const RECT above{0, 0, 1280, 780};
    const struct {
        RECT answer, taskbar;
        UINT edge;
        RECT workArea, expected;
    } cases[] = {
        // Wine's desktop shell: the whole monitor, a 20-pixel taskbar the work area leaves out.
        {screen, {0, 780, 1280, 800}, ABE_BOTTOM, above, above},
        // Windows: the shell has cut the taskbar off already.
        {above, {0, 780, 1280, 800}, ABE_BOTTOM, above, above},
        // A taskbar that hides itself lies in the work area: docked over.
        {screen, {0, 780, 1280, 800}, ABE_BOTTOM, screen, screen},
        // Wine without its desktop: a one-pixel strip reported, the work area is the screen.
        {screen, {0, 799, 1280, 800}, ABE_BOTTOM, screen, screen},
        {screen, {0, 0, 30, 800}, ABE_LEFT, {30, 0, 1280, 800}, {30, 0, 1280, 800}},
        {screen, {0, 0, 1280, 25}, ABE_TOP, {0, 25, 1280, 800}, {0, 25, 1280, 800}},
        {screen, {1250, 0, 1280, 800}, ABE_RIGHT, {0, 0, 1250, 800}, {0, 0, 1250, 800}},
        // On another monitor, not said, or not at the edge it names: nothing changes.
        {screen, {1280, 780, 2560, 800}, ABE_BOTTOM, above, screen},
        {screen, {0, 0, 0, 0}, ABE_BOTTOM, above, screen},
        {screen, {0, 780, 1280, 800}, ABE_TOP, above, screen},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BesideTaskbar(c.answer, c.taskbar, c.edge, c.workArea), c.expected)
            << ::testing::PrintToString(c.taskbar) << " at " << c.edge;
}

TEST(DockRectTest, AnExpandedAutoHideBarGrowsAwayFromItsEdge) {
    EXPECT_EQ(GrowFromEdge(RECT{0, 1021, 1280, 1024}, STATE_BOTTOM, 84),
              (RECT{0, 940, 1280, 1024}));
    EXPECT_EQ(GrowFromEdge(RECT{0, 0, 3, 1024}, STATE_LEFT, 84), (RECT{0, 0, 84, 1024}));
    EXPECT_EQ(GrowFromEdge(RECT{0, 0, 1280, 3}, STATE_TOP, 60), (RECT{0, 0, 1280, 60}));
    EXPECT_EQ(GrowFromEdge(RECT{1277, 0, 1280, 1024}, STATE_RIGHT, 60),
              (RECT{1220, 0, 1280, 1024}));
}

TEST(DockRectTest, EdgeThicknessIsTheSizeAcrossTheBar) {
    const RECT w{0, 900, 1280, 984};
    EXPECT_EQ(EdgeThickness(w, STATE_BOTTOM), 84);
    EXPECT_EQ(EdgeThickness(w, STATE_TOP), 84);
    EXPECT_EQ(EdgeThickness(RECT{1196, 0, 1280, 1024}, STATE_RIGHT), 84);
}

TEST(DockRectTest, ScalingTruncatesTowardZero) {
    EXPECT_EQ(ScaleRect(RECT{-3, 5, 101, 1023}, 1.5f), (RECT{-4, 7, 151, 1534}));
    EXPECT_EQ(ScaleRect(RECT{-4, 7, 151, 1534}, 1.0f / 1.5f), (RECT{-2, 4, 100, 1022}));
    EXPECT_EQ(ScaleRect(RECT{0, 940, 1280, 1024}, 1.0f), (RECT{0, 940, 1280, 1024}));
}

TEST(DragTest, LeavingAnEdgePlacesTheFloatingShapeAtTheCursor) {
    const DragStep step = DragMoveStep(STATE_BOTTOM, STATE_FLOAT, RECT{300, 400, 800, 500},
                                       POINT{640, 500}, SIZE{503, 124});
    EXPECT_EQ(step.dragState, STATE_FLOAT);
    EXPECT_TRUE(step.leftEdge);
    EXPECT_EQ(step.rect, (RECT{630, 500, 1133, 624}));
}

TEST(DragTest, OtherStepsTakeTheProposal) {
    // From one edge to another: the docked rectangle of the new edge.
    DragStep step =
        DragMoveStep(STATE_BOTTOM, STATE_LEFT, RECT{0, 0, 84, 1024}, POINT{5, 500}, SIZE{503, 124});
    EXPECT_EQ(step.dragState, STATE_LEFT);
    EXPECT_FALSE(step.leftEdge);
    EXPECT_EQ(step.rect, (RECT{0, 0, 84, 1024}));
    // Floating on: the system's own rectangle.
    step = DragMoveStep(STATE_FLOAT, STATE_FLOAT, RECT{10, 20, 513, 144}, POINT{30, 40},
                        SIZE{503, 124});
    EXPECT_EQ(step.dragState, STATE_FLOAT);
    EXPECT_FALSE(step.leftEdge);
    EXPECT_EQ(step.rect, (RECT{10, 20, 513, 144}));
}

TEST(DragTest, AFinishedDragStoresTheSizeOfTheEdgeItResizedOrTheFloatingRectangle) {
    const RECT bottom{0, 900, 1280, 1024}, floating{10, 20, 513, 144};
    const struct {
        const char* what;
        int32_t dragState, state;
        bool autoHide;
        RECT window;
        int32_t dockEdge;
        int thickness;
        bool storeFloat, apply;
    } cases[] = {
        {"resized at its edge", STATE_BOTTOM, STATE_BOTTOM, false, bottom, STATE_BOTTOM, 124, false,
         true},
        {"auto-hide strip keeps the size", STATE_BOTTOM, STATE_BOTTOM, true, bottom, -1, 0, false,
         true},
        {"moved to another edge", STATE_TOP, STATE_BOTTOM, false, bottom, -1, 0, false, true},
        {"floating end", STATE_FLOAT, STATE_BOTTOM, false, floating, -1, 0, true, true},
        {"floating resized", STATE_FLOAT, STATE_FLOAT, false, floating, -1, 0, true, true},
        {"no drag", STATE_NONE, STATE_LEFT, false, bottom, -1, 0, false, false},
    };
    for (const auto& c : cases) {
        const DragEnd end = FinishDrag(c.dragState, c.state, c.autoHide, c.window);
        EXPECT_EQ((std::vector<int>{end.dockEdge, end.thickness, end.storeFloat, end.apply}),
                  (std::vector<int>{c.dockEdge, c.thickness, c.storeFloat, c.apply}))
            << c.what;
    }
}

HitContext Hit(LRESULT answer, int32_t state, POINT client) {
    HitContext c;
    c.defaultAnswer = answer;
    c.state = state;
    c.incrementX = 58;
    c.incrementY = 58;
    c.client = client;
    c.clientSize = SIZE{84, 1024};
    return c;
}

TEST(HitTestTest, APressedButtonDragsTheBarFromItsClientArea) {
    HitContext c = Hit(HTCLIENT, STATE_BOTTOM, POINT{5, 5});
    EXPECT_EQ(AppBarHitTest(c), HTCLIENT);
    c.buttonDown = true;
    EXPECT_EQ(AppBarHitTest(c), HTCAPTION);
    c.state = STATE_FLOAT;
    EXPECT_EQ(AppBarHitTest(c), HTCAPTION);
    c.defaultAnswer = HTLEFT; // floating: the sizing frame answers stand
    EXPECT_EQ(AppBarHitTest(c), HTLEFT);
}

TEST(HitTestTest, ADockedBarSizesOnlyAtTheBorderFacingTheScreen) {
    const SIZE client{84, 1024};
    struct Case {
        int32_t state;
        POINT inner;     // a point beyond the inner border
        LRESULT inwards; // the answer that sizes there
    } cases[] = {{STATE_LEFT, POINT{client.cx + 2, 500}, HTRIGHT},
                 {STATE_TOP, POINT{500, client.cy + 2}, HTBOTTOM},
                 {STATE_RIGHT, POINT{-2, 500}, HTLEFT},
                 {STATE_BOTTOM, POINT{500, -2}, HTTOP}};
    for (const Case& k : cases) {
        for (LRESULT border = HTLEFT; border <= HTBOTTOMRIGHT; ++border) {
            HitContext c = Hit(border, k.state, k.inner);
            c.clientSize = client;
            EXPECT_EQ(AppBarHitTest(c), k.inwards) << k.state << " " << border;
            c.client = POINT{20, 20}; // not beyond the inner border
            EXPECT_EQ(AppBarHitTest(c), HTBORDER) << k.state << " " << border;
            c.client = k.inner;
            c.autoHide = true;
            EXPECT_EQ(AppBarHitTest(c), HTBORDER) << k.state << " " << border;
        }
    }
}

TEST(HitTestTest, NoIncrementAcrossTheEdgeMeansNoSizing) {
    HitContext c = Hit(HTRIGHT, STATE_LEFT, POINT{90, 500});
    c.incrementX = 0;
    EXPECT_EQ(AppBarHitTest(c), HTBORDER);
    c.incrementX = 58;
    c.incrementY = 0; // the other direction does not matter
    EXPECT_EQ(AppBarHitTest(c), HTRIGHT);
    c = Hit(HTTOP, STATE_BOTTOM, POINT{10, -1});
    c.incrementY = 0;
    EXPECT_EQ(AppBarHitTest(c), HTBORDER);
}

TEST(HitTestTest, OtherAnswersPassThrough) {
    for (LRESULT other : {LRESULT{HTNOWHERE}, LRESULT{HTCAPTION}, LRESULT{HTSYSMENU},
                          LRESULT{HTBORDER}, LRESULT{HTTRANSPARENT}}) {
        HitContext c = Hit(other, STATE_TOP, POINT{5, 5});
        c.buttonDown = true;
        EXPECT_EQ(AppBarHitTest(c), other);
    }
}

TEST(AutoHideTest, ACursorNearTheBarKeepsItOpen) {
    const RECT bar{0, 940, 1280, 1024};
    // Double-click rectangle 4 x 4: the margin is 8 pixels each side.
    EXPECT_FALSE(CursorAwayFromBar(bar, POINT{640, 932}, 4, 4));
    EXPECT_TRUE(CursorAwayFromBar(bar, POINT{640, 931}, 4, 4));
    EXPECT_FALSE(CursorAwayFromBar(bar, POINT{1287, 1000}, 4, 4));
    EXPECT_TRUE(CursorAwayFromBar(bar, POINT{1288, 1000}, 4, 4));
    EXPECT_TRUE(CursorAwayFromBar(bar, POINT{640, 300}, 4, 4));
    EXPECT_FALSE(CursorAwayFromBar(bar, POINT{640, 1000}, 4, 4));
}

} // namespace
