#pragma once
// The face of every button on the bar: program and category buttons and the small image
// buttons look alike, so they all draw it here.
#include <windows.h>

namespace views {

// What the pointer is doing to a button. The numbers are the ones the drawing routines of
// the bar's buttons pass around.
enum ButtonState : int {
    kStateHot = 0,     // pointer over the button
    kStatePressed = 1, // held down with the pointer over it
    kStateNormal = 2,
};

// Fills `rect` of `button`'s device context with the face for `state`. With visual styles the
// toolbar-button part of the theme is drawn over the parent's background (an unchecked
// normal button shows only that background: it is flat); without them the face colour with
// a raised (hot) or sunken (pressed) frame, and a checked button is filled with the checked
// pattern inside a sunken frame. A parent painted by a brush alone passes it as
// `parentBrush`: the button fills with it instead of asking the parent to paint, which
// costs two messages a button.
void DrawButtonFace(HWND button, HDC dc, const RECT& rect, int state, bool checked,
                    HBRUSH parentBrush = nullptr);

// The brush of the checked pattern (bitmap 346), made once per process; null without it.
HBRUSH CheckedPatternBrush();

} // namespace views
