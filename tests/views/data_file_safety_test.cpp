// A data file that cannot be read whole at start-up is never lost: set aside, copied, or left
// alone until a copy can be kept, and the user is told once. Driven through the start-up
// reading, the bar in this process, and the real program with another process holding the
// file.
#include <gtest/gtest.h>

#include <memory>

#include "framework/handle.h"
#include "model/damaged_files.h"
#include "model/data_file.h"
#include "model/data_path.h"
#include "model/keep_aside.h"
#include "model/voice_book.h"
#include "document/tree_startup.h"
#include "support/dialog_answer.h"
#include "support/lark_process.h"
#include "support/real_input.h"
#include "support/test_util.h"
#include "support/document_fixture.h"
#include "views/program_toolbar.h"

namespace {

std::wstring InData(const std::wstring& name) {
    return test::DataFolder() + L"\\" + name;
}
const std::wstring kFile = model::kCurrentDataFile;

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

// Two categories of three buttons: a child list at the top and one in each category.
std::vector<uint8_t> UserImage() {
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    for (const wchar_t* name : {L"Mine A", L"Mine B"}) {
        oVoiceBook* category = root.AddChild(CategoryFields(name));
        for (int i = 0; i < 3; ++i)
            category->AddChild(ButtonFields(L"Tool", L"t.exe"));
    }
    std::vector<uint8_t> image;
    EXPECT_TRUE(model::BuildDataFileImage(root, model::kCurrentFormat, image));
    return image;
}

std::vector<uint8_t> Damaged(damage::ListDamage how, int list) {
    const std::vector<uint8_t> image = UserImage();
    return damage::Damage(image, how, damage::CompoundBytes(image).Named(L"ChildInfo.INF", list));
}

// Holds a file open, shared with no one, until released.
class Holder {
public:
    explicit Holder(const std::wstring& path)
        : file_(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
        EXPECT_TRUE(file_) << "error " << ::GetLastError();
    }
    void Release() { file_.reset(); }

private:
    fw::FileHandle file_;
};

class StartupSafetyTest : public test::DocumentTest {
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
    document::StartupLoad Load() { return document::LoadTreeAtStartup(Root(), parent_); }
    void CreateBar() {
        bar_ = std::make_unique<CProgramToolBar>();
        bar_->SetDocument(doc_.get());
        ASSERT_TRUE(bar_->Create(RECT{0, 0, 400, 60}, parent_, 6000)) << ::GetLastError();
    }

    HWND parent_ = nullptr;
    std::unique_ptr<CProgramToolBar> bar_;
    // A first run reads the template beside the tests and asks about the bookmarks.
    test::DialogAutoAnswerer bookmarks_{IDNO};
};

} // namespace

TEST_F(StartupSafetyTest, AFileReadInPartIsUsedAndKeptByteForByteAndAWholeOneIsNot) {
    ASSERT_TRUE(test::WriteFileBytes(InData(kFile), UserImage()));
    document::StartupLoad load = Load();
    EXPECT_EQ(load.source, document::TreeSource::DataFile);
    EXPECT_EQ(load.notice, document::DataFileNotice::None);
    EXPECT_EQ(document::StartupNoticeText(load), L"");
    EXPECT_FALSE(test::FileExists(InData(kFile + L".incomplete")));

    // Damage in a category's list, then in the top-level list (its first entry survives).
    int round = 0;
    for (int list : {2, 0}) {
        SCOPED_TRACE(list);
        const auto damaged = Damaged(damage::ListDamage::FlippedMidChain, list);
        ASSERT_TRUE(test::WriteFileBytes(InData(kFile), damaged));
        load = Load();
        EXPECT_EQ(load.source, document::TreeSource::DataFile);
        EXPECT_EQ(load.notice, document::DataFileNotice::KeptPart);
        const std::wstring copy = InData(kFile + L".incomplete" + (round++ ? L".1" : L""));
        EXPECT_EQ(load.setAside, copy);
        EXPECT_EQ(test::ReadFileBytes(copy), damaged);
        EXPECT_NE(document::StartupNoticeText(load).find(copy), std::wstring::npos);
        ASSERT_NE(Root().FirstChild(), nullptr);
        EXPECT_EQ(Root().FirstChild()->m_strName, L"Mine A");
        // A save may now replace the file: the copy stays.
        ASSERT_TRUE(Root().SaveFile(InData(kFile)));
        EXPECT_EQ(test::ReadFileBytes(copy), damaged);
    }
}

