#pragma once
// Monitor queries and the rectangle fitting that keeps the bar on a monitor.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace bar {

// One record per display monitor, in enumeration order.
struct oMonitorInfo {
    MONITORINFOEXW info{};
    HMONITOR handle = nullptr;
};

// Moves `r` without resizing so that it lies inside `area`; when it is wider (taller)
// than the area its left (top) edge is aligned with the area's.
RECT FitRect(const RECT& area, const RECT& r);

// The monitor nearest to a point, with its work area or full rectangle.
HMONITOR MonitorRectAtPoint(POINT pt, bool workArea, RECT& out);
// The monitor nearest to a window, with its work area or full rectangle.
HMONITOR MonitorRectOfWindow(HWND hwnd, bool workArea, RECT& out);
// Fits `r` onto the monitor nearest to the window (or, without one, to the rectangle).
RECT FitRectToMonitor(HWND hwnd, const RECT& r, bool workArea);

std::vector<oMonitorInfo> BuildMonitorList();
bool MonitorExists(HMONITOR handle);
// Pure form for tests: whether a list holds the handle.
bool MonitorListHas(const std::vector<oMonitorInfo>& list, HMONITOR handle);
// The primary monitor: nearest to (0, 0), the primary as fallback.
HMONITOR PrimaryMonitor();
// The monitor a bar docks on: its own while it exists, else `primary`.
HMONITOR DockingMonitor(const std::vector<oMonitorInfo>& list, HMONITOR current, HMONITOR primary);
// The full rectangle (or work area) of a monitor; the screen when the handle is stale.
RECT MonitorArea(HMONITOR monitor, bool workArea);
// The work area of the primary monitor (used before the bar window exists).
RECT PrimaryWorkArea();

// The stored monitor value is the raw handle as a 32-bit number.
int32_t MonitorToStored(HMONITOR handle);
HMONITOR MonitorFromStored(int32_t stored);

} // namespace bar
