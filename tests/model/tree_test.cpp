// The category/button tree: linking, walks, depths, cloning and deletion.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <objbase.h>

#include "model/picture_keeper.h"
#include "model/pidl.h"
#include "model/voice_book.h"

namespace {

// Counts live nodes so deletion can be checked to free each node exactly once.
struct CountedNode : oVoiceBook {
    static int live;
    static std::multiset<const void*> destroyed;
    CountedNode() { ++live; }
    ~CountedNode() override {
        --live;
        destroyed.insert(this);
    }
};
int CountedNode::live = 0;
std::multiset<const void*> CountedNode::destroyed;

oVoiceBook* AddCategory(oVoiceBook& parent, const wchar_t* name) {
    return parent.AddChild(CategoryFields(name));
}
oVoiceBook* AddButton(oVoiceBook& parent, const wchar_t* name) {
    return parent.AddChild(ButtonFields(name, L"cmd.exe"));
}

// A list with one item of `payload` bytes.
LPITEMIDLIST MakePidl(size_t payload, BYTE fill) {
    const size_t size = sizeof(USHORT) + payload + sizeof(USHORT);
    auto* p = static_cast<BYTE*>(::CoTaskMemAlloc(size));
    std::memset(p, fill, size);
    const USHORT cb = static_cast<USHORT>(sizeof(USHORT) + payload);
    std::memcpy(p, &cb, sizeof(cb));
    std::memset(p + cb, 0, sizeof(USHORT));
    return reinterpret_cast<LPITEMIDLIST>(p);
}

std::vector<std::wstring> Names(oTreeNode& start, bool self) {
    std::vector<std::wstring> out;
    auto collect = [&](oTreeNode& n) {
        out.push_back(n.m_strName);
        return int{WALK_DESCEND};
    };
    if (self)
        start.WalkSelfAndDescendantsF(collect);
    else
        start.WalkDescendantsF(collect);
    return out;
}

TEST(TreeTest, DefaultsOfANewNode) {
    oVoiceBook n;
    EXPECT_EQ(n.m_nKind, KIND_BOOK);
    EXPECT_EQ(n.m_nFlags, 2u);
    EXPECT_EQ(n.m_nShowCmd, 1);
    EXPECT_EQ(n.m_nImage, -1);
    EXPECT_EQ(n.m_nGrayImage, -1);
    EXPECT_EQ(n.m_nDefaultImage, -1);
    EXPECT_EQ(n.m_nRole, ROLE_NORMAL);
    EXPECT_FALSE(n.m_pidl);
    EXPECT_EQ(n.m_nDepth, 0);
}

TEST(TreeTest, KindsAreTestedByBits) {
    oVoiceBook n;
    n.m_nKind = 0x12;
    EXPECT_TRUE(n.IsCategory());
    EXPECT_FALSE(n.IsButton());
    n.m_nKind = 0x14;
    EXPECT_TRUE(n.IsButton());
    EXPECT_FALSE(n.IsCategory());
    n.m_nKind = 0x1A; // unusual bits beside the category bits still make a category
    EXPECT_TRUE(n.IsCategory());
    n.m_nKind = 0x02;
    EXPECT_FALSE(n.IsItem());
    EXPECT_TRUE(n.IsBookOrRoot());
    n.m_nKind = 0x25;
    EXPECT_TRUE(n.IsOldItem());
    EXPECT_FALSE(n.IsItem());
}

TEST(TreeTest, FindChildIgnoresCaseAndLooksOnlyAtDirectChildren) {
    oVoiceBook root;
    oVoiceBook* tools = AddCategory(root, L"Tools");
    AddCategory(*tools, L"Deep");
    EXPECT_EQ(root.FindChild(L"tOOLS"), tools);
    EXPECT_EQ(root.FindChild(L"Deep"), nullptr);
    EXPECT_EQ(root.FindChild(L"Tool"), nullptr);
}

TEST(TreeTest, WalkAnswersSkipChildrenAndStop) {
    oVoiceBook root;
    oVoiceBook* a = AddCategory(root, L"A");
    AddButton(*a, L"a1");
    AddButton(*a, L"a2");
    oVoiceBook* b = AddCategory(root, L"B");
    AddButton(*b, L"b1");

    std::vector<std::wstring> seen;
    root.WalkDescendantsF([&](oTreeNode& n) {
        seen.push_back(n.m_strName);
        return int{n.m_strName == L"A" ? WALK_SKIP_CHILDREN : WALK_DESCEND};
    });
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"A", L"B", L"b1"}));

    seen.clear();
    const int answer = root.WalkDescendantsF([&](oTreeNode& n) {
        seen.push_back(n.m_strName);
        return int{n.m_strName == L"a1" ? WALK_STOP : WALK_DESCEND};
    });
    EXPECT_EQ(answer, WALK_STOP);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"A", L"a1"}));

    EXPECT_EQ(Names(*a, true), (std::vector<std::wstring>{L"A", L"a1", L"a2"}));

    seen.clear();
    root.ForEachChildF([&](oTreeNode& n) {
        seen.push_back(n.m_strName);
        return int{WALK_STOP};
    });
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"A"}));
}

