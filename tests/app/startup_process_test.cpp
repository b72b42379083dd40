// Start-up and shutdown of the real program: preferences written, one instance only,
// clean exit on the Exit command.
#include <gtest/gtest.h>

#include "support/lark_process.h"
#include "support/prepared_data.h"
#include "support/test_util.h"

namespace {

const std::wstring kPreferences = std::wstring(test::kProductKey) + L"\\Preferences";

class StartupProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::KillAllLarkProcesses();
        test::DeleteProductKey();
        exe_ = test::CopyProgramAlone(dir_.path());
        // Start-up is tested here, not the first run: the program reads a prepared tree.
        ASSERT_FALSE(test::PrepareDataFile().empty());
    }
    void TearDown() override { test::KillAllLarkProcesses(); }

    static void Exit(test::LarkProcess& p) { ASSERT_TRUE(p.Exit()) << p.Problem(); }

    test::TempDir dir_;
    std::wstring exe_;
};

TEST_F(StartupProcessTest, FirstStartWritesEveryPreferenceAndExitEndsCleanly) {
    test::LarkProcess lark(exe_);
    ASSERT_TRUE(lark.Start()) << lark.Problem();
    ASSERT_NE(lark.WaitForBar(), nullptr) << lark.Problem();

    const struct {
        const wchar_t* name;
        DWORD value;
    } expected[] = {{L"ButtonSize", 3},
                    {L"ButtonSpacing", 0},
                    {L"ViewGroupButtonMethod", 0x8003},
                    {L"ViewTooltipButton", 1},
                    {L"ViewTooltipTab", 0},
                    {L"UseAutoHideDelayTime", 0},
                    {L"AutoHideDelayTime", 100},
                    {L"TBHotKeyCode", 0},
                    {L"FindHotKeyCode", 0},
                    {L"IconAction", 1},
                    {L"IconMono", 0},
                    {L"TrayOnly", 0}};
    for (const auto& e : expected) {
        DWORD value = 0xDEAD;
        EXPECT_TRUE(test::ReadRegDwordValue(kPreferences, e.name, value)) << e.name;
        EXPECT_EQ(value, e.value) << e.name;
    }
    Exit(lark);
    EXPECT_EQ(lark.ExitCode(), 0u);
    EXPECT_EQ(test::CountBarWindows(), 0);
}

TEST_F(StartupProcessTest, SecondInstanceEndsAtOnceAndLeavesOneBar) {
    test::LarkProcess first(exe_);
    ASSERT_TRUE(first.Start()) << first.Problem();
    ASSERT_NE(first.WaitForBar(), nullptr) << first.Problem();
    // Changed by the user since: the second start rewrites what it read, unchanged.
    test::WriteRegDword(kPreferences, L"ButtonSize", 5);

    test::LarkProcess second(exe_);
    ASSERT_TRUE(second.Start()) << second.Problem();
    EXPECT_TRUE(second.WaitForExit(test::kPatientMs)) << second.Problem();
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(first.IsRunning());
    EXPECT_EQ(test::CountBarWindows(), 1);
    DWORD value = 0;
    EXPECT_TRUE(test::ReadRegDwordValue(kPreferences, L"ButtonSize", value));
    EXPECT_EQ(value, 5u);
    Exit(first);
}

TEST_F(StartupProcessTest, AnyWindowWithTheExactTitleStopsTheStart) {
    HWND foreign = ::CreateWindowExW(0, L"STATIC", L"larkRunBar ", WS_OVERLAPPED, 0, 0, 50, 50,
                                     nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    test::LarkProcess lark(exe_);
    ASSERT_TRUE(lark.Start()) << lark.Problem();
    EXPECT_TRUE(lark.WaitForExit(test::kPatientMs)) << lark.Problem();
    ::DestroyWindow(foreign);
    EXPECT_EQ(test::CountBarWindows(), 0);
}

TEST_F(StartupProcessTest, ATitleWithoutTheTrailingBlankDoesNotStopTheStart) {
    HWND similar = ::CreateWindowExW(0, L"STATIC", L"larkRunBar", WS_OVERLAPPED, 0, 0, 50, 50,
                                     nullptr, nullptr, nullptr, nullptr);
    test::LarkProcess lark(exe_);
    ASSERT_TRUE(lark.Start()) << lark.Problem();
    EXPECT_NE(lark.WaitForBar(), nullptr) << lark.Problem();
    ::DestroyWindow(similar);
    Exit(lark);
    EXPECT_EQ(lark.ExitCode(), 0u);
}

// A pack the user chose that lacks its title, or whose resources are damaged: the bar starts
// with the program's own, and a window without a caption is no running bar.
TEST_F(StartupProcessTest, APackWithoutATitleOrWithDamagedResourcesGivesWayToTheProgramsOwn) {
    HWND uncaptioned = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                         nullptr, nullptr, nullptr);
    ASSERT_NE(uncaptioned, nullptr) << ::GetLastError();
    test::WriteRegDword(test::kProductKey, L"UI_LanguageID", 0x407);
    for (const wchar_t* pack : {L"lark_pack_untitled.dll", L"lark_pack_damaged.dll"}) {
        ASSERT_TRUE(::CopyFileW((test::ExeFolder() + L"\\" + pack).c_str(),
                                (dir_ / L"LarkB.DEU").c_str(), FALSE))
            << ::GetLastError();
        test::LarkProcess lark(exe_);
        ASSERT_TRUE(lark.Start()) << lark.Problem();
        HWND bar = lark.WaitForBar();
        ASSERT_NE(bar, nullptr) << testing::PrintToString(pack) << lark.Problem();
        EXPECT_TRUE(lark.WaitUntilIdle()) << lark.Problem();
        EXPECT_NE(::GetDlgItem(bar, 6000), nullptr) << "no program button bar";
        Exit(lark);
        EXPECT_EQ(lark.ExitCode(), 0u);
    }
    ::DestroyWindow(uncaptioned);
}

TEST_F(StartupProcessTest, CommandLineArgumentsAreIgnored) {
    test::LarkProcess lark(exe_);
    ASSERT_TRUE(lark.Start(L"/exit C:\\nothing.txt --help")) << lark.Problem();
    ASSERT_NE(lark.WaitForBar(), nullptr) << lark.Problem();
    // Once the bar answers, start-up (and whatever it made of the arguments) is over.
    EXPECT_TRUE(lark.WaitUntilIdle()) << lark.Problem();
    EXPECT_TRUE(lark.IsRunning());
    Exit(lark);
    EXPECT_EQ(lark.ExitCode(), 0u);
}

} // namespace
