#pragma once
// The preferences sheet: the "ToolBar" and "Language" pages, without Apply and Help.
#include <windows.h>

#include <string>

#include "dialogs/language_page.h"
#include "dialogs/toolbar_page.h"
#include "framework/profile.h"
#include "framework/property_sheet.h"
#include "model/preferences.h"

class CConfigPropertySheet : public fw::PropertySheet {
public:
    CConfigPropertySheet(const fw::Profile& settings, std::wstring programPath);
    // IDOK when accepted.
    INT_PTR DoModal(HWND owner);

    CConfigPropertyPage2 m_pageToolBar;
    CConfigPropertyPage6 m_pageLanguage;
};

// What accepting the sheet changed, so the caller repaints and registers what it must.
struct PreferencesSheetResult {
    bool accepted = false;
    bool iconMonoChanged = false;
};

// Runs the sheet over the preference values; on OK they take the sheet's values (the language
// choice is written by its page), on Cancel nothing changes.
PreferencesSheetResult RunPreferencesSheet(HWND owner, Preferences& prefs,
                                           const fw::Profile& settings,
                                           const std::wstring& programPath);
