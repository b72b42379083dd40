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
#include "model/writer_gate.h"
#include "support/test_util.h"

namespace {

constexpr UINT kDone = WM_APP + 7;

struct Report {
    uint32_t ticket;
    bool replaced;
    bool operator==(const Report& o) const { return ticket == o.ticket && replaced == o.replaced; }
};

// A message-only window that collects what the writer posts, whoever pumps the messages.
class ReportWindow {
public:
    ReportWindow() {
        static const bool registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &ReportWindow::Proc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"LarkWriterReports";
            return ::RegisterClassW(&wc) != 0;
        }();
        EXPECT_TRUE(registered);
        hwnd_ = ::CreateWindowExW(0, L"LarkWriterReports", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ReportWindow() { ::DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

    // Takes the reports posted so far.
    std::vector<Report> Take() {
        test::PumpMessages(0);
        return std::exchange(reports_, {});
    }
    // Waits until `count` reports came and takes them.
    std::vector<Report> TakeWhenThere(size_t count) {
        test::WaitUntil([&] { return reports_.size() >= count; }, test::kPatientMs);
        return std::exchange(reports_, {});
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == kDone) {
            if (auto* self =
                    reinterpret_cast<ReportWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
                self->reports_.push_back({static_cast<uint32_t>(wp), lp != 0});
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }

    HWND hwnd_ = nullptr;
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
    test::WriterGate gate;
    model::DataFileWriter writer(reports.hwnd(), kDone, gate.Hook());
    // The first image is being written (held at the gate) ...
    const std::vector<uint8_t> first = ImageOf(4, 40);
    EXPECT_EQ(writer.Submit(file, std::vector<uint8_t>(first)), 1u);
    ASSERT_TRUE(gate.WaitEntered());
    // ... while the second waits and the third takes its place.
    const std::vector<uint8_t> second = ImageOf(2, 50), third = ImageOf(3, 60);
    EXPECT_EQ(writer.Submit(file, std::vector<uint8_t>(second)), 2u);
    EXPECT_EQ(writer.Submit(file, std::vector<uint8_t>(third)), 3u);
    EXPECT_FALSE(writer.WaitIdle(200)); // held
    EXPECT_EQ(test::ReadFileBytes(file), oldImage);
    gate.Release();
    ASSERT_TRUE(writer.WaitIdle(test::kPatientMs));
    // The second was never written nor reported.
    EXPECT_EQ(reports.TakeWhenThere(2), (std::vector<Report>{{1, true}, {3, true}}));
    EXPECT_EQ(test::ReadFileBytes(file), third);
}

TEST_F(WriterTest, AFailedWriteIsReportedAndLeavesTheOldFileUntouched) {
    model::DataFileWriter writer(reports.hwnd(), kDone);
    const std::vector<uint8_t> image = ImageOf(2, 80);
    // No file beside can be written in a folder that is not there.
    EXPECT_EQ(writer.Submit(dir / L"gone\\LarkB_U.tdb", std::vector<uint8_t>(image)), 1u);
    ASSERT_TRUE(writer.WaitIdle(test::kPatientMs));
    EXPECT_EQ(reports.TakeWhenThere(1), (std::vector<Report>{{1, false}}));
    EXPECT_FALSE(writer.LastOutcome().replaced);
    EXPECT_EQ(test::ReadFileBytes(file), oldImage);

    // A file that cannot be replaced (held open by another program) fails the same way.
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
    test::WriterGate gate;
    {
        model::DataFileWriter writer(reports.hwnd(), kDone, gate.Hook());
        EXPECT_EQ(writer.Submit(file, ImageOf(4, 50)), 1u);
        ASSERT_TRUE(gate.WaitEntered());
        EXPECT_EQ(writer.Submit(file, ImageOf(2, 50)), 2u);
        EXPECT_FALSE(writer.Stop(100)); // the write is held: given up, the queued one dropped
        EXPECT_EQ(writer.Submit(file, ImageOf(3, 50)), 0u);
    } // the object goes; its thread goes on by itself
    gate.Release();
    // It removes its own file beside and ends.
    ASSERT_TRUE(test::WaitUntil([&] { return !test::FileExists(model::ReplacementName(file)); },
                                test::kPatientMs));
    test::PumpMessages(300);
    EXPECT_EQ(test::ReadFileBytes(file), oldImage);
    EXPECT_TRUE(reports.Take().empty()); // nothing is posted after the stop gave up
}

// The exit's way with a writer that does not finish in time: it is given up and the newest
// image is written on the caller's thread while the given-up write still holds its file.
TEST_F(WriterTest, AWriteMadeAfterTheWriterWasGivenUpReachesTheFileWhateverTheWriterDoes) {
    const std::vector<uint8_t> older = ImageOf(4, 60), newest = ImageOf(5, 70);
    test::WriterGate gate;
    {
        model::DataFileWriter writer(reports.hwnd(), kDone, gate.Hook());
        ASSERT_EQ(writer.Submit(file, std::vector<uint8_t>(older)), 1u);
        ASSERT_TRUE(gate.WaitEntered()); // its file beside is open, shared with no one
        EXPECT_FALSE(writer.WaitIdle(100));
        EXPECT_FALSE(writer.Stop(0));
        EXPECT_TRUE(model::ReplaceFileAtomically(file, newest.data(), newest.size()));
        EXPECT_EQ(test::ReadFileBytes(file), newest);
    }
    gate.Release(); // the given-up write goes on: it must neither land nor remove anything
    ASSERT_TRUE(test::WaitUntil([&] { return !test::FileExists(model::ReplacementName(file)); },
                                test::kPatientMs));
    EXPECT_EQ(test::ReadFileBytes(file), newest);
    EXPECT_FALSE(test::FileExists(model::ReplacementName(file, 1)));
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
        const auto besideGone = [&] {
            return !test::FileExists(model::ReplacementName(file)) &&
                   !test::FileExists(model::ReplacementName(file, 1));
        };
        ASSERT_TRUE(test::WaitUntil(besideGone, test::kPatientMs));
        test::PumpMessages(300);
        ASSERT_TRUE(test::WaitUntil(besideGone, test::kPatientMs));
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
