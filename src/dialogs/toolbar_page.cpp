#include "dialogs/toolbar_page.h"

#include <commctrl.h>

#include "framework/resources.h"
#include "resource.h"

WORD HotKeyControlValue(int32_t hotKeyCode) {
    if (hotKeyCode <= 0)
        return 0;
    const auto key = static_cast<BYTE>(hotKeyCode & 0xFF);
    const auto modifiers = static_cast<BYTE>((hotKeyCode >> 16) & 0xFF);
    return MAKEWORD(key, modifiers);
}

int32_t HotKeyCodeFromControl(WORD controlValue) {
    return (static_cast<int32_t>(HIBYTE(controlValue)) << 16) | LOBYTE(controlValue);
}

namespace {
// The sheet opens at its owner's corner, which for a bar docked at the bottom or the right
// lies at the screen's edge: centred in the work area of the owner's monitor instead.
void CentreOnOwnersMonitor(HWND sheet) {
    HWND owner = ::GetWindow(sheet, GW_OWNER);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : sheet, MONITOR_DEFAULTTOPRIMARY),
                           &info))
        return;
    RECT r{};
    ::GetWindowRect(sheet, &r);
    const RECT& work = info.rcWork;
    const int x = work.left + ((work.right - work.left) - (r.right - r.left)) / 2;
    const int y = work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2;
    ::SetWindowPos(sheet, nullptr, x > work.left ? x : work.left, y > work.top ? y : work.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

CConfigPropertyPage2::CConfigPropertyPage2() : fw::PropertyPage(IDD_PAGE_TOOLBAR) {}

bool CConfigPropertyPage2::OnInitDialog(HWND) {
    AddString(IDC_ICON_ACTION, fw::LoadResString(IDS_NO_TOOLTIP_NAME));
    AddString(IDC_ICON_ACTION, fw::LoadResString(IDS_DISPLAY));
    return true;
}

void CConfigPropertyPage2::OnSetActive() {
    if (!m_bPlaced) {
        m_bPlaced = true;
        CentreOnOwnersMonitor(::GetParent(hwnd_));
    }
    ::SendMessageW(Item(IDC_HOTKEY), HKM_SETHOTKEY, HotKeyControlValue(m_nHotKeyCode), 0);
    Select(IDC_ICON_ACTION, m_nIconAction);
    SetChecked(IDC_TOOLTIP_BUTTONS, m_bTooltipButton != 0);
    SetChecked(IDC_TOOLTIP_TABS, m_bTooltipTab != 0);
    SetChecked(IDC_ICON_MONO, m_bIconMono != 0);
}

void CConfigPropertyPage2::StoreControls() {
    const auto hotKey = static_cast<WORD>(::SendMessageW(Item(IDC_HOTKEY), HKM_GETHOTKEY, 0, 0));
    m_nHotKeyCode = HotKeyCodeFromControl(hotKey);
    m_nIconAction = Selection(IDC_ICON_ACTION);
    m_bTooltipButton = IsChecked(IDC_TOOLTIP_BUTTONS) ? 1 : 0;
    m_bTooltipTab = IsChecked(IDC_TOOLTIP_TABS) ? 1 : 0;
    m_bIconMono = IsChecked(IDC_ICON_MONO) ? 1 : 0;
}

bool CConfigPropertyPage2::OnKillActive() {
    StoreControls();
    return true;
}

bool CConfigPropertyPage2::OnApply() {
    // Only the page on show holds values its leaving has not stored yet.
    if (::SendMessageW(::GetParent(hwnd_), PSM_GETCURRENTPAGEHWND, 0, 0) ==
        reinterpret_cast<LRESULT>(hwnd_))
        StoreControls();
    return true;
}
