#pragma once
// Sizing by the mouse: the dragged edges follow the cursor from where the sizing began.
// The system's own proposal is not used, since the system carries each snapped step over
// to the next (Wine does): steps smaller than an increment would then be lost one by one and
// a slow drag would never size the bar.
#include <windows.h>

namespace bar {

// The sides a sizing edge (WMSZ_LEFT...) moves: -1 the left or top side, 1 the right or
// bottom side, 0 neither.
struct SizingSides {
    int x = 0;
    int y = 0;
};
SizingSides SidesOfSizingEdge(UINT edge) noexcept;

// `start` with the edges that `edge` (WMSZ_LEFT...) names moved by the cursor's offset
// from `startCursor`.
RECT TrackSizingRect(const RECT& start, UINT edge, POINT startCursor, POINT cursor) noexcept;

} // namespace bar
