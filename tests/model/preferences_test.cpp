// Preferences as stored in the registry of the current user.
#include <gtest/gtest.h>

#include <functional>

#include "model/preferences.h"
#include "framework/profile.h"
#include "support/test_util.h"

namespace {

const std::wstring kSection = std::wstring(test::kProductKey) + L"\\Preferences";

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override { test::DeleteProductKey(); }
    void TearDown() override { test::DeleteProductKey(); }
    fw::Profile profile{L"Tarvo", L"Lark-RunBar"};
};

TEST_F(PreferencesTest, EmptyRegistryGivesTheDefaults) {
    const Preferences p = LoadPreferences(profile);
    EXPECT_EQ(p.ButtonSize, 3);
    EXPECT_EQ(p.ButtonSpacing, 0);
    EXPECT_EQ(p.ViewGroupButtonMethod, 0x8003);
    EXPECT_EQ(p.ViewTooltipButton, 1);
    EXPECT_EQ(p.ViewTooltipTab, 0);
    EXPECT_EQ(p.UseAutoHideDelayTime, 0);
    EXPECT_EQ(p.AutoHideDelayTime, 100);
    EXPECT_EQ(p.TBHotKeyCode, 0);
    EXPECT_EQ(p.FindHotKeyCode, 0);
    EXPECT_EQ(p.IconAction, 1);
    EXPECT_EQ(p.IconMono, 0);
    EXPECT_EQ(p.TrayOnly, 0);
}

TEST_F(PreferencesTest, OlderCategoryViewValueIsDerivedAndWrittenAsTheNewOne) {
    test::WriteRegDword(kSection, L"ViewGroupButton", 1);
    Preferences p = LoadPreferences(profile);
    EXPECT_EQ(p.ViewGroupButtonMethod, 1);
    SavePreferences(profile, p);
    DWORD stored = 0;
    ASSERT_TRUE(test::ReadRegDwordValue(kSection, L"ViewGroupButtonMethod", stored));
    EXPECT_EQ(stored, 1u);

    test::DeleteProductKey();
    test::WriteRegDword(kSection, L"ViewGroupButton", 0);
    EXPECT_EQ(LoadPreferences(profile).ViewGroupButtonMethod, 0);

    test::DeleteProductKey();
    test::WriteRegDword(kSection, L"ViewGroupButton", 5);
    EXPECT_EQ(LoadPreferences(profile).ViewGroupButtonMethod, 0x8003);

    // Once the newer value exists the older one no longer matters.
    test::WriteRegDword(kSection, L"ViewGroupButtonMethod", 2);
    test::WriteRegDword(kSection, L"ViewGroupButton", 1);
    EXPECT_EQ(LoadPreferences(profile).ViewGroupButtonMethod, 2);
}

TEST_F(PreferencesTest, IconActionAboveOneReadsAsOneAndNegativeStays) {
    test::WriteRegDword(kSection, L"IconAction", 2);
    EXPECT_EQ(LoadPreferences(profile).IconAction, 1);
    test::WriteRegDword(kSection, L"IconAction", static_cast<DWORD>(-1));
    EXPECT_EQ(LoadPreferences(profile).IconAction, -1);
    test::WriteRegDword(kSection, L"IconAction", 0);
    EXPECT_EQ(LoadPreferences(profile).IconAction, 0);
}

TEST_F(PreferencesTest, AutoHideDelayOfZeroOrBelowReadsAsTheDefault) {
    const struct {
        int32_t stored, read;
    } cases[] = {{0, 100}, {-1, 100}, {INT32_MIN, 100}, {1, 1}, {250, 250}, {9000, 9000}};
    for (const auto& c : cases) {
        test::WriteRegDword(kSection, L"AutoHideDelayTime", static_cast<DWORD>(c.stored));
        EXPECT_EQ(LoadPreferences(profile).AutoHideDelayTime, c.read) << c.stored;
    }
}

TEST_F(PreferencesTest, ValuesOfTheWrongTypeOrSizeYieldTheDefault) {
    const wchar_t text[] = L"7";
    test::WriteRegRaw(kSection, L"ButtonSize", REG_SZ, text, sizeof(text));
    const ULONGLONG eight = 5;
    test::WriteRegRaw(kSection, L"AutoHideDelayTime", REG_QWORD, &eight, sizeof(eight));
    const BYTE two[2] = {1, 0};
    test::WriteRegRaw(kSection, L"ViewTooltipButton", REG_DWORD, two, sizeof(two));
    const BYTE bin[4] = {6, 0, 0, 0};
    test::WriteRegRaw(kSection, L"IconMono", REG_BINARY, bin, sizeof(bin));
    const Preferences p = LoadPreferences(profile);
    EXPECT_EQ(p.ButtonSize, 3);
    EXPECT_EQ(p.AutoHideDelayTime, 100);
    EXPECT_EQ(p.ViewTooltipButton, 1);
    EXPECT_EQ(p.IconMono, 0);
}

TEST_F(PreferencesTest, SaveWritesEveryValueAsSignedDword) {
    Preferences p;
    p.ButtonSize = 6;
    p.ButtonSpacing = 3;
    p.TBHotKeyCode = 0x60041;
    p.FindHotKeyCode = 0x20046;
    p.IconAction = -1;
    SavePreferences(profile, p);
    const Preferences back = LoadPreferences(profile);
    EXPECT_EQ(back.ButtonSize, 6);
    EXPECT_EQ(back.ButtonSpacing, 3);
    EXPECT_EQ(back.TBHotKeyCode, 0x60041);
    EXPECT_EQ(back.FindHotKeyCode, 0x20046);
    EXPECT_EQ(back.IconAction, -1);
    DWORD raw = 0;
    ASSERT_TRUE(test::ReadRegDwordValue(kSection, L"IconAction", raw));
    EXPECT_EQ(raw, 0xFFFFFFFFu);
    for (const wchar_t* name :
         {L"ButtonSize", L"ButtonSpacing", L"ViewGroupButtonMethod", L"ViewTooltipButton",
          L"ViewTooltipTab", L"UseAutoHideDelayTime", L"AutoHideDelayTime", L"TBHotKeyCode",
          L"FindHotKeyCode", L"IconAction", L"IconMono", L"TrayOnly"})
        EXPECT_TRUE(test::ReadRegDwordValue(kSection, name, raw)) << name;
    EXPECT_FALSE(test::ReadRegDwordValue(kSection, L"ViewGroupButton", raw));
}

TEST_F(PreferencesTest, ReadsAsStoredOnlyWhenEveryValueIsThereAsASaveWritesIt) {
    // Nothing there yet; then values read as something else than what is stored (a text, a
    // value reading changes), or one gone.
    const wchar_t text[] = L"3";
    const std::function<void()> changes[] = {
        [] {},
        [] { test::WriteRegDword(kSection, L"IconAction", 2); },
        [] { test::WriteRegDword(kSection, L"AutoHideDelayTime", 0); },
        [&] { test::WriteRegRaw(kSection, L"ButtonSize", REG_SZ, text, sizeof(text)); },
        [] { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSection.c_str(), L"ViewGroupButtonMethod"); },
    };
    for (const auto& change : changes) {
        change();
        bool asStored = true;
        const Preferences read = LoadPreferences(profile, &asStored);
        EXPECT_FALSE(asStored);
        SavePreferences(profile, read);
        LoadPreferences(profile, &asStored);
        EXPECT_TRUE(asStored);
    }
}

} // namespace
