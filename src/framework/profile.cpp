#include "framework/profile.h"

#include "framework/handle.h"

#include <cstdint>

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

std::optional<int32_t> ParseProfileInt(std::wstring_view text) noexcept {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.remove_suffix(1);
    const bool negative = !text.empty() && text.front() == L'-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    int64_t n = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        n = n * 10 + (c - L'0');
    }
    if (negative)
        n = -n;
    if (n < INT32_MIN || n > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(n);
}

void Profile::UseIniFile(std::wstring path) {
    iniFile_ = std::move(path);
    unwritten_.clear();
}

std::wstring Profile::SectionPath(const wchar_t* section) const {
    if (!section || !*section)
        return ProductKeyPath();
    return ProductKeyPath() + L"\\" + section;
}

std::wstring Profile::IniSection(const wchar_t* section) const {
    return section && *section ? std::wstring(section) : application_;
}

std::optional<int32_t> Profile::TryGetInt(const wchar_t* section, const wchar_t* entry) const {
    if (!iniFile_.empty()) {
        const std::wstring name = IniSection(section);
        if (const auto kept = unwritten_.find({name, entry}); kept != unwritten_.end())
            return kept->second;
        wchar_t text[32] = {};
        ::GetPrivateProfileStringW(name.c_str(), entry, L"", text, 32, iniFile_.c_str());
        return ParseProfileInt(text);
    }
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
    if (!iniFile_.empty()) {
        const std::wstring name = IniSection(section);
        if (::WritePrivateProfileStringW(name.c_str(), entry, std::to_wstring(value).c_str(),
                                         iniFile_.c_str())) {
            unwritten_.erase({name, entry});
            return true;
        }
        unwritten_[{name, entry}] = value;
        return false;
    }
    RegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0,
                          KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD data = static_cast<DWORD>(value);
    return ::RegSetValueExW(key.get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                            sizeof(data)) == ERROR_SUCCESS;
}

} // namespace fw
