// The New Category command: the dialog's controls for each kind, and categories made from
// real folders of the test's prefix.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "dialog_script.h"
#include "dialogs/new_category.h"
#include "model/data_path.h"
#include "model/voice_book.h"
#include "resource.h"
#include "support/lark_process.h"
#include "support/test_util.h"

namespace {

// The enabled controls as letters: name, browse, browse common, scan, virtual, choose.
std::string Letters(const dialogs::CategoryTypeControls& c) {
    return {c.name ? 'n' : '-',           c.browse ? 'b' : '-',         c.browseCommon ? 'c' : '-',
            c.scanSubFolders ? 's' : '-', c.virtualFolders ? 'v' : '-', c.chooseFolder ? 'f' : '-'};
}

TEST(NewCategoryTest, EachTypeEnablesItsOwnControls) {
    const struct {
        int type;
        bool consumer;
        const char* expected;
    } cases[] = {{0, false, "n-----"},
                 {1, false, "-bcs--"},
                 {1, true, "-b-s--"},
                 {2, false, "----v-"},
                 {3, false, "-----f"}};
    for (const auto& c : cases)
        EXPECT_EQ(Letters(dialogs::EnabledControls(c.type, c.consumer)), c.expected)
            << "type " << c.type << (c.consumer ? " (consumer family)" : "");
}

TEST(NewCategoryTest, NewCategoryFollowsItsAnchorCategoryOrEndsTheTopLevel) {
    oVoiceBook root;
    oVoiceBook* a = root.AddChild(CategoryFields(L"A"));
    NodeRecordFields btn = ButtonFields(L"Btn", L"x.exe");
    btn.flags = 2;
    oVoiceBook* button = a->AddChild(btn);
    root.AddChild(CategoryFields(L"B"));
    oVoiceBook* afterA = dialogs::AddNewCategory(root, a, L"N1");
    EXPECT_EQ(a->Next(), afterA);
    EXPECT_EQ(afterA->m_nKind, 0x12);
    EXPECT_EQ(afterA->m_nFlags, 2u);
    for (oVoiceBook* anchor : {static_cast<oVoiceBook*>(nullptr), button, &root}) {
        oVoiceBook* added = dialogs::AddNewCategory(root, anchor, L"End");
        EXPECT_EQ(added->Parent(), &root);
        EXPECT_EQ(added->Next(), nullptr);
    }
}

// Runs the command over `root` while `drive` works the dialog.
oVoiceBook* RunCommand(oVoiceBook& root, oVoiceBook* anchor,
                       const std::function<void(HWND)>& drive) {
    oVoiceBook* made = nullptr;
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    script::RunDialog(
        L"New Category", [&] { made = dialogs::RunNewCategoryCommand(owner, root, anchor); }, drive,
        owner);
    ::DestroyWindow(owner);
    return made;
}

bool Enabled(HWND dlg, int id) {
    return ::IsWindowEnabled(::GetDlgItem(dlg, id)) != FALSE;
}

TEST(NewCategoryCommandTest, EmptyCategoryNeedsMoreThanBlanks) {
    oVoiceBook root;
    test::SeenDialog box;
    EXPECT_EQ(RunCommand(root, nullptr,
                         [&](HWND dlg) {
                             EXPECT_TRUE(Enabled(dlg, IDC_CATEGORY_NAME));
                             EXPECT_FALSE(Enabled(dlg, IDC_BROWSE));
                             EXPECT_GT(
                                 ::SendDlgItemMessageW(dlg, IDC_VIRTUAL_FOLDER, CB_GETCOUNT, 0, 0),
                                 0);
                             script::SetText(dlg, IDC_CATEGORY_NAME, L"   ");
                             script::Press(dlg, IDOK);
                             box = script::AnswerMessageBox(nullptr);
                         }),
              nullptr);
    EXPECT_EQ(box.text, L"There is no name.");
    EXPECT_FALSE(root.HasChildren());
    oVoiceBook* made = RunCommand(root, nullptr, [&](HWND dlg) {
        script::SetText(dlg, IDC_CATEGORY_NAME, L" Games ");
        script::Press(dlg, IDOK);
    });
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->m_strName, L"Games");
    EXPECT_EQ(root.FirstChild(), made);
}

