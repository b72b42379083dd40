// Damaged data files: truncated and mutated copies, in the container and in the streams,
// load without crashing or hanging, keep what was read before the damage and never give
// a node an unsound identifier list.
#include <gtest/gtest.h>

#include <objbase.h>

#include <random>
#include <vector>

#include "model/child_list.h"
#include "model/damaged_files.h"
#include "model/data_file.h"
#include "model/memory_lock_bytes.h"
#include "model/pidl.h"
#include "model/sample_trees.h"
#include "support/test_util.h"

namespace {

// Every identifier list in the tree is sound within the memory it was given.
std::string CheckIdLists(oVoiceBook& root) {
    fw::ComPtr<IMalloc> malloc;
    ::CoGetMalloc(1, malloc.put());
    std::string why;
    root.WalkDescendantsF([&](oTreeNode& n) {
        auto& node = static_cast<oVoiceBook&>(n);
        if (node.m_pidl) {
            const size_t size = malloc->GetSize(node.m_pidl.get());
            if (!model::PidlIsWellFormed(node.m_pidl.get(), size)) {
                why = "unsound identifier list on '" + sample::Narrow(node.m_strName) + "'";
                return int{WALK_STOP};
            }
        }
        return int{WALK_DESCEND};
    });
    return why;
}

std::string CheckDepths(oVoiceBook& root) {
    std::string why;
    root.WalkDescendantsF([&](oTreeNode& n) {
        if (n.m_nDepth != n.m_pParent->m_nDepth + 1) {
            why = "depth does not follow the parent";
            return int{WALK_STOP};
        }
        return int{WALK_DESCEND};
    });
    return why;
}

std::vector<const oVoiceBook*> Children(const oVoiceBook& node) {
    std::vector<const oVoiceBook*> out;
    for (const oVoiceBook* c = node.FirstChild(); c; c = c->Next())
        out.push_back(c);
    return out;
}

// Node and subtree agree.
std::string CompareSubtrees(const oVoiceBook& a, const oVoiceBook& b) {
    std::string why = sample::CompareNodes(a, b);
    if (!why.empty())
        return why;
    const auto x = Children(a), y = Children(b);
    if (x.size() != y.size())
        return "child count of '" + sample::Narrow(a.m_strName) + "'";
    for (size_t i = 0; i < x.size(); ++i) {
        why = CompareSubtrees(*x[i], *y[i]);
        if (!why.empty())
            return why;
    }
    return {};
}

// The node agrees with the original, but for an identifier list that was dropped because
// it was cut off.
std::string CompareAllowingDroppedList(const oVoiceBook& original, const oVoiceBook& loaded) {
    if (loaded.m_pidl || !original.m_pidl)
        return sample::CompareNodes(original, loaded);
    oVoiceBook copy;
    copy.CopyFrom(original);
    copy.m_pidl.reset();
    copy.m_nDepth = original.m_nDepth;
    return sample::CompareNodes(copy, loaded);
}

// What was loaded is a part of the original: every loaded node sits at the same place in
// the original and agrees with it; nothing is invented or changed.
std::string CheckIsPrefix(const oVoiceBook& original, const oVoiceBook& loaded) {
    const auto x = Children(original), y = Children(loaded);
    if (y.size() > x.size())
        return "more children than the original below '" + sample::Narrow(original.m_strName) + "'";
    for (size_t i = 0; i < y.size(); ++i) {
        std::string why = CompareAllowingDroppedList(*x[i], *y[i]);
        if (why.empty())
            why = CheckIsPrefix(*x[i], *y[i]);
        if (!why.empty())
            return why;
    }
    return {};
}

class RobustnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        sample::BuildTree(original, 99, 24, 5);
        ASSERT_TRUE(model::BuildDataFileImage(original, model::kCurrentFormat, image));
        oVoiceBook check;
        ASSERT_EQ(model::ReadDataFileImage(check, image, false), model::LoadOutcome::Loaded);
        ASSERT_EQ(sample::CompareTrees(original, check), "");
    }

    // The child-list streams of the image, by their storage path ("" for the root's).
    struct ListStream {
        std::vector<std::wstring> storages;
        const oVoiceBook* parent;
    };
    std::vector<ListStream> ListStreams() const {
        std::vector<ListStream> out;
        std::vector<std::pair<const oVoiceBook*, std::vector<std::wstring>>> pending{
            {&original, {}}};
        while (!pending.empty()) {
            auto [node, path] = pending.back();
            pending.pop_back();
            out.push_back({path, node});
            int position = 0;
            for (const oVoiceBook* c = node->FirstChild(); c; c = c->Next(), ++position) {
                if (!c->HasChildren())
                    continue;
                auto sub = path;
                sub.push_back(model::StorageName(static_cast<int>(path.size()) + 1, position));
                pending.emplace_back(c, sub);
            }
        }
        return out;
    }

    // Edits one child-list stream of a copy of the image through the storage API.
    template <class F> std::vector<uint8_t> EditStream(const ListStream& target, F edit) const {
        auto bytes = model::MemoryLockBytes::Create(image);
        {
            const DWORD mode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
            std::vector<fw::ComPtr<IStorage>> chain(1);
            EXPECT_HRESULT_SUCCEEDED(::StgOpenStorageOnILockBytes(bytes.get(), nullptr, mode,
                                                                  nullptr, 0, chain[0].put()));
            for (const std::wstring& name : target.storages) {
                fw::ComPtr<IStorage> sub;
                EXPECT_HRESULT_SUCCEEDED(
                    chain.back()->OpenStorage(name.c_str(), nullptr, mode, nullptr, 0, sub.put()));
                chain.push_back(sub);
            }
            fw::ComPtr<IStream> stream;
            EXPECT_HRESULT_SUCCEEDED(
                chain.back()->OpenStream(L"ChildInfo.INF", nullptr, mode, 0, stream.put()));
            STATSTG stat{};
            stream->Stat(&stat, STATFLAG_NONAME);
            std::vector<uint8_t> content(static_cast<size_t>(stat.cbSize.QuadPart));
            ULONG got = 0;
            stream->Read(content.data(), static_cast<ULONG>(content.size()), &got);
            edit(content);
            LARGE_INTEGER zero{};
            stream->Seek(zero, STREAM_SEEK_SET, nullptr);
            ULARGE_INTEGER size{};
            size.QuadPart = content.size();
            stream->SetSize(size);
            ULONG written = 0;
            stream->Write(content.data(), static_cast<ULONG>(content.size()), &written);
            stream.reset();
            for (auto it = chain.rbegin(); it != chain.rend(); ++it)
                (*it)->Commit(STGC_DEFAULT);
        }
        return bytes->TakeBytes();
    }

    oVoiceBook original;
    std::vector<uint8_t> image;
};

} // namespace

