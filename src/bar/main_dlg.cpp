#include "bar/main_dlg.h"

#include "app/main_app.h"
#include "framework/resources.h"
#include "resource.h"

CMainDlg::CMainDlg() {
    m_hIcon.reset(fw::LoadResIcon(IDI_MAIN));
    m_hSmallIcon.reset(fw::LoadResIcon(IDI_MAIN, 16, 16));
}

CMainDlg::~CMainDlg() = default;

bool CMainDlg::OnInitDialog(HWND) {
    ::SetWindowTextW(hwnd_, theApp().Title().c_str());
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.get()));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon.get()));

    RECT client{};
    ::GetClientRect(hwnd_, &client);
    m_wndToolBar.Create(client, hwnd_, IDC_PROGRAM_TOOLBAR);

    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    return false;
}

bool CMainDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case ID_APP_EXIT:
        ::DestroyWindow(hwnd_);
        return true;
    default:
        return fw::Dialog::OnCommand(id, code, control);
    }
}

void CMainDlg::OnSize(UINT, int cx, int cy) {
    if (m_wndToolBar.hwnd() && cx > 0 && cy > 0)
        ::MoveWindow(m_wndToolBar.hwnd(), 0, 0, cx, cy, TRUE);
}

void CMainDlg::OnDestroy() {
    m_wndToolBar.SaveIfPending();
    theApp().SavePreferences();
    SetMsgHandled(false);
}

void CMainDlg::OnEndSession(bool ending) {
    if (ending) {
        m_wndToolBar.SaveIfPending();
        theApp().SavePreferences();
    }
    SetMsgHandled(false);
}
