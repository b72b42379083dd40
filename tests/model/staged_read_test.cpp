// The data file read in two steps gives the tree the whole read gives, with the same outcome;
// between the steps the chosen category is whole and the others empty. A file the whole read
// must judge is declined and the root left as it was.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "model/damaged_files.h"
#include "model/data_file.h"
#include "model/sample_trees.h"
#include "model/staged_read.h"

namespace {

struct StagedCase {
    const char* what;
    std::vector<uint8_t> (*damage)(std::vector<uint8_t>);
    bool staged; // taken in two steps; otherwise declined
    model::LoadOutcome outcome;
};

const StagedCase kCases[] = {
    {"sound", [](std::vector<uint8_t> i) { return i; }, true, model::LoadOutcome::Loaded},
    {"a later category's storage retyped",
     [](std::vector<uint8_t> i) { return damage::Retype(std::move(i), L"01_0001", 0); }, true,
     model::LoadOutcome::Partial},
    {"a later category's list runs on",
     [](std::vector<uint8_t> i) {
         const auto list = damage::CompoundBytes(i).Named(L"ChildInfo.INF", 2);
         return damage::Damage(std::move(i), damage::ListDamage::RunsTooLong, list);
     },
     false, model::LoadOutcome::Partial},
    {"the root's list lost",
     [](std::vector<uint8_t> i) {
         const auto list = damage::CompoundBytes(i).Named(L"ChildInfo.INF", 0);
         return damage::Damage(std::move(i), damage::ListDamage::EmptyStream, list);
     },
     false, model::LoadOutcome::Damaged},
};

oVoiceBook* Nth(const oVoiceBook& root, int n) {
    oVoiceBook* c = root.FirstChild();
    while (c && n-- > 0)
        c = c->Next();
    return c;
}

} // namespace

TEST(StagedReadTest, TwoStepsGiveWhatTheWholeReadGives) {
    oVoiceBook original;
    sample::BuildTree(original, 26, 400, 4);
    std::vector<uint8_t> sound;
    ASSERT_TRUE(model::BuildDataFileImage(original, model::kCurrentFormat, sound));
    ASSERT_NE(damage::CompoundBytes(sound).Named(L"01_0001").offset, 0u);
    for (const StagedCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> image = c.damage(sound);
        oVoiceBook whole;
        EXPECT_EQ(model::ReadDataFileImage(whole, image, false), c.outcome);

        oVoiceBook staged;
        staged.SetName(L"untouched");
        model::StagedTreeRead read(image, false);
        const bool taken = read.ReadFirst(staged, [](const oVoiceBook& r) { return Nth(r, 2); });
        ASSERT_EQ(taken, c.staged);
        if (!taken) {
            EXPECT_EQ(staged.m_strName, L"untouched");
            EXPECT_EQ(staged.FirstChild(), nullptr);
            EXPECT_EQ(read.TakeImage(), image);
            continue;
        }
        // Between the steps: every category of the root, only the chosen one filled.
        EXPECT_EQ(sample::CountNodes(*Nth(staged, 2)), sample::CountNodes(*Nth(whole, 2)));
        EXPECT_EQ(sample::CompareTrees(*Nth(whole, 2), *Nth(staged, 2)), "");
        for (const oVoiceBook* top = staged.FirstChild(); top; top = top->Next())
            EXPECT_TRUE(top == Nth(staged, 2) || !top->HasChildren());

        std::atomic<bool> stop{false};
        read.ReadRest(stop);
        EXPECT_EQ(read.Attach(staged), c.outcome);
        EXPECT_EQ(sample::CompareTrees(whole, staged), "");
    }
}
