#pragma once
// What the windows of the bar need from the application they run in, handed to them so that
// they never reach up for a global application object.
#include <windows.h>

#include <string>

#include "model/preferences.h"

namespace fw {
class Profile;
}

namespace ui {

// Told when the hold flag changes (the bar stops its auto-hide check while held).
class HoldListener {
public:
    virtual void OnHoldChanged(bool held) = 0;

protected:
    ~HoldListener() = default;
};

class AppServices {
public:
    // Keeps the bar open and refuses a second dialog while the program shows one.
    virtual bool IsHeld() const = 0;
    virtual void SetHold(bool on) = 0;
    virtual void SetHoldListener(HoldListener* listener) = 0;

    // Mouse tracking through TrackMouseEvent when the system has it; FALSE when refused.
    virtual BOOL TrackMouse(HWND hwnd, DWORD flags, DWORD hoverTime) const = 0;
    // The desktop's scale factor for docking rectangles, and whether each monitor has its own.
    virtual float DpiFactor() const = 0;
    virtual bool ScalesPerMonitor() const = 0;

    // Where settings are stored; the caption of the bar and of its message boxes.
    virtual const fw::Profile& Settings() const = 0;
    virtual const std::wstring& Title() const = 0;
    // The preference values, changed in place and saved when asked.
    virtual Preferences& Prefs() = 0;
    virtual void SavePreferences() const = 0;

protected:
    ~AppServices() = default;
};

// The hold flag for the life of a dialog, a question or a drag: let go however the scope
// ends, also when what runs inside throws. A second scope while the bar is held is refused
// (its end would clear the first one's hold); without services nothing is held.
class HoldScope {
public:
    explicit HoldScope(AppServices* app) : m_app(app) {
        if (m_app && m_app->IsHeld())
            m_refused = true;
        else if (m_app)
            m_app->SetHold(true);
    }
    ~HoldScope() {
        if (m_app && !m_refused)
            m_app->SetHold(false);
    }
    HoldScope(const HoldScope&) = delete;
    HoldScope& operator=(const HoldScope&) = delete;
    explicit operator bool() const noexcept { return !m_refused; }

private:
    AppServices* m_app;
    bool m_refused = false;
};

} // namespace ui
