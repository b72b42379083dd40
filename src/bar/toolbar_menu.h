#pragma once
// The ToolBar menu: the whole tree of categories and buttons as cascading submenus, opened
// from the hotkey and the tray icon. Its items are 12000 + k in walk order; the list behind
// them outlives the menu, so a command that arrives after the menu closed still finds its
// button, but only while that button is still in the tree.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/gdi.h"

class oVoiceBook;

namespace bar {

class ToolBarMenu {
public:
    // Builds the menu of everything below `root` and starts the node list afresh.
    fw::Menu Build(oVoiceBook& root);
    // The button behind a command: null when the command lies beyond the list, when its
    // node is no longer in the tree under `root` (deleted or reloaded since), or when the
    // node is not a button.
    oVoiceBook* NodeForCommand(UINT id, oVoiceBook& root) const;
    size_t Size() const noexcept { return m_serials.size(); }

    // The small pictures of the items, asked for by the menu while it shows: true when the
    // item is one of this menu's.
    static bool MeasurePicture(MEASUREITEMSTRUCT& item);
    static bool DrawPicture(const DRAWITEMSTRUCT& item);

private:
    // Nodes by their serial numbers: a deleted node's number is never found again, where
    // its address could be that of a newer node.
    std::vector<uint64_t> m_serials;
};

// Tracks a menu at the cursor, aligned by its top-left corner; the command reaches `owner`.
void TrackAtCursor(HMENU menu, HWND owner);

} // namespace bar
