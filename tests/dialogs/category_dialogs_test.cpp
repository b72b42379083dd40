// The category order and category name dialogs, and the order rules they use.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "dialog_script.h"
#include "dialogs/category_order.h"
#include "dialogs/change_category_dlg.h"
#include "dialogs/edit_word_book_dlg.h"
#include "model/voice_book.h"
#include "resource.h"
#include "support/test_util.h"

namespace {

std::wstring Names(const oVoiceBook& root) {
    std::wstring names;
    for (oVoiceBook* c = root.FirstChild(); c; c = c->Next())
        names += c->m_strName + L" ";
    return names;
}

// A, Old (a kind of older files, not listed), B (a button), C.
void BuildRoot(oVoiceBook& root) {
    root.AddChild(CategoryFields(L"A"));
    root.AddChild(NewNodeFields(L"Old", 0x22, 0));
    NodeRecordFields b = ButtonFields(L"B", L"b.exe");
    b.flags = 2;
    root.AddChild(b);
    root.AddChild(CategoryFields(L"C"));
}

TEST(CategoryOrderTest, MovesStopAtTheEndsAndRelinkingKeepsUnlistedChildren) {
    oVoiceBook root;
    BuildRoot(root);
    std::vector<oVoiceBook*> order = dialogs::ListedChildren(root);
    ASSERT_EQ(order.size(), 3u);
    const struct {
        int index, step, expected;
    } moves[] = {{0, -1, -1}, {2, 1, -1}, {5, 1, -1}, {-1, 1, -1}, {0, 1, 1}, {2, -1, 1}};
    for (const auto& m : moves) {
        std::vector<oVoiceBook*> copy = order;
        EXPECT_EQ(dialogs::MoveEntry(copy, m.index, m.step), m.expected)
            << m.index << " by " << m.step;
    }
    dialogs::MoveEntry(order, 2, -1); // A C B
    oVoiceBook stranger;
    order.push_back(&stranger);
    order.push_back(order[0]);
    dialogs::RelinkChildren(root, order);
    EXPECT_EQ(Names(root), L"A C B Old ");
    for (oVoiceBook* c = root.FirstChild(); c; c = c->Next()) {
        EXPECT_EQ(c->Parent(), &root);
        EXPECT_EQ(c->m_nDepth, 1);
    }
    EXPECT_EQ(stranger.Parent(), nullptr);
}

HWND OrderList(HWND dlg) {
    return ::GetDlgItem(dlg, IDC_CATEGORY_LIST);
}

std::wstring ListNames(HWND dlg) {
    std::wstring names;
    for (int i = 0, n = ListView_GetItemCount(OrderList(dlg)); i < n; ++i) {
        wchar_t text[64] = {};
        ListView_GetItemText(OrderList(dlg), i, 0, text, 64);
        names += std::wstring(text) + L" ";
    }
    return names;
}

void SelectEntry(HWND dlg, int index) {
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(OrderList(dlg), index, both, both);
}

INT_PTR RunOrderDialog(oVoiceBook& root, const std::function<void(HWND)>& drive) {
    INT_PTR result = 0;
    CChangeCategoryDlg dlg(root);
    script::RunDialog(
        L"Change Order", [&] { result = dlg.DoModal(nullptr); }, drive);
    return result;
}

TEST(ChangeCategoryDlgTest, MovesInTheListAndRelinksOnlyOnOk) {
    oVoiceBook root;
    BuildRoot(root);
    const INT_PTR cancelled = RunOrderDialog(root, [](HWND dlg) {
        EXPECT_EQ(ListNames(dlg), L"A B C ");
        script::Press(dlg, IDC_MOVE_UP);
        const test::SeenDialog box = script::AnswerMessageBox(dlg);
        EXPECT_EQ(box.text, L"There is no selected group.");
        EXPECT_EQ(box.icon, ::LoadIconW(nullptr, IDI_INFORMATION));
        SelectEntry(dlg, 0);
        script::Click(dlg, IDC_MOVE_UP);
        EXPECT_EQ(ListNames(dlg), L"A B C ") << "the first entry stays first";
        script::Click(dlg, IDC_MOVE_DOWN);
        EXPECT_EQ(ListNames(dlg), L"B A C ");
        EXPECT_EQ(ListView_GetNextItem(OrderList(dlg), -1, LVNI_SELECTED), 1);
        script::Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(cancelled, IDCANCEL);
    EXPECT_EQ(Names(root), L"A Old B C ");

    const INT_PTR accepted = RunOrderDialog(root, [](HWND dlg) {
        SelectEntry(dlg, 2);
        script::Click(dlg, IDC_MOVE_UP);
        script::Click(dlg, IDC_MOVE_UP);
        EXPECT_EQ(ListNames(dlg), L"C A B ");
        script::Press(dlg, IDOK);
    });
    EXPECT_EQ(accepted, IDOK);
    EXPECT_EQ(Names(root), L"C A B Old ") << "the entry of an older kind stays in the tree";
}

TEST(EditWordBookDlgTest, NameIsCheckedTrimmedAndWritten) {
    NodeRecordFields tools = CategoryFields(L"Tools");
    tools.iconFile = L"C:\\x.ico";
    tools.iconIndex = 3;
    oVoiceBook category(tools);
    INT_PTR result = 0;
    CEditWordBookDlg dlg(category);
    script::RunDialog(
        L"Edit Category", [&] { result = dlg.DoModal(nullptr); },
        [&](HWND hwnd) {
            EXPECT_EQ(script::Text(hwnd, IDC_CATEGORY_NAME), L"Tools");
            script::SetText(hwnd, IDC_CATEGORY_NAME, L"X");
            script::Press(hwnd, IDOK);
            EXPECT_EQ(script::AnswerMessageBox(hwnd).text, L"Please enter minimun 2 characters.");
            script::SetText(hwnd, IDC_CATEGORY_NAME, L"    ");
            script::Press(hwnd, IDOK);
            EXPECT_EQ(script::AnswerMessageBox(hwnd).text, L"There is no name.");
            script::SetText(hwnd, IDC_CATEGORY_NAME, L"  Games ");
            script::Press(hwnd, IDOK);
        });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(category.m_strName, L"Games");
    EXPECT_EQ(category.m_strIconFile, L"C:\\x.ico");
    EXPECT_EQ(category.m_nIconIndex, 3);
}

} // namespace
