#include "setup/first_scan_dlg.h"

#include <commctrl.h>

#include "framework/resources.h"
#include "resource.h"

HWND CFirstScanDlg::Create(HWND owner) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_ANIMATE_CLASS};
    ::InitCommonControlsEx(&icc);
    HWND hwnd = CreateModeless(IDD_FIRST_SCAN, owner);
    if (!hwnd)
        return nullptr;
    // Without taking the activation: the bar it belongs to may still be setting itself up.
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd);
    return hwnd;
}

bool CFirstScanDlg::OnInitDialog(HWND) {
    ::SetDlgItemTextW(hwnd_, IDC_SCAN_TEXT, m_strText.c_str());
    // The clip is part of the program itself, whichever module the texts come from.
    HWND animation = Item(IDC_SCAN_ANIMATION);
    if (animation && Animate_OpenEx(animation, fw::ProgramModule(), MAKEINTRESOURCEW(IDR_SCAN_AVI)))
        Animate_Play(animation, 0, -1, -1);
    return true;
}