TEST(TreeTest, LinkingOrderAndDepths) {
    oVoiceBook root;
    oVoiceBook* first = AddCategory(root, L"first");
    auto* front = new oVoiceBook();
    front->SetName(L"front");
    root.InsertFirstChild(front);
    auto* middle = new oVoiceBook();
    middle->SetName(L"middle");
    front->InsertAfter(middle);
    EXPECT_EQ(Names(root, false), (std::vector<std::wstring>{L"front", L"middle", L"first"}));
    EXPECT_EQ(middle->m_nDepth, 1);
    EXPECT_EQ(middle->m_pParent, &root);
    EXPECT_EQ(first->m_nDepth, 1);
}

TEST(TreeTest, AppendingASubtreeRecomputesEveryDepth) {
    oVoiceBook root;
    oVoiceBook* level1 = AddCategory(root, L"1");
    oVoiceBook* level2 = AddCategory(*level1, L"2");
    ASSERT_EQ(level2->m_nDepth, 2);

    auto* moved = new oVoiceBook();
    moved->m_nKind = 0x12;
    oVoiceBook* child = AddButton(*moved, L"child");
    oVoiceBook* grandchild = AddButton(*AddCategory(*moved, L"sub"), L"grand");
    level2->AppendChild(moved);
    EXPECT_EQ(moved->m_nDepth, 3);
    EXPECT_EQ(child->m_nDepth, 4);
    EXPECT_EQ(grandchild->m_nDepth, 5);

    // Moving back up to the top level shrinks the depths again.
    level2->Unlink(moved);
    EXPECT_EQ(moved->m_nDepth, 0);
    EXPECT_EQ(moved->m_pParent, nullptr);
    EXPECT_EQ(level2->m_pFirstChild, nullptr);
    root.AppendChild(moved);
    EXPECT_EQ(moved->m_nDepth, 1);
    EXPECT_EQ(grandchild->m_nDepth, 3);
}

