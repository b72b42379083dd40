// The writer thread of the data file: it writes the newest image it was handed, reports each
// write to a window, leaves the old file whole when anything fails, and never replaces the
// file once it was stopped.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "framework/handle.h"
#include "model/data_file.h"
#include "model/data_file_writer.h"
#include "model/file_replace.h"
#include "model/sample_trees.h"
#include "support/test_util.h"

namespace {

constexpr UINT kDone = WM_APP + 7;

// Waits for `condition` and leaves this thread's messages in the queue: a pump would hand the
// writer's reports to the window, where the tests no longer see them.
template <class F> bool WaitLeavingMessages(F condition, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(10);
    }
    return true;
}

struct Report {
    uint32_t ticket;
    bool replaced;
    bool operator==(const Report& o) const { return ticket == o.ticket && replaced == o.replaced; }
};

// A message-only window that collects what the writer posts.
class ReportWindow {
public:
    ReportWindow()
        : hwnd_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr)) {}
    ~ReportWindow() { ::DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

    // Takes the reports posted so far.
    std::vector<Report> Take() {
        MSG msg;
        while (::PeekMessageW(&msg, hwnd_, kDone, kDone, PM_REMOVE))
            reports_.push_back({static_cast<uint32_t>(msg.wParam), msg.lParam != 0});
        return std::exchange(reports_, {});
    }
    // Waits until `count` reports came and takes them.
    std::vector<Report> TakeWhenThere(size_t count) {
        WaitLeavingMessages(
            [&] {
                MSG msg;
                while (::PeekMessageW(&msg, hwnd_, kDone, kDone, PM_REMOVE))
                    reports_.push_back({static_cast<uint32_t>(msg.wParam), msg.lParam != 0});
                return reports_.size() >= count;
            },
            test::kPatientMs);
        return std::exchange(reports_, {});
    }

private:
    HWND hwnd_;
    std::vector<Report> reports_;
};

std::vector<uint8_t> ImageOf(uint32_t seed, int buttons) {
    oVoiceBook tree;
    sample::BuildTree(tree, seed, buttons, 5);
    std::vector<uint8_t> image;
    EXPECT_TRUE(model::BuildDataFileImage(tree, model::kCurrentFormat, image));
    return image;
}

class WriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldImage = ImageOf(1, 40);
        ASSERT_TRUE(test::WriteFileBytes(file, oldImage));
    }

    test::TempDir dir;
    std::wstring file = dir / L"LarkB_U.tdb";
    std::vector<uint8_t> oldImage;
    ReportWindow reports;
};

// A pipe in place of the file written beside: the writer's write blocks in it until the
// test lets go, so the writer is held busy for as long as the test needs.
class BlockingPipe {
public:
    explicit BlockingPipe(const std::wstring& target)
        : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          pipe_(::CreateNamedPipeW(model::ReplacementName(target).c_str(),
                                   PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                                   PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr)) {
        overlapped_.hEvent = event_.get();
        if (pipe_ && !::ConnectNamedPipe(pipe_.get(), &overlapped_) &&
            ::GetLastError() == ERROR_PIPE_CONNECTED)
            ::SetEvent(event_.get());
    }
    ~BlockingPipe() { Release(); }
    bool valid() const { return static_cast<bool>(pipe_); }
    // True once the writer opened it (and is writing into it).
    bool WaitForWriter() {
        return ::WaitForSingleObject(event_.get(), test::kPatientMs) == WAIT_OBJECT_0;
    }
    // Breaks the pipe: the writer's write fails.
    void Release() {
        if (pipe_) {
            ::CancelIo(pipe_.get());
            ::DisconnectNamedPipe(pipe_.get());
            pipe_.reset();
        }
    }

private:
    fw::Handle event_;
    fw::FileHandle pipe_;
    OVERLAPPED overlapped_{};
};

} // namespace

