#pragma once
// The bar menu: the first popup of menu 129, loaded afresh each time it is shown, with the
// "Button Spacing" popup and the "Monitor" submenu inserted and the states of its items set.
#include <windows.h>

#include "bar/menu_pictures.h"
#include "bar/menu_state.h"
#include "bar/monitor_menu.h"
#include "framework/gdi.h"

namespace bar {

class BarMenu {
public:
    // Loads and prepares the menu; Popup() is null when the resource is missing. The items
    // show `pictures` when given.
    BarMenu(const BarMenuInput& input, const MonitorMenu& monitors,
            const MenuPictures* pictures = nullptr);
    HMENU Popup() const noexcept { return popup_; }
    // Tracks the menu at a screen point, aligned by its top-left corner; the chosen command
    // reaches `owner` as WM_COMMAND.
    void Track(HWND owner, POINT screen) const;

private:
    fw::Menu menu_;
    HMENU popup_ = nullptr;
};

// Sets greying, checks and radio marks of a loaded bar menu.
void ApplyBarMenuState(HMENU popup, const BarMenuState& state);
// Puts "Find..." (ID_FIND) and a separator at the top of a menu (none: nothing).
void InsertFindItem(HMENU menu);
// Inserts the "Button Spacing" popup (items "0" to "3") at its place; the new popup or null.
HMENU InsertSpacingMenu(HMENU popup, UINT chosen);

} // namespace bar
