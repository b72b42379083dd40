// The bar reads the tree when it is created (data file, older files, first run) and writes
// it after changes; driven in this process through its window messages.
#include <gtest/gtest.h>

#include <memory>

#include "document/tree_startup.h"
#include "model/damaged_files.h"
#include "model/data_file.h"
#include "model/data_path.h"
#include "model/file_replace.h"
#include "model/voice_book.h"
#include "support/dialog_answer.h"
#include "support/lark_process.h"
#include "support/prepared_data.h"
#include "support/test_util.h"
#include "support/document_fixture.h"
#include "views/program_toolbar.h"

namespace {

std::wstring InData(const wchar_t* name) {
    return test::DataFolder() + L"\\" + name;
}

// A small tree that survives the single-byte formats unchanged.
void MakeTree(oVoiceBook& root, const std::wstring& tag) {
    root.ResetAll(L"ToolBar");
    oVoiceBook* tools = root.AddChild(CategoryFields(tag + L" Tools"));
    tools->AddChild(ButtonFields(L"Notepad", L"notepad.exe"));
    root.AddChild(CategoryFields(tag + L" Web"));
}

std::wstring FirstName(const oVoiceBook& root) {
    return root.FirstChild() ? root.FirstChild()->m_strName : std::wstring();
}

// The bar hosts the document on a window of its own.
class BarDataTest : public test::DocumentTest {
protected:
    void SetUp() override {
        test::DocumentTest::SetUp();
        parent_ = ::CreateWindowExW(0, L"STATIC", L"bar test", WS_POPUP, 0, 0, 400, 60, nullptr,
                                    nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent_) << ::GetLastError();
    }
    void DropWindows() override {
        bar_.reset();
        ::DestroyWindow(parent_);
    }

    CProgramToolBar& CreateBar() {
        bar_ = std::make_unique<CProgramToolBar>();
        bar_->SetDocument(doc_.get());
        EXPECT_TRUE(bar_->Create(RECT{0, 0, 400, 60}, parent_, 6000)) << ::GetLastError();
        return *bar_;
    }
    void Tick(int times) {
        for (int i = 0; i < times; ++i)
            ::SendMessageW(bar_->hwnd(), WM_TIMER, CProgramToolBar::kSaveTimer, 0);
    }
    // Pumps messages until the writer's report of the save handed over came back.
    bool WaitForSaveReport() {
        return test::WaitUntil([&] { return !doc_->IsSaveUnderWay(); }, test::kPatientMs);
    }

    HWND parent_ = nullptr;
    std::unique_ptr<CProgramToolBar> bar_;
    // A first run reads the template beside the tests and asks about the bookmarks.
    test::DialogAutoAnswerer bookmarks_{IDNO};
};

} // namespace

TEST_F(BarDataTest, TheDataFileIsReadAndTheCategoryShownLastIsRecorded) {
    oVoiceBook saved;
    MakeTree(saved, L"U");
    saved.SetCommand(L"u web"); // the category shown last, in other letter case
    ASSERT_TRUE(saved.SaveFile(InData(model::kCurrentDataFile)));
    CreateBar();
    EXPECT_EQ(FirstName(Root()), L"U Tools");
    EXPECT_EQ(Root().m_strCommand, L"U Web");
    // Showing it starts the countdown, so that the record reaches the file.
    EXPECT_TRUE(doc_->IsSavePending());
}

TEST_F(BarDataTest, OlderFilesAreReadInTurnAndNotWrittenUntilASave) {
    oVoiceBook v4, v3;
    MakeTree(v4, L"Four");
    MakeTree(v3, L"Three");
    ASSERT_TRUE(model::WriteDataFile(v4, InData(model::kOlderDataFileV4), {true, 4}));
    ASSERT_TRUE(model::WriteDataFile(v3, InData(model::kOlderDataFile), {true, 3}));
    EXPECT_EQ(document::LoadTreeAtStartup(Root(), parent_).source,
              document::TreeSource::OlderV4File);
    EXPECT_EQ(FirstName(Root()), L"Four Tools");

    ::DeleteFileW(InData(model::kOlderDataFileV4).c_str());
    EXPECT_EQ(document::LoadTreeAtStartup(Root(), parent_).source, document::TreeSource::OlderFile);
    EXPECT_EQ(FirstName(Root()), L"Three Tools");
    EXPECT_FALSE(test::FileExists(InData(model::kCurrentDataFile)));

    // The bar writes the imported tree as the current data file with the next save.
    CreateBar();
    EXPECT_FALSE(test::FileExists(InData(model::kCurrentDataFile)));
    doc_->SaveIfPending();
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(InData(model::kCurrentDataFile)));
    EXPECT_EQ(FirstName(loaded), L"Three Tools");
    EXPECT_EQ(loaded.m_strCommand, L"Three Tools");
}

