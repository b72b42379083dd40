// Sizing a docked bar of the real program by dragging its inner edge with real input, also
// where the program button bar lies under the edge.
#include "bar_process_fixture.h"

namespace {

using namespace bartest;

class InnerEdgeSizingTest : public BarWindowTest {};

TEST_F(InnerEdgeSizingTest, DraggingTheInnerEdgeStoresThatEdgesNewThickness) {
    // Very large buttons: one step is 58 pixels (56 and the gap of 2); 70 pixels make one.
    const struct {
        UINT command;
        int32_t state;
        const wchar_t* value;
        POINT press;
        POINT drag;
    } cases[] = {
        {kBottom, 3, L"DockSizeBottom", {640, 1024 - 84 + 1}, {0, -70}},
        {kLeft, 0, L"DockSizeLeft", {84 - 2, 500}, {70, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        test::LarkProcess lark(exe_);
        HWND bar = Start(lark);
        Command(bar, c.command);
        ASSERT_TRUE(WaitForRect(bar, Docked(c.state, 84)));
        ASSERT_EQ(screen_.bottom, 1024); // the presses above are placed for this screen
        // The moves that follow must be the sizing loop's.
        PressToDrag(bar, c.press);
        // A hand moves in small steps, each well below one increment.
        for (int step = 1; step <= 10; ++step)
            MouseTo(POINT{c.press.x + c.drag.x * step / 10, c.press.y + c.drag.y * step / 10});
        LeftButton(false);
        EXPECT_TRUE(WaitForRect(bar, Docked(c.state, 84 + 58)))
            << ::testing::PrintToString(WindowRect(bar));
        EXPECT_TRUE(
            test::WaitUntil([&] { return ReadPlacementValue(c.value) == 142; }, test::kPatientMs));
        EXPECT_EQ(ReadPlacementValue(L"DockSizeTop"), 84);
        Exit(lark);
    }
}

} // namespace
