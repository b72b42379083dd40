#pragma once
// The new-category dialog: an empty category, or one linked to a group of the Start menu's
// programs, to a virtual folder of the shell or to any folder.
#include "dialogs/new_category.h"
#include "framework/dialog.h"
#include "ui/x_combo_box.h"

class CNewProgramBookDlg : public fw::Dialog {
public:
    CNewProgramBookDlg() = default;
    ~CNewProgramBookDlg() override { Destroy(); }

    INT_PTR DoModal(HWND parent);
    using fw::Dialog::DoModal;

    // The answer; its folder list passes to whoever takes it after OK.
    dialogs::NewCategoryRequest& Request() noexcept { return m_request; }

protected:
    bool OnInitDialog(HWND focus) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDrawItem(UINT id, DRAWITEMSTRUCT& item) override;
    void OnOK() override;

private:
    void FillVirtualFolders();
    void ReadControls();
    void ShowControls();
    void ApplyType();
    void OnBrowseGroup(int rootCsidl);
    void OnChooseFolder();

    dialogs::NewCategoryRequest m_request;
    ui::CXComboBox m_virtualFolders;
};
