#include "model/placement.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "framework/profile.h"
#include "model/dpi_units.h"
#include "model/stored_values.h"

namespace {
constexpr int kMinimumSize = 20;
const wchar_t* const kDockSizeNames[4] = {L"DockSizeLeft", L"DockSizeTop", L"DockSizeRight",
                                          L"DockSizeBottom"};
} // namespace

int32_t NormaliseState(int32_t stored) {
    if ((stored >= STATE_LEFT && stored <= STATE_BOTTOM) || stored == STATE_FLOAT)
        return stored;
    return STATE_BOTTOM;
}

PlacementValues ReadPlacement(const fw::Profile& profile, bool* asStored) {
    StoredValues values(profile, kAppBarInfoSection);
    PlacementValues v;
    v.State = values.Get(L"State", STATE_BOTTOM, &NormaliseState);
    v.AutoHide = values.Get(L"AutoHide", 0);
    v.AlwaysOnTop = values.Get(L"AlwaysOnTop", 1);
    for (int i = 0; i < 4; ++i)
        v.DockSize[i] = values.Get(kDockSizeNames[i], 0);
    v.FloatRect.left = values.Get(L"FloatRectLeft", 0);
    v.FloatRect.top = values.Get(L"FloatRectTop", 0);
    v.FloatRect.right = values.Get(L"FloatRectRight", 0);
    v.FloatRect.bottom = values.Get(L"FloatRectBottom", 0);
    v.Monitor = values.Get(L"Monitor", -1);
    v.Dpi = values.Get(L"Dpi", model::kBaseDpi,
                       [](int32_t dpi) { return dpi > 0 ? dpi : model::kBaseDpi; });
    if (asStored)
        *asStored = values.AsStored();
    return v;
}

bool SamePlacement(const PlacementValues& a, const PlacementValues& b) noexcept {
    return a.State == b.State && a.AutoHide == b.AutoHide && a.AlwaysOnTop == b.AlwaysOnTop &&
           std::equal(std::begin(a.DockSize), std::end(a.DockSize), std::begin(b.DockSize)) &&
           ::EqualRect(&a.FloatRect, &b.FloatRect) && a.Monitor == b.Monitor && a.Dpi == b.Dpi;
}

void SavePlacement(const fw::Profile& profile, const PlacementValues& v) {
    const wchar_t* s = kAppBarInfoSection;
    profile.WriteInt(s, L"State", v.State);
    profile.WriteInt(s, L"AutoHide", v.AutoHide);
    profile.WriteInt(s, L"AlwaysOnTop", v.AlwaysOnTop);
    profile.WriteInt(s, L"Monitor", v.Monitor);
    for (int i = 0; i < 4; ++i)
        profile.WriteInt(s, kDockSizeNames[i], v.DockSize[i]);
    profile.WriteInt(s, L"FloatRectLeft", v.FloatRect.left);
    profile.WriteInt(s, L"FloatRectTop", v.FloatRect.top);
    profile.WriteInt(s, L"FloatRectRight", v.FloatRect.right);
    profile.WriteInt(s, L"FloatRectBottom", v.FloatRect.bottom);
    profile.WriteInt(s, L"Dpi", v.Dpi);
}

PlacementValues PlacementAtDpi(const PlacementValues& values, int dpi) noexcept {
    PlacementValues v = values;
    const auto at = [&](int32_t value) { return model::ScaleBetweenDpi(value, values.Dpi, dpi); };
    for (int32_t& size : v.DockSize)
        size = at(size);
    // The whole rectangle: an older build saw a desktop of 96-DPI units, positions included.
    v.FloatRect = RECT{at(values.FloatRect.left), at(values.FloatRect.top),
                       at(values.FloatRect.right), at(values.FloatRect.bottom)};
    if (dpi > 0)
        v.Dpi = dpi;
    return v;
}

bool UsablePlacementSizes(const PlacementValues& stored, const RECT& primaryWorkArea,
                          const std::function<RECT(const RECT&)>& fitToWorkArea,
                          RECT& fittedFloatRect) {
    const int32_t halfWidth = (primaryWorkArea.right - primaryWorkArea.left) / 2;
    const int32_t halfHeight = (primaryWorkArea.bottom - primaryWorkArea.top) / 2;
    bool usable = true;
    for (int32_t size : stored.DockSize)
        if (size < kMinimumSize)
            usable = false;
    if (stored.DockSize[STATE_LEFT] > halfWidth || stored.DockSize[STATE_RIGHT] > halfWidth)
        usable = false;
    if (stored.DockSize[STATE_TOP] > halfHeight || stored.DockSize[STATE_BOTTOM] > halfHeight)
        usable = false;

    RECT r = stored.FloatRect;
    if (r.right < r.left)
        std::swap(r.left, r.right);
    if (r.bottom < r.top)
        std::swap(r.top, r.bottom);
    if (r.right == r.left || r.bottom == r.top)
        usable = false;

    r = fitToWorkArea(r);
    if (r.right - r.left < kMinimumSize || r.bottom - r.top < kMinimumSize)
        return false;
    fittedFloatRect = r;
    return usable;
}