TEST_F(WriterTest, WritesTheImageReplacingTheFileAndReportsIt) {
    const std::vector<uint8_t> image = ImageOf(2, 300);
    model::DataFileWriter writer(reports.hwnd(), kDone);
    std::vector<uint8_t> handed = image;
    EXPECT_EQ(writer.Submit(file, std::move(handed)), 1u);
    EXPECT_TRUE(writer.WaitIdle(test::kPatientMs));
    EXPECT_EQ(reports.TakeWhenThere(1), (std::vector<Report>{{1, true}}));
    EXPECT_EQ(test::ReadFileBytes(file), image);
    EXPECT_FALSE(test::FileExists(model::ReplacementName(file)));
    EXPECT_EQ(writer.LastOutcome().ticket, 1u);
    EXPECT_TRUE(writer.LastOutcome().replaced);
}

TEST_F(WriterTest, ANewerImageReplacesOneThatIsStillQueued) {
    const std::wstring held =
        L"\\\\.\\pipe\\lark_writer_test_" + std::to_wstring(::GetCurrentProcessId());
    BlockingPipe pipe(held);
    ASSERT_TRUE(pipe.valid());
    model::DataFileWriter writer(reports.hwnd(), kDone);
    // The first image is being written (into the pipe, which takes nothing) ...
    EXPECT_EQ(writer.Submit(held, std::vector<uint8_t>(1 << 20, 0x11)), 1u);
    ASSERT_TRUE(pipe.WaitForWriter());
    // ... while the second waits and the third takes its place.
    const std::vector<uint8_t> second = ImageOf(2, 50), third = ImageOf(3, 60);
    EXPECT_EQ(writer.Submit(file, std::vector<uint8_t>(second)), 2u);
    EXPECT_EQ(writer.Submit(file, std::vector<uint8_t>(third)), 3u);
    EXPECT_FALSE(writer.WaitIdle(200)); // held
    EXPECT_EQ(test::ReadFileBytes(file), oldImage);
    pipe.Release();
    ASSERT_TRUE(writer.WaitIdle(test::kPatientMs));
    // The second was never written nor reported.
    EXPECT_EQ(reports.TakeWhenThere(2), (std::vector<Report>{{1, false}, {3, true}}));
    EXPECT_EQ(test::ReadFileBytes(file), third);
}

