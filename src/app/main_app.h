#pragma once
// The application object: start-up, the services the bar uses all the time, and shutdown.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/language.h"
#include "ui/app_services.h"
#include "document/tree_document.h"
#include "model/preferences.h"
#include "framework/app.h"
#include "framework/com.h"
#include "framework/registrations.h"

class CMainDlg;

class CMainApp : public fw::App, public ui::AppServices {
public:
    CMainApp();
    ~CMainApp() override;

    bool InitInstance() override;
    int ExitInstance() override;
    bool OnIdle(int round) override;
    bool PreTranslateMessage(MSG& msg) override;

    // Preference values, read and changed in place by the whole program.
    Preferences m_prefs;
    void LoadPreferences();
    void SavePreferences() const override;
    Preferences& Prefs() override { return m_prefs; }

    float DpiFactor() const override { return m_fDpiFactor; }
    bool ScalesPerMonitor() const override;
    int OsVersion() const noexcept { return m_nOsVersion; }

    void SetHold(bool on) override;
    bool IsHeld() const override { return m_bHold != 0; }
    void SetHoldListener(ui::HoldListener* listener) override { m_holdListener = listener; }

    BOOL TrackMouse(HWND hwnd, DWORD flags, DWORD hoverTime) const override;

    const fw::Profile& Settings() const override { return profile(); }
    // String 100 as found after the language choice; caption of every message box.
    const std::wstring& Title() const override { return m_strTitle; }

    // A top-level window whose caption is exactly `title` (hidden ones included); none for
    // an empty title.
    static HWND FindWindowWithExactTitle(const std::wstring& title);
    // Test-only: a bar started with this argument runs beside one already running (two bars
    // on one data file, as two machines on a synced folder).
    static constexpr wchar_t kSecondBarSwitch[] = L"/second-bar-for-tests";

private:
    // A portable program's folder that takes no writes, until the user has been told (at the
    // first idle moment, or once no dialog holds the bar any more).
    void TellReadOnlyFolder();
    static void CALLBACK ReadOnlyNoticeDue(HWND, UINT, UINT_PTR, DWORD);
    std::wstring m_strReadOnlyFolder;
    fw::Timer m_readOnlyNotice;

    float m_fDpiFactor = 1.0f;
    int m_nOsVersion = 0;
    DWORD m_osMajor = 0;
    DWORD m_osMinor = 0;
    int m_bHold = 0;
    LanguageSelector m_language;

    using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
    TrackMouseEventFn m_trackMouseEvent = nullptr;

    std::wstring m_strTitle;
    std::optional<fw::OleInit> m_ole;
    // The tree; the bar that shows it goes first.
    std::unique_ptr<document::TreeDocument> m_document;
    std::unique_ptr<CMainDlg> m_mainDlg;
    ui::HoldListener* m_holdListener = nullptr;
};
