#include "bar/inner_edge.h"

#include "model/placement.h"
#include "bar/docking_geometry.h"

namespace bar {

LRESULT InnerEdgeHitTest(const InnerEdgeContext& c) noexcept {
    if (!IsDockedState(c.state) || c.autoHide)
        return HTNOWHERE;
    const bool vertical = IsVerticalEdge(c.state);
    if ((vertical ? c.increment.cx : c.increment.cy) <= 0)
        return HTNOWHERE;
    const POINT p = c.client;
    const SIZE s = c.clientSize;
    if (p.x < 0 || p.y < 0 || p.x >= s.cx || p.y >= s.cy)
        return HTNOWHERE;
    switch (c.state) {
    case STATE_LEFT:
        return p.x >= s.cx - c.band.cx ? HTRIGHT : HTNOWHERE;
    case STATE_TOP:
        return p.y >= s.cy - c.band.cy ? HTBOTTOM : HTNOWHERE;
    case STATE_RIGHT:
        return p.x < c.band.cx ? HTLEFT : HTNOWHERE;
    default:
        return p.y < c.band.cy ? HTTOP : HTNOWHERE;
    }
}

UINT SizingEdgeOfHit(LRESULT hit) noexcept {
    return static_cast<UINT>(hit - HTLEFT + WMSZ_LEFT);
}

} // namespace bar
