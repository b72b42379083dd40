#pragma once
// The application object: start-up, the services the bar uses all the time, and shutdown.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/language.h"
#include "model/preferences.h"
#include "framework/app.h"
#include "framework/com.h"
#include "framework/gdi.h"

class CMainDlg;

// Told when the hold flag changes (the bar stops its auto-hide check while held).
class HoldListener {
public:
    virtual void OnHoldChanged(bool held) = 0;

protected:
    ~HoldListener() = default;
};

class CMainApp : public fw::App {
public:
    CMainApp();
    ~CMainApp() override;

    bool InitInstance() override;
    int ExitInstance() override;
    bool PreTranslateMessage(MSG& msg) override;

    // Preference values, read and changed in place by the whole program.
    Preferences m_prefs;
    void LoadPreferences();
    void SavePreferences() const;

    float DpiFactor() const noexcept { return m_fDpiFactor; }
    int OsVersion() const noexcept { return m_nOsVersion; }
    DWORD OsMajor() const noexcept { return m_osMajor; }
    DWORD OsMinor() const noexcept { return m_osMinor; }

    // Keeps the bar open and refuses a second dialog while the program shows one.
    void SetHold(bool on);
    bool IsHeld() const noexcept { return m_bHold != 0; }
    void SetHoldListener(HoldListener* listener) noexcept { m_holdListener = listener; }

    // Mouse tracking through TrackMouseEvent when the system has it; 0 when refused.
    BOOL TrackMouse(HWND hwnd, DWORD flags, DWORD hoverTime) const;

    // String 100 as found after the language choice; caption of every message box.
    const std::wstring& Title() const noexcept { return m_strTitle; }
    HBRUSH ButtonFaceBrush() const noexcept { return m_brButtonFace.get(); }
    CMainDlg* MainDlg() const noexcept { return m_mainDlg.get(); }

    // A top-level window whose caption is exactly `title` (hidden ones included).
    static HWND FindWindowWithExactTitle(const std::wstring& title);

private:
    float m_fDpiFactor = 1.0f;
    int m_nOsVersion = 0;
    DWORD m_osMajor = 0;
    DWORD m_osMinor = 0;
    int m_bHold = 0;
    LanguageSelector m_language;

    using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
    TrackMouseEventFn m_trackMouseEvent = nullptr;

    std::wstring m_strTitle;
    fw::Brush m_brButtonFace;
    std::optional<fw::OleInit> m_ole;
    std::unique_ptr<CMainDlg> m_mainDlg;
    HoldListener* m_holdListener = nullptr;
};

// The application object of the process.
CMainApp& theApp();
