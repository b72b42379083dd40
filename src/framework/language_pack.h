#pragma once
// Language packs: resource-only libraries beside the program, named after the program with the
// language's three-letter abbreviation as extension (LarkB.DEU). The rules that find, test and
// list them are plain functions over paths and language ids.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/handle.h"

namespace fw {

// Values of the product key itself that steer the choice: the chosen language (0 = automatic)
// and whether packs are never loaded.
constexpr wchar_t kLanguageIdValue[] = L"UI_LanguageID";
constexpr wchar_t kLanguagePackDisableValue[] = L"UI_LanguagePack_Disable";

// Major and minor parts of a file's version (the high 32 bits of its fixed file version);
// 0 when the file has no version resource.
DWORD FileVersionMajorMinor(const std::wstring& path);

// The locale database's three-letter abbreviation of a language; empty when it has none.
std::wstring LanguageAbbreviation(LANGID language);
// The localized name of a language, else of its primary language; empty when neither exists.
std::wstring LanguageName(LANGID language);
// The language whose abbreviation is `extension` (case ignored); 0 when none is.
LANGID LanguageIdFromAbbreviation(const std::wstring& extension);

// The program's path up to and including the last "." of its file name.
std::wstring PackPrefix(const std::wstring& programPath);

// The languages to try automatically, in order: for each of the user's and the system's
// user-interface languages, the language itself and its primary language with the default
// sublanguage, both converted to default locales.
std::vector<LANGID> CandidateLanguages();
// The same rule over given languages.
std::vector<LANGID> CandidatesFrom(const std::vector<LANGID>& languages);

// Maps a pack as resource data only: none of its code runs, not even its entry point.
// Null when the file is missing or no loadable image.
Module LoadPackAsData(const std::wstring& path);

// A pack found for a language: its module and its abbreviation.
struct LoadedPack {
    Module module;
    std::wstring abbreviation;
};
// The pack for `language` beside `programPath`, when it exists, has the program's major and
// minor version and loads; an empty module otherwise.
LoadedPack TryPack(const std::wstring& programPath, LANGID language);

struct InstalledPack {
    std::wstring name;
    LANGID language = 0;
};
// The packs beside the program that would be accepted, after an entry named
// `defaultEntryName` with language 0.
std::vector<InstalledPack> EnumerateInstalledPacks(const std::wstring& programPath,
                                                   const std::wstring& defaultEntryName);

// Sets the thread's locale and the run-time library's locale for all categories; returns
// whether the run-time library took the locale.
bool SetThreadAndRuntimeLocale(LCID locale);

} // namespace fw
