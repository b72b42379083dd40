// Two bars on one data file, as two machines on a synced folder: edits on both sides, a kill,
// and the file replaced by a copy from a backup while a bar runs. Nothing is lost in any order.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/main_app.h"
#include "bar/test_hooks.h"
#include "model/data_path.h"
#include "model/voice_book.h"
#include "resource.h"
#include "support/dialog_answer.h"
#include "support/lark_process.h"
#include "support/test_util.h"

namespace {

using Names = std::vector<std::wstring>;

std::wstring InData(const std::wstring& name) {
    return test::DataFolder() + L"\\" + name;
}
const std::wstring kFile = InData(model::kCurrentDataFile);

// The top-level categories a data file holds, sorted (a new one follows the shown one).
Names Categories(const std::wstring& file) {
    oVoiceBook root;
    Names names;
    if (root.LoadFile(file))
        for (const oVoiceBook* c = root.FirstChild(); c; c = c->Next())
            names.push_back(c->m_strName);
    std::sort(names.begin(), names.end());
    return names;
}

Names OtherVersions() {
    Names found;
    WIN32_FIND_DATAW data{};
    fw::FindHandle find(::FindFirstFileW(InData(L"* (other *").c_str(), &data));
    for (bool more = static_cast<bool>(find); more; more = ::FindNextFileW(find.get(), &data))
        found.push_back(InData(data.cFileName));
    return found;
}

class SharedDataProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::KillAllLarkProcesses();
        ::SetEnvironmentVariableW(L"LARK_TEST_HOOKS", L"1");
        test::RemoveTree(test::DataFolder());
        model::DataFilePath(model::kDataFileName); // the folders exist again
        oVoiceBook tree;
        tree.ResetAll(L"ToolBar");
        for (const wchar_t* name : {L"Base A", L"Base B"})
            tree.AddChild(CategoryFields(name))->AddChild(ButtonFields(L"Tool", L"t.exe"));
        ASSERT_TRUE(tree.SaveFile(backup_.path() + L"\\backup.tdb"));
        ASSERT_TRUE(::CopyFileW((backup_.path() + L"\\backup.tdb").c_str(), kFile.c_str(), FALSE))
            << ::GetLastError();
    }
    void TearDown() override {
        test::KillAllLarkProcesses();
        test::RemoveTree(test::DataFolder());
        ::SetEnvironmentVariableW(L"LARK_TEST_HOOKS", nullptr);
    }

    // A bar (beside a running one when `second`), once it answers.
    std::unique_ptr<test::LarkProcess> StartBar(bool second) {
        auto lark = std::make_unique<test::LarkProcess>();
        const bool started = lark->Start(second ? CMainApp::kSecondBarSwitch : L"");
        EXPECT_TRUE(started && lark->WaitForBar() && lark->WaitUntilIdle()) << lark->Problem();
        return lark;
    }
    static LRESULT Held(const test::LarkProcess& lark) {
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(lark.Bar(), ::RegisterWindowMessageW(L"LarkRunBar.TestQuery"),
                              TEST_QUERY_CATEGORIES, 0, SMTO_NORMAL, test::kPatientMs, &answer);
        return static_cast<LRESULT>(answer);
    }
    // Waits until the bar's tree has `n` top-level categories.
    static bool WaitForCategories(const test::LarkProcess& lark, LRESULT n) {
        return test::WaitUntil([&] { return Held(lark) == n; }, test::kPatientMs);
    }
    // Adds an empty category the way the user does: the bar's command and its dialog.
    static void AddCategory(const test::LarkProcess& lark, const wchar_t* name) {
        const LRESULT before = Held(lark);
        test::DialogAnswerer dialog(IDOK, lark.Id(), test::kPatientMs, [&](HWND dlg) {
            DWORD_PTR ignored = 0;
            EXPECT_TRUE(::SendMessageTimeoutW(::GetDlgItem(dlg, IDC_CATEGORY_NAME), WM_SETTEXT, 0,
                                              reinterpret_cast<LPARAM>(name), SMTO_NORMAL,
                                              test::kPatientMs, &ignored))
                << ::GetLastError();
        });
        ASSERT_TRUE(::PostMessageW(lark.Bar(), WM_COMMAND, ID_ADD_CATEGORY, 0)) << ::GetLastError();
        ASSERT_TRUE(dialog.Finish()) << "no New Category dialog";
        ASSERT_TRUE(WaitForCategories(lark, before + 1)) << Held(lark);
    }

    test::TempDir backup_;
};

} // namespace

TEST_F(SharedDataProcessTest, EditsOnBothSidesAKillAndARestoredBackupLoseNothing) {
    auto a = StartBar(false);
    auto b = StartBar(true);
    AddCategory(*b, L"From B");
    AddCategory(*a, L"From A");
    // A writes at exit over the file as it read it; B, with an edit of its own, keeps A's
    // version beside before it writes.
    ASSERT_TRUE(a->Exit()) << a->Problem();
    EXPECT_EQ(Categories(kFile), (Names{L"Base A", L"Base B", L"From A"}));
    ASSERT_TRUE(b->Exit()) << b->Problem();
    EXPECT_EQ(Categories(kFile), (Names{L"Base A", L"Base B", L"From B"}));
    Names others = OtherVersions();
    ASSERT_EQ(others.size(), 1u);
    EXPECT_EQ(Categories(others[0]), (Names{L"Base A", L"Base B", L"From A"}));

    // A bar killed with an edit pending changes nothing for the other one or the file.
    auto c = StartBar(false);
    auto d = StartBar(true);
    AddCategory(*c, L"Killed");
    c->Kill();
    EXPECT_EQ(Categories(kFile), (Names{L"Base A", L"Base B", L"From B"}));
    // The backup copied over the file while D runs with nothing pending: D reads it, and its
    // next edit is written over it with nothing more kept beside.
    // (A bar reading the file at that moment shares it with no writer.)
    const std::wstring backup = backup_.path() + L"\\backup.tdb";
    ASSERT_TRUE(
        test::WaitUntil([&] { return ::CopyFileW(backup.c_str(), kFile.c_str(), FALSE) != FALSE; },
                        test::kPatientMs))
        << ::GetLastError();
    ASSERT_TRUE(WaitForCategories(*d, 2)) << Held(*d);
    AddCategory(*d, L"From D");
    ASSERT_TRUE(d->Exit()) << d->Problem();
    EXPECT_EQ(Categories(kFile), (Names{L"Base A", L"Base B", L"From D"}));
    EXPECT_EQ(OtherVersions(), others);
}
