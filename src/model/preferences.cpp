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

Preferences LoadPreferences(const fw::Profile& profile) {
    const wchar_t* s = kPreferencesSection;
    Preferences p;
    p.ButtonSize = profile.GetInt(s, L"ButtonSize", 3);
    p.ButtonSpacing = profile.GetInt(s, L"ButtonSpacing", 0);
#ifdef LARK_SINGLE_BYTE
    p.ButtonSpacing = 0; // the single-byte edition has no spacing setting
#endif
    const int32_t older = profile.GetInt(s, L"ViewGroupButton", -1);
    p.ViewGroupButtonMethod =
        profile.TryGetInt(s, L"ViewGroupButtonMethod").value_or(DeriveViewGroupButtonMethod(older));
    p.ViewTooltipButton = profile.GetInt(s, L"ViewTooltipButton", 1);
    p.ViewTooltipTab = profile.GetInt(s, L"ViewTooltipTab", 0);
    p.UseAutoHideDelayTime = profile.GetInt(s, L"UseAutoHideDelayTime", 0);
    p.AutoHideDelayTime =
        NormaliseAutoHideDelay(profile.GetInt(s, L"AutoHideDelayTime", kDefaultAutoHideDelay));
    p.TBHotKeyCode = profile.GetInt(s, L"TBHotKeyCode", 0);
    p.FindHotKeyCode = profile.GetInt(s, L"FindHotKeyCode", 0);
    p.IconAction = NormaliseIconAction(profile.GetInt(s, L"IconAction", 1));
    p.IconMono = profile.GetInt(s, L"IconMono", 0);
    p.TrayOnly = profile.GetInt(s, L"TrayOnly", 0);
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
