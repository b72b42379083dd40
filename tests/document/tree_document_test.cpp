// The document reads the tree (data file, older files, first run), writes it after changes
// through its writer thread and at exit, and tells its listeners before nodes go; driven
// without the bar, its messages taken from a stand-in host window.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "document/tree_document.h"
#include "model/data_file.h"
#include "model/damaged_files.h"
#include "model/data_file_writer.h"
#include "model/fat_placement.h"
#include "model/file_replace.h"
#include "model/staged_read.h"
#include "model/tree_snapshot.h"
#include "model/tree_text.h"
#include "model/writer_gate.h"
#include "support/dialog_answer.h"
#include "support/document_fixture.h"
#include "support/prepared_data.h"
#include "support/test_util.h"

namespace {

using Change = document::TreeListener::Change;

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

class TreeDocumentTest : public test::DocumentTest {
protected:
    void SetUp() override {
        test::DocumentTest::SetUp();
        host_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_TRUE(host_) << ::GetLastError();
    }
    void DropWindows() override {
        doc_->Close();
        ::DestroyWindow(host_);
    }

    void Open() { doc_->Open(host_, host_); }
    // A prepared tree, for tests that are not about the first run.
    void OpenPrepared() {
        ASSERT_FALSE(test::PrepareDataFile().empty());
        Open();
    }
    // The writer thread is held where its file beside is open, until the gate opens.
    void OpenGated(test::WriterGate& gate) {
        doc_->SetWriterFactory([&gate](HWND host, UINT message) {
            return std::make_unique<model::DataFileWriter>(host, message, gate.Hook());
        });
        Open();
    }
    void Tick(int times) {
        for (int i = 0; i < times; ++i)
            doc_->Tick();
    }
    // Hands the host's messages to the document, as the bar does.
    void Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, host_, 0, 0, PM_REMOVE))
            if (!doc_->OnMessage(msg.message, msg.wParam, msg.lParam))
                ::DispatchMessageW(&msg);
    }
    // Until the writer's report of the save handed over came back.
    bool WaitForSaveReport() {
        const ULONGLONG end = ::GetTickCount64() + test::kPatientMs;
        for (Pump(); doc_->IsSaveUnderWay(); Pump()) {
            if (::GetTickCount64() >= end)
                return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLPOSTMESSAGE);
        }
        return true;
    }

    // Hands the first `message` that comes to the document, leaving the others queued.
    bool WaitFor(UINT message) {
        MSG msg;
        return PollWithoutPumping(
            [&] {
                return ::PeekMessageW(&msg, host_, message, message, PM_REMOVE) &&
                       doc_->OnMessage(msg.message, msg.wParam, msg.lParam);
            },
            test::kPatientMs);
    }
    int TakeNotices() {
        MSG msg;
        int n = 0;
        while (::PeekMessageW(&msg, host_, WM_LARK_LOAD_NOTICE, WM_LARK_LOAD_NOTICE, PM_REMOVE))
            ++n;
        return n;
    }
    // The one other version kept beside the data file; empty when there is none.
    static std::wstring OtherVersion() {
        WIN32_FIND_DATAW found{};
        fw::FindHandle find(::FindFirstFileW(InData(L"* (other *").c_str(), &found));
        return find && !::FindNextFileW(find.get(), &found) ? InData(found.cFileName) : L"";
    }

    HWND host_ = nullptr;
    // A first run reads the template beside the tests and asks about the bookmarks.
    test::DialogAutoAnswerer bookmarks_{IDNO};
};

} // namespace

TEST_F(TreeDocumentTest, WithoutAnyFileTheFirstRunBuildsAndSavesATree) {
    EXPECT_EQ(document::LoadTreeAtStartup(Root(), host_).source, document::TreeSource::FirstRun);
    EXPECT_EQ(Root().m_strName, L"ToolBar");
    EXPECT_TRUE(test::FileExists(InData(model::kCurrentDataFile)));
}

