// Running buttons: what really started, with which arguments, folder and show state.
#include <gtest/gtest.h>

#include <tuple>

#include "framework/com.h"
#include "framework/handle.h"
#include "model/voice_book.h"
#include "shell/launch.h"
#include "shell/shortcut.h"
#include "start_record.h"
#include "support/shortcut_file.h"
#include "support/test_util.h"

namespace {

using shelltest::StartRecord;

constexpr wchar_t kAppPathsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

std::wstring Folder(const std::wstring& path) {
    return path.substr(0, path.rfind(L'\\'));
}

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        record_ = dir_ / L"record.txt";
        shelltest::RecordInto(record_);
    }

    static void MakeButton(oVoiceBook& node, const std::wstring& command,
                           const std::wstring& arguments, const std::wstring& workDir, int show) {
        NodeRecordFields f = ButtonFields(L"Helper", command);
        f.arguments = arguments;
        f.workDir = workDir;
        f.showCmd = show;
        node.SetFromRecord(f);
    }

    StartRecord RunAndRecord(const oVoiceBook& node, const std::wstring& replacement = {}) {
        StartRecord record;
        EXPECT_TRUE(shell::RunNode(node, replacement));
        EXPECT_TRUE(shelltest::WaitForRecord(record_, record)) << "the helper did not start";
        return record;
    }

    test::TempDir dir_;
    std::wstring record_;
};

TEST_F(LaunchTest, FullPathStartsWithArgumentsFolderAndShowState) {
    oVoiceBook node;
    MakeButton(node, shelltest::HelperPath(), L"one two", dir_.path(), SW_SHOWMAXIMIZED);
    const StartRecord r = RunAndRecord(node);
    EXPECT_EQ(shelltest::ArgumentsOf(r.commandLine), L"one two");
    EXPECT_TRUE(shelltest::SamePath(r.workDir, dir_.path())) << r.workDir;
    EXPECT_EQ(r.show, SW_SHOWMAXIMIZED);
}

TEST_F(LaunchTest, BareNameIsFoundAlongTheSearchPath) {
    std::wstring path;
    EXPECT_TRUE(shell::ResolveProgramPath(L"lark_record_start.exe", path));
    EXPECT_TRUE(shelltest::SamePath(path, shelltest::HelperPath())) << path;

    oVoiceBook node;
    MakeButton(node, L"lark_record_start.exe", L"bare", L"", SW_SHOWNORMAL);
    const StartRecord r = RunAndRecord(node);
    EXPECT_EQ(shelltest::ArgumentsOf(r.commandLine), L"bare");
    EXPECT_EQ(r.show, SW_SHOWNORMAL);
}

class AppPathsTest : public LaunchTest {
protected:
    void TearDown() override {
        for (const auto& name : created_)
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kAppPathsKey + name).c_str());
    }
    void Register(const std::wstring& name, DWORD type, const std::wstring& value) {
        fw::RegKey key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kAppPathsKey + name).c_str(), 0, nullptr,
                                    0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        created_.push_back(name);
        ::RegSetValueExW(key.get(), nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    std::vector<std::wstring> created_;
};

TEST_F(AppPathsTest, RegisteredNameStartsTheRegisteredProgramWithVariablesExpanded) {
    ::SetEnvironmentVariableW(L"LARK_HELPER_DIR", Folder(shelltest::HelperPath()).c_str());
    Register(L"lark-alias-tool.exe", REG_EXPAND_SZ, L"%LARK_HELPER_DIR%\\lark_record_start.exe");

    std::wstring path;
    EXPECT_TRUE(shell::ResolveProgramPath(L"lark-alias-tool.exe", path));
    EXPECT_TRUE(shelltest::SamePath(path, shelltest::HelperPath())) << path;

    oVoiceBook node;
    MakeButton(node, L"lark-alias-tool.exe", L"via-app-paths", L"", SW_SHOWNORMAL);
    const StartRecord r = RunAndRecord(node);
    EXPECT_EQ(shelltest::ArgumentsOf(r.commandLine), L"via-app-paths");
}

TEST_F(AppPathsTest, OnlyNonEmptyStringValuesOfAtMost1024BytesCount) {
    // 511 characters and the terminator fill the 1024 bytes exactly; one more does not fit.
    const std::wstring fits = L"C:\\" + std::wstring(504, L'a') + L".exe";
    ASSERT_EQ((fits.size() + 1) * sizeof(wchar_t), 1024u);
    Register(L"lark-fits.exe", REG_SZ, fits);
    Register(L"lark-too-long.exe", REG_SZ, fits + L"x");
    Register(L"lark-empty.exe", REG_SZ, L"");

    std::wstring path;
    EXPECT_TRUE(shell::ResolveProgramPath(L"lark-fits.exe", path));
    EXPECT_EQ(path, fits);
    EXPECT_FALSE(shell::ResolveProgramPath(L"lark-too-long.exe", path));
    EXPECT_EQ(path, L"lark-too-long.exe");
    EXPECT_FALSE(shell::ResolveProgramPath(L"lark-empty.exe", path));
}

