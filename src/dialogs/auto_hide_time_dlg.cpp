#include "dialogs/auto_hide_time_dlg.h"

#include <commctrl.h>

#include "framework/resources.h"
#include "resource.h"
#include "shell/messages.h"

std::wstring FormatRangeMessage(const std::wstring& text, int low, int high) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() &&
            (text[i + 1] == L'1' || text[i + 1] == L'2')) {
            out += std::to_wstring(text[i + 1] == L'1' ? low : high);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<std::wstring> DelayInputProblem(std::optional<int> value) {
    if (!value)
        return fw::LoadResString(IDS_ENTER_INTEGER);
    if (*value < kMinAutoHideDelay || *value > kMaxAutoHideDelay)
        return FormatRangeMessage(fw::LoadResString(IDS_ENTER_INTEGER_RANGE), kMinAutoHideDelay,
                                  kMaxAutoHideDelay);
    return std::nullopt;
}

INT_PTR CAutoHideTimeDlg::DoModal(HWND owner) {
    return fw::Dialog::DoModal(IDD_AUTO_HIDE_TIME, owner);
}

bool CAutoHideTimeDlg::OnInitDialog(HWND) {
    SetChecked(IDC_USE_DELAY, m_bUseDelay != 0);
    SetItemInt(IDC_DELAY, m_nDelay);
    ::SendMessageW(Item(IDC_DELAY_SPIN), UDM_SETRANGE32, kMinAutoHideDelay, kMaxAutoHideDelay);
    ::SendMessageW(Item(IDC_DELAY_SPIN), UDM_SETPOS32, 0, m_nDelay);
    EnableDelay();
    return true;
}

void CAutoHideTimeDlg::EnableDelay() {
    const bool use = IsChecked(IDC_USE_DELAY);
    EnableItem(IDC_DELAY, use);
    EnableItem(IDC_DELAY_SPIN, use);
}

void CAutoHideTimeDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDC_USE_DELAY && code == BN_CLICKED) {
        EnableDelay();
        return;
    }
    fw::Dialog::OnCommand(id, code, control);
}

void CAutoHideTimeDlg::OnOK() {
    const std::optional<int> delay = ItemInt(IDC_DELAY);
    if (const auto problem = DelayInputProblem(delay)) {
        shell::ShowMessage(hwnd_, *problem, MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(Item(IDC_DELAY));
        ::SendMessageW(Item(IDC_DELAY), EM_SETSEL, 0, -1);
        return;
    }
    m_bUseDelay = IsChecked(IDC_USE_DELAY) ? 1 : 0;
    m_nDelay = *delay;
    EndDialog(IDOK);
}
