// Choosing a language pack: packs built by the build laid beside a stand-in program, the
// choice steered through the registry as users and administrators set it.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <utility>
#include <vector>

#include "app/language.h"
#include "framework/language_pack.h"
#include "framework/resource_checks.h"
#include "framework/resources.h"
#include "resource.h"
#include "support/test_util.h"

namespace {

constexpr wchar_t kKey[] = L"Software\\Tarvo\\LarkLanguageTest";
constexpr LANGID kGerman = 0x407;
constexpr LANGID kFrench = 0x40C;

void DeleteKeys() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey);
}

void WriteValue(HKEY root, const wchar_t* name, DWORD value) {
    EXPECT_EQ(::RegSetKeyValueW(root, kKey, name, REG_DWORD, &value, sizeof(value)), ERROR_SUCCESS);
}

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeys();
        // The stand-in program only lends its version and its name to the packs beside it.
        Lay(L"lark_pack_same.dll", L"exe");
        // The tests choose languages the automatic choice never takes here.
        const auto candidates = fw::CandidateLanguages();
        ASSERT_FALSE(candidates.empty());
        for (LANGID chosen : {kGerman, kFrench})
            ASSERT_EQ(std::count(candidates.begin(), candidates.end(), chosen), 0);
        candidate_ = fw::LanguageAbbreviation(candidates.front());
        ASSERT_FALSE(candidate_.empty());
    }
    void TearDown() override {
        DeleteKeys();
        // Later tests of this program expect the locale they started with.
        ::_wsetlocale(LC_ALL, L"C");
        ::SetThreadLocale(LOCALE_USER_DEFAULT);
    }

    void Lay(const wchar_t* builtPack, const std::wstring& extension) {
        const std::wstring target = dir_ / (L"prog." + extension);
        ASSERT_TRUE(
            ::CopyFileW((test::ExeFolder() + L"\\" + builtPack).c_str(), target.c_str(), FALSE))
            << builtPack << " error " << ::GetLastError();
    }
    std::wstring Program() const { return dir_ / L"prog.exe"; }
    std::wstring Select(LanguageSelector& selector) {
        if (!selector.Select(Program(), settings_, true, LOCALE_SYSTEM_DEFAULT))
            return L"(none)";
        return fw::LoadResString(selector.Pack(), 100);
    }

    test::TempDir dir_;
    std::wstring candidate_;
    fw::Profile settings_{L"Tarvo", L"LarkLanguageTest"};
};

TEST_F(LanguageTest, DisabledPacksLoadNothingAndTheThreadTakesTheSystemLocale) {
    Lay(L"lark_pack_same.dll", L"DEU");
    Lay(L"lark_pack_same.dll", candidate_);
    WriteValue(HKEY_CURRENT_USER, kLanguageIdValue, kGerman);
    WriteValue(HKEY_CURRENT_USER, kLanguagePackDisableValue, 1);
    ::SetThreadLocale(MAKELCID(kFrench, SORT_DEFAULT));
    LanguageSelector selector;
    EXPECT_EQ(Select(selector), L"(none)");
    EXPECT_EQ(selector.Pack(), nullptr);
    EXPECT_EQ(::GetThreadLocale(), ::ConvertDefaultLocale(LOCALE_SYSTEM_DEFAULT));
}

TEST_F(LanguageTest, TheChosenLanguageWinsAndSetsTheThreadLocale) {
    Lay(L"lark_pack_same.dll", L"DEU");
    Lay(L"lark_pack_other.dll", candidate_);
    WriteValue(HKEY_CURRENT_USER, kLanguageIdValue, kGerman);
    LanguageSelector selector;
    EXPECT_EQ(Select(selector), L"Same version pack");
    EXPECT_EQ(selector.Abbreviation(), L"DEU");
    EXPECT_EQ(::GetThreadLocale(), MAKELCID(kGerman, SORT_DEFAULT));
}

TEST_F(LanguageTest, APackOfAnotherVersionOrNoPackAtAllIsSkippedForTheCandidates) {
    Lay(L"lark_pack_other.dll", L"DEU");
    WriteValue(HKEY_CURRENT_USER, kLanguageIdValue, kGerman);
    LanguageSelector selector;
    EXPECT_EQ(Select(selector), L"(none)");
    // A file of the pack's name that is no library at all is skipped the same way.
    ASSERT_TRUE(test::WriteTextFile(dir_ / (L"prog." + candidate_), "not a pack"));
    EXPECT_EQ(Select(selector), L"(none)");
    Lay(L"lark_pack_same.dll", candidate_);
    EXPECT_EQ(Select(selector), L"Same version pack");
    EXPECT_EQ(selector.Abbreviation(), candidate_);
}