TEST(AppPathValueTest, RejectsWhatIsNotAUsableString) {
    const wchar_t text[] = L"C:\\x.exe";
    EXPECT_EQ(shell::AppPathFromValue(ERROR_SUCCESS, REG_SZ, text, sizeof(text)), L"C:\\x.exe");
    EXPECT_EQ(shell::AppPathFromValue(ERROR_SUCCESS, REG_EXPAND_SZ, text, sizeof(text)),
              L"C:\\x.exe");
    // Not terminated in the registry: read up to the end of the data only.
    EXPECT_EQ(shell::AppPathFromValue(ERROR_SUCCESS, REG_SZ, text, 4 * sizeof(wchar_t)), L"C:\\x");
    EXPECT_EQ(shell::AppPathFromValue(ERROR_MORE_DATA, REG_SZ, text, sizeof(text)), L"");
    EXPECT_EQ(shell::AppPathFromValue(ERROR_FILE_NOT_FOUND, REG_SZ, text, sizeof(text)), L"");
    const DWORD number = 7;
    EXPECT_EQ(shell::AppPathFromValue(ERROR_SUCCESS, REG_DWORD, &number, sizeof(number)), L"");
    EXPECT_EQ(shell::AppPathFromValue(ERROR_SUCCESS, REG_SZ, text, 0), L"");
    EXPECT_EQ(shell::AppPathFromValue(ERROR_SUCCESS, REG_SZ, text, 1026), L"");
}

TEST_F(LaunchTest, ShortcutRunsItsOwnTargetArgumentsFolderAndShowState) {
    test::TempDir linkDir;
    test::ShortcutFields fields;
    fields.target = shelltest::HelperPath();
    fields.arguments = L"from-shortcut";
    fields.workDir = linkDir.path();
    fields.showCmd = SW_SHOWMINNOACTIVE;
    const std::wstring link = dir_ / L"Helper.lnk";
    ASSERT_TRUE(test::WriteShortcut(link, fields));

    shell::ShortcutInfo read;
    ASSERT_TRUE(shell::ReadShortcut(link, read));

    oVoiceBook node;
    MakeButton(node, link, L"button-arguments", dir_.path(), SW_SHOWMAXIMIZED);
    const StartRecord r = RunAndRecord(node);
    EXPECT_EQ(shelltest::ArgumentsOf(r.commandLine), L"from-shortcut");
    EXPECT_TRUE(shelltest::SamePath(r.workDir, linkDir.path())) << r.workDir;
    // The shortcut's own show state (Wine 8 reads every stored one back as normal).
    EXPECT_EQ(r.show, read.showCmd);
    EXPECT_NE(r.show, SW_SHOWMAXIMIZED);
}

TEST_F(LaunchTest, ReplacementArgumentsWithBlanksArePassedWholeAndUnquoted) {
    oVoiceBook node;
    MakeButton(node, shelltest::HelperPath(), L"stored", L"", SW_SHOWNORMAL);
    const std::wstring dropped = L"C:\\some folder\\a dropped file.txt";
    const StartRecord r = RunAndRecord(node, dropped);
    EXPECT_EQ(shelltest::ArgumentsOf(r.commandLine), dropped);
}

TEST_F(LaunchTest, ShellItemRunsNormallyWithoutItsArguments) {
    oVoiceBook node;
    MakeButton(node, L"", L"ignored", dir_.path(), SW_SHOWMINIMIZED);
    node.SetPidl(fw::Pidl(::ILCreateFromPathW(shelltest::HelperPath().c_str())));
    ASSERT_TRUE(node.m_pidl);
    const StartRecord r = RunAndRecord(node);
    EXPECT_EQ(shelltest::ArgumentsOf(r.commandLine), L"");
    EXPECT_EQ(r.show, SW_SHOWNORMAL);
}

TEST_F(LaunchTest, MissingTargetFails) {
    oVoiceBook node;
    MakeButton(node, L"C:\\no such folder\\missing.exe", L"", L"", SW_SHOWNORMAL);
    EXPECT_FALSE(shell::RunNode(node));
    MakeButton(node, L"lark-no-such-program.exe", L"", L"", SW_SHOWNORMAL);
    EXPECT_FALSE(shell::RunNode(node));
}

