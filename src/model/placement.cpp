#include "model/placement.h"

#include <utility>

#include "framework/profile.h"
#include "model/dpi_units.h"

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

PlacementValues ReadPlacement(const fw::Profile& profile) {
    const wchar_t* s = kAppBarInfoSection;
    PlacementValues v;
    v.State = NormaliseState(profile.GetInt(s, L"State", STATE_BOTTOM));
    v.AutoHide = profile.GetInt(s, L"AutoHide", 0);
    v.AlwaysOnTop = profile.GetInt(s, L"AlwaysOnTop", 1);
    for (int i = 0; i < 4; ++i)
        v.DockSize[i] = profile.GetInt(s, kDockSizeNames[i], 0);
    v.FloatRect.left = profile.GetInt(s, L"FloatRectLeft", 0);
    v.FloatRect.top = profile.GetInt(s, L"FloatRectTop", 0);
    v.FloatRect.right = profile.GetInt(s, L"FloatRectRight", 0);
    v.FloatRect.bottom = profile.GetInt(s, L"FloatRectBottom", 0);
    v.Monitor = profile.GetInt(s, L"Monitor", -1);
    const int32_t dpi = profile.GetInt(s, L"Dpi", model::kBaseDpi);
    v.Dpi = dpi > 0 ? dpi : model::kBaseDpi;
    return v;
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