TEST_F(LanguageTest, TheMachineValueIsHonouredAndTheUsersOverridesIt) {
    Lay(L"lark_pack_same.dll", L"DEU");
    Lay(L"lark_pack_code.dll", L"FRA");
    WriteValue(HKEY_LOCAL_MACHINE, kLanguageIdValue, kGerman);
    LanguageSelector selector;
    EXPECT_EQ(Select(selector), L"Same version pack");
    WriteValue(HKEY_CURRENT_USER, kLanguageIdValue, kFrench);
    EXPECT_EQ(Select(selector), L"Code pack");
    WriteValue(HKEY_LOCAL_MACHINE, kLanguagePackDisableValue, 1);
    EXPECT_EQ(Select(selector), L"(none)");
    WriteValue(HKEY_CURRENT_USER, kLanguagePackDisableValue, 0);
    EXPECT_EQ(Select(selector), L"Code pack");
    // A portable program's settings file takes the user's place: the registry's user values
    // no longer count, the machine's still do until the file has its own.
    settings_.UseIniFile(dir_ / L"LarkB.settings.ini");
    EXPECT_EQ(Select(selector), L"(none)");
    ASSERT_TRUE(settings_.WriteInt(nullptr, kLanguagePackDisableValue, 0));
    EXPECT_EQ(Select(selector), L"Same version pack");
    ASSERT_TRUE(settings_.WriteInt(nullptr, kLanguageIdValue, kFrench));
    EXPECT_EQ(Select(selector), L"Code pack");
}

TEST_F(LanguageTest, APackWithCodeIsUsedForItsResourcesAndItsCodeNeverRuns) {
    Lay(L"lark_pack_code.dll", L"DEU");
    WriteValue(HKEY_CURRENT_USER, kLanguageIdValue, kGerman);
    ::SetEnvironmentVariableW(L"LARK_PACK_CODE_RAN", nullptr);
    {
        LanguageSelector selector;
        EXPECT_EQ(Select(selector), L"Code pack");
        EXPECT_EQ(fw::EnumerateInstalledPacks(Program(), L"default").size(), 2u);
    }
    EXPECT_EQ(::GetEnvironmentVariableW(L"LARK_PACK_CODE_RAN", nullptr, 0), 0u);
    // Loaded as a library, the same file does run its code: the mark above means something.
    HMODULE loaded = ::LoadLibraryW((dir_ / L"prog.DEU").c_str());
    ASSERT_NE(loaded, nullptr) << ::GetLastError();
    EXPECT_NE(::GetEnvironmentVariableW(L"LARK_PACK_CODE_RAN", nullptr, 0), 0u);
    ::FreeLibrary(loaded);
}

TEST_F(LanguageTest, TheInstalledListHoldsTheDefaultAndTheAcceptedPacksOnly) {
    Lay(L"lark_pack_same.dll", L"DEU");
    Lay(L"lark_pack_other.dll", L"FRA");
    Lay(L"lark_pack_same.dll", L"x");
    Lay(L"lark_pack_same.dll", L"ini");
    ASSERT_TRUE(::CreateDirectoryW((dir_ / L"prog.ITA").c_str(), nullptr));
    const auto packs = fw::EnumerateInstalledPacks(Program(), L"[Default Language]");
    ASSERT_EQ(packs.size(), 2u);
    EXPECT_EQ(packs[0].name, L"[Default Language]");
    EXPECT_EQ(packs[0].language, 0);
    EXPECT_EQ(packs[1].language, kGerman);
    EXPECT_EQ(packs[1].name, fw::LanguageName(kGerman));
    EXPECT_FALSE(packs[1].name.empty());
}

