#pragma once
// Application object: start-up and exit hooks around the message loop.
#include <windows.h>

#include <memory>

#include "framework/message_target.h"
#include "framework/profile.h"

namespace fw {

class App {
public:
    explicit App(const wchar_t* applicationName);
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The one application object of the process (null before it is constructed).
    static App* Current() noexcept { return current_; }

    // Runs InitInstance, the message loop and ExitInstance; returns the exit code.
    int Main();

    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return exitCode_; }
    // Called when the queue is empty (everything painted); `round` counts the calls since the
    // start. Work that can wait until the program shows goes here; true asks for another
    // round, false ends idle processing for good.
    virtual bool OnIdle(int /*round*/) { return false; }
    // Called for every message before translation and dispatch, also while a modal dialog
    // or a menu runs; true consumes it. Offers the message to the target window and its
    // ancestors, innermost first.
    virtual bool PreTranslateMessage(MSG& msg);
    // PreTranslateMessage, unless this very message is being offered already: keyboard
    // navigation of a dialog (IsDialogMessage) reports it (as a copy) to the message filter
    // again. A modal loop started meanwhile has messages of its own, which are offered.
    bool OfferMessage(MSG& msg);

    // The main window: when it goes away the message loop ends.
    HWND MainWindow() const noexcept { return mainWindow_; }
    void SetMainWindow(HWND hwnd) noexcept { mainWindow_ = hwnd; }

    Profile& profile() noexcept { return profile_; }
    const Profile& profile() const noexcept { return profile_; }
    // Settings live under HKCU\Software\<company>\<application name> from now on.
    void SetRegistryKey(const wchar_t* company) { profile_.SetRegistryKey(company); }

    // Called by the window layer after a window's last message.
    static void WindowDestroyed(HWND hwnd) noexcept;

protected:
    int exitCode_ = 0;

private:
    static App* current_;
    HWND mainWindow_ = nullptr;
    const MSG* offering_ = nullptr; // the message PreTranslateMessage is busy with
    Profile profile_;
};

// The window-layer object behind a window handle (window or dialog), or null.
MessageTarget* TargetFromHandle(HWND hwnd) noexcept;

} // namespace fw
