#pragma once
// Where a dialog opens: wholly inside the work area, off the bar that opened it, and beside the
// dialog it was opened from, so that the buttons of both stay in view.
#include <windows.h>

namespace fw {

struct DialogSurroundings {
    RECT workArea{};     // of the bar's monitor
    RECT bar{};          // not to be covered; empty when there is nothing to avoid
    RECT owner{};        // the dialog this one was opened from; empty when opened from the bar
    RECT ownerButtons{}; // the owner's OK and Cancel, kept in view before anything else
};

// The top-left corner for a dialog that the system put at `dialog`: the nearest place that
// covers neither the bar nor its owner. Where no such place exists it keeps the owner's buttons
// in view and covers as little of the owner as it can; it covers the bar only when the bar
// leaves no free part of the work area as big as the dialog.
POINT PlaceDialog(const DialogSurroundings& around, const RECT& dialog);

// Gathers the surroundings of an owned popup (the bar is the root of its chain of owners) and
// moves it there. Dialogs without an owner keep the system's place.
void PlaceOwnedDialog(HWND dialog) noexcept;

} // namespace fw
