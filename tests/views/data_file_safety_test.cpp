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
#include "support/dialog_answer.h"
#include "support/lark_process.h"
#include "support/test_util.h"
#include "views/program_toolbar.h"
#include "views/tree_startup.h"

namespace {

std::wstring InData(const std::wstring& name) {
    return test::DataFolder() + L"\\" + name;
}
const std::wstring kFile = model::kCurrentDataFile;

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

class StartupSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RemoveTree(test::DataFolder());
        model::DataFilePath(model::kDataFileName);
        model::ForgetProtections();
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
        model::ForgetProtections();
        test::RemoveTree(test::DataFolder());
    }
    views::StartupLoad Load() { return views::LoadTreeAtStartup(*g_pVoiceBook, parent_); }

    HWND parent_ = nullptr;
    std::unique_ptr<CProgramToolBar> bar_;
    // A first run reads the template beside the tests and asks about the bookmarks.
    test::DialogAutoAnswerer bookmarks_{IDNO};
};

} // namespace

TEST_F(StartupSafetyTest, AFileReadInPartIsUsedAndKeptByteForByteAndAWholeOneIsNot) {
    ASSERT_TRUE(test::WriteFileBytes(InData(kFile), UserImage()));
    views::StartupLoad load = Load();
    EXPECT_EQ(load.source, views::TreeSource::DataFile);
    EXPECT_EQ(load.notice, views::DataFileNotice::None);
    EXPECT_EQ(views::StartupNoticeText(load), L"");
    EXPECT_FALSE(test::FileExists(InData(kFile + L".incomplete")));

    // Damage in a category's list, then in the top-level list (its first entry survives).
    int round = 0;
    for (int list : {2, 0}) {
        SCOPED_TRACE(list);
        const auto damaged = Damaged(damage::ListDamage::FlippedMidChain, list);
        ASSERT_TRUE(test::WriteFileBytes(InData(kFile), damaged));
        load = Load();
        EXPECT_EQ(load.source, views::TreeSource::DataFile);
        EXPECT_EQ(load.notice, views::DataFileNotice::KeptPart);
        const std::wstring copy = InData(kFile + L".incomplete" + (round++ ? L".1" : L""));
        EXPECT_EQ(load.setAside, copy);
        EXPECT_EQ(test::ReadFileBytes(copy), damaged);
        EXPECT_NE(views::StartupNoticeText(load).find(copy), std::wstring::npos);
        ASSERT_NE(g_pVoiceBook->FirstChild(), nullptr);
        EXPECT_EQ(g_pVoiceBook->FirstChild()->m_strName, L"Mine A");
        // A save may now replace the file: the copy stays.
        ASSERT_TRUE(g_pVoiceBook->SaveFile(InData(kFile)));
        EXPECT_EQ(test::ReadFileBytes(copy), damaged);
    }
}

TEST_F(StartupSafetyTest, ALostTopLevelListIsSetAsideTheFirstRunFollowsAndTheBarSaysSo) {
    for (auto how : {damage::ListDamage::EmptyStream, damage::ListDamage::StartsOutside,
                     damage::ListDamage::AllocationWiped}) {
        SCOPED_TRACE(static_cast<int>(how));
        test::RemoveTree(test::DataFolder());
        model::DataFilePath(model::kDataFileName);
        const auto damaged = Damaged(how, 0);
        ASSERT_TRUE(test::WriteFileBytes(InData(kFile), damaged));
        test::DialogAnswerer notice(IDOK, 0, 60000); // after a first run
        bar_ = std::make_unique<CProgramToolBar>();
        ASSERT_TRUE(bar_->Create(RECT{0, 0, 400, 60}, parent_, 6000));
        test::PumpMessages(0); // the bar tells the user once it is up
        ASSERT_TRUE(notice.Finish());
        const std::wstring aside = InData(kFile + L".unreadable");
        EXPECT_EQ(test::ReadFileBytes(aside), damaged);
        EXPECT_EQ(g_pVoiceBook->m_strName, L"ToolBar"); // from the first run ...
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

TEST_F(StartupSafetyTest, AFileHeldLongerIsNeverWrittenOverBeforeACopyIsKept) {
    const auto image = UserImage();
    ASSERT_TRUE(test::WriteFileBytes(InData(kFile), image));
    Holder holder(InData(kFile));
    const views::StartupLoad load = Load();
    EXPECT_EQ(load.notice, views::DataFileNotice::InUse);
    EXPECT_EQ(load.setAside, InData(kFile));
    EXPECT_NE(views::StartupNoticeText(load).find(InData(kFile)), std::wstring::npos);
    EXPECT_EQ(load.source, views::TreeSource::FirstRun); // whose save was refused
    EXPECT_TRUE(model::IsProtected(InData(kFile)));
    holder.Release();
    EXPECT_EQ(test::ReadFileBytes(InData(kFile)), image);
    EXPECT_FALSE(test::FileExists(InData(kFile + L".unreadable")));

    // Still held: a save is refused and the file stays as it is.
    Holder again(InData(kFile));
    EXPECT_FALSE(g_pVoiceBook->SaveFile(InData(kFile)));
    again.Release();
    EXPECT_EQ(test::ReadFileBytes(InData(kFile)), image);
    // Free: the first save keeps a copy, then replaces the file.
    ASSERT_TRUE(g_pVoiceBook->SaveFile(InData(kFile)));
    EXPECT_EQ(test::ReadFileBytes(InData(kFile + L".kept")), image);
    EXPECT_NE(test::ReadFileBytes(InData(kFile)), image);
    EXPECT_FALSE(model::IsProtected(InData(kFile)));
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

TEST_F(HeldFileProcessTest, AFileHeldAllThroughARunSurvivesAndTheUserIsToldWhy) {
    // Held from before the start until after the exit, however long the two take here.
    HoldingProcess holder(InData(kFile), 120000);
    ASSERT_TRUE(holder.WaitHeld());
    test::LarkProcess lark(test::CopyProgramAlone(alone_.path()));
    ASSERT_TRUE(lark.Start());
    test::DialogAnswerer notice(IDOK, lark.Id(), 60000);
    ASSERT_TRUE(notice.Finish());
    views::StartupLoad expected;
    expected.notice = views::DataFileNotice::InUse;
    expected.setAside = InData(kFile);
    EXPECT_EQ(notice.Seen().text, views::StartupNoticeText(expected));
    EXPECT_EQ(notice.Seen().caption, L"larkRunBar ");
    // The box bears the bar's title too: the bar is the one left once it has gone.
    ASSERT_TRUE(test::WaitUntil([&] { return !::IsWindow(notice.Seen().hwnd); }, test::kPatientMs));
    ASSERT_TRUE(lark.WaitForBar());
    ASSERT_TRUE(lark.Exit());
    ASSERT_TRUE(holder.Release());
    EXPECT_EQ(test::ReadFileBytes(InData(kFile)), image_); // never written over
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
