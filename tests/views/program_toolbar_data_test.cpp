// The bar reads the tree when it is created (data file, older files, first run) and writes
// it after changes; driven in this process through its window messages.
#include <gtest/gtest.h>

#include <memory>

#include "model/data_file.h"
#include "model/data_path.h"
#include "model/data_file_writer.h"
#include "model/file_replace.h"
#include "model/writer_gate.h"
#include "model/voice_book.h"
#include "support/dialog_answer.h"
#include "support/lark_process.h"
#include "support/prepared_data.h"
#include "support/test_util.h"
#include "views/program_toolbar.h"
#include "views/tree_startup.h"

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

// Waits for `condition` without handling this thread's messages.
template <class F> bool PollWithoutPumping(F condition, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(10);
    }
    return true;
}

std::wstring FirstName(const oVoiceBook& root) {
    return root.FirstChild() ? root.FirstChild()->m_strName : std::wstring();
}

// A bar whose writer thread is held where its file beside is open, until the gate opens.
class GatedBar : public CProgramToolBar {
public:
    explicit GatedBar(test::WriterGate& gate) : gate_(gate) {}

protected:
    std::unique_ptr<model::DataFileWriter> MakeWriter() override {
        return std::make_unique<model::DataFileWriter>(hwnd(), WM_LARK_SAVE_DONE, gate_.Hook());
    }

private:
    test::WriterGate& gate_;
};

class BarDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RemoveTree(test::DataFolder());
        model::DataFilePath(model::kDataFileName); // the folders exist again
        g_pVoiceBook = new oVoiceBook();
        parent_ = ::CreateWindowExW(0, L"STATIC", L"bar test", WS_POPUP, 0, 0, 400, 60, nullptr,
                                    nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent_);
    }
    void TearDown() override {
        bar_.reset();
        ::DestroyWindow(parent_);
        delete g_pVoiceBook;
        g_pVoiceBook = nullptr;
        test::RemoveTree(test::DataFolder());
    }

    // A bar that reads a prepared tree, for tests that are not about the first run.
    CProgramToolBar& CreatePreparedBar() {
        EXPECT_FALSE(test::PrepareDataFile().empty());
        return CreateBar();
    }
    CProgramToolBar& CreateBar(test::WriterGate* gate = nullptr) {
        if (gate)
            bar_ = std::make_unique<GatedBar>(*gate);
        else
            bar_ = std::make_unique<CProgramToolBar>();
        EXPECT_TRUE(bar_->Create(RECT{0, 0, 400, 60}, parent_, 6000));
        return *bar_;
    }
    void Tick(int times) {
        for (int i = 0; i < times; ++i)
            ::SendMessageW(bar_->hwnd(), WM_TIMER, CProgramToolBar::kSaveTimer, 0);
    }
    // Pumps messages until the writer's report of the save handed over came back.
    bool WaitForSaveReport() {
        return test::WaitUntil([&] { return !bar_->IsSaveUnderWay(); }, test::kPatientMs);
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
    CProgramToolBar& bar = CreateBar();
    EXPECT_EQ(FirstName(*g_pVoiceBook), L"U Tools");
    EXPECT_EQ(g_pVoiceBook->m_strCommand, L"U Web");
    // Showing it starts the countdown, so that the record reaches the file.
    EXPECT_TRUE(bar.IsSavePending());
}

TEST_F(BarDataTest, OlderFilesAreReadInTurnAndNotWrittenUntilASave) {
    oVoiceBook v4, v3;
    MakeTree(v4, L"Four");
    MakeTree(v3, L"Three");
    ASSERT_TRUE(model::WriteDataFile(v4, InData(model::kOlderDataFileV4), {true, 4}));
    ASSERT_TRUE(model::WriteDataFile(v3, InData(model::kOlderDataFile), {true, 3}));
    EXPECT_EQ(views::LoadTreeAtStartup(*g_pVoiceBook, parent_).source,
              views::TreeSource::OlderV4File);
    EXPECT_EQ(FirstName(*g_pVoiceBook), L"Four Tools");

    ::DeleteFileW(InData(model::kOlderDataFileV4).c_str());
    EXPECT_EQ(views::LoadTreeAtStartup(*g_pVoiceBook, parent_).source,
              views::TreeSource::OlderFile);
    EXPECT_EQ(FirstName(*g_pVoiceBook), L"Three Tools");
    EXPECT_FALSE(test::FileExists(InData(model::kCurrentDataFile)));

    // The bar writes the imported tree as the current data file with the next save.
    CreateBar();
    EXPECT_FALSE(test::FileExists(InData(model::kCurrentDataFile)));
    bar_->SaveIfPending();
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(InData(model::kCurrentDataFile)));
    EXPECT_EQ(FirstName(loaded), L"Three Tools");
    EXPECT_EQ(loaded.m_strCommand, L"Three Tools");
}

