#include "bar/sizing_track.h"

namespace bar {

SizingSides SidesOfSizingEdge(UINT edge) noexcept {
    SizingSides s;
    switch (edge) {
    case WMSZ_LEFT:
    case WMSZ_TOPLEFT:
    case WMSZ_BOTTOMLEFT:
        s.x = -1;
        break;
    case WMSZ_RIGHT:
    case WMSZ_TOPRIGHT:
    case WMSZ_BOTTOMRIGHT:
        s.x = 1;
        break;
    default:
        break;
    }
    switch (edge) {
    case WMSZ_TOP:
    case WMSZ_TOPLEFT:
    case WMSZ_TOPRIGHT:
        s.y = -1;
        break;
    case WMSZ_BOTTOM:
    case WMSZ_BOTTOMLEFT:
    case WMSZ_BOTTOMRIGHT:
        s.y = 1;
        break;
    default:
        break;
    }
    return s;
}

RECT TrackSizingRect(const RECT& start, UINT edge, POINT startCursor, POINT cursor) noexcept {
    const SizingSides sides = SidesOfSizingEdge(edge);
    const LONG dx = cursor.x - startCursor.x;
    const LONG dy = cursor.y - startCursor.y;
    RECT r = start;
    if (sides.x < 0)
        r.left += dx;
    else if (sides.x > 0)
        r.right += dx;
    if (sides.y < 0)
        r.top += dy;
    else if (sides.y > 0)
        r.bottom += dy;
    return r;
}

} // namespace bar
