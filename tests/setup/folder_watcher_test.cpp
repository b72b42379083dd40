// The folder watcher on its own, posting to a hidden window.
#include <gtest/gtest.h>

#include <vector>

#include "model/voice_book.h"
#include "setup/folder_watcher.h"
#include "support/test_util.h"

namespace {

// A hidden window that records the watcher's messages.
class Receiver {
public:
    Receiver() {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &Receiver::Proc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"LarkWatchReceiver";
            ::RegisterClassW(&wc);
            registered = true;
        }
        hwnd_ = ::CreateWindowExW(0, L"LarkWatchReceiver", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Receiver() {
        if (::IsWindow(hwnd_))
            ::DestroyWindow(hwnd_);
    }
    HWND hwnd() const { return hwnd_; }
    const std::vector<LPARAM>& received() const { return received_; }
    void Clear() { received_.clear(); }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_LARK_FOLDER_CHANGED) {
            auto* self = reinterpret_cast<Receiver*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            if (self && wp == 0)
                self->received_.push_back(lp);
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    HWND hwnd_ = nullptr;
    std::vector<LPARAM> received_;
};

void Touch(const std::wstring& path) {
    ::CloseHandle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
}

class FolderWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"Watched", L"Other"})
            root_.AddChild(CategoryFields(name));
    }
    void StartOn(const std::wstring& folder, const oVoiceBook& category) {
        watcher_.Start(receiver_.hwnd(), folder, category);
        // The worker arms its notification on its own; give it a moment.
        test::PumpMessages(300);
    }
    oVoiceBook& Category(int n) { return n ? *root_.FirstChild()->Next() : *root_.FirstChild(); }
    oVoiceBook* Named(LPARAM lp) { return setup::FindWatchedCategory(root_, lp); }

    test::TempDir dir_;
    Receiver receiver_;
    setup::FolderWatcher watcher_;
    oVoiceBook root_;
};

TEST_F(FolderWatcherTest, OneCreatePostsOnceWithTheCategory) {
    StartOn(dir_.path(), Category(0));
    ASSERT_TRUE(watcher_.IsRunning());
    EXPECT_EQ(::GetThreadPriority(watcher_.Thread()), THREAD_PRIORITY_LOWEST);
    EXPECT_EQ(watcher_.CategorySerial(), Category(0).m_nSerial);

    Touch(dir_ / L"new.txt");
    EXPECT_TRUE(test::WaitUntil([&] { return !receiver_.received().empty(); }, test::kPatientMs));
    test::PumpMessages(700);
    ASSERT_EQ(receiver_.received().size(), 1u);
    EXPECT_EQ(Named(receiver_.received()[0]), &Category(0));
}

TEST_F(FolderWatcherTest, BurstPostsAndTheWatcherKeepsWatching) {
    StartOn(dir_.path(), Category(0));
    for (int i = 0; i < 40; ++i)
        Touch(dir_ / (L"burst" + std::to_wstring(i) + L".txt"));
    EXPECT_TRUE(test::WaitUntil([&] { return !receiver_.received().empty(); }, test::kPatientMs));
    test::PumpMessages(700);
    EXPECT_TRUE(watcher_.IsRunning());

    // Re-armed: a later change is reported too.
    receiver_.Clear();
    Touch(dir_ / L"later.txt");
    EXPECT_TRUE(test::WaitUntil([&] { return !receiver_.received().empty(); }, test::kPatientMs));
}

TEST_F(FolderWatcherTest, SubFoldersAreNotWatched) {
    ASSERT_TRUE(::CreateDirectoryW((dir_ / L"sub").c_str(), nullptr));
    StartOn(dir_.path(), Category(0));
    Touch(dir_ / L"sub\\inner.txt");
    test::PumpMessages(1000);
    EXPECT_TRUE(receiver_.received().empty());
}

TEST_F(FolderWatcherTest, StopEndsTheWorkerWithinItsBound) {
    StartOn(dir_.path(), Category(0));
    const ULONGLONG before = ::GetTickCount64();
    watcher_.Stop(2000);
    EXPECT_LT(::GetTickCount64() - before, 2000u);
    EXPECT_FALSE(watcher_.IsRunning());
    EXPECT_EQ(watcher_.Thread(), nullptr);

    Touch(dir_ / L"after-stop.txt");
    test::PumpMessages(700);
    EXPECT_TRUE(receiver_.received().empty());
}

TEST_F(FolderWatcherTest, WorkerThatDoesNotAnswerIsEndedByForceAtTheBound) {
    StartOn(dir_.path(), Category(0));
    HANDLE worker = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), watcher_.Thread(), ::GetCurrentProcess(),
                                  &worker, SYNCHRONIZE, FALSE, 0));
    ASSERT_NE(::SuspendThread(watcher_.Thread()), static_cast<DWORD>(-1));
    const ULONGLONG before = ::GetTickCount64();
    watcher_.Stop(300);
    const ULONGLONG took = ::GetTickCount64() - before;
    EXPECT_GE(took, 300u);
    EXPECT_LT(took, 3000u);
    EXPECT_EQ(::WaitForSingleObject(worker, test::kPatientMs), WAIT_OBJECT_0)
        << "the thread is gone";
    ::CloseHandle(worker);
    EXPECT_EQ(watcher_.Thread(), nullptr);
}

TEST_F(FolderWatcherTest, FolderThatCannotBeWatchedLeavesNothingRunning) {
    StartOn(dir_ / L"absent", Category(0));
    EXPECT_TRUE(test::WaitUntil([&] { return !watcher_.IsRunning(); }, test::kPatientMs));
    watcher_.Stop(100);
    EXPECT_EQ(watcher_.Thread(), nullptr);
}

TEST_F(FolderWatcherTest, StartReplacesTheEarlierWatch) {
    test::TempDir other;
    StartOn(dir_.path(), Category(0));
    StartOn(other.path(), Category(1));
    Touch(dir_ / L"old-folder.txt");
    test::PumpMessages(700);
    EXPECT_TRUE(receiver_.received().empty());
    Touch(other / L"new-folder.txt");
    ASSERT_TRUE(test::WaitUntil([&] { return !receiver_.received().empty(); }, test::kPatientMs));
    EXPECT_EQ(Named(receiver_.received()[0]), &Category(1));
}

TEST_F(FolderWatcherTest, NothingIsPostedOnceTheWindowIsGone) {
    Receiver gone;
    watcher_.Start(gone.hwnd(), dir_.path(), Category(0));
    test::PumpMessages(300);
    ::DestroyWindow(gone.hwnd());
    Touch(dir_ / L"orphan.txt");
    test::PumpMessages(700);
    EXPECT_TRUE(watcher_.IsRunning()) << "it keeps waiting until stopped";
    EXPECT_TRUE(gone.received().empty());
}

} // namespace

TEST_F(FolderWatcherTest, AMessageForACategoryDeletedSinceNamesNothing) {
    oVoiceBook* watched = &Category(0);
    StartOn(dir_.path(), *watched);
    // The category goes while the worker watches; a new one may take its memory.
    root_.RemoveChild(watched);
    oVoiceBook* newer = root_.AddChild(CategoryFields(L"Newer"));
    int n = 0; // touched until the worker, armed by now, reports
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            Touch(dir_ / (L"late" + std::to_wstring(n++) + L".txt"));
            return !receiver_.received().empty();
        },
        test::kPatientMs));
    EXPECT_EQ(Named(receiver_.received()[0]), nullptr);
    EXPECT_NE(Named(static_cast<LPARAM>(newer->m_nSerial)), nullptr);
}
