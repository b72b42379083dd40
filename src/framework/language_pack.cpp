#include "framework/language_pack.h"

#include <algorithm>
#include <clocale>
#include <cwctype>

namespace fw {
namespace {

constexpr int kAbbreviationChars = 80;
constexpr size_t kMaxPackPath = 260;
constexpr int kLocaleTextChars = 1024;

std::wstring LocaleText(LCID locale, LCTYPE type, int maxChars) {
    std::wstring text(static_cast<size_t>(maxChars), L'\0');
    const int n = ::GetLocaleInfoW(locale, type, text.data(), maxChars);
    if (n <= 1)
        return {};
    text.resize(static_cast<size_t>(n - 1));
    return text;
}

LCID LocaleOf(LANGID language) {
    return MAKELCID(language, SORT_DEFAULT);
}

LANGID DefaultLocaleLanguage(LANGID language) {
    return LANGIDFROMLCID(::ConvertDefaultLocale(LocaleOf(language)));
}

LANGID PrimaryWithDefaultSublanguage(LANGID language) {
    return static_cast<LANGID>((language & 0x3FF) | 0x400);
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

// The version block of a file; empty when it has none.
std::vector<BYTE> VersionBlock(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<BYTE> data(size);
    if (size == 0 || !::GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        data.clear();
    return data;
}

// The language of the first version resource of the system's ntdll, for systems without a
// user-interface language query.
LANGID NtdllLanguage() {
    wchar_t system[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryW(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return 0;
    std::vector<BYTE> data = VersionBlock(std::wstring(system) + L"\\ntdll.dll");
    void* translation = nullptr;
    UINT length = 0;
    if (data.empty() ||
        !::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &translation, &length) ||
        length < sizeof(WORD))
        return 0;
    return *static_cast<const WORD*>(translation);
}

} // namespace

DWORD FileVersionMajorMinor(const std::wstring& path) {
    std::vector<BYTE> data = VersionBlock(path);
    void* fixed = nullptr;
    UINT length = 0;
    if (data.empty() || !::VerQueryValueW(data.data(), L"\\", &fixed, &length) ||
        length < sizeof(VS_FIXEDFILEINFO))
        return 0;
    return static_cast<const VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS;
}

std::wstring LanguageAbbreviation(LANGID language) {
    return LocaleText(LocaleOf(language), LOCALE_SABBREVLANGNAME, kAbbreviationChars);
}

std::wstring LanguageName(LANGID language) {
    std::wstring name = LocaleText(LocaleOf(language), LOCALE_SLANGUAGE, kLocaleTextChars);
    if (name.empty())
        name = LocaleText(LocaleOf(PrimaryWithDefaultSublanguage(language)), LOCALE_SLANGUAGE,
                          kLocaleTextChars);
    return name;
}

LANGID LanguageIdFromAbbreviation(const std::wstring& extension) {
    for (WORD primary = 1; primary <= 127; ++primary) {
        for (WORD sub = 1; sub <= 63; ++sub) {
            const auto id = static_cast<LANGID>(primary | (sub << 10));
            const std::wstring abbreviation = LanguageAbbreviation(id);
            if (abbreviation.empty())
                break;
            if (EqualNoCase(abbreviation, extension))
                return id;
        }
    }
    return 0;
}

std::wstring PackPrefix(const std::wstring& programPath) {
    const size_t slash = programPath.find_last_of(L"\\/");
    const size_t dot = programPath.find_last_of(L'.');
    // A dot in a folder name is no extension of the program's file.
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return programPath + L".";
    return programPath.substr(0, dot + 1);
}

std::vector<LANGID> CandidatesFrom(const std::vector<LANGID>& languages) {
    std::vector<LANGID> candidates;
    for (LANGID language : languages) {
        candidates.push_back(DefaultLocaleLanguage(language));
        candidates.push_back(DefaultLocaleLanguage(PrimaryWithDefaultSublanguage(language)));
    }
    return candidates;
}

std::vector<LANGID> CandidateLanguages() {
    using UiLanguageFn = LANGID(WINAPI*)();
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto user = reinterpret_cast<UiLanguageFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "GetUserDefaultUILanguage")));
    auto system = reinterpret_cast<UiLanguageFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "GetSystemDefaultUILanguage")));
    if (user && system)
        return CandidatesFrom({user(), system()});
    // A 64-bit program never runs on the older consumer family, which kept its language in
    // the registry; older NT systems tell theirs through ntdll's version resource.
    if (const LANGID language = NtdllLanguage())
        return CandidatesFrom({language});
    return {};
}

Module LoadPackAsData(const std::wstring& path) {
    // Mapped as an image for its resources only: no entry point, no imports, no code.
    return Module(::LoadLibraryExW(path.c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

LoadedPack TryPack(const std::wstring& programPath, LANGID language) {
    LoadedPack pack;
    const std::wstring abbreviation = LanguageAbbreviation(language);
    if (abbreviation.empty())
        return pack;
    const std::wstring path = PackPrefix(programPath) + abbreviation;
    if (path.size() >= kMaxPackPath)
        return pack;
    // Most languages tried at every start have no pack: a look at the name is far cheaper
    // than reading the program's version resource for each.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return pack;
    if (FileVersionMajorMinor(path) != FileVersionMajorMinor(programPath))
        return pack;
    pack.module = LoadPackAsData(path);
    if (pack.module)
        pack.abbreviation = abbreviation;
    return pack;
}

std::vector<InstalledPack> EnumerateInstalledPacks(const std::wstring& programPath,
                                                   const std::wstring& defaultEntryName) {
    std::vector<InstalledPack> packs{{defaultEntryName, 0}};
    const DWORD programVersion = FileVersionMajorMinor(programPath);
    const std::wstring prefix = PackPrefix(programPath);
    const size_t slash = prefix.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : prefix.substr(0, slash + 1);

    WIN32_FIND_DATAW found{};
    FindHandle search(::FindFirstFileW((prefix + L"*").c_str(), &found));
    if (!search)
        return packs;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::wstring name = found.cFileName;
        const size_t dot = name.find_last_of(L'.');
        if (dot == std::wstring::npos)
            continue;
        const std::wstring extension = name.substr(dot + 1);
        if (extension.size() < 2)
            continue;
        const LANGID language = LanguageIdFromAbbreviation(extension);
        if (language == 0)
            continue;
        if (FileVersionMajorMinor(folder + name) != programVersion)
            continue;
        packs.push_back({LanguageName(language), language});
    } while (::FindNextFileW(search.get(), &found));
    return packs;
}

bool SetThreadAndRuntimeLocale(LCID locale) {
    ::SetThreadLocale(locale);
    std::wstring name = LocaleText(locale, LOCALE_SENGLANGUAGE, kLocaleTextChars);
    if (name.empty())
        return false;
    const std::wstring country = LocaleText(locale, LOCALE_SENGCOUNTRY, kLocaleTextChars);
    if (!country.empty())
        name += L"_" + country;
    std::wstring codePage = LocaleText(locale, LOCALE_IDEFAULTANSICODEPAGE, kLocaleTextChars);
    if (codePage.empty())
        codePage = LocaleText(locale, LOCALE_IDEFAULTCODEPAGE, kLocaleTextChars);
    if (!codePage.empty())
        name += L"." + codePage;
    return ::_wsetlocale(LC_ALL, name.c_str()) != nullptr;
}

} // namespace fw