// Appending goes to the true end after every other way of changing the children.
TEST(TreeTest, AppendingFollowsTheLastChildThroughEveryLinkChange) {
    const struct {
        const char* change;
        const wchar_t* expected;
    } cases[] = {
        {"insert after last", L"abcXz"}, {"insert after first", L"aXbcz"},
        {"insert first", L"Xabcz"},      {"unlink last", L"abz"},
        {"unlink first", L"bcz"},        {"delete all", L"z"},
    };
    for (const auto& c : cases) {
        oVoiceBook root;
        for (const wchar_t* name : {L"a", L"b", L"c"})
            AddButton(root, name);
        auto* x = new oVoiceBook();
        x->SetName(L"X");
        const std::string change = c.change;
        oVoiceBook* first = static_cast<oVoiceBook*>(root.m_pFirstChild);
        oVoiceBook* last = static_cast<oVoiceBook*>(root.LastChild());
        if (change == "insert after last")
            last->InsertAfter(x);
        else if (change == "insert after first")
            first->InsertAfter(x);
        else if (change == "insert first")
            root.InsertFirstChild(x);
        else
            delete x;
        if (change == "unlink last")
            root.RemoveChild(last);
        else if (change == "unlink first")
            root.RemoveChild(first);
        else if (change == "delete all")
            root.DeleteChildren();
        AddButton(root, L"z");
        std::wstring names;
        for (const std::wstring& n : Names(root, false))
            names += n;
        EXPECT_EQ(names, c.expected) << c.change;
        EXPECT_EQ(root.LastChild()->m_strName, L"z") << c.change;
    }
}

TEST(TreeTest, UnlinkIgnoresNodesThatAreNotChildren) {
    oVoiceBook root;
    oVoiceBook* a = AddCategory(root, L"A");
    oVoiceBook* deep = AddButton(*a, L"deep");
    root.Unlink(deep);
    EXPECT_EQ(deep->m_pParent, a);
    EXPECT_EQ(a->m_pFirstChild, deep);
    root.RemoveChild(deep); // not a direct child: nothing happens
    EXPECT_EQ(a->m_pFirstChild, deep);
}

TEST(TreeTest, RemovingAndDeletingFreesEveryNodeOnce) {
    CountedNode::live = 0;
    CountedNode::destroyed.clear();
    {
        auto* root = new CountedNode();
        // A long chain, deeper than any recursion could survive, plus a wide level.
        oTreeNode* tip = root;
        for (int i = 0; i < 200000; ++i) {
            auto* n = new CountedNode();
            tip->AppendChild(n);
            tip = n;
        }
        for (int i = 0; i < 1000; ++i)
            root->AppendChild(new CountedNode());
        EXPECT_EQ(CountedNode::live, 201001);
        delete root;
    }
    EXPECT_EQ(CountedNode::live, 0);
    EXPECT_EQ(CountedNode::destroyed.size(), 201001u);
    std::set<const void*> unique(CountedNode::destroyed.begin(), CountedNode::destroyed.end());
    EXPECT_EQ(unique.size(), CountedNode::destroyed.size());
}

TEST(TreeTest, DeleteChildrenAndRemoveChild) {
    CountedNode::live = 0;
    CountedNode root;
    auto* a = new CountedNode();
    auto* b = new CountedNode();
    root.AppendChild(a);
    root.AppendChild(b);
    a->AppendChild(new CountedNode());
    root.RemoveChild(a);
    EXPECT_EQ(CountedNode::live, 2);
    EXPECT_EQ(root.m_pFirstChild, b);
    root.DeleteChildren();
    EXPECT_EQ(CountedNode::live, 1);
    EXPECT_EQ(root.m_pFirstChild, nullptr);
}

