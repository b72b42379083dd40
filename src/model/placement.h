#pragma once
// The bar's placement as stored in section "AppBarInfo", with the rules that decide whether
// the stored sizes can be used.
#include <windows.h>

#include <cstdint>
#include <functional>

namespace fw {
class Profile;
}

constexpr const wchar_t kAppBarInfoSection[] = L"AppBarInfo";

enum : int32_t {
    STATE_LEFT = 0,  // ABE_LEFT
    STATE_TOP = 1,   // ABE_TOP
    STATE_RIGHT = 2, // ABE_RIGHT
    STATE_BOTTOM = 3,
    STATE_FLOAT = -2,
    STATE_NONE = -1,
};

struct PlacementValues {
    int32_t State = STATE_BOTTOM;
    int32_t AutoHide = 0;
    int32_t AlwaysOnTop = 1;
    int32_t DockSize[4] = {0, 0, 0, 0}; // left, top, right, bottom
    RECT FloatRect{0, 0, 0, 0};
    int32_t Monitor = -1;
    // The resolution the sizes and the rectangle are in; an older build wrote none, and its
    // values are in 96-DPI units (it saw no other resolution).
    int32_t Dpi = 96;
};

// Any state other than the four edges and floating is taken as the bottom edge.
int32_t NormaliseState(int32_t stored);

// The same placement with its sizes and floating rectangle at `dpi`.
PlacementValues PlacementAtDpi(const PlacementValues& values, int dpi) noexcept;

// Reads the thirteen values and the resolution with their defaults (State normalised).
// `asStored` tells whether every value was there as SavePlacement would write it.
PlacementValues ReadPlacement(const fw::Profile& profile, bool* asStored = nullptr);
bool SamePlacement(const PlacementValues& a, const PlacementValues& b) noexcept;
void SavePlacement(const fw::Profile& profile, const PlacementValues& values);

// Decides whether the stored sizes and floating rectangle are usable and, when they are,
// returns the floating rectangle normalised and moved into the work area of its nearest
// monitor (`fitToWorkArea` does that move). `primaryWorkArea` bounds the dock sizes.
bool UsablePlacementSizes(const PlacementValues& stored, const RECT& primaryWorkArea,
                          const std::function<RECT(const RECT&)>& fitToWorkArea,
                          RECT& fittedFloatRect);
