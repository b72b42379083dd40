#include "dialogs/edit_program_command_dlg.h"

#include <iterator>

#include "dialogs/file_open.h"
#include "framework/resources.h"
#include "ui/image_lists.h"
#include "model/voice_book.h"
#include "resource.h"
#include "shell/browse_folder.h"
#include "shell/messages.h"
#include "shell/program_icon.h"

namespace {
constexpr UINT kShowStateTexts[] = {IDS_SHOW_DEFAULT, IDS_SHOW_MINIMIZED, IDS_SHOW_MAXIMIZED};
constexpr int kShowStates[] = {1, 2, 3};

std::wstring Cut(std::wstring text, int chars) {
    if (text.size() > static_cast<size_t>(chars))
        text.resize(static_cast<size_t>(chars));
    return text;
}
} // namespace

CEditProgramCommandDlg::CEditProgramCommandDlg(oVoiceBook* node, dialogs::RecentIconFiles& recent)
    : m_pNode(node), m_recent(recent) {
    if (!node)
        return;
    m_values = dialogs::ValuesOf(*node);
    icons::GetImage(*node);
    m_hStartIcon = icons::GetIconHandle(*node, true, false, false);
}

INT_PTR CEditProgramCommandDlg::DoModal(HWND parent) {
    return fw::Dialog::DoModal(IDD_EDIT_BUTTON, parent);
}

bool CEditProgramCommandDlg::OnInitDialog(HWND) {
    LimitText(IDC_BUTTON_NAME, dialogs::kNameChars);
    LimitText(IDC_TARGET, dialogs::kTargetChars);
    LimitText(IDC_ARGUMENTS, dialogs::kArgumentsChars);
    LimitText(IDC_WORK_DIR, dialogs::kWorkDirChars);
    m_preview.Attach(Item(IDC_ICON_PREVIEW));
    m_preview.Show(std::move(m_hStartIcon));
    ShowValues();
    for (size_t i = 0; i < std::size(kShowStates); ++i)
        AddString(IDC_SHOW_STATE, fw::LoadResString(kShowStateTexts[i]), kShowStates[i]);
    if (!SelectData(IDC_SHOW_STATE, m_values.showCmd))
        Select(IDC_SHOW_STATE, 0);
    return true;
}

void CEditProgramCommandDlg::OnDestroy() {
    m_preview.Release();
    SetMsgHandled(false);
}

void CEditProgramCommandDlg::ShowValues() {
    SetItemText(IDC_BUTTON_NAME, m_values.name);
    SetItemText(IDC_TARGET, m_values.command);
    SetItemText(IDC_ARGUMENTS, m_values.arguments);
    SetItemText(IDC_WORK_DIR, m_values.workDir);
}

void CEditProgramCommandDlg::ReadBoxes() {
    m_values.name = Cut(ItemText(IDC_BUTTON_NAME), dialogs::kNameChars);
    m_values.command = Cut(ItemText(IDC_TARGET), dialogs::kTargetChars);
    m_values.arguments = Cut(ItemText(IDC_ARGUMENTS), dialogs::kArgumentsChars);
    m_values.workDir = Cut(ItemText(IDC_WORK_DIR), dialogs::kWorkDirChars);
    const int state = Selection(IDC_SHOW_STATE);
    if (state >= 0)
        m_values.showCmd = static_cast<int>(DataAt(IDC_SHOW_STATE, state));
}

void CEditProgramCommandDlg::ShowTargetIcon() {
    fw::Icon large;
    shell::GetProgramIcon(m_values.command, &large, nullptr);
    m_preview.Show(std::move(large));
}

void CEditProgramCommandDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_BROWSE:
            OnBrowseProgram();
            return;
        case IDC_BROWSE_TARGET_FOLDER:
            OnBrowseTargetFolder();
            return;
        case IDC_BROWSE_WORK_DIR:
            OnBrowseWorkDir();
            return;
        case IDC_CHANGE_ICON:
            OnChangeIcon();
            return;
        default:
            break;
        }
    }
    fw::Dialog::OnCommand(id, code, control);
}

// Every browse keeps what the user typed in the other boxes.
void CEditProgramCommandDlg::OnBrowseProgram() {
    std::wstring path;
    if (!dialogs::ChooseFileToOpen(hwnd_, IDS_PROGRAM_FILTER, path))
        return;
    ReadBoxes();
    m_values.name = Cut(dialogs::NameWithoutExtension(path), dialogs::kNameChars);
    m_values.command = Cut(path, dialogs::kTargetChars);
    m_values.iconFile.clear();
    m_values.iconIndex = 0;
    ShowValues();
    ShowTargetIcon();
}

void CEditProgramCommandDlg::OnBrowseTargetFolder() {
    std::wstring name, path;
    const shell::FolderChoice choice = shell::ChooseFolder(hwnd_, 0, name, path);
    // A cancelled chooser leaves everything as the user had it.
    if (choice == shell::FolderChoice::Cancelled)
        return;
    ReadBoxes();
    if (choice == shell::FolderChoice::Chosen) {
        m_values.name = Cut(name, dialogs::kNameChars);
        m_values.command = Cut(path, dialogs::kTargetChars);
    } else {
        m_values.name.clear();
        m_values.command.clear();
    }
    m_values.iconFile.clear();
    m_values.iconIndex = 0;
    ShowTargetIcon();
    ShowValues();
}

void CEditProgramCommandDlg::OnBrowseWorkDir() {
    std::wstring name, path;
    if (shell::ChooseFolder(hwnd_, 0, name, path) != shell::FolderChoice::Chosen)
        return;
    ReadBoxes();
    m_values.workDir = Cut(path, dialogs::kWorkDirChars);
    ShowValues();
}

void CEditProgramCommandDlg::OnChangeIcon() {
    ReadBoxes();
    std::wstring file = m_values.iconFile;
    int index = m_values.iconIndex;
    if (file.empty()) {
        file = m_values.command;
        index = 0;
    }
    fw::Icon icon;
    if (!dialogs::ChooseIcon(hwnd_, m_recent, file, index, icon))
        return;
    m_values.iconFile = file;
    m_values.iconIndex = index;
    m_preview.Show(std::move(icon));
}

void CEditProgramCommandDlg::OnOK() {
    ReadBoxes();
    if (auto refusal = dialogs::CheckButtonValues(m_values, IDC_BUTTON_NAME, IDC_TARGET)) {
        shell::ShowMessage(hwnd_, dialogs::RefusalText(*refusal), MB_OK | refusal->icon);
        if (HWND box = Item(refusal->control))
            ::SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
        return;
    }
    if (m_pNode)
        dialogs::WriteButtonValues(m_values, *m_pNode);
    EndDialog(IDOK);
}
