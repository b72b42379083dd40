#pragma once
// The about box: the program's name, its version and its home page.
#include "framework/dialog.h"

class CAboutDlg : public fw::Dialog {
public:
    CAboutDlg() = default;
    ~CAboutDlg() override { Destroy(); }

protected:
    bool OnInitDialog(HWND focus) override;
};