TEST_F(RobustnessTest, TruncatedFilesLoadAPartOfTheTree) {
    std::mt19937 rng(1);
    std::vector<size_t> cuts;
    for (size_t cut = 0; cut < image.size(); cut += 512)
        cuts.push_back(cut);
    for (int i = 0; i < 1500; ++i)
        cuts.push_back(rng() % image.size());
    int loaded = 0;
    for (size_t cut : cuts) {
        SCOPED_TRACE(cut);
        oVoiceBook root;
        const auto outcome = model::ReadDataFileImage(
            root, std::vector<uint8_t>(image.begin(), image.begin() + cut), false);
        loaded += outcome == model::LoadOutcome::Loaded;
        ASSERT_EQ(CheckIdLists(root), "");
        ASSERT_EQ(CheckDepths(root), "");
        ASSERT_EQ(CheckIsPrefix(original, root), "");
    }
    // Through a file too: the same reading with the file in between.
    test::TempDir dir;
    const std::wstring file = dir / L"LarkB_U.tdb";
    for (size_t cut : {image.size() / 3, image.size() / 2, image.size() - 1}) {
        ASSERT_TRUE(test::WriteFileBytes(file, {image.begin(), image.begin() + cut}));
        oVoiceBook root;
        root.LoadFile(file);
        EXPECT_EQ(CheckIsPrefix(original, root), "");
    }
    RecordProperty("cuts", static_cast<int>(cuts.size()));
    RecordProperty("loaded", loaded);
}

TEST_F(RobustnessTest, RandomlyMutatedFilesLoadSafely) {
    std::mt19937 rng(2);
    std::uniform_int_distribution<int> changes(1, 8), byte(0, 255);
    for (int i = 0; i < 2500; ++i) {
        SCOPED_TRACE(i);
        auto copy = image;
        const int n = changes(rng);
        // Half of the copies are damaged in one place (a few neighbouring bytes), half all over.
        const size_t at = rng() % copy.size();
        for (int k = 0; k < n; ++k) {
            const size_t where = i % 2 ? rng() % copy.size() : std::min(copy.size() - 1, at + k);
            copy[where] = static_cast<uint8_t>(byte(rng));
        }
        oVoiceBook root;
        model::ReadDataFileImage(root, std::move(copy), false);
        ASSERT_EQ(CheckIdLists(root), "");
        ASSERT_EQ(CheckDepths(root), "");
    }
}

