#pragma once
// Everything a button runs: its name, target, arguments, start folder, window state and
// icon. With a node the values are written back into it on OK; without one the caller
// reads them and makes the button.
#include "dialogs/button_values.h"
#include "dialogs/icon_files.h"
#include "dialogs/icon_preview.h"
#include "framework/dialog.h"

class oVoiceBook;

class CEditProgramCommandDlg : public fw::Dialog {
public:
    explicit CEditProgramCommandDlg(
        oVoiceBook* node, dialogs::RecentIconFiles& recent = dialogs::RecentIconFilesOfRun());
    ~CEditProgramCommandDlg() override { Destroy(); }

    INT_PTR DoModal(HWND parent);
    using fw::Dialog::DoModal;

    const dialogs::ButtonValues& Values() const noexcept { return m_values; }

protected:
    bool OnInitDialog(HWND focus) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroy() override;
    void OnOK() override;

private:
    void ShowValues();
    void ReadBoxes();
    void ShowTargetIcon();
    void OnBrowseProgram();
    void OnBrowseTargetFolder();
    void OnBrowseWorkDir();
    void OnChangeIcon();

    oVoiceBook* m_pNode;
    dialogs::RecentIconFiles& m_recent;
    dialogs::ButtonValues m_values;
    dialogs::IconPreview m_preview;
    fw::Icon m_hStartIcon; // the node's icon, until the window shows it
};
