#pragma once
// High contrast: while the user asks for it the bar draws its buttons and tabs in the
// system's colours alone (no themes, gradients or patterns behind text).
#include <windows.h>

namespace views {

// Whether a high-contrast scheme is on, as last read (once, then after each setting change).
bool HighContrast();
// Reads the setting again; the bar calls it when the system says a setting or colour changed.
void RefreshHighContrast();
// The reading itself: the system's answer, or the flag the system keeps for the user
// ("Control Panel\Accessibility\HighContrast", value Flags) where the system answers
// nothing (Wine keeps no such state).
bool ReadHighContrast();

enum class FacePart { Button, Tab };

// System colour indexes (COLOR_...) of a face and its text.
struct FaceColours {
    int face;
    int text;
    bool operator==(const FaceColours& o) const { return face == o.face && text == o.text; }
};

// `lit`: hot, pressed or raised under a drag; `selected`: checked button or chosen tab.
FaceColours ChooseFaceColours(bool highContrast, FacePart part, bool lit, bool selected);

} // namespace views
