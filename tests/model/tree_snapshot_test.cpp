// A save's snapshot holds the tree as it was when taken, whatever happens to the nodes later,
// and a snapshot taken again into the same blocks holds only the new tree. Files whose lists
// lie in pieces read the same as files written in one go.
#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <thread>
#include <utility>

#include "model/child_list.h"
#include "model/data_file.h"
#include "model/sample_trees.h"
#include "model/tree_snapshot.h"
#include "support/test_util.h"

namespace {

void Chain(oVoiceBook& root, uint32_t, int, int) {
    root.ResetAll(L"ToolBar");
    oVoiceBook* at = &root;
    for (int i = 0; i < 60; ++i) {
        at->AddChild(ButtonFields(L"button " + std::to_wstring(i), L"b.exe"));
        at = at->AddChild(CategoryFields(L"level " + std::to_wstring(i)));
    }
}
void Childless(oVoiceBook& root, uint32_t, int, int) {
    root.ResetAll(L"ToolBar");
    root.SetCommand(L"shown");
}

std::string ImageHolds(const model::TreeSnapshot& snapshot, const oVoiceBook& expected) {
    std::vector<uint8_t> image;
    if (!model::BuildDataFileImage(snapshot, model::kCurrentFormat, image))
        return "no image";
    oVoiceBook loaded;
    const auto outcome = model::ReadDataFileImage(loaded, image, false);
    const auto want =
        expected.HasChildren() ? model::LoadOutcome::Loaded : model::LoadOutcome::EmptyTree;
    if (outcome != want)
        return "outcome " + std::to_string(static_cast<int>(outcome));
    return sample::CompareTrees(expected, loaded);
}

} // namespace

TEST(TreeSnapshotTest, AnImageFromASnapshotHoldsTheTreeAsItWasWhenTaken) {
    using Build = std::function<void(oVoiceBook&, uint32_t, int, int)>;
    const struct {
        const char* what;
        Build build;
    } trees[] = {{"deep, every field set", sample::BuildTree},
                 {"a chain 60 deep", Chain},
                 {"only the root", Childless}};
    model::TreeSnapshot snapshot; // one set of blocks for all, as the document keeps it
    for (const auto& tree : trees) {
        SCOPED_TRACE(tree.what);
        oVoiceBook live, expected;
        tree.build(live, 77, 300, 8);
        tree.build(expected, 77, 300, 8);
        snapshot.Take(live);
        // The window thread goes on with its tree while the image is built.
        live.DeleteChildren();
        live.SetCommand(L"changed");
        EXPECT_GT(model::TextBlocksSetAside(), 0u) << "the texts given up are kept";
        EXPECT_EQ(ImageHolds(snapshot, expected), "");
        snapshot.Release();
        EXPECT_EQ(model::TextBlocksSetAside(), 0u) << "and freed once the save has read them";
        // Taken again after the change (the nodes of the last walk partly gone).
        snapshot.Take(live);
        EXPECT_EQ(ImageHolds(snapshot, live), "");
    }
}

