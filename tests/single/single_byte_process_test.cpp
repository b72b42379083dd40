// The single-byte LarkB.exe as a process: its older data file, its first run from a template,
// its collapsed strip and the settings it does not have.
#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <string>
#include <vector>

#include "bar/bar_menu.h"
#include "bar/bar_process_fixture.h"
#include "framework/text.h"
#include "model/data_file.h"
#include "model/voice_book.h"
#include "resource.h"
#include "support/dialog_answer.h"

namespace {

using namespace bartest;

// The byte size of stream `name` at the top of compound file `path`, and the version in
// its first 264 bytes when it is the header; 0 when missing.
size_t StreamSize(const std::wstring& path, const wchar_t* name, int32_t* version = nullptr) {
    IStorage* storage = nullptr;
    if (FAILED(::StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr,
                                0, &storage)))
        return 0;
    IStream* stream = nullptr;
    std::vector<uint8_t> bytes(8192);
    ULONG read = 0;
    if (SUCCEEDED(storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)))
        stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    if (stream)
        stream->Release();
    storage->Release();
    if (version && read >= 260)
        std::memcpy(version, bytes.data() + 256, 4);
    return read;
}

std::vector<std::wstring> Names(const oTreeNode* node) {
    std::vector<std::wstring> names;
    for (const oTreeNode* c = node ? node->m_pFirstChild : nullptr; c; c = c->m_pNext)
        names.push_back(c->m_strName);
    return names;
}

// The names the visible program buttons of `toolBar` answer, by slot.
std::vector<std::wstring> ShownButtons(HWND toolBar) {
    std::vector<std::wstring> names;
    for (int id = 10000; HWND b = ::GetDlgItem(toolBar, id); ++id) {
        wchar_t text[256] = {};
        DWORD_PTR got = 0;
        if (!::IsWindowVisible(b))
            continue;
        ::SendMessageTimeoutW(b, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                              &got);
        names.push_back(text);
    }
    return names;
}

class SingleByteTest : public BarWindowTest {
protected:
    static std::wstring DataFile() { return test::DataFolder() + L"\\LarkB.tdb"; }

    // A file the single-byte edition writes: the 264-byte header with version 3 and
    // single-byte records (1564 bytes for the root).
    static void ExpectWrittenByThisEdition() {
        int32_t version = 0;
        EXPECT_EQ(StreamSize(DataFile(), L"Header.INF", &version), 264u);
        EXPECT_EQ(version, 3);
        EXPECT_EQ(StreamSize(DataFile(), L"Node.INF"), 1564u);
        EXPECT_FALSE(test::FileExists(test::DataFolder() + L"\\LarkB_U.tdb"));
    }
};

// First: a bar killed after a failure elsewhere leaves its edge taken under Wine.
TEST_F(SingleByteTest, CollapsesToSixPixelsWithoutSpacingOrScaleProbe) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_NE(bar, nullptr);
    const DWORD pid = lark.Id();
    EXPECT_TRUE(::EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            DWORD owner = 0;
            wchar_t text[32] = {};
            ::GetWindowThreadProcessId(w, &owner);
            ::GetWindowTextW(w, text, 32);
            return !(owner == *reinterpret_cast<DWORD*>(lp) &&
                     std::wstring(text) == L"DpiScaleWnd");
        },
        reinterpret_cast<LPARAM>(&pid)))
        << "a scale probe window exists";

    BringOtherWindowToFront();
    MouseTo(POINT{640, 400});
    Command(bar, kAutoHide);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 6))) << ::testing::PrintToString(WindowRect(bar));

    // The spacing commands of the wide edition mean nothing here, and no spacing is stored.
    Command(bar, ID_BUTTON_SPACING_FIRST + 2);
    Command(bar, kSmallButtons);
    EXPECT_TRUE(PreferenceBecomes(L"ButtonSize", 1));
    Exit(lark);
    DWORD spacing = 0;
    EXPECT_FALSE(test::ReadRegDwordValue(kPreferences, L"ButtonSpacing", spacing));

    // Nor does its bar menu offer them (a popup of them would be found by command too).
    const bar::BarMenu menu(bar::BarMenuInput{}, bar::MonitorMenu{});
    ASSERT_NE(menu.Popup(), nullptr);
    EXPECT_EQ(::GetMenuState(menu.Popup(), ID_BUTTON_SPACING_FIRST, MF_BYCOMMAND), ~0u);
}

