#include "dialogs/config_sheet.h"

#include "framework/resources.h"
#include "resource.h"

CConfigPropertySheet::CConfigPropertySheet(const fw::Profile& settings, std::wstring programPath)
    : fw::PropertySheet(fw::LoadResString(IDS_PREFERENCES)),
      m_pageLanguage(settings, std::move(programPath)) {
    AddPage(m_pageToolBar);
    AddPage(m_pageLanguage);
}

INT_PTR CConfigPropertySheet::DoModal(HWND owner) {
    return fw::PropertySheet::DoModal(owner, PSH_NOAPPLYNOW);
}

PreferencesSheetResult RunPreferencesSheet(HWND owner, Preferences& prefs,
                                           const fw::Profile& settings,
                                           const std::wstring& programPath) {
    CConfigPropertySheet sheet(settings, programPath);
    CConfigPropertyPage2& page = sheet.m_pageToolBar;
    page.m_nHotKeyCode = prefs.TBHotKeyCode;
    page.m_nFindHotKeyCode = prefs.FindHotKeyCode;
    page.m_nIconAction = prefs.IconAction;
    page.m_bTooltipButton = prefs.ViewTooltipButton;
    page.m_bTooltipTab = prefs.ViewTooltipTab;
    page.m_bIconMono = prefs.IconMono;

    PreferencesSheetResult result;
    if (sheet.DoModal(owner) != IDOK)
        return result;
    result.accepted = true;
    prefs.IconAction = page.m_nIconAction;
    prefs.TBHotKeyCode = page.m_nHotKeyCode;
    prefs.FindHotKeyCode = page.m_nFindHotKeyCode;
    prefs.ViewTooltipButton = page.m_bTooltipButton;
    prefs.ViewTooltipTab = page.m_bTooltipTab;
    result.iconMonoChanged = prefs.IconMono != page.m_bIconMono;
    prefs.IconMono = page.m_bIconMono;
    return result;
}
