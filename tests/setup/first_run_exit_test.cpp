// Ways out of the real program during its first run: the process must end, and no tree is
// written before the user has answered.
#include <gtest/gtest.h>

#include <functional>

#include "model/data_path.h"
#include "support/dialog_answer.h"
#include "support/lark_process.h"
#include "support/test_util.h"

namespace {

constexpr UINT kExitCommand = 32774;

void ExitCommand(HWND bar) {
    ASSERT_TRUE(::PostMessageW(bar, WM_COMMAND, MAKEWPARAM(kExitCommand, 0), 0))
        << ::GetLastError();
}

// What the system sends every top-level window when the user logs off.
void EndOfSession(HWND bar) {
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(bar, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                      10000, &answer))
        << ::GetLastError();
    EXPECT_TRUE(answer) << "the program agrees to end the session";
    // The answer may never come: the process may be gone before it can give one.
    ::SendMessageTimeoutW(bar, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
}

class FirstRunExitTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::KillAllLarkProcesses();
        test::DeleteProductKey();
        dataFile_ = test::DataFolder() + L"\\" + model::kDataFileName;
        for (const wchar_t* name : {L"LarkB_U.tdb", L"LarkB_v4.tdb", L"LarkB.tdb"})
            ::DeleteFileW((test::DataFolder() + L"\\" + name).c_str());
        exe_ = test::CopyProgramAlone(dir_.path());
        ASSERT_TRUE(::CopyFileW((test::ExeFolder() + L"LarkB.ini").c_str(),
                                (dir_ / L"LarkB.ini").c_str(), FALSE))
            << ::GetLastError();
    }
    void TearDown() override { test::KillAllLarkProcesses(); }

    test::TempDir dir_;
    std::wstring exe_;
    std::wstring dataFile_;
};

TEST_F(FirstRunExitTest, EndingTheProgramWhileTheBookmarkQuestionIsOpenEndsTheProcess) {
    const struct {
        const char* way;
        std::function<void(HWND)> end;
    } ways[] = {{"Exit", ExitCommand}, {"end of session", EndOfSession}};
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        test::LarkProcess lark(exe_);
        ASSERT_TRUE(lark.Start()) << ::GetLastError();
        HWND question = nullptr;
        ASSERT_TRUE(test::WaitUntil(
            [&] { return (question = test::FindDialogOf(lark.Id(), IDYES)) != nullptr; }, 60000))
            << "the bookmark question was not asked";
        HWND bar = ::GetWindow(question, GW_OWNER);
        ASSERT_NE(bar, nullptr);
        w.end(bar);
        EXPECT_TRUE(lark.WaitForExit(test::kPatientMs)) << "the process is still running";
        EXPECT_EQ(lark.ExitCode(), 0u);
        EXPECT_FALSE(test::FileExists(dataFile_)) << "a tree the user never finished was saved";
    }
}

TEST_F(FirstRunExitTest, TheEndOfTheSessionEndsARunningBarWithItsPlacementWritten) {
    ::DeleteFileW((dir_ / L"LarkB.ini").c_str()); // a first run without questions
    test::LarkProcess lark(exe_);
    ASSERT_TRUE(lark.Start()) << ::GetLastError();
    HWND bar = lark.WaitForBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(test::WaitUntil([&] { return test::FileExists(dataFile_); }, test::kPatientMs));
    test::DeleteProductKey();
    EndOfSession(bar);
    EXPECT_TRUE(lark.WaitForExit(test::kPatientMs)) << "the process is still running";
    EXPECT_EQ(lark.ExitCode(), 0u);
    DWORD state = 0;
    EXPECT_TRUE(test::ReadRegDwordValue(std::wstring(test::kProductKey) + L"\\AppBarInfo", L"State",
                                        state));
}

} // namespace
