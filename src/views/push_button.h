#pragma once
// The push button every button of the bar is built on: a window that draws itself and
// tracks the pointer (press, hover, capture, click). Each step draws the face it leads to
// (a views::ButtonState). While the button is held, or where leave tracking is refused, the
// capture and a timer tell when the pointer goes. A release inside sends BN_CLICKED to the
// parent once the mouse is free again, so what the click starts never finds it held.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "framework/registrations.h"
#include "framework/window.h"
#include "views/accessible_button.h"

namespace views {

class PushButton : public fw::Window {
public:
    static constexpr UINT_PTR kLeaveTimer = 101;
    static constexpr UINT kLeaveTimerPeriodMs = 500;
    enum Hover : int32_t { kAway = 0, kOver = 1, kHeldOutside = 2 };

    int32_t Hover() const noexcept { return m_nHover; }
    bool Pressed() const noexcept { return m_bPressed; }
    bool IsChecked() const noexcept { return m_bChecked != 0; }

protected:
    // A child window of the class `className` (registered here with the arrow cursor and no
    // brush: the face covers the whole window); bits 0 or 1 of `selector` make a toggle.
    HWND CreateButton(const wchar_t* className, int selector, DWORD style, const RECT& rect,
                      HWND parent, UINT id);

    // Draws the face of a views::ButtonState into `dc`, whose origin is the button's corner.
    virtual void DrawFace(HDC dc, int state) = 0;
    // The face its paint message draws: pressed while held with the pointer inside.
    int PaintState() const;
    // The focus rectangle over a drawn face while the button has the keyboard focus, unless
    // the window says to hide it until the keyboard is used.
    void DrawFocusMark(HDC dc) const;
    bool PointerInside(POINT client) const;

    void OnPaint() override;
    bool OnEraseBackground(HDC dc) override;
    void OnLButtonDown(UINT keys, POINT client) override;
    void OnMouseMove(UINT keys, POINT client) override;
    void OnLButtonUp(UINT keys, POINT client) override;
    void OnMouseLeave() override;
    void OnTimer(UINT_PTR id) override;
    void OnCaptureChanged(HWND gaining) override;
    // Keys go to the parent, which decides what they do on the bar (bar_keys.h); focus
    // changes redraw the focus rectangle.
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode(const MSG* msg) override;
    void OnSetFocus(HWND previous) override;
    void OnKillFocus(HWND next) override;
    // Answers assistive programs (below) and hands system keys to the parent, then the
    // default processing.
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // What the button tells assistive programs: by default a picture button named by its
    // tip, with the pointer's, focus and window states.
    virtual ButtonFacts AccessibleFacts() const;
    // The default action: a click, posted, so the caller's call returns first.
    virtual void DoDefaultAction();

    int32_t m_bChecked = 0;
    int32_t m_bToggle = 0;

private:
    // Draws `state` now, unless it is kSameFace.
    void DrawNow(int state);
    int Move(bool inside);
    int Release(bool inside);
    int Leave();
    void Capture();

    int32_t m_nHover = kAway;
    bool m_bPressed = false;
    bool m_bFocused = false; // between WM_SETFOCUS and WM_KILLFOCUS
    std::optional<fw::MouseCapture> m_capture;
    fw::Timer m_leaveTimer;
};

} // namespace views
