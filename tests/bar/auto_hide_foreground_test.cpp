// An expanded auto-hide bar of the real program collapses once the mouse, moved by real
// input, has left it for the window of another program in the foreground.
#include "bar_process_fixture.h"

namespace {

using namespace bartest;

class AutoHideForegroundTest : public BarWindowTest {};

TEST_F(AutoHideForegroundTest, AnExpandedBarCollapsesWhenTheMouseLeavesForAnotherProgram) {
    test::WriteRegDword(kAppBarInfo, L"AutoHide", 1);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    BringOtherWindowToFront(); // this test program's window, at (300, 200) to (700, 500)
    ASSERT_EQ(::GetForegroundWindow(), other_);
    const POINT onOther{550, 400};
    MouseTo(onOther);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 3))) << ::testing::PrintToString(WindowRect(bar));

    // The mouse rests on the strip: the bar opens over the other program, which keeps the
    // foreground.
    MouseTo(POINT{640, screen_.bottom - 2});
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_EQ(::GetForegroundWindow(), other_);

    // A hand moves back up in steps, through the bar, onto the other program's window.
    for (LONG y = screen_.bottom - 10; y > onOther.y; y -= 60)
        MouseTo(POINT{600, y});
    MouseTo(onOther);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3), 5000)) << ::testing::PrintToString(WindowRect(bar));
    Exit(lark);
}

} // namespace
