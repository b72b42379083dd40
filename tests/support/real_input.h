#pragma once
// Real input through SendInput: each step returns once the system has taken it (the cursor
// is there, the button or key is down or up), so what follows sees it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include "support/test_util.h"

namespace test {

// A move made while another program holds the pointer (its menu or drag ending at that
// moment) is refused by the display: the system reports the new place for a moment, then the
// cursor is where it was. Such a move is made again through a neighbouring point, since a move
// to where the system already puts the cursor moves nothing; each attempt is logged.
inline void MouseTo(POINT p) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN);
    const int h = ::GetSystemMetrics(SM_CYSCREEN);
    const auto send = [&](std::initializer_list<POINT> points) {
        INPUT in[2]{};
        UINT n = 0;
        for (const POINT& q : points) {
            in[n].type = INPUT_MOUSE;
            in[n].mi.dx = static_cast<LONG>((static_cast<int64_t>(q.x) * 65536 + w - 1) / w);
            in[n].mi.dy = static_cast<LONG>((static_cast<int64_t>(q.y) * 65536 + h - 1) / h);
            in[n++].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        }
        if (::SendInput(n, in, sizeof(in[0])) != n)
            ReportSystemError("SendInput(move)", ::GetLastError());
    };
    POINT at{};
    const auto there = [&] { return ::GetCursorPos(&at) && at.x == p.x && at.y == p.y; };
    send({p});
    const ULONGLONG end = ::GetTickCount64() + kPatientMs;
    for (DWORD patience = 1000;; patience *= 2) {
        const ULONGLONG now = ::GetTickCount64();
        if (WaitUntil(there,
                      now < end ? static_cast<DWORD>(std::min<ULONGLONG>(patience, end - now)) : 0))
            return;
        if (::GetTickCount64() >= end)
            break;
        std::printf("[ MouseTo ] cursor at %ld,%ld instead of %ld,%ld: moved again\n",
                    static_cast<long>(at.x), static_cast<long>(at.y), static_cast<long>(p.x),
                    static_cast<long>(p.y));
        send({POINT{p.x + (p.x < w / 2 ? 1 : -1), p.y}, p});
    }
    ADD_FAILURE() << "cursor at " << at.x << "," << at.y << " instead of " << p.x << "," << p.y;
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
