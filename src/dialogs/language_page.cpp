#include "dialogs/language_page.h"

#include "framework/language_pack.h"
#include "framework/profile.h"
#include "framework/resources.h"
#include "resource.h"

// The page reads and writes the current user's values only; the machine's count at start-up.
CConfigPropertyPage6::CConfigPropertyPage6(const fw::Profile& settings, std::wstring programPath)
    : fw::PropertyPage(IDD_PAGE_LANGUAGE), m_settings(settings),
      m_programPath(std::move(programPath)) {
    m_bDisable = m_settings.GetInt(nullptr, fw::kLanguagePackDisableValue, 0);
}

bool CConfigPropertyPage6::OnInitDialog(HWND) {
    const auto stored =
        static_cast<LANGID>(m_settings.GetInt(nullptr, fw::kLanguageIdValue, 0) & 0xFFFF);
    for (const fw::InstalledPack& pack :
         fw::EnumerateInstalledPacks(m_programPath, fw::LoadResString(IDS_DEFAULT_LANGUAGE)))
        AddString(IDC_LANGUAGES, pack.name, pack.language);
    if (!SelectData(IDC_LANGUAGES, stored))
        Select(IDC_LANGUAGES, 0);
    SetChecked(IDC_NO_LANGUAGE_PACK, m_bDisable != 0);
    EnableList();
    return true;
}

void CConfigPropertyPage6::EnableList() {
    EnableItem(IDC_LANGUAGES, !IsChecked(IDC_NO_LANGUAGE_PACK));
}

void CConfigPropertyPage6::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDC_NO_LANGUAGE_PACK && code == BN_CLICKED) {
        EnableList();
        return;
    }
    fw::PropertyPage::OnCommand(id, code, control);
}

bool CConfigPropertyPage6::OnApply() {
    // Sent only to pages that were shown, so an unseen page writes nothing.
    const int selected = Selection(IDC_LANGUAGES);
    if (selected >= 0)
        m_settings.WriteInt(nullptr, fw::kLanguageIdValue,
                            static_cast<int32_t>(DataAt(IDC_LANGUAGES, selected) & 0xFFFF));
    m_bDisable = IsChecked(IDC_NO_LANGUAGE_PACK) ? 1 : 0;
    m_settings.WriteInt(nullptr, fw::kLanguagePackDisableValue, m_bDisable);
    return true;
}
