#include "framework/dialog_placement.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace fw {

namespace {

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

long long Overlap(const RECT& a, const RECT& b) {
    const long long w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// A dialog bigger than its place (high below low) keeps its top or left edge in view.
int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

// The parts of the work area beside the bar that hold the whole dialog.
std::vector<RECT> FreePlaces(const RECT& work, const RECT& bar, int w, int h) {
    if (Overlap(work, bar) == 0)
        return {work};
    const RECT sides[] = {{work.left, work.top, std::max(work.left, bar.left), work.bottom},
                          {std::min(work.right, bar.right), work.top, work.right, work.bottom},
                          {work.left, work.top, work.right, std::max(work.top, bar.top)},
                          {work.left, std::min(work.bottom, bar.bottom), work.right, work.bottom}};
    std::vector<RECT> places;
    for (const RECT& side : sides) {
        if (Width(side) >= w && Height(side) >= h)
            places.push_back(side);
    }
    if (places.empty()) // the bar cannot be missed: stay on the screen at least
        places.push_back(work);
    return places;
}

} // namespace

POINT PlaceDialog(const DialogSurroundings& around, const RECT& dialog) {
    const int w = Width(dialog), h = Height(dialog);
    const RECT& owner = around.owner;
    std::vector<POINT> wanted{{dialog.left, dialog.top}};
    if (Width(owner) > 0 && Height(owner) > 0) {
        // Beside the owner: right, below, left, above.
        wanted.push_back({owner.right, owner.top});
        wanted.push_back({owner.left, owner.bottom});
        wanted.push_back({owner.left - w, owner.top});
        wanted.push_back({owner.left, owner.top - h});
    }
    // Covered button area, covered owner area, squared distance from the system's place.
    using Cost = std::tuple<long long, long long, long long>;
    POINT best{dialog.left, dialog.top};
    Cost bestCost{};
    bool first = true;
    for (const RECT& place : FreePlaces(around.workArea, around.bar, w, h)) {
        for (const POINT& p : wanted) {
            const POINT at{Clamp(p.x, place.left, place.right - w),
                           Clamp(p.y, place.top, place.bottom - h)};
            const RECT r{at.x, at.y, at.x + w, at.y + h};
            const long long dx = at.x - dialog.left, dy = at.y - dialog.top;
            const Cost cost{Overlap(r, around.ownerButtons), Overlap(r, owner), dx * dx + dy * dy};
            if (first || cost < bestCost) {
                first = false;
                bestCost = cost;
                best = at;
            }
        }
    }
    return best;
}

namespace {

bool Shown(HWND hwnd) {
    return hwnd && ::IsWindowVisible(hwnd) && !::IsIconic(hwnd);
}

RECT ButtonsOf(HWND dialog) {
    RECT all{};
    for (int id : {IDOK, IDCANCEL}) {
        RECT r{};
        HWND button = ::GetDlgItem(dialog, id);
        if (Shown(button) && ::GetWindowRect(button, &r))
            ::UnionRect(&all, &all, &r);
    }
    return all;
}

} // namespace

void PlaceOwnedDialog(HWND dialog) noexcept {
    if (!dialog || (::GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD))
        return;
    const HWND owner = ::GetWindow(dialog, GW_OWNER);
    if (!owner)
        return;
    HWND bar = ::GetAncestor(owner, GA_ROOTOWNER);
    if (!bar)
        bar = owner;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    RECT rect{};
    if (!::GetMonitorInfoW(::MonitorFromWindow(bar, MONITOR_DEFAULTTONEAREST), &monitor) ||
        !::GetWindowRect(dialog, &rect))
        return;
    DialogSurroundings around;
    around.workArea = monitor.rcWork;
    // A hidden bar (tray only) covers nothing.
    if (Shown(bar))
        ::GetWindowRect(bar, &around.bar);
    if (owner != bar && Shown(owner)) {
        ::GetWindowRect(owner, &around.owner);
        around.ownerButtons = ButtonsOf(owner);
    }
    const POINT at = PlaceDialog(around, rect);
    if (at.x != rect.left || at.y != rect.top)
        ::SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace fw
