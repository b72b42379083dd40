#pragma once
// Name and icon of a category; written into the node on OK.
#include "dialogs/icon_files.h"
#include "dialogs/icon_preview.h"
#include "framework/dialog.h"

class oVoiceBook;

class CEditWordBookDlg : public fw::Dialog {
public:
    explicit CEditWordBookDlg(oVoiceBook& category,
                              dialogs::RecentIconFiles& recent = dialogs::RecentIconFilesOfRun());
    ~CEditWordBookDlg() override { Destroy(); }

    INT_PTR DoModal(HWND parent);
    using fw::Dialog::DoModal;

protected:
    bool OnInitDialog(HWND focus) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroy() override;
    void OnOK() override;

private:
    oVoiceBook& m_category;
    dialogs::RecentIconFiles& m_recent;
    std::wstring m_strIconFile;
    int m_nIconIndex = 0;
    dialogs::IconPreview m_preview;
};
