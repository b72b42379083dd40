// The find box's entries: kept between openings, collected again after any change of the
// tree that they are made of, and given a launch's counts in place.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "bar/find_entries.h"
#include "model/launch_stats.h"
#include "support/tree_building.h"

namespace {

TEST(FindEntriesTest, KeptUntilTheTreeChangesThenCollectedAgain) {
    oVoiceBook root;
    oVoiceBook* work = test::Category(root, L"Work");
    oVoiceBook* paint = test::Button(*work, L"Paint");
    test::Button(*work, L"Notes");
    test::Button(root, L"Mail");
    model::LaunchStats stats;
    bar::FindEntriesCache cache;
    auto list = cache.For(root, stats);
    ASSERT_EQ(list->entries.size(), 4u);
    EXPECT_EQ(cache.For(root, stats), list) << "nothing changed";

    const struct {
        const char* edit;
        std::function<void()> apply;
        size_t entries;
    } edits[] = {
        {"rename", [&] { paint->SetName(L"Paint Shop"); }, 4},
        {"add", [&] { test::Button(*work, L"Photo"); }, 5},
        {"move",
         [&] {
             work->Unlink(paint);
             root.InsertFirstChild(paint);
         },
         5},
        {"role", [&] { paint->m_nRole = ROLE_SEPARATOR; }, 4},
        {"remove", [&] { root.RemoveChild(test::Child(&root, L"Mail")); }, 3},
    };
    for (const auto& e : edits) {
        e.apply();
        const auto next = cache.For(root, stats);
        EXPECT_NE(next, list) << e.edit;
        EXPECT_EQ(next->entries.size(), e.entries) << e.edit;
        list = next;
    }
    EXPECT_EQ(list->candidates[0].name.folded, L"work");

    cache.NoteLaunch(test::Child(work, L"Notes")->m_nSerial, {7, 42});
    const auto counted = cache.For(root, stats);
    EXPECT_EQ(counted, list);
    EXPECT_EQ(counted->candidates[1].launches, 7u);
    EXPECT_EQ(counted->candidates[1].lastLaunch, 42u);
}

} // namespace
