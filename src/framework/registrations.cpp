#include "framework/registrations.h"

#include <cwchar>

namespace fw {

HRESULT DropTargetRegistration::Register(HWND hwnd, IDropTarget* target) noexcept {
    Revoke();
    const HRESULT hr = ::RegisterDragDrop(hwnd, target);
    if (SUCCEEDED(hr))
        hwnd_ = hwnd;
    return hr;
}

void DropTargetRegistration::Revoke() noexcept {
    if (hwnd_)
        ::RevokeDragDrop(hwnd_);
    hwnd_ = nullptr;
}

bool TrayIcon::Notify(DWORD message, HICON icon, const std::wstring& tip) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd_;
    data.uID = id_;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = icon;
    const size_t room = sizeof(data.szTip) / sizeof(data.szTip[0]);
    std::wcsncpy(data.szTip, tip.c_str(), room - 1);
    data.szTip[room - 1] = L'\0';
    return ::Shell_NotifyIconW(message, &data) != FALSE;
}

bool TrayIcon::Add(HWND hwnd, UINT id, UINT callbackMessage, HICON icon, const std::wstring& tip) {
    if (hwnd_ && (hwnd_ != hwnd || id_ != id))
        Remove();
    hwnd_ = hwnd;
    id_ = id;
    callbackMessage_ = callbackMessage;
    if (Notify(NIM_ADD, icon, tip))
        return true;
    // Still there from before (the taskbar kept it): bring it up to date instead.
    if (Notify(NIM_MODIFY, icon, tip))
        return true;
    hwnd_ = nullptr;
    return false;
}

void TrayIcon::Remove() noexcept {
    if (!hwnd_)
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd_;
    data.uID = id_;
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    hwnd_ = nullptr;
}

bool HotKey::Register(HWND hwnd, int id, UINT modifiers, UINT key) noexcept {
    Unregister();
    if (!::RegisterHotKey(hwnd, id, modifiers, key))
        return false;
    hwnd_ = hwnd;
    id_ = id;
    return true;
}

void HotKey::Unregister() noexcept {
    if (hwnd_)
        ::UnregisterHotKey(hwnd_, id_);
    hwnd_ = nullptr;
}

bool Timer::Start(HWND hwnd, UINT_PTR id, UINT milliseconds, TIMERPROC proc) noexcept {
    if (hwnd_ && (hwnd_ != hwnd || id_ != id))
        Stop();
    if (!::SetTimer(hwnd, id, milliseconds, proc))
        return false;
    hwnd_ = hwnd;
    id_ = id;
    return true;
}

void Timer::Stop() noexcept {
    if (hwnd_)
        ::KillTimer(hwnd_, id_);
    hwnd_ = nullptr;
}

} // namespace fw
