// Reading LarkB.ini into a tree: ids, commands, program look-up, the bookmark question.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <memory>

#include "framework/com.h"
#include "framework/text.h"
#include "setup/program_index.h"
#include "setup/template_reader.h"
#include "setup_test_util.h"
#include "support/test_util.h"

namespace {

using setuptest::Child;
using setuptest::Children;
using setuptest::ScriptedQuestion;

class TemplateReaderTest : public ::testing::Test {
protected:
    // Reads `lines` as the template into a fresh root with the given answers.
    setup::TemplateEnd Read(const std::vector<std::string>& lines,
                            std::vector<bool> answers = {true}, DWORD osMajor = 10,
                            setup::TemplateOptions options = {}) {
        setuptest::WriteTemplate(ini_, lines);
        question_ = std::make_unique<ScriptedQuestion>(std::move(answers));
        root_.ResetAll(L"ToolBar");
        return setup::ReadTemplate(root_, ini_, osMajor, index_, *question_, std::move(options));
    }

    test::TempDir dir_;
    std::wstring ini_ = dir_ / L"LarkB.ini";
    setup::ProgramIndex index_;
    std::unique_ptr<ScriptedQuestion> question_;
    oVoiceBook root_;
};

TEST_F(TemplateReaderTest, SubBookIdsGivePicturesShellFoldersOrNothing) {
    Read({"[Root]", "NumSubBooks=5", "SubBook1=Icons,1003", "SubBook2=Five,105",
          "SubBook3=Fifty,50", "SubBook4=Drives,1", "SubBook5=Last,1001", "[Root_Icons]",
          "NumCommands=1", "Command1=Pad,notepad.exe", "[Root_Fifty]", "NumCommands=1",
          "Command1=Hidden,notepad.exe"});
    const auto top = Children(root_);
    ASSERT_EQ(top.size(), 4u);
    EXPECT_EQ(top[0]->m_strName, L"Icons");
    EXPECT_EQ(top[1]->m_strName, L"Five");
    EXPECT_EQ(top[2]->m_strName, L"Drives");
    EXPECT_EQ(top[3]->m_strName, L"Last");

    EXPECT_EQ(top[0]->m_nDefaultImage, 1003);
    EXPECT_EQ(top[1]->m_nDefaultImage, 5);
    EXPECT_EQ(top[3]->m_nDefaultImage, 1001);
    for (oVoiceBook* category : top) {
        EXPECT_EQ(category->m_nKind, 0x12);
        EXPECT_EQ(category->m_nFlags, 10u);
        EXPECT_EQ(category->m_nShowCmd, 1);
        EXPECT_EQ(category->m_strCommand, L"");
    }
    EXPECT_EQ(setuptest::CountNamed(root_, L"Hidden"), 0) << "the section of id 50 is not read";

    // The linked category holds the special folder's list and is filled from it.
    fw::Pidl drives;
    ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.put()), S_OK);
    ASSERT_TRUE(top[2]->m_pidl);
    EXPECT_TRUE(::ILIsEqual(top[2]->m_pidl.get(), drives.get()));
    EXPECT_NE(top[2]->FirstChild(), nullptr);
    EXPECT_FALSE(top[0]->m_pidl);

    oVoiceBook* pad = Child(*top[0], L"Pad");
    ASSERT_NE(pad, nullptr);
    EXPECT_EQ(pad->m_nKind, 0x14);
    EXPECT_EQ(pad->m_nFlags, 8u);
    EXPECT_EQ(pad->m_nShowCmd, 1);
    EXPECT_TRUE(setuptest::EndsWithNoCase(pad->m_strCommand, L"\\notepad.exe"))
        << pad->m_strCommand.str();
}