TEST_F(SingleByteTest, FirstRunKeepsTheEarlierTemplateRules) {
    test::RemoveDataFolder();
    // Wine tells the program it runs on Windows 10, where the wide edition leaves Control
    // Panel out (this test program's prefix is its own).
    const wchar_t win10[] = L"win10";
    test::WriteRegRaw(L"Software\\Wine\\AppDefaults\\LarkB.exe", L"Version", REG_SZ, win10,
                      sizeof(win10));
    // The bookmark question comes before the sub-book named so, not before the last one;
    // id 7 is unknown; Control Panel is kept on every system; a value is cut at 255 bytes.
    const std::string longName(240, 'N');
    ASSERT_TRUE(test::WriteTextFile(
        dir_ / L"LarkB.ini", "[Root]\r\nNumSubBooks=4\r\nSubBook1=Panel,2\r\n"
                             "SubBook2=Seven,7\r\nSubBook3=Web,1001\r\nSubBook4=Last,1002\r\n"
                             "NumCommands=1\r\nCommand1=" +
                                 longName +
                                 ",http://example.com/page\r\n"
                                 "[Root_Web]\r\nNumSubBooks=2\r\n"
                                 "SubBook1=Web Bookmarks,1003\r\nSubBook2=Other,1004\r\n"));
    test::LarkProcess lark(exe_);
    ASSERT_TRUE(lark.Start()) << lark.Problem();
    test::DialogAnswerer answer(IDNO, lark.Id(), 2 * test::kPatientMs);
    ASSERT_TRUE(answer.Finish()) << "the bookmark question was not asked";
    // A second question would hold the first run: its file would never be written. (The
    // question has the bar's title: the bar is looked for once it is answered and gone.)
    ASSERT_TRUE(test::WaitUntil([] { return test::FileExists(DataFile()); }, 2 * test::kPatientMs));
    HWND bar = lark.WaitForBar();
    ASSERT_NE(bar, nullptr) << lark.Problem();
    ASSERT_TRUE(test::WaitForStartupDone(lark.Id(), bar, DataFile(), 2 * test::kPatientMs));
    Exit(lark);

    ExpectWrittenByThisEdition();
    oVoiceBook tree;
    ASSERT_TRUE(tree.LoadAnsiFile(DataFile()));
    const std::vector<std::wstring> expected = {L"Panel", L"Web", L"Last",
                                                std::wstring(longName.begin(), longName.end())};
    ASSERT_EQ(Names(&tree), expected);
    EXPECT_TRUE(Names(tree.FindChild(L"Web")).empty());
    EXPECT_EQ(static_cast<oVoiceBook*>(tree.FindChild(expected.back()))->m_strCommand,
              L"http://example");
}

TEST_F(SingleByteTest, ReadsVersionsThreeAndFourAndSavesVersionThree) {
    const struct {
        const wchar_t* file;
        int32_t version;
    } cases[] = {{L"LarkB.tdb", 3}, {L"LarkB.tdb", 4}, {L"LarkB_v4.tdb", 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(test::Narrow(c.file) + " version " + std::to_string(c.version));
        test::RemoveDataFolder();
        oVoiceBook tree;
        tree.ResetAll(L"ToolBar");
        tree.AddChild(CategoryFields(L"Other"));
        oVoiceBook* work = tree.AddChild(CategoryFields(L"Work"));
        for (const wchar_t* name : {L"Alpha", L"Caf\u00e9"})
            work->AddChild(ButtonFields(name, L"C:\\nowhere\\x.exe"));
        tree.SetCommand(L"Work");
        ASSERT_TRUE(model::WriteDataFile(tree, model::DataFilePath(c.file), {true, c.version}));

        test::LarkProcess lark(exe_);
        ASSERT_TRUE(lark.Start()) << lark.Problem();
        HWND bar = lark.WaitForBar();
        ASSERT_NE(bar, nullptr) << lark.Problem();
        ASSERT_TRUE(lark.WaitUntilIdle()) << lark.Problem();
        HWND toolBar = ::GetDlgItem(bar, 6000);
        ASSERT_NE(toolBar, nullptr);
        const std::vector<std::wstring> shown = {L"Alpha", L"Caf\u00e9"};
        EXPECT_TRUE(
            test::WaitUntil([&] { return ShownButtons(toolBar) == shown; }, test::kPatientMs))
            << ShownButtons(toolBar).size() << " buttons shown";

        // An edit is saved in this edition's own file (at the latest when the program ends).
        SendNow(toolBar, WM_COMMAND, MAKEWPARAM(ID_ADD_SEPARATOR, 0), 0);
        Exit(lark);
        oVoiceBook saved;
        ASSERT_TRUE(saved.LoadAnsiFile(DataFile()));
        const std::vector<std::wstring> names = Names(saved.FindChild(L"Work"));
        ASSERT_EQ(names.size(), 3u);
        EXPECT_EQ(names[1], L"Caf\u00e9");
        ExpectWrittenByThisEdition();
    }
}

} // namespace

namespace {

// Written as it is, such a path would come back as question marks that name nothing.
TEST(SingleByteFileTest, APathTheCodePageCannotSpellIsKeptByItsShortForm) {
    test::TempDir dir;
    const std::wstring folder = dir / L"L\u00e4rche \u65e5\u672c \u0416";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr))
        << test::SystemErrorText(::GetLastError());
    const std::wstring program = folder + L"\\\u0416tool.exe";
    ASSERT_TRUE(test::WriteFileBytes(program, {'M', 'Z'}));
    oVoiceBook tree;
    tree.ResetAll(L"ToolBar");
    NodeRecordFields fields = ButtonFields(L"Tool", program);
    fields.workDir = folder;
    fields.iconFile = program;
    tree.AddChild(fields);
    const std::wstring file = dir / L"LarkB.tdb";
    ASSERT_TRUE(model::WriteDataFile(tree, file, model::kSaveFormat));

    oVoiceBook back;
    ASSERT_TRUE(back.LoadAnsiFile(file));
    const auto* tool = static_cast<const oVoiceBook*>(back.FindChild(L"Tool"));
    ASSERT_NE(tool, nullptr);
    for (const std::wstring& path :
         {tool->m_strCommand.str(), tool->m_strWorkDir.str(), tool->m_strIconFile.str()}) {
        wchar_t longPath[MAX_PATH] = {};
        ::GetLongPathNameW(path.c_str(), longPath, MAX_PATH);
        EXPECT_TRUE(fw::EqualsNoCase(longPath, path == tool->m_strWorkDir ? folder : program))
            << test::Narrow(path);
    }
}

} // namespace
