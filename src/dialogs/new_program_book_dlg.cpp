#include "dialogs/new_program_book_dlg.h"

#include <shellapi.h>
#include <shlobj.h>

#include <iterator>
#include <vector>

#include "resource.h"
#include "shell/browse_folder.h"

namespace {

constexpr int kNameChars = 256;
constexpr int kTypeRadios[] = {IDC_TYPE_EMPTY, IDC_TYPE_GROUP, IDC_TYPE_VIRTUAL, IDC_TYPE_FOLDER};
constexpr UINT kChooserFlags = 0x50; // the new dialog style with an edit box
constexpr size_t kDisplayNameUnits = MAX_PATH;

bool IsConsumerFamily() {
    return (::GetVersion() & 0x80000000u) != 0;
}

} // namespace

INT_PTR CNewProgramBookDlg::DoModal(HWND parent) {
    return fw::Dialog::DoModal(IDD_NEW_CATEGORY, parent);
}

bool CNewProgramBookDlg::OnInitDialog(HWND) {
    LimitText(IDC_CATEGORY_NAME, kNameChars);
    LimitText(IDC_GROUP_NAME, kNameChars);
    FillVirtualFolders();
    Select(IDC_VIRTUAL_FOLDER, 0);
    ShowControls();
    ApplyType();
    return true;
}

void CNewProgramBookDlg::FillVirtualFolders() {
    m_virtualFolders.Attach(Item(IDC_VIRTUAL_FOLDER));
    for (int id : dialogs::kVirtualFolders) {
        fw::Pidl list;
        if (FAILED(::SHGetSpecialFolderLocation(hwnd_, id, list.put())) || !list)
            continue;
        SHFILEINFOW info{};
        if (!::SHGetFileInfoW(reinterpret_cast<const wchar_t*>(list.get()), 0, &info, sizeof(info),
                              SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_ICON | SHGFI_SMALLICON))
            continue;
        const fw::Icon icon(info.hIcon);
        m_virtualFolders.AddItem(info.szDisplayName, icon.get(), id);
    }
}

void CNewProgramBookDlg::ShowControls() {
    for (size_t i = 0; i < std::size(kTypeRadios); ++i)
        SetChecked(kTypeRadios[i], static_cast<int>(i) == m_request.type);
    SetItemText(IDC_CATEGORY_NAME, m_request.name);
    SetItemText(IDC_GROUP_NAME, m_request.groupName);
    SetChecked(IDC_SCAN_SUB_FOLDERS, m_request.scanSubFolders);
    SetItemText(IDC_FOLDER_NAME, m_request.folderName);
}

void CNewProgramBookDlg::ReadControls() {
    for (size_t i = 0; i < std::size(kTypeRadios); ++i) {
        if (IsChecked(kTypeRadios[i]))
            m_request.type = static_cast<int>(i);
    }
    m_request.name = ItemText(IDC_CATEGORY_NAME);
    m_request.groupName = ItemText(IDC_GROUP_NAME);
    m_request.scanSubFolders = IsChecked(IDC_SCAN_SUB_FOLDERS);
    m_request.folderName = ItemText(IDC_FOLDER_NAME);
}

void CNewProgramBookDlg::ApplyType() {
    const dialogs::CategoryTypeControls c =
        dialogs::EnabledControls(m_request.type, IsConsumerFamily());
    EnableItem(IDC_CATEGORY_NAME, c.name);
    EnableItem(IDC_BROWSE, c.browse);
    EnableItem(IDC_BROWSE_COMMON, c.browseCommon);
    EnableItem(IDC_SCAN_SUB_FOLDERS, c.scanSubFolders);
    EnableItem(IDC_VIRTUAL_FOLDER, c.virtualFolders);
    EnableItem(IDC_CHOOSE_FOLDER, c.chooseFolder);
}

void CNewProgramBookDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (code == BN_CLICKED) {
        for (size_t i = 0; i < std::size(kTypeRadios); ++i) {
            if (id != static_cast<UINT>(kTypeRadios[i]))
                continue;
            ReadControls();
            m_request.type = static_cast<int>(i);
            ShowControls();
            ApplyType();
            if (m_request.type == dialogs::kFolderCategory && !m_request.folderList)
                OnChooseFolder();
            return;
        }
        switch (id) {
        case IDC_BROWSE:
            OnBrowseGroup(CSIDL_PROGRAMS);
            return;
        case IDC_BROWSE_COMMON:
            OnBrowseGroup(CSIDL_COMMON_PROGRAMS);
            return;
        case IDC_CHOOSE_FOLDER:
            OnChooseFolder();
            return;
        default:
            break;
        }
    }
    fw::Dialog::OnCommand(id, code, control);
}

void CNewProgramBookDlg::OnDrawItem(UINT id, DRAWITEMSTRUCT& item) {
    if (id != IDC_VIRTUAL_FOLDER) {
        SetMsgHandled(false);
        return;
    }
    m_virtualFolders.DrawItem(item);
}

void CNewProgramBookDlg::OnBrowseGroup(int rootCsidl) {
    ReadControls();
    std::wstring name, path;
    if (!shell::BrowseForFolder(hwnd_, rootCsidl, name, path))
        return;
    m_request.groupName = name;
    m_request.groupPath = path;
    ShowControls();
}

void CNewProgramBookDlg::OnChooseFolder() {
    ReadControls();
    std::vector<wchar_t> name(kDisplayNameUnits, L'\0');
    BROWSEINFOW info{};
    info.hwndOwner = hwnd_;
    info.pszDisplayName = name.data();
    info.ulFlags = kChooserFlags;
    fw::Pidl chosen(::SHBrowseForFolderW(&info));
    if (!chosen)
        return;
    name.back() = L'\0';
    m_request.folderName = name.data();
    m_request.folderList = std::move(chosen);
    ShowControls();
}

void CNewProgramBookDlg::OnOK() {
    ReadControls();
    const int selected = Selection(IDC_VIRTUAL_FOLDER);
    if (selected >= 0) {
        m_request.virtualFolderId = static_cast<int>(DataAt(IDC_VIRTUAL_FOLDER, selected));
        m_request.virtualFolderName = StringAt(IDC_VIRTUAL_FOLDER, selected);
    }
    EndDialog(IDOK);
}
