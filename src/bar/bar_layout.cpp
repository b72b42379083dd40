#include "bar/bar_layout.h"

#include "model/placement.h"
#include "bar/docking_geometry.h"
#include "bar/sizing_track.h"

namespace bar {
namespace {
RECT Box(LONG x, LONG y, SIZE s) noexcept {
    return RECT{x, y, x + s.cx, y + s.cy};
}
} // namespace

bool IsVerticalClient(SIZE client) noexcept {
    return client.cx < client.cy;
}

ChildLayout LayOutChildren(SIZE client, bool collapsed, const BarMetrics& m) noexcept {
    ChildLayout layout;
    if (client.cx <= 0 || client.cy <= 0)
        return layout;
    if (collapsed) {
        layout.action = ChildLayout::Hide;
        return layout;
    }
    const SIZE small = m.smallButton;
    const LONG along = m.smallButtonInset.x;
    const LONG across = m.smallButtonInset.y;
    layout.action = ChildLayout::Place;
    if (!IsVerticalClient(client)) {
        layout.menuButton = Box(along, across, small);
        layout.exitButton = Box(along, client.cy - small.cy - across, small);
        layout.toolBar = RECT{m.toolBarOffset, 0, client.cx, client.cy};
    } else {
        layout.menuButton = Box(across, along, small);
        layout.exitButton = Box(client.cx - small.cx - across, along, small);
        layout.toolBar = RECT{0, m.toolBarOffset, client.cx, client.cy};
    }
    return layout;
}

RECT GripStripRect(SIZE client, bool vertical, int size) noexcept {
    if (vertical)
        return RECT{0, 0, client.cx, size};
    return RECT{0, 0, size, client.cy};
}

RECT SnapSizingRect(const RECT& current, const RECT& proposed, UINT edge, SIZE increment) noexcept {
    auto snap = [](LONG now, LONG wanted, LONG step) {
        if (step <= 0)
            return now;
        return now + (wanted - now) / step * step; // truncated toward zero
    };
    const LONG width =
        snap(current.right - current.left, proposed.right - proposed.left, increment.cx);
    const LONG height =
        snap(current.bottom - current.top, proposed.bottom - proposed.top, increment.cy);
    const SizingSides sides = SidesOfSizingEdge(edge);
    RECT r = proposed;
    if (sides.x < 0)
        r.left = r.right - width;
    else if (sides.x > 0)
        r.right = r.left + width;
    if (sides.y < 0)
        r.top = r.bottom - height;
    else if (sides.y > 0)
        r.bottom = r.top + height;
    return r;
}

MinTrackSize MinimumTrackSize(int32_t state, bool autoHide, const BarMetrics& m,
                              FrameAllowance frame) noexcept {
    MinTrackSize t;
    if (state == STATE_FLOAT) {
        t.hasWidth = t.hasHeight = true;
        t.size = POINT{m.minFloat.cx, m.minFloat.cy};
    } else if (!autoHide && IsVerticalEdge(state)) {
        t.hasWidth = true;
        t.size.x = m.thicknessLeftRight + frame.ax;
    } else if (!autoHide && IsDockedState(state)) {
        t.hasHeight = true;
        t.size.y = m.thicknessTopBottom + frame.ay;
    }
    return t;
}

LRESULT GripHitTest(LRESULT answer, int32_t state, POINT client, SIZE clientSize,
                    int hitStart) noexcept {
    if (!IsDockedState(state) || (answer != HTCLIENT && answer != HTCAPTION))
        return answer;
    const LONG halfX = clientSize.cx / 2;
    const LONG halfY = clientSize.cy / 2;
    switch (state) {
    case STATE_LEFT:
        return (client.x > halfX && client.y > hitStart) ? HTRIGHT : answer;
    case STATE_TOP:
        return (client.x > hitStart && client.y > halfY) ? HTBOTTOM : answer;
    case STATE_RIGHT:
        return (client.x < halfX && client.y > hitStart) ? HTLEFT : answer;
    default:
        return (client.x > hitStart && client.y < halfY) ? HTTOP : answer;
    }
}

COLORREF GripColour(bool active, bool iconMono, COLORREF activeCaption,
                    COLORREF inactiveCaption) noexcept {
    if (iconMono)
        return active ? RGB(0, 0, 0) : RGB(192, 192, 192);
    return active ? activeCaption : inactiveCaption;
}

} // namespace bar