TEST_F(RobustnessTest, DamageInsideAChildListKeepsTheEntriesBeforeIt) {
    const auto streams = ListStreams();
    ASSERT_GE(streams.size(), 5u);
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> byte(0, 255), span(1, 16);
    for (int i = 0; i < 1200; ++i) {
        SCOPED_TRACE(i);
        const ListStream& target = streams[rng() % streams.size()];
        const auto children = Children(*target.parent);
        // Where each entry's count lies, to aim a third of the damage at counts.
        std::vector<size_t> countOffsets;
        size_t offset = 0;
        for (const oVoiceBook* c : children) {
            countOffsets.push_back(offset + model::RecordSize(model::RecordLayout::Long));
            offset +=
                model::RecordSize(model::RecordLayout::Long) + 4 + model::PidlSize(c->m_pidl.get());
        }
        size_t damagedAt = 0;
        const bool truncate = i % 4 == 0;
        const auto copy = EditStream(target, [&](std::vector<uint8_t>& content) {
            damagedAt = i % 3 == 0 ? countOffsets[rng() % countOffsets.size()] + rng() % 4
                                   : rng() % content.size();
            if (truncate) {
                content.resize(damagedAt);
                return;
            }
            const size_t end = std::min(content.size(), damagedAt + span(rng));
            for (size_t k = damagedAt; k < end; ++k)
                content[k] = static_cast<uint8_t>(byte(rng));
        });
        oVoiceBook root;
        const auto outcome = model::ReadDataFileImage(root, copy, false);
        ASSERT_EQ(CheckIdLists(root), "");
        ASSERT_EQ(CheckDepths(root), "");
        if (truncate) {
            // A list cut short is read as far as it goes and the file counts as read in part;
            // without one entry at the top, as unreadable. Only a cut at an entry's end that
            // leaves no sub-storage behind cannot be seen.
            const size_t recordSize = model::RecordSize(model::RecordLayout::Long);
            size_t kept = 0, end = 0;
            while (kept < children.size() &&
                   end + recordSize + 4 + model::PidlSize(children[kept]->m_pidl.get()) <=
                       damagedAt)
                end += recordSize + 4 + model::PidlSize(children[kept++]->m_pidl.get());
            bool lostStorages = false;
            for (size_t k = kept; k < children.size(); ++k)
                lostStorages = lostStorages || children[k]->HasChildren();
            if (target.storages.empty() && damagedAt < recordSize)
                EXPECT_EQ(outcome, model::LoadOutcome::Damaged);
            else if (end == damagedAt && kept > 0 && !lostStorages)
                EXPECT_EQ(outcome, model::LoadOutcome::Loaded);
            else
                EXPECT_EQ(outcome, model::LoadOutcome::Partial);
        }

        // Find the loaded node that stands for the damaged list's parent.
        const oVoiceBook* loadedParent = &root;
        const oVoiceBook* originalAt = &original;
        for (const std::wstring& name : target.storages) {
            const int position = std::stoi(name.substr(name.find(L'_') + 1));
            const auto o = Children(*originalAt), l = Children(*loadedParent);
            ASSERT_LT(static_cast<size_t>(position), l.size());
            originalAt = o[static_cast<size_t>(position)];
            loadedParent = l[static_cast<size_t>(position)];
        }
        // Entries that end before the damage are there with their whole subtrees.
        const auto loadedChildren = Children(*loadedParent);
        size_t end = 0;
        for (size_t k = 0; k < children.size(); ++k) {
            end += model::RecordSize(model::RecordLayout::Long) + 4 +
                   model::PidlSize(children[k]->m_pidl.get());
            if (end > damagedAt)
                break;
            ASSERT_LT(k, loadedChildren.size());
            ASSERT_EQ(CompareSubtrees(*children[k], *loadedChildren[k]), "") << "entry " << k;
        }
    }
}