TEST(TreeSnapshotTest, ASnapshotReadiedAtLoadTakesTheTreeAsItIsLater) {
    // Readied once the tree is in, taken at the first save: the tree may have grown past the
    // room reserved, or lost the nodes whose order was noted.
    const std::function<void(oVoiceBook&)> changes[] = {
        [](oVoiceBook&) {},
        [](oVoiceBook& tree) {
            oVoiceBook* more = tree.AddChild(CategoryFields(L"more"));
            for (int i = 0; i < 300; ++i)
                more->AddChild(ButtonFields(L"added " + std::to_wstring(i), L"a.exe"));
        },
        [](oVoiceBook& tree) { tree.DeleteChildren(); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE(i);
        oVoiceBook live;
        Chain(live, 0, 0, 0);
        model::TreeSnapshot snapshot;
        snapshot.Plan(live);
        std::thread([&snapshot] { snapshot.Reserve(); }).join();
        changes[i](live);
        snapshot.Take(live);
        EXPECT_EQ(ImageHolds(snapshot, live), "");
        snapshot.Release();
    }
}

TEST(TreeSnapshotTest, ATextGivenNewValuesWhileHeldKeepsTheOldCharacters) {
    model::NodeText text(L"before");
    model::TextReadHold hold;
    hold.Begin();
    const model::NodeText::Block* old = text.Peek();
    text = text.c_str() + std::wstring(L" and after"); // from its own characters
    text.clear();
    EXPECT_EQ(model::NodeText::ViewOf(old), L"before");
    EXPECT_EQ(model::TextBlocksSetAside(), 2u);
    hold.End();
    EXPECT_EQ(model::TextBlocksSetAside(), 0u);
    text = L"x";
    EXPECT_EQ(text, L"x");
    EXPECT_EQ(model::NodeText(text) + L"y", L"xy");
}

TEST(TreeSnapshotTest, ListsInPiecesReadTheSameAsListsInARow) {
    oVoiceBook root;
    sample::BuildTree(root, 5, 60, 1); // categories of buttons, below the root only
    // Two lists written in turns, 512 bytes at a time: their sectors alternate in the file.
    std::vector<const oVoiceBook*> parents{&root};
    for (const oVoiceBook* c = root.FirstChild(); c; c = c->Next())
        parents.push_back(c);
    test::TempDir dir;
    const std::wstring file = dir / L"LarkB_U.tdb";
    {
        const DWORD mode = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
        fw::ComPtr<IStorage> storage;
        ASSERT_HRESULT_SUCCEEDED(::StgCreateDocfile(file.c_str(), mode, 0, storage.put()));
        auto write = [](IStream* s, const std::vector<uint8_t>& b, size_t at, size_t n) {
            ULONG done = 0;
            return n == 0 || SUCCEEDED(s->Write(b.data() + at, static_cast<ULONG>(n), &done));
        };
        std::vector<uint8_t> record;
        model::FillRecord(record, model::RecordLayout::Short, root);
        for (const auto& [name, bytes] :
             {std::pair{L"Header.INF", model::EncodeHeader(model::kCurrentVersion)},
              std::pair{L"Node.INF", record}}) {
            fw::ComPtr<IStream> s;
            ASSERT_HRESULT_SUCCEEDED(storage->CreateStream(name, mode, 0, 0, s.put()));
            ASSERT_TRUE(write(s.get(), bytes, 0, bytes.size()));
        }
        std::vector<fw::ComPtr<IStorage>> subs;
        std::vector<fw::ComPtr<IStream>> lists;
        std::vector<std::vector<uint8_t>> bytes;
        int position = 0;
        for (const oVoiceBook* p : parents) {
            fw::ComPtr<IStorage> at = storage;
            if (p != &root) {
                const int here = position++;
                if (!p->HasChildren())
                    continue;
                ASSERT_HRESULT_SUCCEEDED(storage->CreateStorage(model::StorageName(1, here).c_str(),
                                                                mode, 0, 0, at.put()));
                subs.push_back(at);
            }
            lists.emplace_back();
            ASSERT_HRESULT_SUCCEEDED(
                at->CreateStream(L"ChildInfo.INF", mode, 0, 0, lists.back().put()));
            bytes.push_back(model::EncodeChildList(*p, model::RecordLayout::Long));
        }
        for (size_t at = 0, more = 1; more; at += 512) {
            more = 0;
            for (size_t k = 0; k < lists.size(); ++k) {
                if (at >= bytes[k].size())
                    continue;
                ASSERT_TRUE(write(lists[k].get(), bytes[k], at,
                                  std::min<size_t>(512, bytes[k].size() - at)));
                ++more;
            }
        }
        lists.clear();
        for (auto& sub : subs)
            ASSERT_HRESULT_SUCCEEDED(sub->Commit(STGC_DEFAULT));
        ASSERT_HRESULT_SUCCEEDED(storage->Commit(STGC_DEFAULT));
    }
    oVoiceBook loaded;
    ASSERT_EQ(model::ReadDataFile(loaded, file, false), model::LoadOutcome::Loaded);
    EXPECT_EQ(sample::CompareTrees(root, loaded), "");
}
