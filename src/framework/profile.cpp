#include "framework/profile.h"

#include "framework/handle.h"

namespace fw {

bool ReadRegDword(HKEY key, const wchar_t* name, DWORD& value) noexcept {
    DWORD type = 0;
    BYTE data[8] = {};
    DWORD size = sizeof(data);
    // Read into a larger buffer so that a longer value is recognised as the wrong size.
    const LONG rc = ::RegQueryValueExW(key, name, nullptr, &type, data, &size);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(DWORD))
        return false;
    value = static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) |
            (static_cast<DWORD>(data[2]) << 16) | (static_cast<DWORD>(data[3]) << 24);
    return true;
}

std::wstring Profile::ProductKeyPath() const {
    return L"Software\\" + company_ + L"\\" + application_;
}

std::wstring Profile::SectionPath(const wchar_t* section) const {
    return ProductKeyPath() + L"\\" + section;
}

std::optional<int32_t> Profile::TryGetInt(const wchar_t* section, const wchar_t* entry) const {
    RegKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_QUERY_VALUE,
                        key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD value = 0;
    if (!ReadRegDword(key.get(), entry, value))
        return std::nullopt;
    return static_cast<int32_t>(value);
}

int32_t Profile::GetInt(const wchar_t* section, const wchar_t* entry, int32_t defaultValue) const {
    return TryGetInt(section, entry).value_or(defaultValue);
}

bool Profile::WriteInt(const wchar_t* section, const wchar_t* entry, int32_t value) const {
    RegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0,
                          KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD data = static_cast<DWORD>(value);
    return ::RegSetValueExW(key.get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                            sizeof(data)) == ERROR_SUCCESS;
}

} // namespace fw