TEST_F(StartupSafetyTest, ALostTopLevelListIsSetAsideTheFirstRunFollowsAndTheBarSaysSo) {
    for (auto how : {damage::ListDamage::EmptyStream, damage::ListDamage::StartsOutside,
                     damage::ListDamage::AllocationWiped, damage::ListDamage::ReadsOtherList}) {
        SCOPED_TRACE(static_cast<int>(how));
        test::RemoveTree(test::DataFolder());
        model::DataFilePath(model::kDataFileName);
        const auto damaged = Damaged(how, 0);
        ASSERT_TRUE(test::WriteFileBytes(InData(kFile), damaged));
        test::DialogAnswerer notice(IDOK, 0, 60000); // after a first run
        CreateBar();
        test::PumpMessages(0); // the bar tells the user once it is up
        ASSERT_TRUE(notice.Finish());
        const std::wstring aside = InData(kFile + L".unreadable");
        EXPECT_EQ(test::ReadFileBytes(aside), damaged);
        EXPECT_EQ(Root().m_strName, L"ToolBar"); // from the first run ...
        oVoiceBook probe;
        EXPECT_EQ(model::ReadDataFile(probe, InData(kFile), false),
                  model::LoadOutcome::Loaded); // ... which wrote its own file
        EXPECT_EQ(notice.Seen().caption, L"larkRunBar ");
        EXPECT_NE(notice.Seen().text.find(aside), std::wstring::npos);
        EXPECT_TRUE(notice.Seen().hasOk && !notice.Seen().hasCancel && !notice.Seen().hasNo);
        EXPECT_NE(notice.Seen().icon, nullptr);
        bar_.reset();
    }
}

TEST_F(StartupSafetyTest, AFileHeldLongerIsWaitedForAndReadOnceFreeOrKeptAfterAnEdit) {
    const auto image = UserImage();
    for (bool edited : {false, true}) {
        SCOPED_TRACE(edited);
        ASSERT_TRUE(test::WriteFileBytes(InData(kFile), image));
        doc_ = std::make_unique<document::TreeDocument>();
        Holder holder(InData(kFile));
        CreateBar();
        // Empty and saying why; no first run, nothing written.
        EXPECT_TRUE(doc_->IsWaitingForDataFile());
        EXPECT_EQ(WindowText(bar_->hwnd()), document::WaitingNoticeText());
        EXPECT_EQ(Root().FirstChild(), nullptr);
        EXPECT_FALSE(Root().SaveFile(InData(kFile)));
        if (edited) {
            Root().AddChild(CategoryFields(L"Meanwhile"));
            bar_->MarkModified();
        }
        std::unique_ptr<test::DialogAnswerer> notice;
        if (edited)
            notice = std::make_unique<test::DialogAnswerer>(IDOK);
        holder.Release();
        ASSERT_TRUE(
            test::WaitUntil([&] { return !doc_->IsWaitingForDataFile(); }, test::kPatientMs));
        EXPECT_EQ(WindowText(bar_->hwnd()), L"");
        ASSERT_NE(Root().FirstChild(), nullptr);
        const std::wstring kept = InData(kFile + L".kept");
        if (!edited) {
            EXPECT_EQ(Root().FirstChild()->m_strName, L"Mine A");
            EXPECT_EQ(bar_->CurrentCategory(), Root().FirstChild());
            EXPECT_FALSE(test::FileExists(kept));
            EXPECT_FALSE(model::IsProtected(InData(kFile)));
        } else {
            // The user's tree stays; the file as it was is kept, and they are told where.
            ASSERT_TRUE(notice->Finish());
            EXPECT_NE(notice->Seen().text.find(kept), std::wstring::npos);
            EXPECT_EQ(test::ReadFileBytes(kept), image);
            EXPECT_EQ(Root().FirstChild()->m_strName, L"Meanwhile");
            ASSERT_TRUE(Root().SaveFile(InData(kFile)));
            EXPECT_EQ(test::ReadFileBytes(kept), image);
        }
        bar_.reset();
    }
}

namespace {

// Another program holds the data file (lark_hold_file.exe) for `ms` milliseconds at most.
class HoldingProcess {
public:
    HoldingProcess(const std::wstring& file, DWORD ms) {
        const std::wstring name = L"LarkHold" + std::to_wstring(::GetCurrentProcessId());
        held_.reset(::CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
        release_.reset(::CreateEventW(nullptr, TRUE, FALSE, (name + L".release").c_str()));
        const std::wstring helper = test::ExeFolder() + L"lark_hold_file.exe";
        std::wstring cmd =
            L"\"" + helper + L"\" \"" + file + L"\" " + name + L" " + std::to_wstring(ms);
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessW(helper.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &si, &pi)) {
            ADD_FAILURE() << "helper not started, error " << ::GetLastError();
            return;
        }
        ::CloseHandle(pi.hThread);
        process_.reset(pi.hProcess);
    }
    ~HoldingProcess() { Release(); }
    bool WaitHeld() {
        const HANDLE waits[2] = {held_.get(), process_.get()};
        return process_ && ::WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
    }
    // Lets go (at once) and waits for the helper to end.
    bool Release() {
        ::SetEvent(release_.get());
        return !process_ || ::WaitForSingleObject(process_.get(), 30000) == WAIT_OBJECT_0;
    }

private:
    fw::Handle held_, release_, process_;
};

class HeldFileProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::KillAllLarkProcesses();
        test::RemoveTree(test::DataFolder());
        model::DataFilePath(model::kDataFileName);
        image_ = UserImage();
        ASSERT_TRUE(test::WriteFileBytes(InData(kFile), image_));
    }
    void TearDown() override { test::RemoveTree(test::DataFolder()); }

    std::vector<uint8_t> image_;
    // Without the template beside it, a first run asks nothing.
    test::TempDir alone_;
};

} // namespace

