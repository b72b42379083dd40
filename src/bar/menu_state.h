#pragma once
// What the bar menu shows for the bar's current settings: which items are greyed, which
// carry a check mark and where the three radio marks go. A plain function of plain values;
// the window code only applies the answer to the loaded menu.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace bar {

struct BarMenuInput {
    bool held = false;     // a dialog or a drag holds the bar
    bool trayOnly = false; // the bar lives in the tray only
    int32_t state = 3;     // the bar's state, the drag's proposal during a drag
    bool alwaysOnTop = false;
    bool autoHide = false;
    int32_t viewFlags = 0; // the category-view word
    int32_t buttonSize = 0;
    int32_t buttonSpacing = 0;
};

struct MenuItemState {
    UINT id = 0;
    bool greyed = false;
    bool checked = false;
};

// One radio group: the items first..last, the mark on `chosen` (0: no mark).
struct RadioGroup {
    UINT first = 0;
    UINT last = 0;
    UINT chosen = 0;
};

struct BarMenuState {
    std::vector<MenuItemState> items; // every item whose greying or check is decided here
    RadioGroup position;
    RadioGroup size;
    RadioGroup spacing;

    // Items not listed are enabled and unchecked.
    bool Greyed(UINT id) const noexcept;
    bool Checked(UINT id) const noexcept;
};

BarMenuState PrepareBarMenu(const BarMenuInput& in);

// Position within the menu where the "Button Spacing" popup is inserted.
constexpr UINT kSpacingPopupPosition = 6;
// The spacing popup's items "0" to "3".
constexpr int kSpacingSteps = 4;

} // namespace bar
