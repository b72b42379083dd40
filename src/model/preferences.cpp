#include "model/preferences.h"

#include "framework/profile.h"

int32_t DeriveViewGroupButtonMethod(int32_t viewGroupButton) {
    if (viewGroupButton == 1)
        return 1;
    if (viewGroupButton == 0)
        return 0;
    return 0x8003;
}

int32_t NormaliseIconAction(int32_t stored) {
    return stored > 1 ? 1 : stored;
}

int32_t NormaliseAutoHideDelay(int32_t stored) {
    return stored > 0 ? stored : kDefaultAutoHideDelay;
}

Preferences LoadPreferences(const fw::Profile& profile, bool* asStored) {
    const wchar_t* s = kPreferencesSection;
    bool stored = true;
    // A value that is missing, or that reading changes, differs from what a save writes.
    const auto get = [&](const wchar_t* entry, int32_t defaultValue,
                         int32_t (*normalise)(int32_t) = nullptr) {
        const std::optional<int32_t> value = profile.TryGetInt(s, entry);
        const int32_t read = value.value_or(defaultValue);
        const int32_t result = normalise ? normalise(read) : read;
        stored = stored && value && result == *value;
        return result;
    };
    Preferences p;
    p.ButtonSize = get(L"ButtonSize", 3);
#ifdef LARK_SINGLE_BYTE
    p.ButtonSpacing = 0; // the single-byte edition has no spacing setting
#else
    p.ButtonSpacing = get(L"ButtonSpacing", 0);
#endif
    if (const std::optional<int32_t> method = profile.TryGetInt(s, L"ViewGroupButtonMethod")) {
        p.ViewGroupButtonMethod = *method;
    } else {
        p.ViewGroupButtonMethod =
            DeriveViewGroupButtonMethod(profile.GetInt(s, L"ViewGroupButton", -1));
        stored = false;
    }
    p.ViewTooltipButton = get(L"ViewTooltipButton", 1);
    p.ViewTooltipTab = get(L"ViewTooltipTab", 0);
    p.UseAutoHideDelayTime = get(L"UseAutoHideDelayTime", 0);
    p.AutoHideDelayTime = get(L"AutoHideDelayTime", kDefaultAutoHideDelay, &NormaliseAutoHideDelay);
    p.TBHotKeyCode = get(L"TBHotKeyCode", 0);
    p.FindHotKeyCode = get(L"FindHotKeyCode", 0);
    p.IconAction = get(L"IconAction", 1, &NormaliseIconAction);
    p.IconMono = get(L"IconMono", 0);
    p.TrayOnly = get(L"TrayOnly", 0);
    if (asStored)
        *asStored = stored;
    return p;
}

void SavePreferences(const fw::Profile& profile, const Preferences& p) {
    const wchar_t* s = kPreferencesSection;
    profile.WriteInt(s, L"ButtonSize", p.ButtonSize);
#ifndef LARK_SINGLE_BYTE
    profile.WriteInt(s, L"ButtonSpacing", p.ButtonSpacing);
#endif
    profile.WriteInt(s, L"ViewGroupButtonMethod", p.ViewGroupButtonMethod);
    profile.WriteInt(s, L"ViewTooltipButton", p.ViewTooltipButton);
    profile.WriteInt(s, L"ViewTooltipTab", p.ViewTooltipTab);
    profile.WriteInt(s, L"UseAutoHideDelayTime", p.UseAutoHideDelayTime);
    profile.WriteInt(s, L"AutoHideDelayTime", p.AutoHideDelayTime);
    profile.WriteInt(s, L"TBHotKeyCode", p.TBHotKeyCode);
    profile.WriteInt(s, L"FindHotKeyCode", p.FindHotKeyCode);
    profile.WriteInt(s, L"IconAction", p.IconAction);
    profile.WriteInt(s, L"IconMono", p.IconMono);
    profile.WriteInt(s, L"TrayOnly", p.TrayOnly);
}