TEST_F(WriterTest, AFailedWriteIsReportedAndLeavesTheOldFileUntouched) {
    model::DataFileWriter writer(reports.hwnd(), kDone);
    const std::vector<uint8_t> image = ImageOf(2, 80);
    // Something is in the way of the file written beside.
    ASSERT_TRUE(::CreateDirectoryW(model::ReplacementName(file).c_str(), nullptr));
    EXPECT_EQ(writer.Submit(file, std::vector<uint8_t>(image)), 1u);
    ASSERT_TRUE(writer.WaitIdle(test::kPatientMs));
    EXPECT_EQ(reports.TakeWhenThere(1), (std::vector<Report>{{1, false}}));
    EXPECT_FALSE(writer.LastOutcome().replaced);
    EXPECT_EQ(test::ReadFileBytes(file), oldImage);

    // A file that cannot be replaced (held open by another program) fails the same way.
    ::RemoveDirectoryW(model::ReplacementName(file).c_str());
    {
        fw::FileHandle holder(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(writer.Submit(file, std::vector<uint8_t>(image)), 2u);
        ASSERT_TRUE(writer.WaitIdle(test::kPatientMs));
    }
    EXPECT_EQ(reports.TakeWhenThere(1), (std::vector<Report>{{2, false}}));
    EXPECT_EQ(test::ReadFileBytes(file), oldImage);
    EXPECT_FALSE(test::FileExists(model::ReplacementName(file)));

    // The writer goes on: the next image is written.
    EXPECT_EQ(writer.Submit(file, std::vector<uint8_t>(image)), 3u);
    ASSERT_TRUE(writer.WaitIdle(test::kPatientMs));
    EXPECT_EQ(reports.TakeWhenThere(1), (std::vector<Report>{{3, true}}));
    EXPECT_EQ(test::ReadFileBytes(file), image);
}

TEST_F(WriterTest, AStopFinishesWhatWasHandedOverAndThenRefusesImages) {
    const std::vector<uint8_t> image = ImageOf(2, 1500);
    model::DataFileWriter writer(reports.hwnd(), kDone);
    EXPECT_EQ(writer.Submit(file, std::vector<uint8_t>(image)), 1u);
    // The program's own bound is for a machine that is not this busy.
    EXPECT_TRUE(writer.Stop(test::kPatientMs));
    EXPECT_TRUE(writer.IsStopped());
    EXPECT_EQ(test::ReadFileBytes(file), image);
    std::vector<uint8_t> refused = oldImage;
    EXPECT_EQ(writer.Submit(file, std::move(refused)), 0u);
    EXPECT_EQ(refused, oldImage); // left to the caller, who writes it itself
    EXPECT_EQ(reports.TakeWhenThere(1), (std::vector<Report>{{1, true}}));
}

TEST_F(WriterTest, AStopThatGivesUpOnAWriteNeverLetsItReplaceTheFile) {
    const std::wstring held =
        L"\\\\.\\pipe\\lark_writer_stop_" + std::to_wstring(::GetCurrentProcessId());
    BlockingPipe pipe(held);
    ASSERT_TRUE(pipe.valid());
    {
        model::DataFileWriter writer(reports.hwnd(), kDone);
        EXPECT_EQ(writer.Submit(held, std::vector<uint8_t>(1 << 20, 0x22)), 1u);
        ASSERT_TRUE(pipe.WaitForWriter());
        EXPECT_EQ(writer.Submit(file, ImageOf(2, 50)), 2u);
        EXPECT_FALSE(writer.Stop(100)); // the write is held: given up, the queued one dropped
        EXPECT_EQ(writer.Submit(file, ImageOf(3, 50)), 0u);
    } // the object goes; its thread goes on by itself
    pipe.Release();
    ::Sleep(500); // nothing marks the end of a write given up on: time to do harm
    EXPECT_EQ(test::ReadFileBytes(file), oldImage);
    EXPECT_TRUE(reports.Take().empty()); // nothing is posted after the stop gave up
}

TEST_F(WriterTest, AStopWhileWritingLeavesTheOldFileOrTheNewOneComplete) {
    const std::vector<uint8_t> image = ImageOf(2, 2500); // some 30 MB
    std::mt19937 rng(11);
    int sawOld = 0, sawNew = 0, gaveUp = 0;
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(test::WriteFileBytes(file, oldImage));
        bool finished = false;
        {
            model::DataFileWriter writer(reports.hwnd(), kDone);
            ASSERT_EQ(writer.Submit(file, std::vector<uint8_t>(image)), 1u);
            ::Sleep(rng() % 250);
            finished = writer.Stop(rng() % 50);
        }
        const std::vector<uint8_t> afterStop = test::ReadFileBytes(file);
        gaveUp += !finished;
        // A write that was given up ends by itself and removes the file beside.
        const auto besideGone = [&] { return !test::FileExists(model::ReplacementName(file)); };
        ASSERT_TRUE(WaitLeavingMessages(besideGone, test::kPatientMs));
        ::Sleep(300); // time for the file beside to come back, which it must not
        ASSERT_TRUE(WaitLeavingMessages(besideGone, test::kPatientMs));
        const std::vector<uint8_t> now = test::ReadFileBytes(file);
        const bool isOld = now == oldImage, isNew = now == image;
        ASSERT_TRUE(isOld || isNew);
        // Once the stop returned, a write it gave up on changed nothing any more.
        EXPECT_EQ(now, afterStop);
        if (finished) {
            EXPECT_TRUE(isNew);
        }
        // A success is reported only for the file that is there.
        for (const Report& r : reports.Take())
            EXPECT_TRUE(!r.replaced || isNew);
        oVoiceBook loaded;
        EXPECT_TRUE(loaded.LoadFile(file));
        sawOld += isOld;
        sawNew += isNew;
    }
    RecordProperty("old", sawOld);
    RecordProperty("new", sawNew);
    RecordProperty("given_up", gaveUp);
}
