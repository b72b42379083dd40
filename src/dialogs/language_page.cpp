#include "dialogs/language_page.h"

#include "framework/handle.h"
#include "framework/language_pack.h"
#include "framework/profile.h"
#include "framework/resources.h"
#include "resource.h"

namespace {

// The page reads and writes the current user's values only; the machine's count at start-up.
int32_t ReadUserValue(const std::wstring& keyPath, const wchar_t* name) {
    fw::RegKey key;
    DWORD value = 0;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
            ERROR_SUCCESS ||
        !fw::ReadRegDword(key.get(), name, value))
        return 0;
    return static_cast<int32_t>(value);
}

void WriteUserValue(const std::wstring& keyPath, const wchar_t* name, int32_t value) {
    fw::RegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          key.put(), nullptr) != ERROR_SUCCESS)
        return;
    const auto data = static_cast<DWORD>(value);
    ::RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                     sizeof(data));
}

} // namespace

CConfigPropertyPage6::CConfigPropertyPage6(std::wstring productKeyPath, std::wstring programPath)
    : fw::PropertyPage(IDD_PAGE_LANGUAGE), m_productKeyPath(std::move(productKeyPath)),
      m_programPath(std::move(programPath)) {
    m_bDisable = ReadUserValue(m_productKeyPath, fw::kLanguagePackDisableValue);
}

bool CConfigPropertyPage6::OnInitDialog(HWND) {
    const auto stored =
        static_cast<LANGID>(ReadUserValue(m_productKeyPath, fw::kLanguageIdValue) & 0xFFFF);
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
        WriteUserValue(m_productKeyPath, fw::kLanguageIdValue,
                       static_cast<int32_t>(DataAt(IDC_LANGUAGES, selected) & 0xFFFF));
    m_bDisable = IsChecked(IDC_NO_LANGUAGE_PACK) ? 1 : 0;
    WriteUserValue(m_productKeyPath, fw::kLanguagePackDisableValue, m_bDisable);
    return true;
}
