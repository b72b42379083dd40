#pragma once
// The inner edge of a docked bar, the side that faces the screen's interior: a press in a
// band along it sizes the bar, whichever of the bar's children lies under the press.
#include <windows.h>

#include <cstdint>

namespace bar {

struct InnerEdgeContext {
    int32_t state = 0; // the effective placement state
    bool autoHide = false;
    SIZE increment{}; // the bar's size increments; 0 means that direction cannot be sized
    POINT client{};   // the point, in the bar's client coordinates
    SIZE clientSize{};
    SIZE band{}; // thickness of the band: cx for left and right edges, cy for top and bottom
};

// The sizing answer for a point in the band of a docked bar that can be sized (HTRIGHT
// docked left, HTBOTTOM top, HTLEFT right, HTTOP bottom); HTNOWHERE otherwise.
LRESULT InnerEdgeHitTest(const InnerEdgeContext& c) noexcept;

// The sizing edge (WMSZ_LEFT...) the system's sizing command takes for a sizing answer.
UINT SizingEdgeOfHit(LRESULT hit) noexcept;

} // namespace bar