TEST_F(TemplateReaderTest, ControlPanelIsLeftOutFromWindows10On) {
    const std::vector<std::string> lines = {"[Root]", "NumSubBooks=2", "SubBook1=Control Panel,2",
                                            "SubBook2=Other,1001"};
    Read(lines, {true}, 10);
    ASSERT_EQ(Children(root_).size(), 1u);
    EXPECT_EQ(root_.FirstChild()->m_strName, L"Other");

    Read(lines, {true}, 6);
    ASSERT_EQ(Children(root_).size(), 2u);
    oVoiceBook* panel = Child(root_, L"Control Panel");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->m_pidl);
}

TEST_F(TemplateReaderTest, WebCommandsKeepTheirAddressAndTakeAPicture) {
    Read({"[Root]", "NumCommands=4", "Command1=Plain,https://example.org/",
          "Command2=Pictured,https://example.org/p,-,12",
          "Command3=Shifted,https://example.org/s,,12", "Command4=Pad,notepad.exe,,7"});
    const auto buttons = Children(root_);
    ASSERT_EQ(buttons.size(), 4u);
    EXPECT_EQ(buttons[0]->m_strCommand, L"https://example.org/");
    EXPECT_EQ(buttons[0]->m_nDefaultImage, setup::kDefaultWebImage);
    EXPECT_EQ(buttons[1]->m_nDefaultImage, 12);
    EXPECT_EQ(buttons[1]->m_strArguments, L"") << "web buttons take no arguments";
    EXPECT_EQ(buttons[2]->m_nDefaultImage, setup::kDefaultWebImage)
        << "the empty field shifted 12 away";
    EXPECT_EQ(buttons[3]->m_strArguments, L"7");
    EXPECT_EQ(buttons[3]->m_nDefaultImage, -1);
    for (oVoiceBook* b : buttons) {
        EXPECT_EQ(b->m_nKind, 0x14);
        EXPECT_EQ(b->m_nFlags, 8u);
    }
}

const std::vector<std::string> kBookmarkTemplate = {"[Root]",
                                                    "NumSubBooks=3",
                                                    "SubBook1=Tools,1001",
                                                    "SubBook2=Games,1002",
                                                    "SubBook3=Bookmarks,1007",
                                                    "NumCommands=1",
                                                    "Command1=Pad,notepad.exe",
                                                    "[Root_Tools]",
                                                    "NumCommands=1",
                                                    "Command1=Cmd,cmd.exe",
                                                    "[Root_Bookmarks]",
                                                    "NumCommands=1",
                                                    "Command1=Site,https://example.org/"};

TEST_F(TemplateReaderTest, NoToBookmarksDropsTheLastSubBookAndTheRootCommands) {
    Read(kBookmarkTemplate, {false});
    EXPECT_EQ(question_->Asked(), 1u);
    const auto top = Children(root_);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0]->m_strName, L"Tools");
    EXPECT_EQ(top[1]->m_strName, L"Games");
    EXPECT_NE(Child(*top[0], L"Cmd"), nullptr);
    EXPECT_EQ(setuptest::CountNamed(root_, L"Site"), 0);
    EXPECT_EQ(setuptest::CountNamed(root_, L"Pad"), 0);
}

TEST_F(TemplateReaderTest, YesToBookmarksIsAskedOnceAndKeepsEverything) {
    std::vector<std::string> lines = kBookmarkTemplate;
    // A section further down with sub-books of its own: not asked again after Yes.
    lines.insert(lines.end(), {"[Root_Games]", "NumSubBooks=1", "SubBook1=Puzzles,1003"});
    Read(lines, {true});
    EXPECT_EQ(question_->Asked(), 1u);
    ASSERT_EQ(Children(root_).size(), 4u);
    oVoiceBook* bookmarks = Child(root_, L"Bookmarks");
    ASSERT_NE(bookmarks, nullptr);
    EXPECT_NE(Child(*bookmarks, L"Site"), nullptr);
    EXPECT_NE(Child(*Child(root_, L"Games"), L"Puzzles"), nullptr);
    EXPECT_NE(Child(root_, L"Pad"), nullptr);
}

