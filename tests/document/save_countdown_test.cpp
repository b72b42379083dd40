// When the tree is written after a change, with the bar's one-second ticks simulated.
#include <gtest/gtest.h>

#include "document/save_countdown.h"

namespace {

// Ticks until the save is due; the number of ticks, or -1 when none came within `limit`.
int TicksUntilSave(SaveCountdown& c, int limit = 1000) {
    for (int tick = 1; tick <= limit; ++tick)
        if (c.Tick())
            return tick;
    return -1;
}

} // namespace

TEST(SaveCountdownTest, NothingIsSavedWithoutAChange) {
    SaveCountdown c;
    EXPECT_FALSE(c.IsPending());
    EXPECT_EQ(TicksUntilSave(c), -1);
    EXPECT_FALSE(c.TakePending());
}

TEST(SaveCountdownTest, TheSaveComesBetween60And61SecondsAfterTheFirstChange) {
    // Ticks come every second; a change may come at any moment between two ticks.
    for (double changeAt : {0.001, 0.25, 0.5, 0.999}) {
        SaveCountdown c;
        c.MarkModified();
        const int tick = TicksUntilSave(c);
        ASSERT_GT(tick, 0);
        const double savedAt = tick; // ticks at 1 s, 2 s, ... after the tick before the change
        EXPECT_GT(savedAt - changeAt, 60.0);
        EXPECT_LE(savedAt - changeAt, 61.0);
        EXPECT_FALSE(c.IsPending());
        EXPECT_EQ(TicksUntilSave(c), -1); // once
    }
}

TEST(SaveCountdownTest, LaterChangesDoNotRestartIt) {
    SaveCountdown c;
    c.MarkModified();
    for (int i = 0; i < 40; ++i)
        ASSERT_FALSE(c.Tick());
    c.MarkModified();
    c.MarkModified();
    EXPECT_EQ(TicksUntilSave(c), 21);
}

TEST(SaveCountdownTest, ShowingACategoryRestartsIt) {
    SaveCountdown c;
    c.MarkModified();
    for (int i = 0; i < 40; ++i)
        ASSERT_FALSE(c.Tick());
    c.Restart();
    EXPECT_EQ(TicksUntilSave(c), 61);
    // Showing a category with nothing pending starts it too.
    c.Restart();
    EXPECT_TRUE(c.IsPending());
}

TEST(SaveCountdownTest, AFailedSaveStaysPendingAndIsTriedAgain) {
    SaveCountdown c;
    c.MarkModified();
    ASSERT_EQ(TicksUntilSave(c), 61);
    c.SaveFailed();
    EXPECT_TRUE(c.IsPending());
    EXPECT_EQ(TicksUntilSave(c), 61);
    c.SaveFailed();
    EXPECT_TRUE(c.TakePending()); // and at exit
}

TEST(SaveCountdownTest, ExitTakesAPendingChange) {
    SaveCountdown c;
    c.MarkModified();
    c.Tick();
    EXPECT_TRUE(c.TakePending());
    EXPECT_FALSE(c.IsPending());
    EXPECT_FALSE(c.TakePending());
    EXPECT_EQ(TicksUntilSave(c), -1);
}
