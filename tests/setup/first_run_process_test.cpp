// The first start of the real program: the template beside it becomes the saved tree.
#include <gtest/gtest.h>

#include "framework/os_version.h"
#include "model/data_path.h"
#include "model/voice_book.h"
#include "setup/template_rules.h"
#include "setup_test_util.h"
#include "shell/launch.h"
#include "support/dialog_answer.h"
#include "support/lark_process.h"
#include "support/startup_wait.h"
#include "support/test_util.h"

namespace {

using setuptest::Child;
using setuptest::Children;

class FirstRunProcessTest : public ::testing::Test {
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
            << test::SystemErrorText(::GetLastError());
    }
    void TearDown() override { test::KillAllLarkProcesses(); }

    // Starts the program, answers the bookmark question with `button`, waits for the saved
    // tree, exits the program and reads the tree back.
    void FirstStart(int button, oVoiceBook& tree) {
        test::LarkProcess lark(exe_);
        ASSERT_TRUE(lark.Start()) << lark.Problem();
        test::DialogAnswerer answer(button, lark.Id(), 2 * test::kPatientMs);
        ASSERT_TRUE(answer.Finish()) << "the bookmark question was not asked";
        seen_ = answer.Seen();
        ASSERT_TRUE(test::WaitUntil([&] { return test::FileExists(dataFile_); }, test::kPatientMs));
        ASSERT_NE(lark.WaitForBar(), nullptr) << lark.Problem();
        ASSERT_TRUE(lark.Exit()) << lark.Problem();
#ifdef LARK_SINGLE_BYTE
        ASSERT_TRUE(tree.LoadAnsiFile(dataFile_));
#else
        ASSERT_TRUE(tree.LoadFile(dataFile_));
#endif
    }

