// The data file written and read through the system's compound-file API: layout, formats
// and round trips.
#include <gtest/gtest.h>

#include <cstring>

#include "model/data_file.h"
#include "model/pidl.h"
#include "model/voice_book.h"
#include "model/sample_trees.h"
#include "model/storage_inspect.h"
#include "support/test_util.h"

using inspect::Element;

namespace {

oVoiceBook* AddCategory(oVoiceBook& parent, const wchar_t* name) {
    return parent.AddChild(CategoryFields(name));
}
oVoiceBook* AddButton(oVoiceBook& parent, const wchar_t* name) {
    return parent.AddChild(ButtonFields(name, L"notepad.exe"));
}

fw::Pidl OneItemList(size_t itemBytes) {
    const size_t size = itemBytes + 2;
    auto* p = static_cast<uint8_t*>(::CoTaskMemAlloc(size));
    std::memset(p, 0x41, size);
    p[0] = static_cast<uint8_t>(itemBytes);
    p[1] = 0;
    p[itemBytes] = 0;
    p[itemBytes + 1] = 0;
    return fw::Pidl(reinterpret_cast<LPITEMIDLIST>(p));
}

bool IsStream(const std::map<std::wstring, Element>& e, const std::wstring& name, uint64_t size) {
    auto it = e.find(name);
    return it != e.end() && it->second.type == STGTY_STREAM && it->second.size == size;
}
bool IsStorage(const std::map<std::wstring, Element>& e, const std::wstring& name) {
    auto it = e.find(name);
    return it != e.end() && it->second.type == STGTY_STORAGE;
}

class DataFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::wstring file = dir / L"LarkB_U.tdb";
};

} // namespace

TEST_F(DataFileTest, OneCategoryWithOneButtonWritesExactlyTheseElements) {
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    AddButton(*AddCategory(root, L"Tools"), L"Notepad");
    ASSERT_TRUE(root.SaveFile(file));

    const auto e = inspect::Elements(file);
    EXPECT_EQ(e.size(), 5u);
    EXPECT_TRUE(IsStream(e, L"Header.INF", 520));
    EXPECT_TRUE(IsStream(e, L"Node.INF", 2844));
    EXPECT_TRUE(IsStream(e, L"ChildInfo.INF", 10524 + 4));
    EXPECT_TRUE(IsStorage(e, L"01_0000"));
    EXPECT_TRUE(IsStream(e, L"01_0000/ChildInfo.INF", 10524 + 4));
    // Only the file this save made is left in the folder.
    EXPECT_FALSE(test::FileExists(file + L".saving"));
}

TEST_F(DataFileTest, SubStoragesAreNamedFromDepthAndPositionAmongAllSiblings) {
    oVoiceBook root;
    AddButton(root, L"first");
    oVoiceBook* category = AddCategory(root, L"second");
    AddCategory(root, L"empty third");
    oVoiceBook* inner = AddCategory(*category, L"inner");
    AddButton(*category, L"b");
    AddButton(*inner, L"deep");
    ASSERT_TRUE(root.SaveFile(file));

    const auto e = inspect::Elements(file);
    EXPECT_FALSE(e.count(L"01_0000"));
    EXPECT_TRUE(IsStorage(e, L"01_0001"));
    EXPECT_FALSE(e.count(L"01_0002")); // a category without children has nothing
    EXPECT_TRUE(IsStream(e, L"01_0001/ChildInfo.INF", 2 * (10524 + 4)));
    EXPECT_TRUE(IsStorage(e, L"01_0001/02_0000"));
    EXPECT_TRUE(IsStream(e, L"01_0001/02_0000/ChildInfo.INF", 10524 + 4));
    EXPECT_EQ(e.size(), 7u);

    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_EQ(sample::CompareTrees(root, loaded), "");
}

