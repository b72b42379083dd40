#pragma once
// The "Monitor" submenu of the bar menu: one item per monitor in enumeration order, and the
// commands of its items. The items are worked out from a list of monitors by a plain
// function; the window code makes the menu from the answer.
#include <windows.h>

#include <string>
#include <vector>

#include "bar/monitors.h"
#include "resource.h"

namespace bar {

struct MonitorMenuItem {
    UINT id = 0;
    std::wstring text;
    bool isDefault = false; // the primary monitor, shown bold
    bool greyed = false;
};

struct MonitorMenu {
    std::vector<MonitorMenuItem> items;
    UINT checked = 0; // the item with the radio mark
};

// `nearest` is the monitor nearest to the bar window; `primaryText` and `subText` are the
// texts of the primary and of the other monitors ("Sub Monitor" gets " 1", " 2", ... counting
// the other monitors only).
MonitorMenu BuildMonitorMenu(const std::vector<oMonitorInfo>& monitors, HMONITOR nearest,
                             bool trayOnly, const std::wstring& primaryText,
                             const std::wstring& subText);

// The monitor a Monitor item names in a list built afresh; null when the list has no such
// entry (a monitor removed meanwhile).
HMONITOR MonitorForCommand(const std::vector<oMonitorInfo>& monitors, UINT id);

// The bar routes Monitor items 6100 to 6110 only: the item of a twelfth monitor is listed but
// does nothing.
constexpr bool IsRoutedMonitorCommand(UINT id) noexcept {
    return id >= ID_MONITOR_FIRST && id <= ID_MONITOR_LAST;
}

// Inserts the submenu as a popup titled `caption` directly above the "Always on Top" item;
// a menu without that item gets none. The new popup, or null.
HMENU InsertMonitorMenu(HMENU menu, const MonitorMenu& content, const std::wstring& caption);

} // namespace bar