    static void ExpectProgram(const oVoiceBook& category, const std::wstring& name,
                              const std::wstring& file) {
        oVoiceBook* button = Child(category, name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(setuptest::EndsWithNoCase(button->m_strCommand, L"\\" + file))
            << button->m_strCommand.str();
    }

    test::TempDir dir_;
    std::wstring exe_;
    std::wstring dataFile_;
    test::SeenDialog seen_;
};

TEST_F(FirstRunProcessTest, TemplateBecomesTheSavedTreeWithProgramsOfThisSystem) {
    oVoiceBook tree;
    FirstStart(IDYES, tree);
    EXPECT_EQ(seen_.caption, L"larkRunBar ");
    EXPECT_EQ(seen_.text, L"larkRunBar can create bookmark buttons for frequently visited "
                          L"websites.\nDo you want to create the default bookmark buttons ?");
    EXPECT_TRUE(seen_.hasYes && seen_.hasNo);
    EXPECT_NE(seen_.owner, nullptr) << "owned by the bar";

    EXPECT_EQ(tree.m_strName, L"ToolBar");
    std::vector<std::wstring> expected = {L"Accessories", L"System Tools", L"Games", L"My Computer",
                                          L"Bookmarks"};
    if (QueryOsVersion().major < 10)
        expected.insert(expected.begin() + 4, L"Control Panel");
    std::vector<std::wstring> names;
    for (oVoiceBook* c : Children(tree)) {
        names.push_back(c->m_strName);
        EXPECT_EQ(c->m_nKind, 0x12) << c->m_strName.str();
        EXPECT_EQ(c->m_nFlags, 10u) << c->m_strName.str();
    }
    EXPECT_EQ(names, expected);

    ExpectProgram(*Child(tree, L"Accessories"), L"Notepad", L"notepad.exe");
    ExpectProgram(*Child(tree, L"Accessories"), L"WordPad", L"wordpad.exe");
    ExpectProgram(*Child(tree, L"System Tools"), L"Command Prompt", L"cmd.exe");
    ExpectProgram(*Child(tree, L"System Tools"), L"Registry Editor", L"regedit.exe");
    ExpectProgram(*Child(tree, L"Games"), L"Minesweeper", L"winemine.exe");

    // Every program button names a program that exists here; the web buttons keep
    // their address and picture.
    for (const wchar_t* name : {L"Accessories", L"System Tools", L"Games"}) {
        for (oVoiceBook* b : Children(*Child(tree, name))) {
            EXPECT_EQ(b->m_nKind, 0x14);
            EXPECT_EQ(b->m_nFlags, 8u);
            EXPECT_TRUE(test::FileExists(b->m_strCommand)) << b->m_strCommand.str();
        }
    }
    const auto bookmarks = Children(*Child(tree, L"Bookmarks"));
    ASSERT_EQ(bookmarks.size(), 6u);
    for (oVoiceBook* b : bookmarks) {
        EXPECT_TRUE(shell::IsWebAddress(b->m_strCommand)) << b->m_strCommand.str();
        EXPECT_EQ(b->m_nDefaultImage, setup::kDefaultWebImage) << test::Narrow(b->m_strName);
    }

    // The drives category is linked to the computer's shell folder and filled from it.
    oVoiceBook* computer = Child(tree, L"My Computer");
    EXPECT_TRUE(computer->m_pidl);
    EXPECT_NE(computer->FirstChild(), nullptr);
}

// The question comes while the progress window is up; it must not be hidden behind it, or the
// first start seems to hang.
TEST_F(FirstRunProcessTest, TheBookmarkQuestionIsInFrontOfTheProgressWindow) {
    oVoiceBook tree;
    FirstStart(IDNO, tree);
    EXPECT_TRUE(seen_.inFront) << "the question is covered by \"" << test::Narrow(seen_.coveredBy)
                               << "\"";
}

TEST_F(FirstRunProcessTest, NoToBookmarksLeavesThemOut) {
    oVoiceBook tree;
    FirstStart(IDNO, tree);
    EXPECT_EQ(Child(tree, L"Bookmarks"), nullptr);
    EXPECT_NE(Child(tree, L"Accessories"), nullptr);
    EXPECT_NE(Child(tree, L"My Computer"), nullptr);
}

// Sub-books that name one section twice ask for a tree that doubles at every level: the
// first run takes a bounded part of it, says so, asks the bookmark question once and ends.
TEST_F(FirstRunProcessTest, ADoublingTemplateIsCutWithAMessageAndAsksOnce) {
    for (const int button : {IDYES, IDNO}) {
        SCOPED_TRACE(button == IDYES ? "Yes" : "No");
        ::DeleteFileW(dataFile_.c_str());
        setuptest::WriteTemplate(dir_ / L"LarkB.ini", setuptest::DoublingTemplate(64));
        test::LarkProcess lark(exe_);
        ASSERT_TRUE(lark.Start()) << lark.Problem();
        test::DialogAnswerer question(button, lark.Id(), 2 * test::kPatientMs);
        ASSERT_TRUE(question.Finish()) << "the bookmark question was not asked";
        test::DialogAnswerer cut(IDOK, lark.Id());
        ASSERT_TRUE(cut.Finish()) << "no message that the template was cut"
                                  << (test::FindDialogOf(lark.Id(), IDYES) ? "; asked again" : "");
        EXPECT_NE(cut.Seen().text.find(L"\\LarkB.ini\n"), std::wstring::npos)
            << test::Narrow(cut.Seen().text);
        ASSERT_TRUE(
            test::WaitUntil([&] { return !::IsWindow(cut.Seen().hwnd); }, test::kPatientMs));
        ASSERT_NE(lark.WaitForBar(), nullptr) << lark.Problem();
        ASSERT_TRUE(test::WaitForStartupDone(lark.Id(), lark.Bar(), dataFile_, test::kPatientMs));
        ASSERT_TRUE(lark.Exit()) << lark.Problem();
        oVoiceBook tree;
        ASSERT_TRUE(tree.LoadFile(dataFile_));
        EXPECT_LE(setuptest::ShapeOf(tree).nodes, setup::TemplateLimits().nodes);
    }
}

} // namespace