TEST_F(TemplateReaderTest, NoIsTheAnswerForTheWholeRun) {
    std::vector<std::string> lines = kBookmarkTemplate;
    // Tools reads first and has a last sub-book of its own.
    const auto section = std::find(lines.begin(), lines.end(), "[Root_Tools]");
    lines.insert(section + 1, {"NumSubBooks=1", "SubBook1=Inner,1003"});
    Read(lines, {false, true});
    EXPECT_EQ(question_->Asked(), 1u);
    oVoiceBook* tools = Child(root_, L"Tools");
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(Child(*tools, L"Inner"), nullptr);
    EXPECT_EQ(Child(*tools, L"Cmd"), nullptr) << "No ends the whole section";
    EXPECT_EQ(Child(root_, L"Bookmarks"), nullptr);
    EXPECT_NE(Child(root_, L"Games"), nullptr);
}

// A template anyone may edit must not keep the first run busy without end: sections that
// name one sub-section twice double the tree at every level.
TEST_F(TemplateReaderTest, TheReadingIsBoundedAndSaysWhenItCutTheTemplate) {
    const std::vector<std::string> chain = {"[Root]",   "NumSubBooks=1", "SubBook1=A,1000",
                                            "[Root_A]", "NumSubBooks=1", "SubBook1=A,1000"};
    const std::vector<std::string> empty = {"[Root]", "NumCommands=4096"};
    const std::vector<std::string> shell = {"[Root]", "NumSubBooks=3", "SubBook1=Desk,3",
                                            "SubBook2=Desk,3", "SubBook3=Desk,3"};
    using End = setup::TemplateEnd;
    const setup::TemplateLimits bounds;
    const struct {
        const char* what;
        std::vector<std::string> lines;
        setup::TemplateLimits limits;
        bool yes;
        End end;
        int nodes, depth; // a button inside the deepest category is one level further
        size_t asked;
        bool ending = false; // the program ends meanwhile
    } cases[] = {
        {"doubling, Yes", setuptest::DoublingTemplate(64), bounds, true, End::Cut, bounds.nodes,
         bounds.depth + 1, 1},
        {"doubling, No", setuptest::DoublingTemplate(64), bounds, false, End::Cut, bounds.depth,
         bounds.depth, 1},
        {"within the bounds", setuptest::DoublingTemplate(3), bounds, true, End::Whole, 14 + 7, 3,
         1},
        {"a chain deeper than allowed", chain, {1, 100, 100, 16}, true, End::Cut, 1, 1, 1},
        {"entries that make nothing", empty, {16, 100, 1000, 16}, true, End::Cut, 0, 0, 0},
        {"shell folders", shell, {16, 100, 100, 2}, true, End::Cut, 2, 1, 1},
        {"the program ending", setuptest::DoublingTemplate(8), bounds, true, End::Stopped, 0, 0, 0,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        setup::TemplateOptions options;
        options.limits = c.limits;
        options.fill = [](oVoiceBook&, LPCITEMIDLIST) { return true; };
        options.keepAnswering = [&c] { return !c.ending; };
        EXPECT_EQ(Read(c.lines, {c.yes}, 10, options), c.end);
        EXPECT_EQ(setuptest::ShapeOf(root_).nodes, c.nodes);
        EXPECT_EQ(setuptest::ShapeOf(root_).depth, c.depth);
        EXPECT_EQ(question_->Asked(), c.asked);
    }
}

TEST_F(TemplateReaderTest, NoQuestionWhenTheLastSubBookIsNotAnEntry) {
    Read({"[Root]", "NumSubBooks=2", "SubBook1=Tools,1001", "SubBook2=junk"});
    EXPECT_EQ(question_->Asked(), 0u);
    EXPECT_EQ(Children(root_).size(), 1u);
}

TEST_F(TemplateReaderTest, ProgramsAreFoundAsWrittenOnThePathOrInTheStartMenu) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::string full = fw::ToCodePage(std::wstring(system) + L"\\cmd.exe");
    index_.Add(L"C:\\Tools\\lark-indexed-tool.exe", L"lark-indexed-tool.exe");
    // A path with environment variables is taken when it is there, else the plain name.
    ASSERT_TRUE(::SetEnvironmentVariableW(L"LARK_TEST_PROGRAMS", system))
        << test::SystemErrorText(::GetLastError());
    Read({"[Root]", "NumCommands=9", "Command1=Full," + full, "Command2=Bare,notepad.exe,a.txt",
          "Command3=Indexed,LARK-INDEXED-TOOL.EXE,--x", "Command4=Missing,lark-not-installed.exe",
          "Command5=Twice,cmd.exe", "Command6=Twice,cmd.exe",
          "Command7=EnvHere,%LARK_TEST_PROGRAMS%\\cmd.exe",
          "Command8=EnvIndexed,%LARK_TEST_NOT_SET%\\lark-indexed-tool.exe",
          "Command9=EnvMissing,%LARK_TEST_PROGRAMS%\\lark-not-installed.exe"});
    const auto buttons = Children(root_);
    ASSERT_EQ(buttons.size(), 7u);
    EXPECT_EQ(buttons[5]->m_strCommand, buttons[0]->m_strCommand);
    EXPECT_EQ(buttons[6]->m_strCommand, L"C:\\Tools\\lark-indexed-tool.exe");
    EXPECT_EQ(buttons[0]->m_strCommand, std::wstring(system) + L"\\cmd.exe");
    EXPECT_TRUE(setuptest::EndsWithNoCase(buttons[1]->m_strCommand, L"\\notepad.exe"));
    EXPECT_EQ(buttons[1]->m_strArguments, L"a.txt");
    EXPECT_EQ(buttons[2]->m_strCommand, L"C:\\Tools\\lark-indexed-tool.exe");
    EXPECT_EQ(buttons[2]->m_strArguments, L"--x");
    EXPECT_EQ(buttons[3]->m_strName, L"Twice");
    EXPECT_EQ(buttons[4]->m_strName, L"Twice");
    EXPECT_EQ(setuptest::CountNamed(root_, L"Missing"), 0);
}