TEST_F(DataFileTest, LongNamesAreStoredAsTheirFirst1023And255Units) {
    std::wstring name(2000, L'n');
    for (size_t i = 0; i < name.size(); ++i)
        name[i] = static_cast<wchar_t>(L'a' + i % 26);
    oVoiceBook root;
    root.SetName(name.c_str());
    AddButton(root, name.c_str());
    ASSERT_TRUE(root.SaveFile(file));

    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_EQ(loaded.m_strName, name.substr(0, 255));
    ASSERT_TRUE(loaded.FirstChild());
    EXPECT_EQ(loaded.FirstChild()->m_strName, name.substr(0, 1023));
}

TEST_F(DataFileTest, AStringFillingItsWholeFieldIsAPartialLoad) {
    // A save keeps room for the terminating zero: such a string would come back one unit
    // shorter, so the file counts as read in part (and a copy of it is kept).
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    AddButton(*AddCategory(root, L"C"), L"b")->SetCommand(std::wstring(1023, L'c').c_str());
    ASSERT_TRUE(root.SaveFile(file));
    const struct {
        const wchar_t* stream;
        size_t field, units;
    } cases[] = {{L"01_0000/ChildInfo.INF", 2048, 1024}, {L"Node.INF", 0, 256}};
    for (const auto& c : cases) {
        SCOPED_TRACE(test::Narrow(c.stream));
        const std::vector<uint8_t> whole = inspect::ReadStream(file, c.stream);
        std::vector<uint8_t> full = whole;
        for (size_t u = 0; u < c.units; ++u)
            if (full[c.field + 2 * u] == 0 && full[c.field + 2 * u + 1] == 0)
                full[c.field + 2 * u] = 'f';
        ASSERT_TRUE(inspect::WriteStream(file, c.stream, full));
        oVoiceBook loaded;
        EXPECT_EQ(model::ReadDataFile(loaded, file, false), model::LoadOutcome::Partial);
        ASSERT_TRUE(inspect::WriteStream(file, c.stream, whole));
    }
}

TEST_F(DataFileTest, HeaderTextInOtherLetterCaseIsAccepted) {
    oVoiceBook root;
    AddButton(root, L"x");
    ASSERT_TRUE(root.SaveFile(file));
    auto header = inspect::ReadStream(file, L"Header.INF");
    ASSERT_EQ(header.size(), 520u);
    const std::wstring text = L"TOOLBAR data FILE for lark-runbar";
    for (size_t i = 0; i < text.size(); ++i)
        header[2 * i] = static_cast<uint8_t>(text[i]);
    ASSERT_TRUE(inspect::WriteStream(file, L"Header.INF", header));
    oVoiceBook loaded;
    EXPECT_TRUE(loaded.LoadFile(file));

    header[0] = 'X';
    ASSERT_TRUE(inspect::WriteStream(file, L"Header.INF", header));
    EXPECT_FALSE(loaded.LoadFile(file));
    ASSERT_TRUE(inspect::RemoveElement(file, L"Header.INF"));
    EXPECT_FALSE(loaded.LoadFile(file));
}

TEST_F(DataFileTest, Version4FilesAreReadWith2844ByteChildRecords) {
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    oVoiceBook* category = AddCategory(root, L"Older");
    AddButton(*category, L"one");
    AddButton(*category, L"two")->SetArguments(L"--flag");
    ASSERT_TRUE(model::WriteDataFile(root, file, {false, 4}));
    const auto e = inspect::Elements(file);
    EXPECT_TRUE(IsStream(e, L"ChildInfo.INF", 2844 + 4));
    EXPECT_TRUE(IsStream(e, L"01_0000/ChildInfo.INF", 2 * (2844 + 4)));

    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_EQ(sample::CompareTrees(root, loaded), "");
}

TEST_F(DataFileTest, AnIdentifierListOf20BytesAndTerminatorIsWrittenWithCount22) {
    oVoiceBook root;
    oVoiceBook* button = AddButton(root, L"Control Panel item");
    button->SetPidl(OneItemList(20));
    ASSERT_TRUE(root.SaveFile(file));

    const auto bytes = inspect::ReadStream(file, L"ChildInfo.INF");
    ASSERT_EQ(bytes.size(), 10524u + 4 + 22);
    uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 10524, 4);
    EXPECT_EQ(count, 22u);
    EXPECT_EQ(std::memcmp(bytes.data() + 10528, button->m_pidl.get(), 22), 0);

    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    ASSERT_TRUE(loaded.FirstChild() && loaded.FirstChild()->m_pidl);
    EXPECT_EQ(model::PidlSize(loaded.FirstChild()->m_pidl.get()), 22u);
    EXPECT_EQ(std::memcmp(loaded.FirstChild()->m_pidl.get(), button->m_pidl.get(), 22), 0);
}

