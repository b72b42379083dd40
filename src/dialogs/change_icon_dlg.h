#pragma once
// The icon picker: a file of icons chosen from the recently used ones or browsed to, and a
// grid of the file's icons to pick one from.
#include <string>

#include "dialogs/icon_files.h"
#include "framework/dialog.h"

class CChangeIconDlg : public fw::Dialog {
public:
    explicit CChangeIconDlg(dialogs::RecentIconFiles& recent = dialogs::RecentIconFilesOfRun());
    ~CChangeIconDlg() override { Destroy(); }

    // The file and icon to start with; a bare program name is looked for like a launch.
    void SetIcon(const std::wstring& file, int index) {
        m_strFile = file;
        m_nIndex = index;
    }
    INT_PTR DoModal(HWND owner);
    using fw::Dialog::DoModal;

    // The chosen icon after OK.
    const std::wstring& File() const noexcept { return m_strFile; }
    int Index() const noexcept { return m_nIndex; }

protected:
    bool OnInitDialog(HWND focus) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDrawItem(UINT id, DRAWITEMSTRUCT& item) override;
    void OnOK() override;

private:
    // Shows the icons of m_strFile and selects the one of m_nIndex.
    void FillGrid();
    // Selects `path` among the files, inserting it at the top when absent.
    void SelectFile(const std::wstring& path);
    void ShowFile(const std::wstring& path);

    dialogs::RecentIconFiles& m_recent;
    std::wstring m_strFile;
    int m_nIndex = 0;
    int m_nIconSize = 32; // the grid's icons, at the dialog's resolution
    bool m_bEdited = false;
    bool m_bSettingText = false; // changes of the field made here are not the user's typing
};
