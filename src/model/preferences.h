#pragma once
// The eleven preference values of section "Preferences" and their registry rules.
#include <cstdint>

namespace fw {
class Profile;
}

constexpr int32_t kDefaultAutoHideDelay = 100;

struct Preferences {
    int32_t ButtonSize = 3;
    int32_t ButtonSpacing = 0;
    int32_t ViewGroupButtonMethod = 0x8003;
    int32_t ViewTooltipButton = 1;
    int32_t ViewTooltipTab = 0;
    int32_t UseAutoHideDelayTime = 0;
    int32_t AutoHideDelayTime = kDefaultAutoHideDelay;
    int32_t TBHotKeyCode = 0;
    int32_t FindHotKeyCode = 0; // the find box's hotkey, encoded as TBHotKeyCode
    int32_t IconAction = 1;
    int32_t IconMono = 0;
    int32_t TrayOnly = 0;
};

// Category-view word bits.
enum : int32_t {
    VIEW_ICON_BUTTONS = 0x0001,
    VIEW_TAB_STRIP = 0x0002,
    VIEW_CATEGORY_ONLY = 0x4000,
    VIEW_TAB_ICONS = 0x8000,
};

constexpr const wchar_t kPreferencesSection[] = L"Preferences";

// Derives the category-view word from the older "ViewGroupButton" value when the newer one
// is absent: 1 -> 1, 0 -> 0, anything else -> 0x8003.
int32_t DeriveViewGroupButtonMethod(int32_t viewGroupButton);
// On reading, values above 1 become 1; zero and negative values stay as read.
int32_t NormaliseIconAction(int32_t stored);
// On reading, zero and negative delays become the default 100 ms: the value is the hover time
// of an auto-hidden bar, and a negative one would never come.
int32_t NormaliseAutoHideDelay(int32_t stored);

// `asStored`, when given, tells whether every value was there as a save would write it.
Preferences LoadPreferences(const fw::Profile& profile, bool* asStored = nullptr);
void SavePreferences(const fw::Profile& profile, const Preferences& prefs);