TEST_F(LaunchTest, OnlyItemKindsRunAndOlderKindsSucceedWithoutStarting) {
    oVoiceBook node;
    MakeButton(node, shelltest::HelperPath(), L"", L"", SW_SHOWNORMAL);
    node.m_nKind = 0x24;
    EXPECT_TRUE(shell::RunNode(node));
    node.m_nKind = KIND_BOOK; // the root
    EXPECT_FALSE(shell::RunNode(node));
    node.m_nKind = 0x34;
    EXPECT_FALSE(shell::RunNode(node));
    test::PumpMessages(500);
    EXPECT_FALSE(test::FileExists(record_));
}

TEST_F(LaunchTest, ShortcutsThatLeadInACircleFailInsteadOfRecursing) {
    const std::wstring a = dir_ / L"a.lnk";
    const std::wstring b = dir_ / L"b.lnk";
    test::ShortcutFields fields;
    fields.target = shelltest::HelperPath();
    ASSERT_TRUE(test::WriteShortcut(a, fields));
    fields.target = a;
    ASSERT_TRUE(test::WriteShortcut(b, fields));
    fields.target = b;
    ASSERT_TRUE(test::WriteShortcut(a, fields));
    EXPECT_FALSE(shell::RunTarget(a, L"", L"", SW_SHOWNORMAL));
}

