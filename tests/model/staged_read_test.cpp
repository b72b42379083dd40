// The data file read in two steps gives the tree the whole read gives, with the same outcome;
// between the steps the chosen category holds its first children (all, or as many as asked
// for, each whole) and the others are empty. A file without a tree to show at once is
// declined and the root left as it was; one whose structure is damaged elsewhere is refused
// by the second step, for the whole read to judge. Read from memory or from a mapped file
// whose pages are given back every few kilobytes, the steps see the same bytes.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "model/damaged_files.h"
#include "model/data_file.h"
#include "model/sample_trees.h"
#include "model/staged_read.h"
#include "support/test_util.h"

namespace {

enum class Way { Staged, Refused, Declined };

// The entries below the child link `link` whose names start with `prefix` and that have
// entries of their own.
std::vector<size_t> StoragesWithContent(const damage::CompoundBytes& file, uint32_t link,
                                        const wchar_t* prefix) {
    const auto entries = file.Entries();
    std::vector<size_t> found;
    for (std::vector<uint32_t> pending{link}; !pending.empty();) {
        const uint32_t at = pending.back();
        pending.pop_back();
        if (at >= entries.size())
            continue;
        const size_t offset = entries[at].offset;
        pending.insert(pending.end(), {file.Get(offset + 68), file.Get(offset + 72)});
        if (entries[at].name.rfind(prefix, 0) == 0 && file.Get(offset + 76) < entries.size())
            found.push_back(at);
    }
    return found;
}

// Two sub-categories of the start category that hold sub-categories with content of their
// own made to share the first's content: the same storages are reached two ways.
std::vector<uint8_t> SharedContent(std::vector<uint8_t> image) {
    damage::CompoundBytes file(std::move(image));
    const auto entries = file.Entries();
    std::vector<size_t> deep;
    for (size_t sub :
         StoragesWithContent(file, file.Get(file.Named(L"01_0002").offset + 76), L"02_"))
        if (!StoragesWithContent(file, file.Get(entries[sub].offset + 76), L"03_").empty())
            deep.push_back(sub);
    if (deep.size() >= 2)
        file.Put(entries[deep[1]].offset + 76, file.Get(entries[deep[0]].offset + 76));
    return std::move(file.bytes);
}

struct StagedCase {
    const char* what;
    std::vector<uint8_t> (*damage)(std::vector<uint8_t>);
    Way way;
    model::LoadOutcome outcome; // of the whole read
};

template <damage::ListDamage How, size_t List>
std::vector<uint8_t> ListDamaged(std::vector<uint8_t> i) {
    const auto list = damage::CompoundBytes(i).Named(L"ChildInfo.INF", List);
    return damage::Damage(std::move(i), How, list);
}

const StagedCase kCases[] = {
    {"sound", [](std::vector<uint8_t> i) { return i; }, Way::Staged, model::LoadOutcome::Loaded},
    {"a later category's storage retyped",
     [](std::vector<uint8_t> i) { return damage::Retype(std::move(i), L"01_0001", 0); },
     Way::Staged, model::LoadOutcome::Partial},
    {"a later category's list runs on", ListDamaged<damage::ListDamage::RunsTooLong, 2>,
     Way::Refused, model::LoadOutcome::Partial},
    {"a later category's list in another's sectors",
     ListDamaged<damage::ListDamage::ReadsOtherList, 2>, Way::Refused, model::LoadOutcome::Partial},
    {"a later category's list loops",
     [](std::vector<uint8_t> i) {
         damage::CompoundBytes file(std::move(i));
         const auto chain = file.Chain(file.Named(L"ChildInfo.INF", 2).start);
         file.Put(file.FatEntry(chain.back()), chain.front());
         return std::move(file.bytes);
     },
     Way::Refused, model::LoadOutcome::Damaged},
    {"the shown category's sub-categories share their content", SharedContent, Way::Refused,
     model::LoadOutcome::Damaged},
    {"the root's list lost", ListDamaged<damage::ListDamage::EmptyStream, 0>, Way::Declined,
     model::LoadOutcome::Damaged},
};

std::vector<const oVoiceBook*> Children(const oVoiceBook& parent) {
    std::vector<const oVoiceBook*> out;
    for (const oVoiceBook* c = parent.FirstChild(); c; c = c->Next())
        out.push_back(c);
    return out;
}

// An identifier list longer than most, so that a list's start read for a few entries must
// be read further.
fw::Pidl LongIdList() {
    std::vector<uint8_t> bytes;
    for (int item = 0; item < 4; ++item) {
        bytes.insert(bytes.end(), {202, 0});
        bytes.insert(bytes.end(), 200, static_cast<uint8_t>(item + 1));
    }
    bytes.insert(bytes.end(), {0, 0});
    void* p = ::CoTaskMemAlloc(bytes.size());
    std::memcpy(p, bytes.data(), bytes.size());
    return fw::Pidl(static_cast<LPITEMIDLIST>(p));
}

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
    for (oVoiceBook* c = Nth(original, 2)->FirstChild(); c; c = c->Next())
        c->SetPidl(LongIdList());
    // Below the chosen category, two sub-categories each holding one with a button.
    std::mt19937 rng(7);
    for (int sub = 0; sub < 2; ++sub) {
        oVoiceBook* parent = Nth(original, 2);
        for (const bool category : {true, true, false}) {
            auto* node = new oVoiceBook();
            sample::RandomContent(rng, *node, category);
            parent->AppendChild(node);
            parent = node;
        }
    }
    std::vector<uint8_t> sound;
    ASSERT_TRUE(model::BuildDataFileImage(original, model::kCurrentFormat, sound));
    ASSERT_NE(damage::CompoundBytes(sound).Named(L"01_0001").offset, 0u);
    test::TempDir dir;
    const std::wstring path = dir / L"tree.tdb";
    const size_t chosenChildren = Children(*Nth(original, 2)).size();
    ASSERT_GT(chosenChildren, 3u);
    for (const StagedCase& c : kCases)
        for (const bool mapped : {false, true})
            for (const size_t firstChildren : {SIZE_MAX, size_t{3}}) {
                SCOPED_TRACE(std::string(c.what) + (mapped ? ", mapped" : "") +
                             (firstChildren == 3 ? ", 3 children first" : ""));
                const std::vector<uint8_t> image = c.damage(sound);
                ASSERT_TRUE(c.way == Way::Staged || image != sound);
                oVoiceBook whole;
                EXPECT_EQ(model::ReadDataFileImage(whole, image, false), c.outcome);

                oVoiceBook staged;
                staged.SetName(L"untouched");
                std::unique_ptr<model::StagedTreeRead> read;
                if (mapped) {
                    ASSERT_TRUE(test::WriteFileBytes(path, image));
                    model::MappedFile file;
                    ASSERT_EQ(file.Open(path), model::ReadResult::Ok);
                    read = std::make_unique<model::StagedTreeRead>(std::move(file), false, 8192);
                } else {
                    read = std::make_unique<model::StagedTreeRead>(image, false);
                }
                const bool taken = read->ReadFirst(
                    staged, [](const oVoiceBook& r) { return Nth(r, 2); }, firstChildren);
                ASSERT_EQ(taken, c.way != Way::Declined);
                if (!taken) {
                    EXPECT_EQ(staged.m_strName, L"untouched");
                    EXPECT_EQ(staged.FirstChild(), nullptr);
                    EXPECT_EQ(read->TakeImage(), image);
                    continue;
                }
                // Between the steps: every category of the root, only the chosen one filled, with
                // as many children as were asked for, each whole (unless the damage lies there).
                const auto wanted = Children(*Nth(original, 2));
                const auto got = Children(*Nth(staged, 2));
                ASSERT_EQ(got.size(), std::min(firstChildren, wanted.size()));
                EXPECT_EQ(read->FirstIsWhole(), got.size() == wanted.size());
                for (size_t i = 0; i < got.size() && c.damage != SharedContent; ++i)
                    EXPECT_EQ(sample::CompareTrees(*wanted[i], *got[i]), "");
                for (const oVoiceBook* top = staged.FirstChild(); top; top = top->Next())
                    EXPECT_TRUE(top == Nth(staged, 2) || !top->HasChildren());

                std::atomic<bool> stop{false};
                read->ReadRest(stop);
                ASSERT_EQ(read->Refused(), c.way == Way::Refused);
                if (read->Refused()) {
                    EXPECT_EQ(read->Attach(staged), model::LoadOutcome::Damaged);
                    EXPECT_TRUE(read->TakeImage() == image);
                    continue;
                }
                std::vector<uint8_t> visited;
                EXPECT_TRUE(read->VisitImage([&](const uint8_t* data, size_t size) {
                    visited.insert(visited.end(), data, data + size);
                }));
                EXPECT_TRUE(visited == image);
                EXPECT_EQ(read->Attach(staged), c.outcome);
                EXPECT_EQ(sample::CompareTrees(whole, staged), "");
                EXPECT_TRUE(read->CopyImage() == image);
            }
}
