#pragma once
// The desktop bar: the program's one top-level window.
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "views/program_toolbar.h"

class CMainDlg : public fw::Dialog {
public:
    CMainDlg();
    ~CMainDlg() override;

    CProgramToolBar& ProgramToolBar() noexcept { return m_wndToolBar; }

protected:
    bool OnInitDialog(HWND focus) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroy() override;
    void OnEndSession(bool ending) override;
    void OnSize(UINT type, int cx, int cy) override;
    // The bar is not closed by Enter or Escape.
    void OnOK() override {}
    void OnCancel() override {}

private:
    fw::Icon m_hIcon;
    fw::Icon m_hSmallIcon;
    CProgramToolBar m_wndToolBar;
};