TEST(TreeTest, CloneTreeCopiesEverythingWithItsOwnIdentifierLists) {
    oVoiceBook root;
    oVoiceBook* cat = AddCategory(root, L"Cat");
    cat->m_bScanSubFolders = 1;
    cat->m_nDefaultImage = 7;
    oVoiceBook* shellItem = AddButton(*cat, L"Printers");
    shellItem->SetPidl(fw::Pidl(MakePidl(20, 0xAB)));
    shellItem->m_nImage = 42;
    shellItem->m_nGrayImage = 43;
    AddButton(*AddCategory(*cat, L"Sub"), L"Leaf");

    oVoiceBook* copy = cat->CloneTree();
    EXPECT_EQ(copy->m_nDepth, 0);
    EXPECT_EQ(copy->m_pParent, nullptr);
    EXPECT_EQ(copy->m_strName, L"Cat");
    EXPECT_EQ(copy->m_bScanSubFolders, 1);
    EXPECT_EQ(copy->m_nDefaultImage, 7);
    EXPECT_EQ(Names(*copy, false), (std::vector<std::wstring>{L"Printers", L"Sub", L"Leaf"}));

    oVoiceBook* copiedItem = copy->FirstChild();
    EXPECT_EQ(copiedItem->m_nDepth, 1);
    EXPECT_EQ(copiedItem->m_nImage, 42);
    EXPECT_EQ(copiedItem->m_nGrayImage, -1); // the grey picture is not shared
    ASSERT_TRUE(copiedItem->m_pidl);
    EXPECT_NE(copiedItem->m_pidl.get(), shellItem->m_pidl.get());
    ASSERT_EQ(model::PidlSize(copiedItem->m_pidl.get()), 24u);
    EXPECT_EQ(std::memcmp(copiedItem->m_pidl.get(), shellItem->m_pidl.get(), 24), 0);

    root.RemoveChild(cat); // the source's lists are freed; the copy's must stay valid
    EXPECT_EQ(model::PidlSize(copiedItem->m_pidl.get()), 24u);
    EXPECT_EQ(copy->FirstChild()->Next()->FirstChild()->m_nDepth, 2);
    delete copy;
}

TEST(TreeTest, ResetAllStartsAfresh) {
    oVoiceBook root;
    AddCategory(root, L"Old");
    root.SetPidl(fw::Pidl(MakePidl(4, 1)));
    root.m_nFlags = 0x05;
    root.m_strCommand = L"Old";
    root.ResetAll(L"ToolBar");
    EXPECT_EQ(root.m_strName, L"ToolBar");
    EXPECT_EQ(root.m_pFirstChild, nullptr);
    EXPECT_FALSE(root.m_pidl);
    EXPECT_EQ(root.m_nKind, KIND_BOOK);
    EXPECT_EQ(root.m_nFlags & 3u, 2u);
    EXPECT_TRUE(root.m_strCommand.empty());
}

TEST(TreeTest, GoUpRoleAndCategoryCount) {
    oVoiceBook goUp;
    goUp.SetName(L"Go Up");
    goUp.SetRole(ROLE_GO_UP);
    EXPECT_EQ(goUp.m_nImage, 12);
    EXPECT_EQ(goUp.m_nGrayImage, 12);
    EXPECT_EQ(goUp.m_nDepth, 32767);

    oVoiceBook root;
    AddCategory(root, L"A");
    AddButton(root, L"b");
    AddCategory(root, L"C");
    EXPECT_EQ(root.CountChildCategories(), 2);
}

TEST(TreeTest, RecordShowStateTenBecomesNormal) {
    NodeRecordFields r;
    r.name = L"x";
    r.kind = 0x14;
    r.showCmd = 10;
    r.defaultImage = 1003;
    r.role = ROLE_SEPARATOR;
    oVoiceBook n(r);
    EXPECT_EQ(n.m_nShowCmd, 1);
    EXPECT_EQ(n.m_nDefaultImage, 1003);
    EXPECT_EQ(n.m_nRole, ROLE_SEPARATOR);
    n.m_nShowCmd = 10;
    EXPECT_EQ(n.ToRecord().showCmd, 1);
    r.showCmd = 3;
    EXPECT_EQ(oVoiceBook(r).m_nShowCmd, 3);
}

TEST(TreeTest, NodesOfThisRunChooseNoDefaultPicture) {
    // As a node made without fields: the data file and the web-picture rule tell -1 from 0.
    const int32_t none = oVoiceBook().m_nDefaultImage;
    for (const NodeRecordFields& made :
         {CategoryFields(L"c"), ButtonFields(L"b", L"x.exe"), NewNodeFields(L"o", 0x22, 0)})
        EXPECT_EQ(oVoiceBook(made).m_nDefaultImage, none) << made.name;
}

