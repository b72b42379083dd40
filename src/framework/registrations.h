#pragma once
// Owners of registrations a window makes with the system, undone when the owner goes away:
// drop target, tray icon, hotkey, timer and mouse capture. Each is kept by the window object
// it belongs to and ends before that window is destroyed.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>

namespace fw {

// RegisterDragDrop / RevokeDragDrop (the system holds a reference to the target meanwhile).
class DropTargetRegistration {
public:
    DropTargetRegistration() = default;
    ~DropTargetRegistration() { Revoke(); }
    DropTargetRegistration(const DropTargetRegistration&) = delete;
    DropTargetRegistration& operator=(const DropTargetRegistration&) = delete;

    HRESULT Register(HWND hwnd, IDropTarget* target) noexcept;
    void Revoke() noexcept;
    bool Registered() const noexcept { return hwnd_ != nullptr; }

private:
    HWND hwnd_ = nullptr;
};

// A notification-area icon: Shell_NotifyIcon add, modify and delete.
class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the icon (again, after the taskbar was restarted); the tip is cut to what fits.
    bool Add(HWND hwnd, UINT id, UINT callbackMessage, HICON icon, const std::wstring& tip);
    void Remove() noexcept;
    bool Added() const noexcept { return hwnd_ != nullptr; }

private:
    bool Notify(DWORD message, HICON icon, const std::wstring& tip);
    HWND hwnd_ = nullptr;
    UINT id_ = 0;
    UINT callbackMessage_ = 0;
};

// A global hotkey posted to a window as WM_HOTKEY.
class HotKey {
public:
    HotKey() = default;
    ~HotKey() { Unregister(); }
    HotKey(const HotKey&) = delete;
    HotKey& operator=(const HotKey&) = delete;

    // Replaces an earlier registration; false (with the system's error kept) when refused.
    bool Register(HWND hwnd, int id, UINT modifiers, UINT key) noexcept;
    void Unregister() noexcept;
    bool Registered() const noexcept { return hwnd_ != nullptr; }

private:
    HWND hwnd_ = nullptr;
    int id_ = 0;
};

// A window timer (WM_TIMER with its identifier, or a call of `proc` when given).
class Timer {
public:
    Timer() = default;
    ~Timer() { Stop(); }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Start(HWND hwnd, UINT_PTR id, UINT milliseconds, TIMERPROC proc = nullptr) noexcept;
    void Stop() noexcept;
    bool Running() const noexcept { return hwnd_ != nullptr; }

private:
    HWND hwnd_ = nullptr;
    UINT_PTR id_ = 0;
};

// The mouse captured by a window for a scope; released only if the window still holds it.
class MouseCapture {
public:
    explicit MouseCapture(HWND hwnd) noexcept : hwnd_(hwnd) { ::SetCapture(hwnd); }
    ~MouseCapture() { Release(); }
    MouseCapture(const MouseCapture&) = delete;
    MouseCapture& operator=(const MouseCapture&) = delete;

    void Release() noexcept {
        if (hwnd_ && ::GetCapture() == hwnd_)
            ::ReleaseCapture();
        hwnd_ = nullptr;
    }

private:
    HWND hwnd_;
};

} // namespace fw