TEST_F(TreeDocumentTest, AnUnreadableDataFileIsSetAsideBeforeTheFirstRunWrites) {
    const std::vector<uint8_t> garbage = {'n', 'o', 't', ' ', 'a', ' ', 't', 'r', 'e', 'e'};
    ASSERT_TRUE(test::WriteFileBytes(InData(model::kCurrentDataFile), garbage));
    auto result = document::LoadTreeAtStartup(Root(), host_);
    EXPECT_EQ(result.source, document::TreeSource::FirstRun);
    EXPECT_EQ(result.setAside, InData(L"LarkB_U.tdb.unreadable"));
    EXPECT_EQ(test::ReadFileBytes(InData(L"LarkB_U.tdb.unreadable")), garbage);
    // The first run wrote its own file.
    oVoiceBook probe;
    EXPECT_NE(model::ReadDataFile(probe, InData(model::kCurrentDataFile), false),
              model::LoadOutcome::Damaged);

    // Another one later gets the next free name; the first is kept.
    ASSERT_TRUE(test::WriteFileBytes(InData(model::kCurrentDataFile), {1, 2, 3}));
    result = document::LoadTreeAtStartup(Root(), host_);
    EXPECT_EQ(result.setAside, InData(L"LarkB_U.tdb.unreadable.1"));
    EXPECT_EQ(test::ReadFileBytes(InData(L"LarkB_U.tdb.unreadable")), garbage);
    EXPECT_EQ(test::ReadFileBytes(InData(L"LarkB_U.tdb.unreadable.1")),
              (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(TreeDocumentTest, AnUnreadableDataFileIsSetAsideAlsoWhenAnOlderFileIsRead) {
    // The older file's tree would replace it with the next save.
    ASSERT_TRUE(test::WriteFileBytes(InData(model::kCurrentDataFile), {0xD0, 0xCF, 0x11}));
    oVoiceBook v4;
    MakeTree(v4, L"Four");
    ASSERT_TRUE(model::WriteDataFile(v4, InData(model::kOlderDataFileV4), {true, 4}));
    const auto result = document::LoadTreeAtStartup(Root(), host_);
    EXPECT_EQ(result.source, document::TreeSource::OlderV4File);
    EXPECT_EQ(result.setAside, InData(L"LarkB_U.tdb.unreadable"));
    EXPECT_FALSE(test::FileExists(InData(model::kCurrentDataFile)));
}

TEST_F(TreeDocumentTest, AFileOfAnEmptyTreeIsNotSetAside) {
    oVoiceBook empty;
    empty.ResetAll(L"ToolBar");
    ASSERT_TRUE(empty.SaveFile(InData(model::kCurrentDataFile)));
    const auto result = document::LoadTreeAtStartup(Root(), host_);
    EXPECT_EQ(result.source, document::TreeSource::FirstRun); // read as not loaded
    EXPECT_TRUE(result.setAside.empty());
    EXPECT_FALSE(test::FileExists(InData(L"LarkB_U.tdb.unreadable")));
}

TEST_F(TreeDocumentTest, AFailedSaveStaysPendingUntilOneSucceeds) {
    OpenPrepared();
    const std::wstring file = InData(model::kCurrentDataFile);
    const auto before = test::ReadFileBytes(file);
    Root().AddChild(CategoryFields(L"Keep me"));
    doc_->MarkModified();
    // Another program holds the file and forbids replacing it.
    fw::FileHandle holder(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    doc_->SaveIfPending();
    EXPECT_TRUE(doc_->IsSavePending());
    EXPECT_EQ(test::ReadFileBytes(file), before);
    Tick(61); // the countdown tries again, and fails again
    ASSERT_TRUE(WaitForSaveReport());
    EXPECT_TRUE(doc_->IsSavePending());
    EXPECT_EQ(test::ReadFileBytes(file), before);
    holder.reset();
    doc_->SaveIfPending(); // as at exit
    EXPECT_FALSE(doc_->IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_NE(loaded.FindChild(L"Keep me"), nullptr);
}

TEST_F(TreeDocumentTest, ACountdownSaveIsWrittenByTheWriterAndTheFileAppears) {
    OpenPrepared();
    const std::wstring file = InData(model::kCurrentDataFile);
    ASSERT_TRUE(::DeleteFileW(file.c_str()));
    Root().AddChild(CategoryFields(L"Appears"));
    doc_->MarkModified();
    Tick(61);
    ASSERT_TRUE(WaitForSaveReport());
    EXPECT_FALSE(doc_->IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_NE(loaded.FindChild(L"Appears"), nullptr);
    EXPECT_FALSE(test::FileExists(file + L".saving"));
}

TEST_F(TreeDocumentTest, AFailedBackgroundWriteIsRetriedByTheNextCountdown) {
    OpenPrepared();
    doc_->SaveIfPending();
    const std::wstring file = InData(model::kCurrentDataFile);
    const auto before = test::ReadFileBytes(file);
    Root().AddChild(CategoryFields(L"Retried"));
    doc_->MarkModified();
    fw::FileHandle holder(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    Tick(61);
    EXPECT_FALSE(doc_->IsSavePending()); // handed over ...
    ASSERT_TRUE(WaitForSaveReport());
    EXPECT_TRUE(doc_->IsSavePending()); // ... failed, and pending again
    EXPECT_EQ(test::ReadFileBytes(file), before);
    holder.reset();
    Tick(60);
    EXPECT_TRUE(doc_->IsSavePending()); // a whole countdown again
    Tick(1);
    ASSERT_TRUE(WaitForSaveReport());
    EXPECT_FALSE(doc_->IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_NE(loaded.FindChild(L"Retried"), nullptr);
}

TEST_F(TreeDocumentTest, AnExitAfterABackgroundWriteFailedWritesTheTree) {
    OpenPrepared();
    doc_->SaveIfPending();
    const std::wstring file = InData(model::kCurrentDataFile);
    Root().AddChild(CategoryFields(L"At exit"));
    doc_->MarkModified();
    fw::FileHandle holder(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    Tick(61);
    // The failure is reported but not yet handled when the exit comes.
    MSG msg;
    ASSERT_TRUE(PollWithoutPumping(
        [&] {
            return ::PeekMessageW(&msg, host_, WM_LARK_SAVE_DONE, WM_LARK_SAVE_DONE, PM_NOREMOVE) !=
                   FALSE;
        },
        test::kPatientMs));
    EXPECT_FALSE(doc_->IsSavePending());
    holder.reset();
    doc_->SaveIfPending();
    EXPECT_FALSE(doc_->IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_NE(loaded.FindChild(L"At exit"), nullptr);
    // The late report changes nothing any more.
    Pump();
    EXPECT_FALSE(doc_->IsSavePending());
}

TEST_F(TreeDocumentTest, AnExitWhileABackgroundWriteRunsEndsWithTheNewestTree) {
    const std::wstring file = InData(model::kCurrentDataFile);
    ASSERT_FALSE(test::PrepareDataFile().empty());
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Open();
        Root().ResetAll(L"ToolBar");
        const std::wstring newest = L"Newest " + std::to_wstring(round);
        // Large enough for the write to take a while.
        for (int i = 0; i < 300; ++i) {
            oVoiceBook* category = Root().AddChild(CategoryFields(L"Bulk " + std::to_wstring(i)));
            for (int j = 0; j < 10; ++j)
                category->AddChild(ButtonFields(L"Program", L"p.exe"));
        }
        doc_->MarkModified();
        Tick(61); // the image of the bulk tree is being written ...
        ASSERT_TRUE(doc_->IsSaveUnderWay());
        ::Sleep(round * 20);
        // ... when a newer change comes, and the program ends.
        Root().AddChild(CategoryFields(newest));
        doc_->MarkModified();
        doc_->SaveIfPending();
        doc_->Close(); // the host goes, and the writer with it
        Pump();
        oVoiceBook loaded;
        ASSERT_TRUE(loaded.LoadFile(file));
        EXPECT_NE(loaded.FindChild(newest.c_str()), nullptr);
        EXPECT_NE(loaded.FindChild(L"Bulk 299"), nullptr);
        EXPECT_FALSE(test::FileExists(file + L".saving"));
    }
}

TEST_F(TreeDocumentTest, AtTheEndOfASessionAWriterThatDoesNotAnswerIsGivenUpWithinTheCap) {
    const std::wstring file = InData(model::kCurrentDataFile);
    test::WriterGate gate;
    OpenGated(gate);
    doc_->SaveIfPending(); // the first run's tree, written here
    Root().AddChild(CategoryFields(L"Handed over"));
    doc_->MarkModified();
    Tick(61);
    ASSERT_TRUE(gate.WaitEntered()); // the writer holds its file beside and does not go on
    Root().AddChild(CategoryFields(L"Newest"));
    doc_->MarkModified();
    const ULONGLONG start = ::GetTickCount64();
    doc_->SaveIfPending(document::TreeDocument::kSessionEndWaitMs);
    const ULONGLONG took = ::GetTickCount64() - start;
    EXPECT_GE(took, document::TreeDocument::kSessionEndWaitMs);
    EXPECT_LT(took, document::TreeDocument::kSessionEndWaitMs + 6000u)
        << "the exit's 15 s are not waited";
    EXPECT_FALSE(doc_->IsSavePending());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_NE(loaded.FindChild(L"Newest"), nullptr);
    // The writer's own destruction waits no more, and the write it was given up on, once it
    // goes on, changes nothing.
    const ULONGLONG destroyStart = ::GetTickCount64();
    doc_->Close();
    EXPECT_LT(::GetTickCount64() - destroyStart, 5000u);
    const auto saved = test::ReadFileBytes(file);
    gate.Release();
    ASSERT_TRUE(test::WaitUntil([&] { return !test::FileExists(model::ReplacementName(file)); },
                                test::kPatientMs));
    EXPECT_EQ(test::ReadFileBytes(file), saved);
}

TEST_F(TreeDocumentTest, ClosingFinishesAWriteUnderWay) {
    OpenPrepared();
    for (int i = 0; i < 2000; ++i)
        Root().AddChild(ButtonFields(L"Many " + std::to_wstring(i), L"p.exe"));
    doc_->MarkModified();
    Tick(61);
    ASSERT_TRUE(doc_->IsSaveUnderWay());
    doc_->Close();
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(InData(model::kCurrentDataFile)));
    EXPECT_NE(loaded.FindChild(L"Many 1999"), nullptr);
}

// What a listener heard, and whether the nodes were still in the tree when it did.
struct Heard : document::TreeListener {
    explicit Heard(document::TreeDocument& doc) : doc_(doc) {}
    void NodesChanging(const oVoiceBook& subtree, bool self, Change change) override {
        notices.push_back({subtree.m_strName, self, change, doc_.Find(subtree.m_nSerial) != nullptr,
                           subtree.FirstChild() != nullptr});
    }
    void TreeRead(bool replaced) override { reads.push_back(replaced); }
    void CategoryCompleted(oVoiceBook& category) override {
        completed.push_back(category.m_strName);
    }
    struct Notice {
        std::wstring name;
        bool self;
        Change change;
        bool inTree, hadChildren;
    };
    document::TreeDocument& doc_;
    std::vector<Notice> notices;
    std::vector<bool> reads;
    std::vector<std::wstring> completed;
};

TEST_F(TreeDocumentTest, ListenersHearBeforeNodesAreDeletedOrMovedAndLookupsFindOnlyWhatIsLeft) {
    OpenPrepared();
    Heard heard(*doc_);
    doc_->AddListener(&heard);
    auto* tools = static_cast<oVoiceBook*>(Root().FindChild(L"Tools"));
    ASSERT_NE(tools, nullptr);
    const uint64_t notepad = tools->FirstChild()->m_nSerial;
    EXPECT_EQ(doc_->Find(notepad), tools->FirstChild());
    EXPECT_EQ(doc_->Find(0), nullptr);
    const uint32_t before = doc_->ChangeCount();

    doc_->WillChange(*tools, true, Change::Moving);
    doc_->DeleteChildren(*tools);
    EXPECT_EQ(doc_->Find(notepad), nullptr);
    const uint64_t toolsSerial = tools->m_nSerial;
    doc_->Remove(*tools);
    EXPECT_EQ(doc_->Find(toolsSerial), nullptr);
    ASSERT_EQ(heard.notices.size(), 3u);
    const struct {
        bool self;
        Change change;
        bool hadChildren;
    } expected[] = {{true, Change::Moving, true},
                    {false, Change::Deleting, true},
                    {true, Change::Deleting, false}};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(heard.notices[i].name, L"Tools");
        EXPECT_EQ(heard.notices[i].self, expected[i].self);
        EXPECT_EQ(heard.notices[i].change, expected[i].change);
        EXPECT_TRUE(heard.notices[i].inTree);
        EXPECT_EQ(heard.notices[i].hadChildren, expected[i].hadChildren);
    }
    EXPECT_EQ(doc_->ChangeCount(), before + 3);
    // One that stopped listening hears nothing more.
    doc_->RemoveListener(&heard);
    doc_->Remove(*Root().FirstChild());
    EXPECT_EQ(heard.notices.size(), 3u);
}

TEST_F(TreeDocumentTest, AShownCategoryIsRecordedAndRestartsTheCountdownUnlessAlreadyRecorded) {
    OpenPrepared();
    EXPECT_FALSE(doc_->IsSavePending());
    // The file records none: the first category, the one every start shows, is no change.
    doc_->NoteCategoryShown(*Root().FirstChild());
    EXPECT_FALSE(doc_->IsSavePending());
    doc_->MarkModified();
    Tick(30);
    doc_->NoteCategoryShown(*static_cast<oVoiceBook*>(Root().FindChild(L"Web")));
    EXPECT_EQ(Root().m_strCommand, L"Web");
    Tick(60);
    EXPECT_TRUE(doc_->IsSavePending()); // 60 ticks from the show, not 90 from the change
    Tick(1);
    ASSERT_TRUE(WaitForSaveReport());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(InData(model::kCurrentDataFile)));
    EXPECT_EQ(loaded.m_strCommand, L"Web");
    // Shown again, the category the file records writes nothing.
    doc_->NoteCategoryShown(*static_cast<oVoiceBook*>(Root().FindChild(L"Web")));
    EXPECT_FALSE(doc_->IsSavePending());
}

TEST_F(TreeDocumentTest, AFileNotReadWholeLeavesANoticeForTheHost) {
    ASSERT_TRUE(test::WriteFileBytes(InData(model::kCurrentDataFile), {1, 2, 3}));
    Open();
    EXPECT_NE(doc_->LoadNotice().find(InData(L"LarkB_U.tdb.unreadable")), std::wstring::npos);
    EXPECT_TRUE(doc_->StartedWithFirstRun());
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, host_, WM_LARK_LOAD_NOTICE, WM_LARK_LOAD_NOTICE, PM_REMOVE));
    // A file read whole says nothing.
    ASSERT_TRUE(Root().SaveFile(InData(model::kCurrentDataFile)));
    Open();
    EXPECT_TRUE(doc_->LoadNotice().empty());
    EXPECT_FALSE(doc_->StartedWithFirstRun());
    EXPECT_FALSE(::PeekMessageW(&msg, host_, WM_LARK_LOAD_NOTICE, WM_LARK_LOAD_NOTICE, PM_REMOVE));
}

namespace {
// Another copy of the bar writes the data file: the tree in it with a category of its own.
void WriteTheirs(const std::wstring& file, const wchar_t* added) {
    oVoiceBook theirs;
    ASSERT_TRUE(theirs.LoadFile(file));
    theirs.AddChild(CategoryFields(added));
    theirs.SetCommand(L"Tools");
    ASSERT_TRUE(theirs.SaveFile(file));
}
bool Holds(const std::wstring& file, const wchar_t* category) {
    oVoiceBook loaded;
    return loaded.LoadFile(file) && loaded.FindChild(category);
}
} // namespace

TEST_F(TreeDocumentTest, WithNoEditPendingAFileChangedElsewhereIsReadAgainKeepingTheShownCategory) {
    OpenPrepared();
    const std::wstring file = InData(model::kCurrentDataFile);
    doc_->NoteCategoryShown(*static_cast<oVoiceBook*>(Root().FindChild(L"Web")));
    Heard heard(*doc_);
    doc_->AddListener(&heard);
    WriteTheirs(file, L"Theirs");
    ASSERT_TRUE(WaitFor(WM_LARK_DATA_FOLDER_CHANGED));
    Tick(document::TreeDocument::kCheckDelayTicks);
    EXPECT_NE(Root().FindChild(L"Theirs"), nullptr);
    EXPECT_EQ(Root().m_strCommand, L"Web");
    EXPECT_EQ(heard.reads, std::vector<bool>{true});
    ASSERT_EQ(heard.notices.size(), 1u); // told before the old nodes went
    EXPECT_EQ(heard.notices[0].change, Change::Deleting);
    // The shown category is still to be recorded: their tree is written with it.
    EXPECT_FALSE(doc_->IsEditPending());
    Tick(60);
    ASSERT_TRUE(WaitForSaveReport());
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_NE(loaded.FindChild(L"Theirs"), nullptr);
    EXPECT_EQ(loaded.m_strCommand, L"Web");
    EXPECT_EQ(OtherVersion(), L"");
    doc_->CheckDataFile(); // our own save is nothing new
    EXPECT_EQ(heard.reads.size(), 1u);
    doc_->RemoveListener(&heard);
}

TEST_F(TreeDocumentTest, WithAnEditPendingTheOtherVersionIsKeptBesideBeforeOursIsWritten) {
    OpenPrepared();
    const std::wstring file = InData(model::kCurrentDataFile);
    Root().AddChild(CategoryFields(L"Mine"));
    doc_->MarkModified();
    WriteTheirs(file, L"Theirs");
    ASSERT_TRUE(WaitFor(WM_LARK_DATA_FOLDER_CHANGED));
    Tick(document::TreeDocument::kCheckDelayTicks); // an edit pending is never read over
    EXPECT_EQ(Root().FindChild(L"Theirs"), nullptr);
    Tick(61 - document::TreeDocument::kCheckDelayTicks);
    ASSERT_TRUE(WaitFor(WM_LARK_SAVE_DONE));
    EXPECT_TRUE(Holds(file, L"Mine"));
    EXPECT_FALSE(Holds(file, L"Theirs"));
    const std::wstring other = OtherVersion();
    EXPECT_TRUE(Holds(other, L"Theirs")) << other;
    EXPECT_FALSE(doc_->IsEditPending());
    test::DialogAnswerer notice(IDOK);
    Pump(); // the notice's message box
    ASSERT_TRUE(notice.Finish());
    EXPECT_NE(notice.Seen().text.find(other), std::wstring::npos) << notice.Seen().text;
}

TEST_F(TreeDocumentTest, AChangedFileNotReadWholeIsLeftAloneToldOnceAndKeptBeforeASave) {
    OpenPrepared();
    const std::wstring file = InData(model::kCurrentDataFile);
    const std::vector<uint8_t> bad{1, 2, 3};
    ASSERT_TRUE(test::WriteFileBytes(file, bad));
    doc_->CheckDataFile();
    doc_->CheckDataFile();
    EXPECT_NE(Root().FindChild(L"Tools"), nullptr);
    EXPECT_EQ(test::ReadFileBytes(file), bad);
    EXPECT_EQ(TakeNotices(), 1);
    EXPECT_NE(doc_->LoadNotice().find(file), std::wstring::npos);
    Root().AddChild(CategoryFields(L"Mine"));
    doc_->MarkModified();
    doc_->SaveIfPending(); // as at exit
    EXPECT_TRUE(Holds(file, L"Mine"));
    EXPECT_EQ(test::ReadFileBytes(OtherVersion()), bad);
}

TEST_F(TreeDocumentTest, AFileChangedWhileASaveIsWrittenIsSeenRightBeforeTheSwap) {
    const std::wstring file = InData(model::kCurrentDataFile);
    const struct {
        bool edit; // else only the shown category is to be written
        bool oursInFile, theirsRead, otherKept, savePending;
    } cases[] = {{true, true, false, true, false}, {false, false, true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit);
        ASSERT_FALSE(test::PrepareDataFile().empty());
        test::WriterGate gate;
        OpenGated(gate);
        if (c.edit) {
            Root().AddChild(CategoryFields(L"Mine"));
            doc_->MarkModified();
        } else {
            doc_->NoteCategoryShown(*static_cast<oVoiceBook*>(Root().FindChild(L"Web")));
        }
        Tick(61);
        // The file was as remembered when the save was handed over; it changes while the
        // writer holds its file beside.
        ASSERT_TRUE(gate.WaitEntered());
        WriteTheirs(file, L"Theirs");
        gate.Release();
        ASSERT_TRUE(WaitFor(WM_LARK_SAVE_DONE));
        EXPECT_EQ(Holds(file, L"Mine"), c.oursInFile);
        EXPECT_EQ(Holds(file, L"Theirs"), !c.oursInFile);
        EXPECT_EQ(Root().FindChild(L"Theirs") != nullptr, c.theirsRead);
        const std::wstring other = OtherVersion();
        EXPECT_EQ(Holds(other, L"Theirs"), c.otherKept);
        EXPECT_EQ(TakeNotices(), c.otherKept ? 1 : 0);
        if (c.otherKept) {
            EXPECT_NE(doc_->LoadNotice().find(other), std::wstring::npos);
        }
        EXPECT_EQ(Root().m_strCommand, c.edit ? L"" : L"Web"); // the shown one stays
        EXPECT_EQ(doc_->IsSavePending(), c.savePending);       // to record it
        EXPECT_FALSE(doc_->IsEditPending());
        doc_->Close();
    }
}

namespace {
// Three categories, each with buttons and a sub-category of its own; the file records the
// middle one as shown.
void MakeNestedTree(oVoiceBook& root) {
    root.ResetAll(L"ToolBar");
    for (const std::wstring name : {L"First", L"Middle", L"Last"}) {
        oVoiceBook* category = root.AddChild(CategoryFields(name));
        oVoiceBook* sub = category->AddChild(CategoryFields(name + L" sub"));
        for (int i = 0; i < 3; ++i) {
            category->AddChild(ButtonFields(name + std::to_wstring(i), L"b.exe"));
            sub->AddChild(ButtonFields(name + L" deep" + std::to_wstring(i), L"d.exe"));
        }
    }
    root.SetCommand(L"Middle");
}
} // namespace

TEST_F(TreeDocumentTest, ReadInStagesTheShownCategoryComesFirstAndNothingIsSavedBeforeTheRest) {
    oVoiceBook original;
    MakeNestedTree(original);
    const std::wstring file = InData(model::kCurrentDataFile);
    // How the rest comes in: the worker's message, or a save asked for before it came; the
    // worker at once, or once begun (never begun: the save reads the rest itself).
    enum class Way { Message, Countdown, Exit };
    for (const bool later : {false, true})
        for (Way way : {Way::Message, Way::Countdown, Way::Exit}) {
            SCOPED_TRACE(static_cast<int>(way) + (later ? 10 : 0));
            ASSERT_TRUE(original.SaveFile(file));
            doc_->SetReadInStages(true, later);
            Open();
            ASSERT_FALSE(doc_->IsComplete());
            if (later) {
                Pump(); // no worker, no message
                ASSERT_FALSE(doc_->IsComplete());
            }
            oVoiceBook& part = doc_->LoadedRoot();
            auto* middle = static_cast<oVoiceBook*>(part.FindChild(L"Middle"));
            auto* first = static_cast<oVoiceBook*>(part.FindChild(L"First"));
            ASSERT_TRUE(middle && first && part.FindChild(L"Last"));
            EXPECT_TRUE(doc_->CanShow(*middle->FirstChild()));
            EXPECT_EQ(model::TreeToText(*middle),
                      model::TreeToText(*static_cast<oVoiceBook*>(original.FindChild(L"Middle"))));
            EXPECT_FALSE(first->HasChildren());
            EXPECT_FALSE(doc_->CanShow(*first));
            EXPECT_FALSE(doc_->CanShow(part));

            middle->AddChild(ButtonFields(L"added", L"a.exe"));
            doc_->MarkModified();
            if (way == Way::Message) {
                doc_->BeginRestOfTree();
                ASSERT_TRUE(WaitFor(WM_LARK_TREE_DECODED));
                EXPECT_TRUE(doc_->IsComplete());
                Tick(61);
                ASSERT_TRUE(WaitForSaveReport());
            } else if (way == Way::Countdown) {
                Tick(61);
                ASSERT_TRUE(WaitForSaveReport());
            } else {
                doc_->SaveIfPending();
            }
            EXPECT_TRUE(doc_->IsComplete());
            EXPECT_TRUE(doc_->LoadNotice().empty());
            // What was written is the whole tree with the edit.
            oVoiceBook saved;
            ASSERT_TRUE(saved.LoadFile(file));
            const std::string text = model::TreeToText(saved);
            EXPECT_EQ(text, model::TreeToText(doc_->Root()));
            EXPECT_EQ(first->FirstChild()->m_strName, L"First sub");
            Pump(); // a late message of the worker changes nothing
            EXPECT_EQ(model::TreeToText(doc_->Root()), text);
            doc_->Close();
        }
}

TEST_F(TreeDocumentTest, ReadInStagesAFileNotWholeIsKeptBesideOnceTheRestIsIn) {
    oVoiceBook original;
    MakeNestedTree(original);
    std::vector<uint8_t> sound;
    ASSERT_TRUE(model::BuildDataFileImage(original, model::kCurrentFormat, sound));
    // A storage's type damaged: "First" is cut off from its content, found as the rest is read.
    // A list's chain run on: the structure is refused after the first paint, and the whole
    // read takes the place of what was shown.
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused);
        const std::vector<uint8_t> image =
            refused ? damage::Damage(sound, damage::ListDamage::RunsTooLong,
                                     damage::CompoundBytes(sound).Named(L"ChildInfo.INF", 1))
                    : damage::Retype(sound, L"01_0000", 0);
        ASSERT_TRUE(test::WriteFileBytes(InData(model::kCurrentDataFile), image));
        doc_->SetReadInStages(true);
        Open();
        Heard heard(*doc_);
        doc_->AddListener(&heard);
        ASSERT_FALSE(doc_->IsComplete());
        EXPECT_TRUE(doc_->LoadedRoot().FindChild(L"Middle")->HasChildren());
        EXPECT_TRUE(doc_->LoadNotice().empty());
        doc_->SaveIfPending(); // an exit with nothing to write waits for nothing
        EXPECT_FALSE(doc_->IsComplete());
        if (refused) {
            // One that waits with a node in hand keeps it: the tree is replaced from the
            // message loop only, and nothing is saved before.
            const oTreeNode* middle = doc_->LoadedRoot().FindChild(L"Middle");
            doc_->Root();
            EXPECT_FALSE(doc_->IsComplete());
            EXPECT_EQ(middle->m_strName, L"Middle");
            doc_->MarkModified();
            doc_->SaveIfPending();
            EXPECT_EQ(test::ReadFileBytes(InData(model::kCurrentDataFile)), image);
        }
        ASSERT_TRUE(WaitFor(WM_LARK_TREE_DECODED));
        const std::wstring kept = InData(L"LarkB_U.tdb.incomplete");
        EXPECT_NE(doc_->LoadNotice().find(kept), std::wstring::npos);
        EXPECT_EQ(test::ReadFileBytes(kept), image);
        EXPECT_TRUE(doc_->IsSavePending()); // what could be read is written over it
        oVoiceBook whole;
        EXPECT_EQ(model::ReadDataFileImage(whole, image, false), model::LoadOutcome::Partial);
        EXPECT_EQ(model::TreeToText(Root()), model::TreeToText(whole));
        EXPECT_EQ(heard.reads, std::vector<bool>(refused ? 1 : 0, true));
        EXPECT_EQ(heard.notices.size(), refused ? 1u : 0u); // all that was shown goes
        doc_->RemoveListener(&heard);
        doc_->Close();
        ASSERT_TRUE(::DeleteFileW(kept.c_str())) << ::GetLastError();
    }
}

TEST_F(TreeDocumentTest, ReadInStagesACategoryRefilledBeforeItsContentCameKeepsOnlyTheNew) {
    oVoiceBook original;
    MakeNestedTree(original);
    ASSERT_TRUE(original.SaveFile(InData(model::kCurrentDataFile)));
    doc_->SetReadInStages(true, true); // the rest is not begun
    Open();
    auto* first = static_cast<oVoiceBook*>(doc_->LoadedRoot().FindChild(L"First"));
    ASSERT_TRUE(first && !doc_->CanShow(*first));
    doc_->DeleteChildren(*first);
    first->AddChild(ButtonFields(L"fresh", L"f.exe"));
    const oTreeNode* whole = Root().FindChild(L"First");
    ASSERT_EQ(whole, first);
    ASSERT_TRUE(first->HasChildren());
    EXPECT_EQ(first->FirstChild()->m_strName, L"fresh");
    EXPECT_EQ(first->LastChild(), first->FirstChild()) << "the file's content came beside it";
}

TEST_F(TreeDocumentTest, ReadInStagesAFileOfTheOlderLayoutIsWrittenOnceInOurs) {
    // Big enough for a FAT of several sectors, which the system's storage code spreads.
    oVoiceBook original;
    MakeTree(original, L"old");
    for (int i = 0; i < 20; ++i)
        original.FirstChild()->AddChild(ButtonFields(L"b" + std::to_wstring(i), L"b.exe"));
    const std::wstring file = InData(model::kCurrentDataFile);
    for (const auto fat : {model::FatPlacement::AsBuilt, model::FatPlacement::AtStart}) {
        const bool older = fat == model::FatPlacement::AsBuilt;
        SCOPED_TRACE(older);
        std::vector<uint8_t> image;
        ASSERT_TRUE(model::BuildDataFileImage(original, model::kCurrentFormat, image, fat));
        ASSERT_EQ(model::FatInOneRun(image.data(), image.size()), !older);
        ASSERT_TRUE(test::WriteFileBytes(file, image));
        doc_->SetReadInStages(true);
        Open();
        ASSERT_TRUE(WaitFor(WM_LARK_TREE_DECODED));
        EXPECT_EQ(doc_->IsSavePending(), older);
        doc_->SaveIfPending();
        const std::vector<uint8_t> now = test::ReadFileBytes(file);
        EXPECT_EQ(now != image, older);
        EXPECT_TRUE(model::FatInOneRun(now.data(), now.size()));
        EXPECT_EQ(model::TreeToText(Root()), model::TreeToText(original));
        doc_->Close();
    }
}

TEST(TreeSaveTest, SingleByteRecordsAreWrittenInTheCodePageOfTheThreadThatSaves) {
    test::TempDir dir;
    const std::wstring file = dir / L"LarkB.tdb";
    const LCID before = ::GetThreadLocale();
    // As a language pack sets it; the writer thread keeps the system's.
    ASSERT_TRUE(
        ::SetThreadLocale(MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT)));
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    root.AddChild(CategoryFields(L"\u041F\u0440\u0438\u0432\u0435\u0442"));
    auto save = std::make_shared<document::TreeSave>(root, model::kSingleByteFormat, 1,
                                                     std::make_shared<document::KnownFile>(),
                                                     model::TreeSnapshot());
    model::DataFileWriter writer(nullptr, 0);
    ASSERT_NE(writer.Submit(file, save), 0u);
    ASSERT_TRUE(writer.WaitIdle(test::kPatientMs));
    EXPECT_EQ(save->Outcome(), document::TreeSave::Result::Replaced);
    oVoiceBook loaded;
    EXPECT_EQ(model::ReadDataFile(loaded, file, true), model::LoadOutcome::Loaded);
    ::SetThreadLocale(before);
    ASSERT_NE(loaded.FirstChild(), nullptr);
    EXPECT_EQ(loaded.FirstChild()->m_strName, root.FirstChild()->m_strName);
}

TEST_F(TreeDocumentTest, ClosingStopsTheRestInsideABigCategoryAndThePartIsNeverSaved) {
    oVoiceBook original;
    MakeNestedTree(original);
    auto* big = static_cast<oVoiceBook*>(original.FindChild(L"First"));
    for (size_t i = 0; i < 4 * model::StagedTreeRead::kStopCheckRecords; ++i)
        big->AddChild(ButtonFields(L"big" + std::to_wstring(i), L"b.exe"));
    const std::wstring file = InData(model::kCurrentDataFile);
    ASSERT_TRUE(original.SaveFile(file));
    const std::vector<uint8_t> before = test::ReadFileBytes(file);
    // The worker is held at its first look at the flag inside "First" until Close sets it.
    fw::Handle reached(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(reached) << ::GetLastError();
    std::vector<size_t> looks;
    doc_->SetRestCheckpoint([&](size_t records, const std::atomic<bool>& stop) {
        looks.push_back(records);
        ::SetEvent(reached.get());
        PollWithoutPumping([&] { return stop.load(); }, test::kPatientMs);
    });
    doc_->SetReadInStages(true);
    Open();
    ASSERT_EQ(::WaitForSingleObject(reached.get(), test::kPatientMs), WAIT_OBJECT_0)
        << ::GetLastError();
    doc_->MarkModified();
    doc_->Close();
    // It stopped at that look: the category is dropped, not shown in part.
    EXPECT_EQ(looks, std::vector<size_t>{model::StagedTreeRead::kStopCheckRecords});
    EXPECT_FALSE(doc_->IsComplete());
    EXPECT_FALSE(doc_->LoadedRoot().FindChild(L"First")->HasChildren());
    EXPECT_TRUE(doc_->LoadedRoot().FindChild(L"Middle")->HasChildren());
    Pump(); // the worker's late message attaches nothing
    EXPECT_FALSE(doc_->LoadedRoot().FindChild(L"First")->HasChildren());
    Tick(61);
    doc_->SaveIfPending();
    EXPECT_EQ(test::ReadFileBytes(file), before);
}

TEST_F(TreeDocumentTest, ReadInStagesABigStartCategoryComesInPartsAndItsListenerHearsWhenWhole) {
    oVoiceBook original;
    MakeNestedTree(original);
    ASSERT_TRUE(original.SaveFile(InData(model::kCurrentDataFile)));
    doc_->SetStartChildren(2);
    doc_->SetReadInStages(true, true);
    Open();
    Heard heard(*doc_);
    doc_->AddListener(&heard);
    // Its first two children, each whole, shown as they are.
    auto* middle = static_cast<oVoiceBook*>(doc_->LoadedRoot().FindChild(L"Middle"));
    ASSERT_NE(middle, nullptr);
    ASSERT_TRUE(middle->FirstChild() && middle->FirstChild()->Next());
    EXPECT_EQ(middle->FirstChild()->Next()->Next(), nullptr);
    EXPECT_EQ(
        model::TreeToText(*middle->FirstChild()),
        model::TreeToText(*static_cast<oVoiceBook*>(original.FindChild(L"Middle"))->FirstChild()));
    EXPECT_TRUE(doc_->CanShow(*middle));
    EXPECT_FALSE(doc_->IsComplete());

    doc_->BeginRestOfTree();
    ASSERT_TRUE(WaitFor(WM_LARK_TREE_DECODED));
    EXPECT_EQ(heard.completed, std::vector<std::wstring>{L"Middle"});
    EXPECT_EQ(model::TreeToText(doc_->Root()), model::TreeToText(original));
    EXPECT_TRUE(doc_->LoadNotice().empty());
    EXPECT_FALSE(doc_->IsSavePending()); // the file was read whole: nothing to write
    doc_->RemoveListener(&heard);
}