// The integer names of the program's own resources of `type`.
std::vector<UINT> OwnIds(const wchar_t* type) {
    std::vector<UINT> ids;
    ::EnumResourceNamesW(
        fw::ProgramModule(), type,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) -> BOOL {
            if (IS_INTRESOURCE(name))
                reinterpret_cast<std::vector<UINT>*>(list)->push_back(
                    static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

TEST_F(LanguageTest, AWholePackGivesEveryDialogMenuAndStringADamagedOneGivesWay) {
    const std::vector<UINT> dialogs = OwnIds(RT_DIALOG), menus = OwnIds(RT_MENU);
    ASSERT_GE(dialogs.size(), 10u);
    ASSERT_GE(menus.size(), 3u);
    fw::Module german = fw::LoadPackAsData(test::ExeFolder() + L"\\LarkB.DEU");
    ASSERT_TRUE(german) << ::GetLastError();
    fw::SetResourceModule(german.get());
    for (UINT id : dialogs)
        EXPECT_EQ(fw::DialogModule(id), german.get()) << "dialog " << id;
    for (UINT id : menus)
        EXPECT_EQ(fw::MenuModule(id), german.get()) << "menu " << id;
    EXPECT_EQ(fw::LoadResString(IDS_CANT_FIND), L"%s wurde nicht gefunden.");

    Lay(L"lark_pack_damaged.dll", L"DEU");
    fw::Module damaged = fw::LoadPackAsData(dir_ / L"prog.DEU");
    ASSERT_TRUE(damaged) << ::GetLastError();
    fw::SetResourceModule(damaged.get());
    EXPECT_EQ(fw::LoadResString(IDS_APP_TITLE), L"larkRunBar ");
    EXPECT_EQ(fw::LoadResString(IDS_CANT_FIND), L"Can't find %s.");
    for (UINT id : {IDD_MAIN, IDD_AUTO_HIDE_TIME})
        EXPECT_EQ(fw::DialogModule(id), fw::ProgramModule()) << "dialog " << id;
    EXPECT_EQ(fw::MenuModule(IDR_BAR_MENU), fw::ProgramModule());
    EXPECT_TRUE(fw::LoadResMenu(IDR_BAR_MENU));
    fw::SetResourceModule(nullptr);
}

TEST(PackBytesTest, TemplatesAndStringsAreReadWholeOrNotAtAll) {
    using Read = std::optional<std::vector<uint32_t>> (*)(fw::ResourceBytes);
    for (const auto& [type, read] :
         {std::pair<const wchar_t*, Read>{RT_DIALOG, &fw::DialogControlIds},
          {RT_MENU, &fw::MenuCommandIds}}) {
        for (UINT id : OwnIds(type)) {
            const fw::ResourceBytes whole =
                fw::FindResourceBytes(fw::ProgramModule(), type, MAKEINTRESOURCEW(id));
            ASSERT_TRUE(whole && read(whole)) << id;
            for (size_t cut = 0; cut + 4 <= whole.size; ++cut) {
                const std::vector<uint8_t> part(whole.data, whole.data + cut);
                EXPECT_FALSE(read({part.data(), part.size()})) << id << " cut to " << cut;
            }
        }
    }
    const fw::ResourceBytes block = fw::FindResourceBytes(fw::ProgramModule(), RT_STRING,
                                                          MAKEINTRESOURCEW(IDS_APP_TITLE / 16 + 1));
    EXPECT_EQ(fw::StringFromBlock(block, IDS_APP_TITLE % 16), L"larkRunBar ");
    EXPECT_FALSE(fw::StringFromBlock({block.data, 20}, IDS_APP_TITLE % 16));
    EXPECT_FALSE(fw::FindResourceBytes(fw::ProgramModule(), RT_DIALOG, MAKEINTRESOURCEW(1)));
}

TEST(LanguageRulesTest, AbbreviationsNamesAndPrefixes) {
    EXPECT_EQ(fw::LanguageIdFromAbbreviation(L"deu"), kGerman);
    EXPECT_EQ(fw::LanguageIdFromAbbreviation(L"FRA"), kFrench);
    EXPECT_EQ(fw::LanguageIdFromAbbreviation(L"ini"), 0);
    EXPECT_EQ(fw::PackPrefix(L"C:\\a.b\\LarkB.exe"), L"C:\\a.b\\LarkB.");
    EXPECT_EQ(fw::PackPrefix(L"C:\\a.b\\LarkB"), L"C:\\a.b\\LarkB.");
    const auto candidates = fw::CandidatesFrom({0x0807});
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], 0x0807);
    EXPECT_EQ(candidates[1], kGerman);
}

} // namespace
