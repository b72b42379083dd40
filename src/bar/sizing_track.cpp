#include "bar/sizing_track.h"

namespace bar {

RECT TrackSizingRect(const RECT& start, UINT edge, POINT startCursor, POINT cursor) noexcept {
    const LONG dx = cursor.x - startCursor.x;
    const LONG dy = cursor.y - startCursor.y;
    RECT r = start;
    switch (edge) {
    case WMSZ_LEFT:
    case WMSZ_TOPLEFT:
    case WMSZ_BOTTOMLEFT:
        r.left += dx;
        break;
    case WMSZ_RIGHT:
    case WMSZ_TOPRIGHT:
    case WMSZ_BOTTOMRIGHT:
        r.right += dx;
        break;
    default:
        break;
    }
    switch (edge) {
    case WMSZ_TOP:
    case WMSZ_TOPLEFT:
    case WMSZ_TOPRIGHT:
        r.top += dy;
        break;
    case WMSZ_BOTTOM:
    case WMSZ_BOTTOMLEFT:
    case WMSZ_BOTTOMRIGHT:
        r.bottom += dy;
        break;
    default:
        break;
    }
    return r;
}

} // namespace bar
