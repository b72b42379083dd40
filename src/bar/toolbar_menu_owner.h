#pragma once
// The window the ToolBar menu reports to while it shows: a hidden plain window of its own,
// not the bar. The bar is a dialog, and under Wine every message a dialog handles costs a
// round trip to the window server (its result slot is written each time); a submenu of a
// thousand buttons asks its owner to measure every item before it can show.
#include <windows.h>

#include <functional>

#include "framework/window.h"

class oVoiceBook;

namespace bar {

class ToolBarMenu;

class ToolBarMenuOwner : public fw::Window {
public:
    // `root` gives the tree as it is when each submenu opens.
    ToolBarMenuOwner(ToolBarMenu& menu, std::function<oVoiceBook&()> root);
    ~ToolBarMenuOwner() override;
    ToolBarMenuOwner(const ToolBarMenuOwner&) = delete;
    ToolBarMenuOwner& operator=(const ToolBarMenuOwner&) = delete;

    // Tracks `menu` at the cursor and returns the command chosen (0 for none). The window is
    // made on first use, owned by `bar`, which still hears the menu loop begin and end.
    UINT TrackAtCursor(HMENU menu, HWND bar);

protected:
    void OnInitMenuPopup(HMENU popup, UINT index, bool windowMenu) override;
    void OnMeasureItem(UINT id, MEASUREITEMSTRUCT& item) override;
    void OnDrawItem(UINT id, DRAWITEMSTRUCT& item) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    ToolBarMenu& menu_;
    std::function<oVoiceBook&()> root_;
    HWND bar_ = nullptr;
};

} // namespace bar
