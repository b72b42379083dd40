// A portable LarkB.exe: its tree and settings beside it, and a folder it cannot write to.
#include <gtest/gtest.h>

#include "bar/test_hooks.h"
#include "resource.h"
#include "support/dialog_answer.h"
#include "support/lark_process.h"
#include "support/prepared_data.h"
#include "support/test_util.h"

namespace {

class PortableTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::KillAllLarkProcesses();
        test::DeleteProductKey();
        exe_ = test::CopyProgramAlone(dir_.path());
        // The prepared tree lies beside the program only: the user's data folder stays empty.
        const std::wstring prepared = test::PrepareDataFile();
        ASSERT_FALSE(prepared.empty());
        ASSERT_TRUE(::CopyFileW(prepared.c_str(), (dir_ / L"LarkB_U.tdb").c_str(), FALSE))
            << test::SystemErrorText(::GetLastError());
        test::RemoveDataFolder();
        ASSERT_TRUE(test::WriteTextFile(dir_ / L"LarkB.portable", ""));
    }
    void TearDown() override { test::KillAllLarkProcesses(); }

    int Setting(const wchar_t* section, const wchar_t* entry) const {
        return static_cast<int>(
            ::GetPrivateProfileIntW(section, entry, -999, (dir_ / L"LarkB.settings.ini").c_str()));
    }
    static bool ProductKeyExists() {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, test::kProductKey, 0, KEY_READ, &key) != 0)
            return false;
        ::RegCloseKey(key);
        return true;
    }

    test::TempDir dir_;
    std::wstring exe_;
};

TEST_F(PortableTest, TreeAndSettingsLiveBesideTheProgram) {
    ASSERT_TRUE(::WritePrivateProfileStringW(L"AppBarInfo", L"State", L"1",
                                             (dir_ / L"LarkB.settings.ini").c_str()));
    test::LarkProcess lark(exe_);
    ASSERT_TRUE(lark.Start()) << lark.Problem();
    HWND bar = lark.WaitForBar();
    ASSERT_NE(bar, nullptr) << lark.Problem();
    ASSERT_TRUE(lark.WaitUntilIdle()) << lark.Problem();
    // Docked at the top, as the file says; the first category of the tree beside it shown.
    RECT r{};
    ::GetWindowRect(bar, &r);
    EXPECT_EQ(r.top, 0);
    EXPECT_GT(r.right - r.left, r.bottom - r.top);
    wchar_t text[64] = {};
    DWORD_PTR got = 0;
    ::SendMessageTimeoutW(::GetDlgItem(::GetDlgItem(bar, 6000), 10000), WM_GETTEXT, 64,
                          reinterpret_cast<LPARAM>(text), SMTO_NORMAL, test::kPatientMs, &got);
    EXPECT_STREQ(text, L"Notepad");
    ASSERT_TRUE(lark.Exit()) << lark.Problem();

    const struct {
        const wchar_t* section;
        const wchar_t* entry;
        int value;
    } expected[] = {{L"Preferences", L"ButtonSize", 3},
                    {L"Preferences", L"ViewGroupButtonMethod", 0x8003},
                    {L"Preferences", L"IconAction", 1},
                    {L"AppBarInfo", L"State", 1},
                    {L"AppBarInfo", L"AlwaysOnTop", 1}};
    for (const auto& e : expected)
        EXPECT_EQ(Setting(e.section, e.entry), e.value) << test::Narrow(e.entry);
    EXPECT_FALSE(ProductKeyExists());
    EXPECT_FALSE(test::FileExists(test::DataFolder()));
}

