#pragma once
// The "ToolBar" page of the preferences sheet: the hotkeys of the ToolBar menu and the find box,
// what a click on the tray icon does, tooltips and monochrome icons.
#include <windows.h>

#include <cstdint>

#include "framework/property_sheet.h"

// The stored hotkey word (virtual key in the low 16 bits, the hotkey control's modifier flags
// from bit 16) as the hotkey control's value (key in the low byte, modifiers in the high one),
// and back. A stored value of 0 or less is no hotkey.
WORD HotKeyControlValue(int32_t hotKeyCode);
int32_t HotKeyCodeFromControl(WORD controlValue);

class CConfigPropertyPage2 : public fw::PropertyPage {
public:
    CConfigPropertyPage2();

    int32_t m_nHotKeyCode = 0;
    int32_t m_nFindHotKeyCode = 0;
    int32_t m_nIconAction = 0;
    int32_t m_bTooltipButton = 0;
    int32_t m_bTooltipTab = 0;
    int32_t m_bIconMono = 0;

protected:
    bool OnInitDialog(HWND focus) override;
    void OnSetActive() override;
    bool OnKillActive() override;
    bool OnApply() override;

private:
    void StoreControls();
};
