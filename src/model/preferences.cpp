#include "model/preferences.h"

#include "framework/profile.h"
#include "model/stored_values.h"

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
    StoredValues values(profile, s);
    Preferences p;
    p.ButtonSize = values.Get(L"ButtonSize", 3);
#ifdef LARK_SINGLE_BYTE
    p.ButtonSpacing = 0; // the single-byte edition has no spacing setting
#else
    p.ButtonSpacing = values.Get(L"ButtonSpacing", 0);
#endif
    if (const std::optional<int32_t> method = profile.TryGetInt(s, L"ViewGroupButtonMethod")) {
        p.ViewGroupButtonMethod = *method;
    } else {
        p.ViewGroupButtonMethod =
            DeriveViewGroupButtonMethod(profile.GetInt(s, L"ViewGroupButton", -1));
        values.NotAsStored();
    }
    p.ViewTooltipButton = values.Get(L"ViewTooltipButton", 1);
    p.ViewTooltipTab = values.Get(L"ViewTooltipTab", 0);
    p.UseAutoHideDelayTime = values.Get(L"UseAutoHideDelayTime", 0);
    p.AutoHideDelayTime =
        values.Get(L"AutoHideDelayTime", kDefaultAutoHideDelay, &NormaliseAutoHideDelay);
    p.TBHotKeyCode = values.Get(L"TBHotKeyCode", 0);
    p.FindHotKeyCode = values.Get(L"FindHotKeyCode", 0);
    p.IconAction = values.Get(L"IconAction", 1, &NormaliseIconAction);
    p.IconMono = values.Get(L"IconMono", 0);
    p.TrayOnly = values.Get(L"TrayOnly", 0);
    if (asStored)
        *asStored = values.AsStored();
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
