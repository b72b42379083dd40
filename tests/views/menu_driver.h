#pragma once
// For the window tests of this program: a top-level parent for a bar that records the
// commands it gets, and a driver that works a popup menu from inside its modal loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "framework/window.h"

namespace viewtest {

class RecordingParent : public fw::Window {
public:
    explicit RecordingParent(const wchar_t* className) {
        RegisterClass(className);
        Create(WS_EX_TOPMOST, className, L"parent", WS_POPUP | WS_VISIBLE, RECT{100, 100, 700, 190},
               nullptr, 0);
    }
    ~RecordingParent() override { Destroy(); }
    std::vector<UINT> commands;

protected:
    void OnCommand(UINT id, UINT, HWND) override { commands.push_back(id); }
};

inline std::function<void(HWND, HMENU)>& MenuAction() {
    static std::function<void(HWND, HMENU)> action;
    return action;
}
inline void CALLBACK MenuTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND w = ::FindWindowW(L"#32768", nullptr);
    auto menu = w && ::IsWindowVisible(w)
                    ? reinterpret_cast<HMENU>(::SendMessageW(w, MN_GETHMENU, 0, 0))
                    : nullptr;
    if (menu && MenuAction())
        std::exchange(MenuAction(), nullptr)(w, menu);
}

// Works the popup menu that `open` shows from inside its loop (a thread timer fires there):
// `act` gets the menu once it is up and posts the keys that end it. False when it never ran.
inline bool DriveMenu(std::function<void(HWND, HMENU)> act, const std::function<void()>& open) {
    MenuAction() = std::move(act);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &MenuTick);
    EXPECT_NE(timer, 0u) << ::GetLastError();
    open();
    ::KillTimer(nullptr, timer);
    return !std::exchange(MenuAction(), nullptr);
}

} // namespace viewtest