TEST_F(BarDataTest, TheTimerWritesTheTree61TicksAfterTheCountdownStarts) {
    oVoiceBook saved;
    MakeTree(saved, L"Timer");
    ASSERT_TRUE(saved.SaveFile(InData(model::kCurrentDataFile)));
    CProgramToolBar& bar = CreateBar(); // the first category, shown anyway, is no change
    EXPECT_FALSE(doc_->IsSavePending());
    const auto before = test::ReadFileBytes(InData(model::kCurrentDataFile));
    Root().AddChild(CategoryFields(L"Added"));
    bar.MarkModified();
    Tick(60);
    EXPECT_EQ(test::ReadFileBytes(InData(model::kCurrentDataFile)), before);
    Tick(1); // builds the file's image and hands it to the writer thread
    EXPECT_FALSE(doc_->IsSavePending());
    EXPECT_TRUE(doc_->IsSaveUnderWay());
    ASSERT_TRUE(WaitForSaveReport());
    EXPECT_FALSE(doc_->IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(InData(model::kCurrentDataFile)));
    EXPECT_NE(loaded.FindChild(L"Added"), nullptr);
    // Other timers are not the countdown's.
    bar.MarkModified();
    for (int i = 0; i < 70; ++i)
        ::SendMessageW(bar.hwnd(), WM_TIMER, 300, 0);
    EXPECT_TRUE(doc_->IsSavePending());
}

TEST(BarProcessTest, ExitWritesAPendingChange) {
    test::KillAllLarkProcesses();
    test::RemoveTree(test::DataFolder());
    model::DataFilePath(model::kDataFileName);
    // An older file is imported; showing its first category makes a change pending, which
    // only a save writes to the current data file.
    oVoiceBook v4;
    MakeTree(v4, L"Imported");
    ASSERT_TRUE(model::WriteDataFile(v4, InData(model::kOlderDataFileV4), {true, 4}));
    test::LarkProcess lark;
    ASSERT_TRUE(lark.Start()) << lark.Problem();
    HWND bar = lark.WaitForBar();
    ASSERT_TRUE(bar) << lark.Problem();
    EXPECT_FALSE(test::FileExists(InData(model::kCurrentDataFile)));
    ASSERT_TRUE(lark.Exit()) << lark.Problem();
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(InData(model::kCurrentDataFile)));
    EXPECT_EQ(FirstName(loaded), L"Imported Tools");
    EXPECT_EQ(loaded.m_strCommand, L"Imported Tools");
    test::RemoveTree(test::DataFolder());
}

TEST(BarProcessTest, TheProgramSetsAnUnreadableDataFileAside) {
    // Bytes of no compound file; and a sound start whose list of buttons loops, which only
    // the check after the first paint finds.
    oVoiceBook tree;
    MakeTree(tree, L"Looped");
    std::vector<uint8_t> looped;
    ASSERT_TRUE(model::BuildDataFileImage(tree, model::kCurrentFormat, looped));
    damage::CompoundBytes file(std::move(looped));
    const auto chain = file.Chain(file.Named(L"ChildInfo.INF", 1).start);
    file.Put(file.FatEntry(chain.back()), chain.front());
    for (const std::vector<uint8_t>& image : {std::vector<uint8_t>(3000, 0x5A), file.bytes}) {
        test::KillAllLarkProcesses();
        test::RemoveTree(test::DataFolder());
        model::DataFilePath(model::kDataFileName);
        ASSERT_TRUE(test::WriteFileBytes(InData(model::kCurrentDataFile), image));
        // Without the template beside it, the first run that follows asks nothing.
        test::TempDir alone;
        test::LarkProcess lark(test::CopyProgramAlone(alone.path()));
        ASSERT_TRUE(lark.Start()) << lark.Problem();
        // Once start-up is over, the bar says where the file went.
        test::DialogAnswerer notice(IDOK, lark.Id(), test::kPatientMs);
        ASSERT_TRUE(notice.Finish());
        const std::wstring aside = InData(L"LarkB_U.tdb.unreadable");
        EXPECT_NE(notice.Seen().text.find(aside), std::wstring::npos);
        EXPECT_EQ(test::ReadFileBytes(aside), image);
        // The box bears the bar's title too: the bar is the one left once it has gone.
        ASSERT_TRUE(
            test::WaitUntil([&] { return !::IsWindow(notice.Seen().hwnd); }, test::kPatientMs));
        ASSERT_TRUE(lark.WaitForBar()) << lark.Problem();
        ASSERT_TRUE(lark.Exit()) << lark.Problem();
    }
    test::RemoveTree(test::DataFolder());
}

TEST(BarProcessTest, AnExitRightAfterACountdownSaveLeavesTheTreeInTheFile) {
    test::KillAllLarkProcesses();
    test::RemoveTree(test::DataFolder());
    model::DataFilePath(model::kDataFileName);
    oVoiceBook v4;
    MakeTree(v4, L"Counted");
    ASSERT_TRUE(model::WriteDataFile(v4, InData(model::kOlderDataFileV4), {true, 4}));
    test::LarkProcess lark;
    ASSERT_TRUE(lark.Start()) << lark.Problem();
    HWND bar = lark.WaitForBar();
    ASSERT_TRUE(bar) << lark.Problem();
    HWND toolbar = nullptr; // there once the tree is read
    ASSERT_TRUE(test::WaitUntil([&] { return (toolbar = ::GetDlgItem(bar, 6000)) != nullptr; },
                                test::kPatientMs));
    // The countdown runs out (its save goes to the writer thread) and the exit follows at
    // once, while the file is being written.
    for (int i = 0; i < 61; ++i)
        ::PostMessageW(toolbar, WM_TIMER, CProgramToolBar::kSaveTimer, 0);
    ASSERT_TRUE(lark.Exit()) << lark.Problem();
    EXPECT_EQ(lark.ExitCode(), 0u);
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(InData(model::kCurrentDataFile)));
    EXPECT_EQ(FirstName(loaded), L"Counted Tools");
    EXPECT_FALSE(test::FileExists(InData(L"LarkB_U.tdb.saving")));
    test::RemoveTree(test::DataFolder());
}
