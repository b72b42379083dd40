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

CConfigPropertyPage2::CConfigPropertyPage2() : fw::PropertyPage(IDD_PAGE_TOOLBAR) {}

bool CConfigPropertyPage2::OnInitDialog(HWND) {
    AddString(IDC_ICON_ACTION, fw::LoadResString(IDS_NO_TOOLTIP_NAME));
    AddString(IDC_ICON_ACTION, fw::LoadResString(IDS_DISPLAY));
    return true;
}

void CConfigPropertyPage2::OnSetActive() {
    ::SendMessageW(Item(IDC_HOTKEY), HKM_SETHOTKEY, HotKeyControlValue(m_nHotKeyCode), 0);
    ::SendMessageW(Item(IDC_FIND_HOTKEY), HKM_SETHOTKEY, HotKeyControlValue(m_nFindHotKeyCode), 0);
    Select(IDC_ICON_ACTION, m_nIconAction);
    SetChecked(IDC_TOOLTIP_BUTTONS, m_bTooltipButton != 0);
    SetChecked(IDC_TOOLTIP_TABS, m_bTooltipTab != 0);
    SetChecked(IDC_ICON_MONO, m_bIconMono != 0);
}

void CConfigPropertyPage2::StoreControls() {
    const auto hotKey = static_cast<WORD>(::SendMessageW(Item(IDC_HOTKEY), HKM_GETHOTKEY, 0, 0));
    m_nHotKeyCode = HotKeyCodeFromControl(hotKey);
    m_nFindHotKeyCode = HotKeyCodeFromControl(
        static_cast<WORD>(::SendMessageW(Item(IDC_FIND_HOTKEY), HKM_GETHOTKEY, 0, 0)));
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
