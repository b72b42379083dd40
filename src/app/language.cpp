#include "app/language.h"

#include "framework/language_pack.h"
#include "framework/profile.h"
#include "framework/resources.h"

DWORD ReadLanguageValue(const fw::Profile& settings, const wchar_t* name) {
    // The user's own value, from the registry or the settings file beside a portable program.
    if (const std::optional<int32_t> own = settings.TryGetInt(nullptr, name))
        return static_cast<DWORD>(*own);
    fw::RegKey key;
    DWORD value = 0;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, settings.ProductKeyPath().c_str(), 0, KEY_QUERY_VALUE,
                        key.put()) == ERROR_SUCCESS &&
        fw::ReadRegDword(key.get(), name, value))
        return value;
    return 0;
}

bool LanguageSelector::Select(const fw::Profile& settings, bool setThreadLocale,
                              LCID fallbackLocale) {
    return Select(fw::ProgramPath(), settings, setThreadLocale, fallbackLocale);
}

bool LanguageSelector::Select(const std::wstring& programPath, const fw::Profile& settings,
                              bool setThreadLocale, LCID fallbackLocale) {
    pack_.reset();
    abbreviation_.clear();
    language_ = 0;
    if (fallbackLocale != 0)
        fw::SetThreadAndRuntimeLocale(fallbackLocale);

    // Setting the runtime's locale is slow (it is looked up among all the system's): the
    // fallback set above is not set again.
    if (ReadLanguageValue(settings, kLanguagePackDisableValue)) {
        if (setThreadLocale && fallbackLocale == 0)
            fw::SetThreadAndRuntimeLocale(fallbackLocale);
        return false;
    }

    const auto chosen = static_cast<LANGID>(ReadLanguageValue(settings, kLanguageIdValue) & 0xFFFF);
    if (chosen != 0) {
        fw::LoadedPack pack = fw::TryPack(programPath, chosen);
        if (pack.module) {
            pack_ = std::move(pack.module);
            abbreviation_ = std::move(pack.abbreviation);
            language_ = chosen;
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
    const LCID locale = language_ != 0 ? MAKELCID(language_, SORT_DEFAULT) : fallbackLocale;
    if (setThreadLocale && (locale != fallbackLocale || fallbackLocale == 0))
        fw::SetThreadAndRuntimeLocale(locale);
    return static_cast<bool>(pack_);
}
