#include "dialogs/edit_word_book_dlg.h"

#include "dialogs/button_values.h"
#include "ui/image_lists.h"
#include "model/voice_book.h"
#include "resource.h"
#include "shell/messages.h"

CEditWordBookDlg::CEditWordBookDlg(oVoiceBook& category, dialogs::RecentIconFiles& recent)
    : m_category(category), m_recent(recent), m_strIconFile(category.m_strIconFile),
      m_nIconIndex(category.m_nIconIndex) {}

INT_PTR CEditWordBookDlg::DoModal(HWND parent) {
    return fw::Dialog::DoModal(IDD_EDIT_CATEGORY, parent);
}

bool CEditWordBookDlg::OnInitDialog(HWND) {
    LimitText(IDC_CATEGORY_NAME, dialogs::kNameChars);
    SetItemText(IDC_CATEGORY_NAME, m_category.m_strName);
    m_preview.Attach(Item(IDC_ICON_PREVIEW));
    icons::GetImage(m_category);
    m_preview.Show(icons::GetIconHandle(m_category, true, false, false));
    return true;
}

void CEditWordBookDlg::OnDestroy() {
    m_preview.Release();
    SetMsgHandled(false);
}

void CEditWordBookDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDC_CHANGE_ICON && code == BN_CLICKED) {
        std::wstring file = m_strIconFile;
        int index = file.empty() ? 0 : m_nIconIndex;
        fw::Icon icon;
        if (dialogs::ChooseIcon(hwnd_, m_recent, file, index, icon)) {
            m_strIconFile = file;
            m_nIconIndex = index;
            m_preview.Show(std::move(icon));
        }
        return;
    }
    fw::Dialog::OnCommand(id, code, control);
}

void CEditWordBookDlg::OnOK() {
    std::wstring name = ItemText(IDC_CATEGORY_NAME);
    if (name.size() > static_cast<size_t>(dialogs::kNameChars))
        name.resize(static_cast<size_t>(dialogs::kNameChars));
    if (auto refusal = dialogs::CheckCategoryName(name, IDC_CATEGORY_NAME)) {
        shell::ShowMessage(hwnd_, dialogs::RefusalText(*refusal), MB_OK | refusal->icon);
        ::SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(refusal->control)),
                       TRUE);
        return;
    }
    m_category.SetName(name.c_str());
    m_category.SetIcon(m_strIconFile.c_str(), m_nIconIndex);
    EndDialog(IDOK);
}
