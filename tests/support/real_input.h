#pragma once
// Real input through SendInput: each step returns once the system has taken it (the cursor
// is there, the button or key is down or up), so what follows sees it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

#include "support/test_util.h"

namespace test {

inline void MouseTo(POINT p) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN);
    const int h = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((static_cast<int64_t>(p.x) * 65536 + w - 1) / w);
    in.mi.dy = static_cast<LONG>((static_cast<int64_t>(p.y) * 65536 + h - 1) / h);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (::SendInput(1, &in, sizeof(in)) != 1)
        ReportSystemError("SendInput(move)", ::GetLastError());
    POINT at{};
    EXPECT_TRUE(
        WaitUntil([&] { return ::GetCursorPos(&at) && at.x == p.x && at.y == p.y; }, kPatientMs))
        << "cursor at " << at.x << "," << at.y << " instead of " << p.x << "," << p.y;
}

// The left mouse button (`key` 0) or a key goes down or up.
inline void Press(bool down, WORD key = 0) {
    INPUT in{};
    if (key) {
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    } else {
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    if (::SendInput(1, &in, sizeof(in)) != 1)
        ReportSystemError(down ? "SendInput(down)" : "SendInput(up)", ::GetLastError());
    const int vk = key ? key : VK_LBUTTON;
    EXPECT_TRUE(
        WaitUntil([&] { return ((::GetAsyncKeyState(vk) & 0x8000) != 0) == down; }, kPatientMs))
        << "key " << vk << " did not go " << (down ? "down" : "up");
}

// A key pressed and released in one input, for a caller that waits for the key's effect.
inline void Stroke(WORD key) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (::SendInput(2, in, sizeof(in[0])) != 2)
        ReportSystemError("SendInput(stroke)", ::GetLastError());
}

} // namespace test