TEST_F(DataFileTest, ARootWithoutChildrenIsSavedWithoutAChildListAndReadsAsNotLoaded) {
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    root.SetCommand(L"Last");
    ASSERT_TRUE(root.SaveFile(file));
    const auto e = inspect::Elements(file);
    EXPECT_EQ(e.size(), 2u);
    EXPECT_TRUE(IsStream(e, L"Header.INF", 520));
    EXPECT_TRUE(IsStream(e, L"Node.INF", 2844));

    oVoiceBook loaded;
    EXPECT_FALSE(loaded.LoadFile(file));
    EXPECT_EQ(model::ReadDataFile(loaded, file, false), model::LoadOutcome::EmptyTree);
    EXPECT_EQ(loaded.m_strName, L"ToolBar"); // the root record was read before the list
}

TEST_F(DataFileTest, MissingDamagedAndForeignFiles) {
    oVoiceBook root;
    AddButton(root, L"kept");
    EXPECT_EQ(model::ReadDataFile(root, file, false), model::LoadOutcome::Missing);
    EXPECT_FALSE(root.LoadFile(file));
    EXPECT_EQ(root.FirstChild()->m_strName, L"kept"); // nothing read, nothing replaced

    ASSERT_TRUE(test::WriteTextFile(file, "plain text, not a compound file"));
    EXPECT_EQ(model::ReadDataFile(root, file, false), model::LoadOutcome::Damaged);
    ASSERT_TRUE(test::WriteFileBytes(file, {}));
    EXPECT_EQ(model::ReadDataFile(root, file, false), model::LoadOutcome::Damaged);

    // A compound file of someone else's.
    {
        fw::ComPtr<IStorage> other;
        ASSERT_HRESULT_SUCCEEDED(::StgCreateDocfile(
            file.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, other.put()));
    }
    EXPECT_EQ(model::ReadDataFile(root, file, false), model::LoadOutcome::Damaged);
    EXPECT_EQ(root.FirstChild()->m_strName, L"kept");
}

TEST_F(DataFileTest, AMissingChildListBelowTheTopFailsTheLoadButKeepsWhatWasRead) {
    oVoiceBook root;
    AddButton(*AddCategory(root, L"A"), L"a1");
    AddButton(*AddCategory(root, L"B"), L"b1");
    ASSERT_TRUE(root.SaveFile(file));
    ASSERT_TRUE(inspect::RemoveElement(file, L"01_0001/ChildInfo.INF"));

    oVoiceBook loaded;
    EXPECT_FALSE(loaded.LoadFile(file));
    ASSERT_TRUE(loaded.FirstChild());
    EXPECT_EQ(loaded.FirstChild()->m_strName, L"A");
    EXPECT_EQ(loaded.FirstChild()->FirstChild()->m_strName, L"a1");
    EXPECT_EQ(loaded.FirstChild()->Next()->m_strName, L"B");
}

TEST_F(DataFileTest, LoadingReplacesTheRootsContentInPlace) {
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    root.SetCommand(L"Shown last");
    root.m_nShowCmd = 10;
    AddButton(*AddCategory(root, L"Fresh"), L"b");
    ASSERT_TRUE(root.SaveFile(file));

    oVoiceBook target;
    AddButton(target, L"old 1");
    AddCategory(target, L"old 2");
    target.SetArguments(L"old arguments");
    target.SetPidl(OneItemList(6));
    target.m_nImage = 7;
    ASSERT_TRUE(target.LoadFile(file));
    EXPECT_EQ(target.m_strName, L"ToolBar");
    EXPECT_EQ(target.m_strCommand, L"Shown last");
    EXPECT_TRUE(target.m_strArguments.empty());
    EXPECT_EQ(target.m_nShowCmd, 1);
    EXPECT_EQ(target.FirstChild()->m_strName, L"Fresh");
    EXPECT_EQ(target.FirstChild()->Next(), nullptr);
    // The root's identifier list and pictures are not in the file and stay.
    EXPECT_TRUE(target.m_pidl);
    EXPECT_EQ(target.m_nImage, 7);
}

