#include "app/language.h"

#include "framework/language_pack.h"
#include "framework/profile.h"
#include "framework/resources.h"

DWORD ReadLanguageValue(const std::wstring& productKeyPath, const wchar_t* name) {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        fw::RegKey key;
        if (::RegOpenKeyExW(root, productKeyPath.c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
            ERROR_SUCCESS)
            continue;
        DWORD value = 0;
        if (fw::ReadRegDword(key.get(), name, value))
            return value;
    }
    return 0;
}

bool LanguageSelector::Select(const std::wstring& productKeyPath, bool setThreadLocale,
                              LCID fallbackLocale) {
    return Select(fw::ProgramPath(), productKeyPath, setThreadLocale, fallbackLocale);
}

bool LanguageSelector::Select(const std::wstring& programPath, const std::wstring& productKeyPath,
                              bool setThreadLocale, LCID fallbackLocale) {
    pack_.reset();
    abbreviation_.clear();
    language_ = 0;
    if (fallbackLocale != 0)
        fw::SetThreadAndRuntimeLocale(fallbackLocale);

    if (!productKeyPath.empty() && ReadLanguageValue(productKeyPath, kLanguagePackDisableValue)) {
        if (setThreadLocale)
            fw::SetThreadAndRuntimeLocale(fallbackLocale);
        return false;
    }

    if (!productKeyPath.empty()) {
        const auto chosen =
            static_cast<LANGID>(ReadLanguageValue(productKeyPath, kLanguageIdValue) & 0xFFFF);
        if (chosen != 0) {
            fw::LoadedPack pack = fw::TryPack(programPath, chosen);
            if (pack.module) {
                pack_ = std::move(pack.module);
                abbreviation_ = std::move(pack.abbreviation);
                language_ = chosen;
            }
        }
    }
    if (!pack_) {
        for (LANGID candidate : fw::CandidateLanguages()) {
            fw::LoadedPack pack = fw::TryPack(programPath, candidate);
            if (pack.module) {
                pack_ = std::move(pack.module);
                abbreviation_ = std::move(pack.abbreviation);
                language_ = candidate;
                break;
            }
        }
    }
    if (setThreadLocale)
        fw::SetThreadAndRuntimeLocale(language_ != 0 ? MAKELCID(language_, SORT_DEFAULT)
                                                     : fallbackLocale);
    return static_cast<bool>(pack_);
}
