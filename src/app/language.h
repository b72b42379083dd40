#pragma once
// Choice of the user-interface language pack, made once at start-up before any text is shown.
#include <windows.h>

#include <string>

#include "framework/handle.h"
#include "framework/language_pack.h"
#include "framework/profile.h"

using fw::kLanguageIdValue;
using fw::kLanguagePackDisableValue;

// A value of the product key: the current user's when present (in the settings file of a
// portable program), else the machine's, else 0. Only 4-byte REG_DWORD values count.
DWORD ReadLanguageValue(const fw::Profile& settings, const wchar_t* name);

class LanguageSelector {
public:
    // Looks for a pack beside the program and keeps it loaded as resource data. Returns true
    // when one was found; the caller makes Pack() the resource module. With `setThreadLocale`
    // the thread's locale follows the chosen language, else `fallbackLocale`.
    bool Select(const fw::Profile& settings, bool setThreadLocale, LCID fallbackLocale);
    // As above for a program at `programPath` (its packs lie beside it).
    bool Select(const std::wstring& programPath, const fw::Profile& settings, bool setThreadLocale,
                LCID fallbackLocale);

    HMODULE Pack() const noexcept { return pack_.get(); }
    // The loaded pack's three-letter abbreviation; empty when none is loaded.
    const std::wstring& Abbreviation() const noexcept { return abbreviation_; }
    // The language chosen, 0 when none.
    LANGID Language() const noexcept { return language_; }

private:
    fw::Module pack_;
    std::wstring abbreviation_;
    LANGID language_ = 0;
};
