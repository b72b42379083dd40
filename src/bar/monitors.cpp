#include "bar/monitors.h"

#include <algorithm>
#include <cstdint>

namespace bar {

RECT FitRect(const RECT& area, const RECT& r) {
    const LONG width = r.right - r.left;
    const LONG height = r.bottom - r.top;
    const LONG left = std::max(area.left, std::min(area.right - width, r.left));
    const LONG top = std::max(area.top, std::min(area.bottom - height, r.top));
    return RECT{left, top, left + width, top + height};
}

namespace {
HMONITOR AreaOf(HMONITOR mon, bool workArea, RECT& out) {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (mon && ::GetMonitorInfoW(mon, &mi)) {
        out = workArea ? mi.rcWork : mi.rcMonitor;
    } else {
        out = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    return mon;
}

BOOL CALLBACK CollectMonitor(HMONITOR mon, HDC, LPRECT, LPARAM data) {
    auto* list = reinterpret_cast<std::vector<oMonitorInfo>*>(data);
    oMonitorInfo item;
    item.info.cbSize = sizeof(item.info);
    ::GetMonitorInfoW(mon, &item.info);
    item.handle = mon;
    list->push_back(item);
    return TRUE;
}
} // namespace

HMONITOR MonitorRectAtPoint(POINT pt, bool workArea, RECT& out) {
    return AreaOf(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), workArea, out);
}

HMONITOR MonitorRectOfWindow(HWND hwnd, bool workArea, RECT& out) {
    return AreaOf(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), workArea, out);
}

RECT FitRectToMonitor(HWND hwnd, const RECT& r, bool workArea) {
    RECT area{};
    HMONITOR mon = hwnd ? ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST)
                        : ::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
    AreaOf(mon, workArea, area);
    return FitRect(area, r);
}

std::vector<oMonitorInfo> BuildMonitorList() {
    std::vector<oMonitorInfo> list;
    ::EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}

bool MonitorListHas(const std::vector<oMonitorInfo>& list, HMONITOR handle) {
    return std::any_of(list.begin(), list.end(),
                       [handle](const oMonitorInfo& m) { return m.handle == handle; });
}

bool MonitorExists(HMONITOR handle) {
    return MonitorListHas(BuildMonitorList(), handle);
}

HMONITOR PrimaryMonitor() {
    return ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

HMONITOR DockingMonitor(const std::vector<oMonitorInfo>& list, HMONITOR current, HMONITOR primary) {
    return MonitorListHas(list, current) ? current : primary;
}

RECT MonitorArea(HMONITOR monitor, bool workArea) {
    RECT r{};
    AreaOf(monitor, workArea, r);
    return r;
}

RECT PrimaryWorkArea() {
    RECT r{};
    AreaOf(PrimaryMonitor(), true, r);
    return r;
}

int32_t MonitorToStored(HMONITOR handle) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(handle));
}

HMONITOR MonitorFromStored(int32_t stored) {
    return reinterpret_cast<HMONITOR>(static_cast<intptr_t>(stored));
}

} // namespace bar