TEST_F(DataFileTest, DeepTreeWithEveryFieldSetRoundTripsFieldByField) {
    oVoiceBook root;
    sample::BuildTree(root, 4711, 400, 12);
    ASSERT_GT(sample::CountNodes(root), 400);
    ASSERT_TRUE(root.SaveFile(file));
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_EQ(sample::CompareTrees(root, loaded), "");

    // Saving what was loaded gives the same tree again.
    ASSERT_TRUE(loaded.SaveFile(file));
    oVoiceBook again;
    ASSERT_TRUE(again.LoadFile(file));
    EXPECT_EQ(sample::CompareTrees(root, again), "");
}

TEST_F(DataFileTest, AChainOfCategories150DeepRoundTrips) {
    oVoiceBook root;
    oVoiceBook* at = &root;
    for (int i = 0; i < 150; ++i) {
        AddButton(*at, (L"button " + std::to_wstring(i)).c_str());
        at = AddCategory(*at, (L"level " + std::to_wstring(i + 1)).c_str());
    }
    AddButton(*at, L"bottom");
    ASSERT_TRUE(root.SaveFile(file));
    const auto e = inspect::Elements(file);
    std::wstring deepest = L"01_0001";
    for (int depth = 2; depth <= 150; ++depth)
        deepest += L"/" + model::StorageName(depth, 1);
    EXPECT_TRUE(IsStorage(e, deepest));
    EXPECT_TRUE(IsStream(e, deepest + L"/ChildInfo.INF", 10524 + 4));

    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_EQ(sample::CompareTrees(root, loaded), "");
}

TEST_F(DataFileTest, SingleByteFilesOfVersion3And4) {
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    oVoiceBook* category = AddCategory(root, L"B\u00fcro");
    oVoiceBook* button = AddButton(*category, L"Caf\u00e9");
    button->SetArguments(L"/x");
    button->m_nDefaultImage = 1003;
    button->SetPidl(OneItemList(10));
    AddButton(root, std::wstring(600, L'z').c_str());

    for (int32_t version : {3, 4}) {
        SCOPED_TRACE(version);
        const size_t record = version == 3 ? 1564 : 5404;
        ASSERT_TRUE(model::WriteDataFile(root, file, {true, version}));
        const auto e = inspect::Elements(file);
        EXPECT_TRUE(IsStream(e, L"Header.INF", 264));
        EXPECT_TRUE(IsStream(e, L"Node.INF", 1564));
        EXPECT_TRUE(IsStream(e, L"ChildInfo.INF", 2 * (record + 4)));
        EXPECT_TRUE(IsStream(e, L"01_0000/ChildInfo.INF", record + 4 + 12));

        oVoiceBook loaded;
        EXPECT_FALSE(loaded.LoadFile(file)); // not the current format
        ASSERT_TRUE(loaded.LoadAnsiFile(file));
        ASSERT_TRUE(loaded.FirstChild());
        EXPECT_EQ(loaded.FirstChild()->m_strName, L"B\u00fcro");
        const oVoiceBook* b = loaded.FirstChild()->FirstChild();
        ASSERT_TRUE(b);
        EXPECT_EQ(sample::CompareNodes(*button, *b), "");
        EXPECT_EQ(loaded.FirstChild()->Next()->m_strName.size(), version == 3 ? 255u : 600u);
    }
    // A current file is not a single-byte one.
    ASSERT_TRUE(root.SaveFile(file));
    oVoiceBook loaded;
    EXPECT_FALSE(loaded.LoadAnsiFile(file));
}