TEST(ResolveTest, WebAddressIsLeftAsWritten) {
    std::wstring path;
    EXPECT_FALSE(shell::ResolveProgramPath(L"https://www.example.org/a b", path));
    EXPECT_EQ(path, L"https://www.example.org/a b");
    EXPECT_TRUE(shell::IsWebAddress(L"https://www.example.org/"));
    EXPECT_TRUE(shell::IsWebAddress(L"ftp://host"));
    EXPECT_FALSE(shell::IsWebAddress(L"C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(shell::IsWebAddress(L"mailto:someone@example.org"));
}

TEST(ResolveTest, ExistingPathsAndUnknownTexts) {
    test::TempDir dir;
    std::wstring path;
    EXPECT_TRUE(shell::ResolveProgramPath(dir.path(), path)) << "an existing folder";
    EXPECT_EQ(path, dir.path());
    EXPECT_FALSE(shell::ResolveProgramPath(L"", path));
    EXPECT_EQ(path, L"");
    EXPECT_TRUE(shell::ResolveProgramPath(L"notepad.exe", path));
    EXPECT_NE(path.find(L'\\'), std::wstring::npos) << path;
}

TEST(ResolveTest, ExpansionIsCutAtThePathBuffer) {
    ::SetEnvironmentVariableW(L"LARK_LONG", std::wstring(3000, L'x').c_str());
    const std::wstring expanded = shell::ExpandEnvironment(L"C:\\%LARK_LONG%\\tail");
    EXPECT_EQ(expanded.size(), 1023u);
    EXPECT_EQ(expanded.substr(0, 4), L"C:\\x");
    ::SetEnvironmentVariableW(L"LARK_LONG", nullptr);
}

// `head` filled up to `length` units.
std::wstring Text(const std::wstring& head, size_t length) {
    return head + std::wstring(length - head.size(), L'a');
}

TEST(ShellRouteTest, TargetsLongerThanTheShellTakesAreRefused) {
    using shell::ShellRoute;
    const std::wstring web = L"https://example.org/", path = L"C:\\";
    struct Case {
        const char* what;
        std::wstring file, arguments, folder;
        bool wine;
        ShellRoute route;
    };
    const Case cases[] = {
        {"path of 259", Text(path, 259), L"", L"", true, ShellRoute::Open},
        {"path of 260", Text(path, 260), L"", L"", false, ShellRoute::Refuse},
        {"name of 1,023 (the longest stored)", Text(L"", 1023), L"", L"", true, ShellRoute::Refuse},
        {"address of 259, Wine", Text(web, 259), L"", L"", true, ShellRoute::Open},
        {"address of 260, Wine", Text(web, 260), L"", L"", true, ShellRoute::OpenByScheme},
        {"address of 770, Wine", Text(web, 770), L"", L"", true, ShellRoute::OpenByScheme},
        {"address of 771, Wine", Text(web, 771), L"", L"", true, ShellRoute::Refuse},
        {"address of 2,083, Windows", Text(web, 2083), L"", L"", false, ShellRoute::Open},
        {"address of 2,084", Text(web, 2084), L"", L"", false, ShellRoute::Refuse},
        {"long address, no scheme, Wine", Text(L"1a://", 300), L"", L"", true, ShellRoute::Refuse},
        {"www name of 248, Wine", Text(L"www.", 248), L"", L"", true, ShellRoute::Open},
        {"www name of 249, Wine", Text(L"WWW.", 249), L"", L"", true, ShellRoute::Refuse},
        {"www name of 249, Windows", Text(L"www.", 249), L"", L"", false, ShellRoute::Open},
        {"folder of 258", path, L"", Text(path, 258), true, ShellRoute::Open},
        {"folder of 259", path, L"", Text(path, 259), true, ShellRoute::Refuse},
        {"folder of 259 ending in \\", path, L"", Text(path, 258) + L"\\", true, ShellRoute::Open},
        {"arguments of 32,243", path, Text(L"", 32243), L"", true, ShellRoute::Open},
        {"arguments of 32,244", path, Text(L"", 32244), L"", true, ShellRoute::Refuse},
        {"expanded to 303", L"C:\\%LARK_LONG%", L"", L"", true, ShellRoute::Refuse},
        {"folder expanded to 303", path, L"", L"C:\\%LARK_LONG%", true, ShellRoute::Refuse},
    };
    ::SetEnvironmentVariableW(L"LARK_LONG", std::wstring(300, L'x').c_str());
    for (const Case& c : cases)
        EXPECT_EQ(shell::ChooseShellRoute(c.file, c.arguments, c.folder, c.wine), c.route)
            << c.what;
    ::SetEnvironmentVariableW(L"LARK_LONG", nullptr);
}

// A scheme of our own whose handler is the recording helper.
class LongTargetTest : public LaunchTest {
protected:
    void TearDown() override { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSchemeKey); }
    static constexpr wchar_t kSchemeKey[] = L"Software\\Classes\\lark-record";
    void RegisterScheme() {
        const std::wstring command = L"\"" + shelltest::HelperPath() + L"\" \"%1\"";
        for (const auto& [key, name, value] :
             {std::tuple<std::wstring, const wchar_t*, std::wstring>{kSchemeKey, L"URL Protocol",
                                                                     L""},
              {std::wstring(kSchemeKey) + L"\\shell\\open\\command", nullptr, command}}) {
            fw::RegKey k;
            ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                                        KEY_SET_VALUE, nullptr, k.put(), nullptr),
                      ERROR_SUCCESS);
            ASSERT_EQ(::RegSetValueExW(k.get(), name, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
        }
    }
};

TEST_F(LongTargetTest, TheLongestStoredTargetsFailWithoutReachingTheShell) {
    oVoiceBook node;
    for (const std::wstring& command :
         {Text(L"", 1023), Text(L"C:\\no such folder\\", 1023), Text(L"lark-none://", 1023)}) {
        MakeButton(node, command, L"", L"", SW_SHOWNORMAL);
        EXPECT_FALSE(shell::RunNode(node)) << command.size();
    }
    MakeButton(node, shelltest::HelperPath(), L"", Text(L"C:\\", 1023), SW_SHOWNORMAL);
    EXPECT_FALSE(shell::RunNode(node)) << "a folder no program can start in";
}

TEST_F(LongTargetTest, WebAddressesUpToTheLongestWineTakesReachTheirHandlerWhole) {
    ASSERT_NO_FATAL_FAILURE(RegisterScheme());
    for (size_t length : {size_t{200}, size_t{770}}) {
        const std::wstring address = Text(L"lark-record://x/", length);
        oVoiceBook node;
        MakeButton(node, address, L"", L"", SW_SHOWNORMAL);
        const StartRecord r = RunAndRecord(node);
        EXPECT_NE(r.commandLine.find(address), std::wstring::npos) << length;
        ::DeleteFileW(record_.c_str());
    }
}

TEST(RunRouteTest, ChoosesByKindBitsAndItemList) {
    using shell::RunRoute;
    EXPECT_EQ(shell::ChooseRunRoute(0x14, false), RunRoute::Target);
    EXPECT_EQ(shell::ChooseRunRoute(0x14, true), RunRoute::ItemIdList);
    EXPECT_EQ(shell::ChooseRunRoute(0x12, false), RunRoute::Target);
    EXPECT_EQ(shell::ChooseRunRoute(0x2F, true), RunRoute::Nothing);
    EXPECT_EQ(shell::ChooseRunRoute(0x02, false), RunRoute::Fail);
    EXPECT_EQ(shell::ChooseRunRoute(0x44, false), RunRoute::Fail);
    const std::wstring stored = L"stored", dropped = L"dropped";
    EXPECT_EQ(shell::ChooseArguments(dropped, stored), L"dropped");
    EXPECT_EQ(shell::ChooseArguments(L"", stored), L"stored");
}

} // namespace
