#pragma once
// Integer settings under HKEY_CURRENT_USER\Software\<company>\<application>\<section>.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

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

    // A value that is absent, or not a 4-byte REG_DWORD, yields the default.
    int32_t GetInt(const wchar_t* section, const wchar_t* entry, int32_t defaultValue) const;
    // The stored value, or nothing when it is absent or not a 4-byte REG_DWORD.
    std::optional<int32_t> TryGetInt(const wchar_t* section, const wchar_t* entry) const;
    // Written as REG_DWORD holding the signed value; failures are silent.
    bool WriteInt(const wchar_t* section, const wchar_t* entry, int32_t value) const;

private:
    std::wstring SectionPath(const wchar_t* section) const;

    std::wstring company_;
    std::wstring application_;
};

// Reads a 4-byte REG_DWORD value of an open key; false when absent or of another type or size.
bool ReadRegDword(HKEY key, const wchar_t* name, DWORD& value) noexcept;

} // namespace fw