// What the tree tells the keeper of its pictures, in order.
struct RecordingKeeper final : model::PictureKeeper {
    std::vector<std::string> calls;
    void Release(int picture) noexcept override { calls.push_back("-" + std::to_string(picture)); }
    void AddUser(int picture) noexcept override { calls.push_back("+" + std::to_string(picture)); }
    void StartAfresh() override { calls.push_back("afresh"); }
};

TEST(TreeTest, TheKeeperHearsOfEveryPictureANodeGivesUpOrShares) {
    RecordingKeeper keeper;
    model::SetPictureKeeper(&keeper);
    {
        oVoiceBook source, copy, root, plain;
        source.m_nImage = source.m_nGrayImage = 20;
        copy.m_nImage = 30;
        copy.m_nGrayImage = 31;
        copy.CopyFrom(source); // gives its own up, shows the source's colour picture
        EXPECT_EQ(copy.m_nGrayImage, -1);
        copy.Reset();
        source.SetRole(ROLE_GO_UP);
        root.ResetAll(L"ToolBar");
        // The nodes go in reverse: plain, root and copy have no picture left, the go-up node
        // gives up its built-in one (which the keeper never counts).
    }
    model::SetPictureKeeper(nullptr);
    EXPECT_EQ(keeper.calls,
              (std::vector<std::string>{"-30", "-31", "+20", "-20", "-20", "afresh", "-12"}));
}

TEST(PidlTest, WellFormedListsOnly) {
    const BYTE good[] = {4, 0, 1, 2, 0, 0};
    EXPECT_TRUE(model::PidlIsWellFormed(good, sizeof(good)));
    const BYTE empty[] = {0, 0};
    EXPECT_TRUE(model::PidlIsWellFormed(empty, sizeof(empty)));
    const BYTE overruns[] = {9, 0, 1, 2, 0, 0};
    EXPECT_FALSE(model::PidlIsWellFormed(overruns, sizeof(overruns)));
    const BYTE noTerminator[] = {4, 0, 1, 2};
    EXPECT_FALSE(model::PidlIsWellFormed(noTerminator, sizeof(noTerminator)));
    const BYTE trailing[] = {4, 0, 1, 2, 0, 0, 7};
    EXPECT_FALSE(model::PidlIsWellFormed(trailing, sizeof(trailing)));
    const BYTE tinyItem[] = {1, 0, 0, 0};
    EXPECT_FALSE(model::PidlIsWellFormed(tinyItem, sizeof(tinyItem)));
}

} // namespace

namespace {

// Records what the task allocator frees while it is registered.
class FreeSpy final : public IMallocSpy {
public:
    std::vector<void*> freed;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
    void* STDMETHODCALLTYPE PostAlloc(void* p) override { return p; }
    void* STDMETHODCALLTYPE PreFree(void* p, BOOL) override {
        freed.push_back(p);
        return p;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* p, SIZE_T size, void** out, BOOL) override {
        *out = p;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* p, BOOL) override { return p; }
    void* STDMETHODCALLTYPE PreGetSize(void* p, BOOL) override { return p; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* p, BOOL) override { return p; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}
};

} // namespace

TEST(TreeTest, ANodeFreesTheIdentifierListsItLetsGo) {
    FreeSpy spy;
    ASSERT_EQ(::CoRegisterMallocSpy(&spy), S_OK);
    LPITEMIDLIST first = MakePidl(8, 1), second = MakePidl(8, 2);
    {
        oVoiceBook node;
        node.SetPidl(fw::Pidl(first));
        node.SetPidl(fw::Pidl(second));
        EXPECT_EQ(spy.freed, (std::vector<void*>{first}));
        node.Reset();
        EXPECT_FALSE(node.m_pidl);
        EXPECT_EQ(spy.freed, (std::vector<void*>{first, second}));
    }
    EXPECT_EQ(spy.freed.size(), 2u);
    EXPECT_EQ(::CoRevokeMallocSpy(), S_OK);
}
