// Export... and Import... of the real LarkB.exe, through its bar menu, the system's file
// dialogs and its question, in either edition (the single-byte test program builds this too).
#include <windows.h>

#include <string>
#include <vector>

#include "bar/bar_process_fixture.h"
#include "dialogs/dialog_script.h"
#include "framework/handle.h"
#include "model/data_file.h"
#include "model/sample_trees.h"
#include "model/tree_text.h"
#include "model/voice_book.h"
#include "resource.h"

namespace {

using namespace bartest;

bool ReadBack(oVoiceBook& tree) {
    const std::wstring path = test::DataFolder() + L"\\" + model::kDataFileName;
    return model::ReadDataFile(tree, path, model::kSaveFormat.singleByte) ==
           model::LoadOutcome::Loaded;
}

class TreeBackupProcessTest : public BarWindowTest {};

// A refusal naming the line, then the text as a new category, then as the whole tree, which
// leaves the data file as it began and the tree before it exported beside it.
TEST_F(TreeBackupProcessTest, ExportedTreeComesBackAsACategoryAndAsTheWholeTree) {
    oVoiceBook before;
    ASSERT_TRUE(ReadBack(before));
    before.SetCommand(L"Tools"); // the root records the category shown, the first
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_NE(bar, nullptr);
    const std::wstring text = dir_ / L"backup.txt", bad = dir_ / L"bad.txt";
    auto import = [&](const std::wstring& path, int answer) {
        Command(bar, ID_IMPORT_TREE);
        EXPECT_TRUE(script::AnswerFileOpen(bar, path));
        return script::AnswerMessageBox(bar, answer).text;
    };
    Command(bar, ID_EXPORT_TREE);
    ASSERT_TRUE(script::AnswerFileOpen(bar, text));
    ASSERT_TRUE(test::WaitUntil([&] { return test::FileExists(text); }, test::kPatientMs));

    ASSERT_TRUE(test::WriteTextFile(bad, "[Root]\nName=x\n[Root_1]\nColour=red\n"));
    EXPECT_NE(import(bad, IDOK).find(L"Line 4: "), std::wstring::npos);
    EXPECT_NE(import(text, IDNO).find(L"before import"), std::wstring::npos);
    EXPECT_NE(import(text, IDYES).find(L"before import"), std::wstring::npos);
    ASSERT_TRUE(lark.WaitUntilIdle()) << lark.Problem();
    Exit(lark);

    oVoiceBook after;
    ASSERT_TRUE(ReadBack(after));
    EXPECT_EQ(sample::CompareTrees(before, after), "");
    // The tree the whole import replaced: the first import's category last, as it was.
    WIN32_FIND_DATAW found{};
    fw::FindHandle search(
        ::FindFirstFileW((test::DataFolder() + L"\\*before import*").c_str(), &found));
    ASSERT_TRUE(search) << test::SystemErrorText(::GetLastError());
    const std::vector<uint8_t> kept =
        test::ReadFileBytes(test::DataFolder() + L"\\" + found.cFileName);
    model::TreeTextResult replaced = model::TreeFromText(std::string(kept.begin(), kept.end()));
    ASSERT_TRUE(replaced.root) << replaced.line;
    oVoiceBook* category = replaced.root->FirstChild();
    while (category && category->Next())
        category = category->Next();
    ASSERT_TRUE(category);
    EXPECT_EQ(category->m_strName, L"backup");
    oVoiceBook expected;
    expected.SetFromRecord(before.ToRecord());
    model::TakeChildren(*category, expected);
    EXPECT_EQ(sample::CompareTrees(before, expected), "");
}

} // namespace