// A program group of the user's Start menu: a file, and a sub-folder with a file.
class ProgramGroup {
public:
    ProgramGroup() {
        wchar_t programs[MAX_PATH] = {};
        ::SHGetFolderPathW(nullptr, CSIDL_PROGRAMS | CSIDL_FLAG_CREATE, nullptr, 0, programs);
        path_ = std::wstring(programs) + L"\\Lark Test Group";
        ::CreateDirectoryW(path_.c_str(), nullptr);
        ::CreateDirectoryW((path_ + L"\\Sub").c_str(), nullptr);
        test::WriteTextFile(path_ + L"\\readme.txt", "a");
        test::WriteTextFile(path_ + L"\\Sub\\notes.txt", "b");
    }
    ~ProgramGroup() { test::RemoveTree(path_); }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

TEST(NewCategoryCommandTest, ProgramGroupTakesItsSubFoldersOnlyWhenAsked) {
    ProgramGroup group;
    for (bool scan : {true, false}) {
        SCOPED_TRACE(scan ? "with sub-folders" : "without sub-folders");
        oVoiceBook root;
        oVoiceBook* anchor = root.AddChild(CategoryFields(L"First"));
        root.AddChild(CategoryFields(L"Last"));
        std::wstring shown;
        oVoiceBook* made = RunCommand(root, anchor, [&](HWND dlg) {
            script::Click(dlg, IDC_TYPE_GROUP);
            EXPECT_FALSE(Enabled(dlg, IDC_CATEGORY_NAME));
            EXPECT_TRUE(Enabled(dlg, IDC_BROWSE_COMMON));
            ::SendDlgItemMessageW(dlg, IDC_SCAN_SUB_FOLDERS, BM_SETCHECK,
                                  scan ? BST_CHECKED : BST_UNCHECKED, 0);
            script::Press(dlg, IDC_BROWSE);
            ASSERT_TRUE(script::AnswerFolderChooser(dlg, L"", L"Lark Test Group"));
            ASSERT_TRUE(test::WaitUntil([&] { return !script::Text(dlg, IDC_GROUP_NAME).empty(); },
                                        script::kWaitMs));
            shown = script::Text(dlg, IDC_GROUP_NAME);
            script::Press(dlg, IDOK);
        });
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(anchor->Next(), made) << "placed after the anchor category";
        // The chooser's display name (Wine gives the full path, Windows the folder's name).
        EXPECT_EQ(made->m_strName, shown);
        EXPECT_NE(shown.find(L"Lark Test Group"), std::wstring::npos) << shown;
        EXPECT_EQ(made->m_strCommand, group.path());
        EXPECT_EQ(made->m_bScanSubFolders, scan ? 1 : 0);
        int buttons = 0, categories = 0;
        for (oVoiceBook* c = made->FirstChild(); c; c = c->Next())
            (c->IsButton() ? buttons : categories) += 1;
        ASSERT_EQ(buttons, 1);
        ASSERT_EQ(categories, scan ? 1 : 0);
        if (scan) {
            oVoiceBook* sub =
                made->FirstChild()->IsButton() ? made->FirstChild()->Next() : made->FirstChild();
            ASSERT_NE(sub, nullptr);
            EXPECT_EQ(sub->m_strName, L"Sub");
            EXPECT_TRUE(sub->FirstChild() && sub->FirstChild()->IsButton());
        }
    }
}

TEST(NewCategoryCommandTest, ChosenFolderGivesButtonsForItsSubFolders) {
    test::TempDir dir;
    ::CreateDirectoryW((dir / L"Alpha").c_str(), nullptr);
    ::CreateDirectoryW((dir / L"Beta").c_str(), nullptr);
    oVoiceBook root;
    root.AddChild(CategoryFields(L"First"));
    oVoiceBook* made = RunCommand(root, nullptr, [&](HWND dlg) {
        // Choosing the type opens the chooser at once while no folder was chosen.
        script::Press(dlg, IDC_TYPE_FOLDER);
        ASSERT_TRUE(script::AnswerFolderChooser(dlg, dir.path()));
        ASSERT_TRUE(test::WaitUntil([&] { return !script::Text(dlg, IDC_FOLDER_NAME).empty(); },
                                    script::kWaitMs));
        EXPECT_TRUE(Enabled(dlg, IDC_CHOOSE_FOLDER));
        EXPECT_FALSE(Enabled(dlg, IDC_CATEGORY_NAME));
        script::Press(dlg, IDOK);
    });
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Parent(), &root);
    EXPECT_EQ(made->Next(), nullptr) << "without an anchor the category ends the top level";
    EXPECT_TRUE(made->m_pidl);
    std::wstring targets;
    for (oVoiceBook* c = made->FirstChild(); c; c = c->Next()) {
        EXPECT_TRUE(c->IsButton());
        targets += c->m_strCommand + L";";
    }
    EXPECT_NE(targets.find(dir / L"Alpha"), std::wstring::npos) << targets;
    EXPECT_NE(targets.find(dir / L"Beta"), std::wstring::npos) << targets;
}

TEST(NewCategoryCommandTest, BarCommandAddsTheCategoryThatTheExitSaves) {
    test::RemoveTree(test::DataFolder());
    const std::wstring file = model::DataFilePath(model::kDataFileName);
    oVoiceBook saved;
    saved.ResetAll(L"ToolBar");
    saved.AddChild(CategoryFields(L"Tools"));
    ASSERT_TRUE(saved.SaveFile(file));
    test::LarkProcess lark;
    ASSERT_TRUE(lark.Start()) << ::GetLastError();
    const HWND bar = lark.WaitForBar(script::kWaitMs);
    ASSERT_TRUE(bar);
    ::PostMessageW(bar, WM_COMMAND, ID_ADD_CATEGORY, 0);
    HWND dlg = nullptr;
    ASSERT_TRUE(test::WaitUntil(
        [&] { return (dlg = test::FindDialogOf(lark.Id(), IDC_TYPE_EMPTY)); }, script::kWaitMs));
    EXPECT_EQ(::GetWindow(dlg, GW_OWNER), bar);
    DWORD_PTR answer = 0;
    EXPECT_NE(::SendMessageTimeoutW(bar, WM_COMMAND, ID_ADD_CATEGORY, 0, SMTO_NORMAL,
                                    script::kWaitMs, &answer),
              0)
        << "a second dialog is refused while one shows: " << ::GetLastError();
    script::SetText(dlg, IDC_CATEGORY_NAME, L"From The Bar");
    test::PressButton(dlg, IDOK);
    ASSERT_TRUE(script::WaitGone(dlg));
    ASSERT_TRUE(lark.Exit(script::kWaitMs));
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    ASSERT_TRUE(loaded.FirstChild() && loaded.FirstChild()->Next());
    EXPECT_EQ(loaded.FirstChild()->Next()->m_strName, L"From The Bar");
    EXPECT_EQ(loaded.m_strCommand, L"From The Bar") << "the new category is the one shown";
    test::RemoveTree(test::DataFolder());
}

} // namespace