TEST_F(RobustnessTest, AbsurdIdentifierListCountsAreRefusedBeforeAllocating) {
    const auto streams = ListStreams();
    const ListStream& top = streams.front();
    ASSERT_TRUE(top.storages.empty());
    for (uint32_t count : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x10000000u, 3000000u}) {
        const auto copy = EditStream(top, [&](std::vector<uint8_t>& content) {
            std::memcpy(content.data() + 10524, &count, 4);
        });
        oVoiceBook root;
        model::ReadDataFileImage(root, copy, false);
        ASSERT_TRUE(root.FirstChild());
        EXPECT_FALSE(root.FirstChild()->m_pidl);
        EXPECT_EQ(sample::CompareNodes(*root.FirstChild(), *original.FirstChild()).find("name"),
                  std::string::npos);
        EXPECT_EQ(root.FirstChild()->Next(), nullptr); // reading stopped there
    }
}

namespace {

// Two categories of three buttons each: three child lists of many sectors.
void BuildSmallTree(oVoiceBook& root) {
    root.ResetAll(L"ToolBar");
    for (const wchar_t* name : {L"A", L"B"}) {
        oVoiceBook* category = root.AddChild(CategoryFields(name));
        for (int i = 0; i < 3; ++i)
            category->AddChild(ButtonFields(L"Button", L"b.exe"));
    }
}

} // namespace

TEST(DamagedContainerTest, ATopLevelListLostToDamageLeavesNothingToRead) {
    oVoiceBook original;
    BuildSmallTree(original);
    std::vector<uint8_t> image;
    ASSERT_TRUE(model::BuildDataFileImage(original, model::kCurrentFormat, image));
    const auto topList = damage::CompoundBytes(image).Named(L"ChildInfo.INF", 0);
    ASSERT_EQ(topList.size, 2 * (10524u + 4u));
    // The last reads buttons of a category's list in its place: not one category is left.
    for (auto how : {damage::ListDamage::EmptyStream, damage::ListDamage::StartsOutside,
                     damage::ListDamage::AllocationWiped, damage::ListDamage::ReadsOtherList}) {
        SCOPED_TRACE(static_cast<int>(how));
        oVoiceBook root;
        EXPECT_EQ(model::ReadDataFileImage(root, damage::Damage(image, how, topList), false),
                  model::LoadOutcome::Damaged);
        EXPECT_EQ(root.FirstChild(), nullptr);
    }
}

TEST(DamagedContainerTest, AStorageWhoseTypeIsDamagedIsAPartialLoad) {
    // The category's buttons are out of reach; a save would drop them.
    oVoiceBook original;
    BuildSmallTree(original);
    std::vector<uint8_t> image;
    ASSERT_TRUE(model::BuildDataFileImage(original, model::kCurrentFormat, image));
    for (uint8_t type : {0, 2}) {
        SCOPED_TRACE(type);
        oVoiceBook root;
        EXPECT_EQ(model::ReadDataFileImage(root, damage::Retype(image, L"01_0000", type), false),
                  model::LoadOutcome::Partial);
        ASSERT_NE(root.FirstChild(), nullptr);
        EXPECT_EQ(root.FirstChild()->FirstChild(), nullptr);
        EXPECT_EQ(CompareSubtrees(*original.FirstChild()->Next(), *root.FirstChild()->Next()), "");
    }
}

TEST(DamagedContainerTest, AListDamagedInItsChainIsReadInPart) {
    oVoiceBook original;
    BuildSmallTree(original);
    std::vector<uint8_t> image;
    ASSERT_TRUE(model::BuildDataFileImage(original, model::kCurrentFormat, image));
    const damage::CompoundBytes file(image);
    for (int list = 0; list < 3; ++list) {
        for (auto how : {damage::ListDamage::FlippedMidChain, damage::ListDamage::RunsTooLong}) {
            SCOPED_TRACE(list * 10 + static_cast<int>(how));
            oVoiceBook root;
            const auto damaged = damage::Damage(image, how, file.Named(L"ChildInfo.INF", list));
            EXPECT_EQ(model::ReadDataFileImage(root, damaged, false), model::LoadOutcome::Partial);
            EXPECT_EQ(CheckIsPrefix(original, root), "");
            ASSERT_NE(root.FirstChild(), nullptr);
            // A chain that runs on past its end still gives every byte of the list.
            if (how == damage::ListDamage::RunsTooLong) {
                EXPECT_EQ(sample::CompareTrees(original, root), "");
            }
        }
    }
}
