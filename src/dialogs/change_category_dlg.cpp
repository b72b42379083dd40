#include "dialogs/change_category_dlg.h"

#include <commctrl.h>

#include "dialogs/category_order.h"
#include "framework/resources.h"
#include "ui/image_lists.h"
#include "model/voice_book.h"
#include "resource.h"
#include "shell/messages.h"

INT_PTR CChangeCategoryDlg::DoModal(HWND parent) {
    return fw::Dialog::DoModal(IDD_CHANGE_ORDER, parent);
}

bool CChangeCategoryDlg::OnInitDialog(HWND) {
    HWND list = Item(IDC_CATEGORY_LIST);
    // The lists are the program's; the template's style keeps the control from freeing them.
    ListView_SetImageList(list, icons::List(icons::ListKind::LargeColour), LVSIL_NORMAL);
    ListView_SetImageList(list, icons::List(icons::ListKind::SmallColour), LVSIL_SMALL);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    RECT client{};
    ::GetClientRect(list, &client);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = client.right - client.left;
    ListView_InsertColumn(list, 0, &column);

    m_order = dialogs::ListedChildren(m_root);
    for (size_t i = 0; i < m_order.size(); ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(m_order[i]->m_strName.c_str());
        item.iImage = icons::GetImage(*m_order[i]);
        item.lParam = reinterpret_cast<LPARAM>(m_order[i]);
        ListView_InsertItem(list, &item);
    }
    return true;
}

void CChangeCategoryDlg::ShowEntry(int index) {
    oVoiceBook* node = m_order[static_cast<size_t>(index)];
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(node->m_strName.c_str());
    item.iImage = icons::GetImage(*node);
    item.lParam = reinterpret_cast<LPARAM>(node);
    ListView_SetItem(Item(IDC_CATEGORY_LIST), &item);
}

void CChangeCategoryDlg::Move(int step) {
    HWND list = Item(IDC_CATEGORY_LIST);
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (selected < 0) {
        shell::ShowMessage(hwnd_, fw::LoadResString(IDS_NO_SELECTED_GROUP),
                           MB_OK | MB_ICONINFORMATION);
        return;
    }
    const int to = dialogs::MoveEntry(m_order, selected, step);
    if (to < 0)
        return;
    ShowEntry(selected);
    ShowEntry(to);
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list, selected, 0, both);
    ListView_SetItemState(list, to, both, both);
    ListView_EnsureVisible(list, to, FALSE);
}

void CChangeCategoryDlg::OnCommand(UINT id, UINT code, HWND control) {
    if ((id == IDC_MOVE_UP || id == IDC_MOVE_DOWN) && code == BN_CLICKED) {
        Move(id == IDC_MOVE_UP ? -1 : 1);
        return;
    }
    fw::Dialog::OnCommand(id, code, control);
}

void CChangeCategoryDlg::OnOK() {
    dialogs::RelinkChildren(m_root, m_order);
    EndDialog(IDOK);
}