TEST_F(BarDataTest, WithoutAnyFileTheFirstRunBuildsAndSavesATree) {
    EXPECT_EQ(views::LoadTreeAtStartup(*g_pVoiceBook, parent_).source, views::TreeSource::FirstRun);
    EXPECT_EQ(g_pVoiceBook->m_strName, L"ToolBar");
    EXPECT_TRUE(test::FileExists(InData(model::kCurrentDataFile)));
}

TEST_F(BarDataTest, AnUnreadableDataFileIsSetAsideBeforeTheFirstRunWrites) {
    const std::vector<uint8_t> garbage = {'n', 'o', 't', ' ', 'a', ' ', 't', 'r', 'e', 'e'};
    ASSERT_TRUE(test::WriteFileBytes(InData(model::kCurrentDataFile), garbage));
    auto result = views::LoadTreeAtStartup(*g_pVoiceBook, parent_);
    EXPECT_EQ(result.source, views::TreeSource::FirstRun);
    EXPECT_EQ(result.setAside, InData(L"LarkB_U.tdb.unreadable"));
    EXPECT_EQ(test::ReadFileBytes(InData(L"LarkB_U.tdb.unreadable")), garbage);
    // The first run wrote its own file.
    oVoiceBook probe;
    EXPECT_NE(model::ReadDataFile(probe, InData(model::kCurrentDataFile), false),
              model::LoadOutcome::Damaged);

    // Another one later gets the next free name; the first is kept.
    ASSERT_TRUE(test::WriteFileBytes(InData(model::kCurrentDataFile), {1, 2, 3}));
    result = views::LoadTreeAtStartup(*g_pVoiceBook, parent_);
    EXPECT_EQ(result.setAside, InData(L"LarkB_U.tdb.unreadable.1"));
    EXPECT_EQ(test::ReadFileBytes(InData(L"LarkB_U.tdb.unreadable")), garbage);
    EXPECT_EQ(test::ReadFileBytes(InData(L"LarkB_U.tdb.unreadable.1")),
              (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(BarDataTest, AnUnreadableDataFileIsSetAsideAlsoWhenAnOlderFileIsRead) {
    // The older file's tree would replace it with the next save.
    ASSERT_TRUE(test::WriteFileBytes(InData(model::kCurrentDataFile), {0xD0, 0xCF, 0x11}));
    oVoiceBook v4;
    MakeTree(v4, L"Four");
    ASSERT_TRUE(model::WriteDataFile(v4, InData(model::kOlderDataFileV4), {true, 4}));
    const auto result = views::LoadTreeAtStartup(*g_pVoiceBook, parent_);
    EXPECT_EQ(result.source, views::TreeSource::OlderV4File);
    EXPECT_EQ(result.setAside, InData(L"LarkB_U.tdb.unreadable"));
    EXPECT_FALSE(test::FileExists(InData(model::kCurrentDataFile)));
}

TEST_F(BarDataTest, AFileOfAnEmptyTreeIsNotSetAside) {
    oVoiceBook empty;
    empty.ResetAll(L"ToolBar");
    ASSERT_TRUE(empty.SaveFile(InData(model::kCurrentDataFile)));
    const auto result = views::LoadTreeAtStartup(*g_pVoiceBook, parent_);
    EXPECT_EQ(result.source, views::TreeSource::FirstRun); // read as not loaded
    EXPECT_TRUE(result.setAside.empty());
    EXPECT_FALSE(test::FileExists(InData(L"LarkB_U.tdb.unreadable")));
}

TEST_F(BarDataTest, TheTimerWritesTheTree61TicksAfterTheCountdownStarts) {
    oVoiceBook saved;
    MakeTree(saved, L"Timer");
    ASSERT_TRUE(saved.SaveFile(InData(model::kCurrentDataFile)));
    CProgramToolBar& bar = CreateBar(); // showing the first category starts the countdown
    ASSERT_TRUE(bar.IsSavePending());
    const auto before = test::ReadFileBytes(InData(model::kCurrentDataFile));
    g_pVoiceBook->AddChild(CategoryFields(L"Added"));
    bar.MarkModified();
    Tick(60);
    EXPECT_EQ(test::ReadFileBytes(InData(model::kCurrentDataFile)), before);
    Tick(1); // builds the file's image and hands it to the writer thread
    EXPECT_FALSE(bar.IsSavePending());
    EXPECT_TRUE(bar.IsSaveUnderWay());
    ASSERT_TRUE(WaitForSaveReport());
    EXPECT_FALSE(bar.IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(InData(model::kCurrentDataFile)));
    EXPECT_NE(loaded.FindChild(L"Added"), nullptr);
    // Other timers are not the countdown's.
    bar.MarkModified();
    for (int i = 0; i < 70; ++i)
        ::SendMessageW(bar.hwnd(), WM_TIMER, 300, 0);
    EXPECT_TRUE(bar.IsSavePending());
}

TEST_F(BarDataTest, AFailedSaveStaysPendingUntilOneSucceeds) {
    CProgramToolBar& bar = CreatePreparedBar();
    const std::wstring file = InData(model::kCurrentDataFile);
    const auto before = test::ReadFileBytes(file);
    g_pVoiceBook->AddChild(CategoryFields(L"Keep me"));
    bar.MarkModified();
    // Another program holds the file and forbids replacing it.
    fw::FileHandle holder(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    bar.SaveIfPending();
    EXPECT_TRUE(bar.IsSavePending());
    EXPECT_EQ(test::ReadFileBytes(file), before);
    Tick(61); // the countdown tries again, and fails again
    ASSERT_TRUE(WaitForSaveReport());
    EXPECT_TRUE(bar.IsSavePending());
    EXPECT_EQ(test::ReadFileBytes(file), before);
    holder.reset();
    bar.SaveIfPending(); // as at exit
    EXPECT_FALSE(bar.IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_NE(loaded.FindChild(L"Keep me"), nullptr);
}

TEST_F(BarDataTest, ACountdownSaveIsWrittenByTheWriterAndTheFileAppears) {
    CProgramToolBar& bar = CreatePreparedBar();
    const std::wstring file = InData(model::kCurrentDataFile);
    ASSERT_TRUE(::DeleteFileW(file.c_str()));
    g_pVoiceBook->AddChild(CategoryFields(L"Appears"));
    bar.MarkModified();
    Tick(61);
    ASSERT_TRUE(WaitForSaveReport());
    EXPECT_FALSE(bar.IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_NE(loaded.FindChild(L"Appears"), nullptr);
    EXPECT_FALSE(test::FileExists(file + L".saving"));
}

TEST_F(BarDataTest, AFailedBackgroundWriteIsRetriedByTheNextCountdown) {
    CProgramToolBar& bar = CreatePreparedBar();
    bar.SaveIfPending();
    const std::wstring file = InData(model::kCurrentDataFile);
    const auto before = test::ReadFileBytes(file);
    g_pVoiceBook->AddChild(CategoryFields(L"Retried"));
    bar.MarkModified();
    fw::FileHandle holder(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    Tick(61);
    EXPECT_FALSE(bar.IsSavePending()); // handed over ...
    ASSERT_TRUE(WaitForSaveReport());
    EXPECT_TRUE(bar.IsSavePending()); // ... failed, and pending again
    EXPECT_EQ(test::ReadFileBytes(file), before);
    holder.reset();
    Tick(60);
    EXPECT_TRUE(bar.IsSavePending()); // a whole countdown again
    Tick(1);
    ASSERT_TRUE(WaitForSaveReport());
    EXPECT_FALSE(bar.IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_NE(loaded.FindChild(L"Retried"), nullptr);
}

TEST_F(BarDataTest, AnExitAfterABackgroundWriteFailedWritesTheTree) {
    CProgramToolBar& bar = CreatePreparedBar();
    bar.SaveIfPending();
    const std::wstring file = InData(model::kCurrentDataFile);
    g_pVoiceBook->AddChild(CategoryFields(L"At exit"));
    bar.MarkModified();
    fw::FileHandle holder(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    Tick(61);
    // The failure is reported but not yet handled when the exit comes.
    MSG msg;
    ASSERT_TRUE(PollWithoutPumping(
        [&] {
            return ::PeekMessageW(&msg, bar.hwnd(), WM_LARK_SAVE_DONE, WM_LARK_SAVE_DONE,
                                  PM_NOREMOVE) != FALSE;
        },
        test::kPatientMs));
    EXPECT_FALSE(bar.IsSavePending());
    holder.reset();
    bar.SaveIfPending();
    EXPECT_FALSE(bar.IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_NE(loaded.FindChild(L"At exit"), nullptr);
    // The late report changes nothing any more.
    test::PumpMessages(100);
    EXPECT_FALSE(bar.IsSavePending());
}

TEST_F(BarDataTest, AnExitWhileABackgroundWriteRunsEndsWithTheNewestTree) {
    const std::wstring file = InData(model::kCurrentDataFile);
    ASSERT_FALSE(test::PrepareDataFile().empty());
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        CProgramToolBar& bar = CreateBar();
        g_pVoiceBook->ResetAll(L"ToolBar");
        const std::wstring newest = L"Newest " + std::to_wstring(round);
        // Large enough for the write to take a while.
        for (int i = 0; i < 300; ++i) {
            oVoiceBook* category =
                g_pVoiceBook->AddChild(CategoryFields(L"Bulk " + std::to_wstring(i)));
            for (int j = 0; j < 10; ++j)
                category->AddChild(ButtonFields(L"Program", L"p.exe"));
        }
        bar.MarkModified();
        Tick(61); // the image of the bulk tree is being written ...
        ASSERT_TRUE(bar.IsSaveUnderWay());
        ::Sleep(round * 20);
        // ... when a newer change comes, and the program ends.
        g_pVoiceBook->AddChild(CategoryFields(newest));
        bar.MarkModified();
        bar.SaveIfPending();
        bar_.reset(); // the bar goes, and its writer with it
        test::PumpMessages(200);
        oVoiceBook loaded;
        ASSERT_TRUE(loaded.LoadFile(file));
        EXPECT_NE(loaded.FindChild(newest.c_str()), nullptr);
        EXPECT_NE(loaded.FindChild(L"Bulk 299"), nullptr);
        EXPECT_FALSE(test::FileExists(file + L".saving"));
    }
}

TEST_F(BarDataTest, AtTheEndOfASessionAWriterThatDoesNotAnswerIsGivenUpWithinTheCap) {
    const std::wstring file = InData(model::kCurrentDataFile);
    test::WriterGate gate;
    CProgramToolBar& bar = CreateBar(&gate);
    bar.SaveIfPending(); // the first run's tree, written here
    g_pVoiceBook->AddChild(CategoryFields(L"Handed over"));
    bar.MarkModified();
    Tick(61);
    ASSERT_TRUE(gate.WaitEntered()); // the writer holds its file beside and does not go on
    g_pVoiceBook->AddChild(CategoryFields(L"Newest"));
    bar.MarkModified();
    const ULONGLONG start = ::GetTickCount64();
    bar.SaveIfPending(CProgramToolBar::kSessionEndWaitMs);
    const ULONGLONG took = ::GetTickCount64() - start;
    EXPECT_GE(took, CProgramToolBar::kSessionEndWaitMs);
    EXPECT_LT(took, CProgramToolBar::kSessionEndWaitMs + 6000u) << "the exit's 15 s are not waited";
    EXPECT_FALSE(bar.IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_NE(loaded.FindChild(L"Newest"), nullptr);
    // The writer's own destruction waits no more, and the write it was given up on, once it
    // goes on, changes nothing.
    const ULONGLONG destroyStart = ::GetTickCount64();
    bar_.reset();
    EXPECT_LT(::GetTickCount64() - destroyStart, 5000u);
    const auto saved = test::ReadFileBytes(file);
    gate.Release();
    ASSERT_TRUE(test::WaitUntil([&] { return !test::FileExists(model::ReplacementName(file)); },
                                test::kPatientMs));
    EXPECT_EQ(test::ReadFileBytes(file), saved);
}

TEST_F(BarDataTest, DestroyingTheBarFinishesAWriteUnderWay) {
    CProgramToolBar& bar = CreatePreparedBar();
    for (int i = 0; i < 2000; ++i)
        g_pVoiceBook->AddChild(ButtonFields(L"Many " + std::to_wstring(i), L"p.exe"));
    bar.MarkModified();
    Tick(61);
    ASSERT_TRUE(bar.IsSaveUnderWay());
    bar_.reset();
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(InData(model::kCurrentDataFile)));
    EXPECT_NE(loaded.FindChild(L"Many 1999"), nullptr);
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
    test::KillAllLarkProcesses();
    test::RemoveTree(test::DataFolder());
    model::DataFilePath(model::kDataFileName);
    const std::vector<uint8_t> garbage(3000, 0x5A);
    ASSERT_TRUE(test::WriteFileBytes(InData(model::kCurrentDataFile), garbage));
    // Without the template beside it, the first run that follows asks nothing.
    test::TempDir alone;
    test::LarkProcess lark(test::CopyProgramAlone(alone.path()));
    ASSERT_TRUE(lark.Start()) << lark.Problem();
    // Once start-up is over, the bar says where the file went.
    test::DialogAnswerer notice(IDOK, lark.Id(), test::kPatientMs);
    ASSERT_TRUE(notice.Finish());
    const std::wstring aside = InData(L"LarkB_U.tdb.unreadable");
    EXPECT_NE(notice.Seen().text.find(aside), std::wstring::npos);
    EXPECT_EQ(test::ReadFileBytes(aside), garbage);
    // The box bears the bar's title too: the bar is the one left once it has gone.
    ASSERT_TRUE(test::WaitUntil([&] { return !::IsWindow(notice.Seen().hwnd); }, test::kPatientMs));
    ASSERT_TRUE(lark.WaitForBar()) << lark.Problem();
    ASSERT_TRUE(lark.Exit()) << lark.Problem();
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