TEST_F(PortableTest, AFolderThatTakesNoWritesIsToldOnceAndTheBarRuns) {
    // The settings file cannot be opened for writing (a folder of its name stands in for
    // write protection, which the test's user could not feel).
    ASSERT_TRUE(::CreateDirectoryW((dir_ / L"LarkB.settings.ini").c_str(), nullptr))
        << test::SystemErrorText(::GetLastError());
    test::LarkProcess lark(exe_);
    ASSERT_TRUE(lark.Start()) << lark.Problem();
    test::DialogAnswerer told(IDOK, lark.Id());
    ASSERT_NE(lark.WaitForBar(), nullptr) << lark.Problem();
    ASSERT_TRUE(told.Finish());
    EXPECT_TRUE(test::WaitUntil([&] { return !::IsWindow(told.Seen().hwnd); }, test::kPatientMs));
    EXPECT_NE(told.Seen().text.find(dir_.path()), std::wstring::npos)
        << test::Narrow(told.Seen().text);
    // Settings changed since are kept, and not told again.
    ::PostMessageW(lark.Bar(), WM_COMMAND, ID_ALWAYS_ON_TOP, 0);
    ::PostMessageW(lark.Bar(), WM_COMMAND, ID_POSITION_TOP, 0);
    ASSERT_TRUE(lark.WaitUntilIdle()) << lark.Problem();
    const HWND again = test::FindDialogOf(lark.Id(), IDOK);
    EXPECT_EQ(again, nullptr) << test::Narrow(test::DescribeDialog(again).text);
    RECT r{};
    EXPECT_TRUE(test::WaitUntil([&] { return ::GetWindowRect(lark.Bar(), &r) && r.top == 0; },
                                test::kPatientMs))
        << r.top;
    ASSERT_TRUE(lark.Exit()) << lark.Problem();
    EXPECT_FALSE(ProductKeyExists());
}

// The notice is due at the bar's first idle moment; the test holds the bar from the first
// run's question, which comes before it, and lets go once that moment has passed.
TEST_F(PortableTest, ANoticeDueWhileTheBarIsHeldComesOnceItIsLetGo) {
    ASSERT_TRUE(::CreateDirectoryW((dir_ / L"LarkB.settings.ini").c_str(), nullptr))
        << test::SystemErrorText(::GetLastError());
    ASSERT_TRUE(::DeleteFileW((dir_ / L"LarkB_U.tdb").c_str()) &&
                ::CopyFileW((test::ExeFolder() + L"LarkB.ini").c_str(),
                            (dir_ / L"LarkB.ini").c_str(), FALSE))
        << test::SystemErrorText(::GetLastError());
    ::SetEnvironmentVariableW(L"LARK_TEST_HOOKS", L"1");
    const UINT hold = ::RegisterWindowMessageW(L"LarkRunBar.TestSetHold");
    const UINT query = ::RegisterWindowMessageW(L"LarkRunBar.TestQuery");
    DWORD_PTR answer = 0;
    test::LarkProcess lark(exe_);
    ASSERT_TRUE(lark.Start()) << lark.Problem();
    test::DialogAnswerer question(IDNO, lark.Id(), test::kPatientMs, [&](HWND box) {
        EXPECT_TRUE(::SendMessageTimeoutW(::GetWindow(box, GW_OWNER), hold, 1, 0, SMTO_NORMAL,
                                          test::kPatientMs, &answer))
            << test::SystemErrorText(::GetLastError());
    });
    ASSERT_TRUE(question.Finish()) << "the bookmark question was not asked";
    ASSERT_NE(lark.WaitForBar(), nullptr) << lark.Problem();
    // The tray icon is added at the first idle moment, just before the notice is due.
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            return ::SendMessageTimeoutW(lark.Bar(), query, TEST_QUERY_TRAY_ICONS_ADDED, 0,
                                         SMTO_NORMAL, test::kPatientMs, &answer) &&
                   answer > 0;
        },
        test::kPatientMs));
    test::DialogAnswerer told(IDOK, lark.Id());
    ::SetEnvironmentVariableW(L"LARK_TEST_HOOKS", nullptr);
    ASSERT_TRUE(::PostMessageW(lark.Bar(), hold, 0, 0)) << test::SystemErrorText(::GetLastError());
    ASSERT_TRUE(told.Finish()) << "the notice was lost";
    EXPECT_NE(told.Seen().text.find(dir_.path()), std::wstring::npos);
    ASSERT_TRUE(lark.Exit()) << lark.Problem();
}

} // namespace
