#pragma once
// Press, hover and capture of a button window that draws itself, shared by the bar's button
// classes. Each step answers the face to draw now (a views::ButtonState), or kSameFace. While
// the button is held, or where leave tracking is refused, the capture and a timer tell when
// the pointer goes.
#include <windows.h>

#include <cstdint>

namespace views {

constexpr int kSameFace = -1;

class PointerTracker {
public:
    enum Hover : int32_t { kAway = 0, kOver = 1, kHeldOutside = 2 };

    PointerTracker(UINT_PTR leaveTimer, UINT periodMs) noexcept
        : m_timer(leaveTimer), m_periodMs(periodMs) {}

    int32_t Hover() const noexcept { return m_nHover; }
    bool Pressed() const noexcept { return m_bPressed; }

    // The left button went down on `hwnd`: it takes the mouse until the release.
    int Press(HWND hwnd);
    int Move(HWND hwnd, bool inside);
    // The left button went up. The capture of the press ends here unless hover tracking keeps
    // it; a press the pointer never moved over starts hover tracking now.
    int Release(HWND hwnd, bool inside);
    // The pointer left (leave tracking's message).
    int Leave();
    // The capture went to another window: hover and press are both over.
    int CaptureLost();
    // The leave timer: `inside` tells where the pointer is now.
    int Tick(HWND hwnd, bool inside);

private:
    UINT_PTR m_timer;
    UINT m_periodMs;
    int32_t m_nHover = kAway;
    bool m_bPressed = false;
};

} // namespace views
