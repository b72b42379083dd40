#pragma once
// The "Language" page of the preferences sheet: whether language packs are loaded and which.
// The choice is written for the current user and takes effect at the next start.
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/property_sheet.h"

class CConfigPropertyPage6 : public fw::PropertyPage {
public:
    // `productKeyPath` under HKEY_CURRENT_USER holds the choice; `programPath` has the packs
    // beside it.
    CConfigPropertyPage6(std::wstring productKeyPath, std::wstring programPath);

    int32_t m_bDisable = 0;

protected:
    bool OnInitDialog(HWND focus) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    bool OnApply() override;

private:
    void EnableList();

    std::wstring m_productKeyPath;
    std::wstring m_programPath;
};
