#pragma once
// The order of the top-level categories: moved up and down in a list, relinked on OK.
#include <vector>

#include "framework/dialog.h"

class oVoiceBook;

class CChangeCategoryDlg : public fw::Dialog {
public:
    explicit CChangeCategoryDlg(oVoiceBook& root) : m_root(root) {}
    ~CChangeCategoryDlg() override { Destroy(); }

    INT_PTR DoModal(HWND parent);
    using fw::Dialog::DoModal;

protected:
    bool OnInitDialog(HWND focus) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override;

private:
    void Move(int step);
    void ShowEntry(int index);

    oVoiceBook& m_root;
    std::vector<oVoiceBook*> m_order;
};