TEST_F(TemplateReaderTest, LinesThatDoNotParseAreSkippedAndLongValuesCut) {
    const std::string longArgs(2000, 'a');
    Read({"[Root]", "NumCommands=7", "this line has no equals sign",
          "Command1=", "Command2=OnlyAName", "\x01\x02garbage=\xff\xfe\x80", "Command3=,,,",
          "Command4=Pad,notepad.exe", "=nothing", "Command5=Long,notepad.exe," + longArgs,
          "Command6=Cmd,cmd.exe", "[Broken section", "Command7=Late,cmd.exe"});
    const auto buttons = Children(root_);
    ASSERT_GE(buttons.size(), 3u);
    EXPECT_EQ(buttons[0]->m_strName, L"Pad");
    EXPECT_EQ(buttons[1]->m_strName, L"Long");
    EXPECT_EQ(buttons[1]->m_strArguments.size(), 1023u - std::string("Long,notepad.exe,").size());
    EXPECT_EQ(buttons[2]->m_strName, L"Cmd");
}

TEST_F(TemplateReaderTest, HugeCountsAreBounded) {
    Read({"[Root]", "NumSubBooks=-5", "NumCommands=2000000000", "Command1=Pad,notepad.exe"});
    ASSERT_EQ(Children(root_).size(), 1u);
    EXPECT_EQ(question_->Asked(), 0u);
}

TEST_F(TemplateReaderTest, MissingTemplateLeavesTheRootAlone) {
    ScriptedQuestion question({true});
    root_.ResetAll(L"ToolBar");
    setup::ReadTemplate(root_, dir_ / L"absent.ini", 10, index_, question);
    EXPECT_EQ(root_.FirstChild(), nullptr);
    EXPECT_EQ(root_.m_strName, L"ToolBar");
    EXPECT_EQ(question.Asked(), 0u);
}

} // namespace
