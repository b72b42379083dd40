#pragma once
// Integer settings under HKEY_CURRENT_USER\Software\<company>\<application>\<section>, or in
// an INI file when the program keeps its settings beside itself.
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace fw {

class Profile {
public:
    Profile() = default;
    Profile(std::wstring company, std::wstring application)
        : company_(std::move(company)), application_(std::move(application)) {}

    void SetRegistryKey(std::wstring company) { company_ = std::move(company); }
    void SetApplicationName(std::wstring application) { application_ = std::move(application); }
    // "Software\<company>\<application>"
    std::wstring ProductKeyPath() const;

    // From now on the settings live in the INI file `path` instead of the registry: each
    // section is a section of the file, the values of the product key itself lie in the
    // section named after the application, and every value is a signed 32-bit decimal.
    void UseIniFile(std::wstring path);
    const std::wstring& IniFile() const noexcept { return iniFile_; }

    // `section` null or empty: the product key itself. A value that is absent, or not a
    // 4-byte REG_DWORD (in a file: not a decimal number in range), yields the default.
    int32_t GetInt(const wchar_t* section, const wchar_t* entry, int32_t defaultValue) const;
    // The stored value, or nothing when it is absent or not a 4-byte REG_DWORD.
    std::optional<int32_t> TryGetInt(const wchar_t* section, const wchar_t* entry) const;
    // Written as REG_DWORD holding the signed value (in a file, as its decimal text). A
    // value the file does not take is kept in memory and read from there for the rest of
    // the run; false then.
    bool WriteInt(const wchar_t* section, const wchar_t* entry, int32_t value) const;

private:
    std::wstring SectionPath(const wchar_t* section) const;
    std::wstring IniSection(const wchar_t* section) const;

    std::wstring company_;
    std::wstring application_;
    std::wstring iniFile_;
    // Values the INI file did not take, by section and entry.
    mutable std::map<std::pair<std::wstring, std::wstring>, int32_t> unwritten_;
};

// A signed 32-bit decimal as an INI file holds it (blanks around it allowed); nothing for
// any other text.
std::optional<int32_t> ParseProfileInt(std::wstring_view text) noexcept;

// Reads a 4-byte REG_DWORD value of an open key; false when absent or of another type or size.
bool ReadRegDword(HKEY key, const wchar_t* name, DWORD& value) noexcept;

} // namespace fw
