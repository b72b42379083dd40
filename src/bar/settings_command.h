#pragma once
// The bar's settings commands (position, auto-hide, always on top, views, button size and
// spacing) as a plan: what each changes and what has to follow it. The bar carries the plan
// out in one fixed order, so no command forgets a reset or a save another one does.
#include <windows.h>

#include <cstdint>

namespace bar {

struct SettingsCommand {
    enum Action { None, Ignore, Position, AlwaysOnTop, AutoHide, ViewFlag, ButtonSize, Spacing };
    Action action = None;
    int32_t state = 0;          // Position: the placement taken
    bool trayOnly = false;      // Position: only the tray icon shows
    int32_t viewBits = 0;       // ViewFlag: the bits of the category-view word flipped
    int32_t value = 0;          // ButtonSize, Spacing: the new code
    bool tabStripSizes = false; // every dock size grows or shrinks by the tab strip
    // The metrics are computed afresh and the user's dock sizes and floating rectangle give
    // way to their defaults; the state is applied again.
    bool resetSizes = false;
    bool layOutToolBar = false; // the program button bar lays out from its first button
    bool savePreferences = false;
    bool savePlacement = false; // no state change follows that would write it
};

// The plan of command `id`; `None` for a command that is no settings command.
SettingsCommand PlanSettingsCommand(UINT id) noexcept;

} // namespace bar
