#pragma once
// The "Language" page of the preferences sheet: whether language packs are loaded and which.
// The choice is written for the current user and takes effect at the next start.
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/profile.h"
#include "framework/property_sheet.h"

class CConfigPropertyPage6 : public fw::PropertyPage {
public:
    // `settings` hold the choice (the current user's, in the registry or the settings file of
    // a portable program) and outlive the page; `programPath` has the packs beside it.
    CConfigPropertyPage6(const fw::Profile& settings, std::wstring programPath);

    int32_t m_bDisable = 0;

protected:
    bool OnInitDialog(HWND focus) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    bool OnApply() override;

private:
    void EnableList();

    const fw::Profile& m_settings;
    std::wstring m_programPath;
};