TEST_F(HeldFileProcessTest, AFileHeldPastTheStartIsWaitedForAndReadOnceLetGo) {
    HoldingProcess holder(InData(kFile), 120000);
    ASSERT_TRUE(holder.WaitHeld());
    test::LarkProcess lark(test::CopyProgramAlone(alone_.path()));
    ASSERT_TRUE(lark.Start());
    test::DialogAutoAnswerer notices(IDOK, lark.Id());
    HWND bar = lark.WaitForBar();
    ASSERT_TRUE(bar) << lark.Problem();
    // The bar says that it waits (once it has read past the start), while the file is held.
    HWND buttons = nullptr;
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            buttons = ::FindWindowExW(bar, nullptr, L"LarkProgramToolBar", nullptr);
            return WindowText(buttons) == document::WaitingNoticeText();
        },
        test::kPatientMs));
    ASSERT_TRUE(holder.Release());
    ASSERT_TRUE(test::WaitUntil([&] { return WindowText(buttons).empty(); }, test::kPatientMs));
    ASSERT_TRUE(lark.Exit()) << lark.Problem();
    EXPECT_EQ(notices.Answered(), 0);
    oVoiceBook loaded; // the user's tree, never one of a first run
    ASSERT_TRUE(loaded.LoadFile(InData(kFile)));
    ASSERT_NE(loaded.FirstChild(), nullptr);
    EXPECT_EQ(loaded.FirstChild()->m_strName, L"Mine A");
    EXPECT_FALSE(test::FileExists(InData(kFile + L".kept")));
}

TEST_F(HeldFileProcessTest, AShortHoldIsWaitedForAndNothingIsSaid) {
    HoldingProcess holder(InData(kFile), 1000);
    ASSERT_TRUE(holder.WaitHeld());
    test::LarkProcess lark(test::CopyProgramAlone(alone_.path()));
    ASSERT_TRUE(lark.Start());
    test::DialogAutoAnswerer notices(IDOK, lark.Id());
    HWND bar = lark.WaitForBar();
    ASSERT_TRUE(bar);
    ASSERT_TRUE(holder.Release());
    // Start-up is over once the bar answers (the tree is read while its window is made).
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer));
    ASSERT_TRUE(lark.Exit());
    EXPECT_EQ(notices.Answered(), 0);
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(InData(kFile))); // the exit saved the tree it read
    ASSERT_NE(loaded.FirstChild(), nullptr);
    EXPECT_EQ(loaded.FirstChild()->m_strName, L"Mine A");
    EXPECT_FALSE(test::FileExists(InData(kFile + L".kept")));
    EXPECT_FALSE(test::FileExists(InData(kFile + L".unreadable")));
}

TEST_F(HeldFileProcessTest, AnExitRightAfterTheNoticeEndsTheProgram) {
    // Posted as the command, and clicked on the grip's exit button once the notice has gone.
    for (bool click : {false, true}) {
        SCOPED_TRACE(click);
        ASSERT_TRUE(
            test::WriteFileBytes(InData(kFile), Damaged(damage::ListDamage::FlippedMidChain, 2)));
        test::LarkProcess lark(test::CopyProgramAlone(alone_.path()));
        ASSERT_TRUE(lark.Start());
        test::DialogAnswerer notice(IDOK, lark.Id());
        ASSERT_TRUE(notice.Finish());
        // The notice bears the bar's title: the bar is the window of that title nobody owns.
        const HWND bar = lark.WaitForBar();
        ASSERT_TRUE(bar) << lark.Problem();
        EXPECT_NE(bar, notice.Seen().hwnd);
        if (!click) {
            EXPECT_TRUE(lark.Exit()) << lark.Problem();
            continue;
        }
        ASSERT_TRUE(test::WaitUntil([&] { return !::IsWindowVisible(notice.Seen().hwnd); },
                                    test::kPatientMs));
        RECT exit{};
        ASSERT_TRUE(::GetWindowRect(::GetDlgItem(bar, 32774), &exit)) << ::GetLastError();
        test::MouseTo(POINT{(exit.left + exit.right) / 2, (exit.top + exit.bottom) / 2});
        test::Press(true);
        test::Press(false);
        EXPECT_TRUE(lark.WaitForExit(test::kPatientMs)) << lark.Problem();
    }
}
