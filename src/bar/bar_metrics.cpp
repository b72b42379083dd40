#include "bar/bar_metrics.h"

#include <type_traits>

#include "model/preferences.h"

namespace bar {
namespace {
struct Row {
    SIZE button;
    SIZE gap;
    int leftRight;
    int topBottom;
    SIZE floatSize;
};
// Indexed by ButtonSize code.
constexpr Row kRows[7] = {
    {{40, 40}, {2, 2}, 44, 44, {369, 86}},   // 0 large
    {{24, 24}, {1, 1}, 26, 26, {233, 51}},   // 1 small
    {{32, 32}, {2, 2}, 36, 36, {305, 70}},   // 2 medium
    {{56, 56}, {2, 2}, 60, 60, {497, 118}},  // 3 very large with text
    {{104, 24}, {1, 1}, 106, 26, {453, 51}}, // 4 small and long with text
    {{120, 40}, {2, 2}, 124, 44, {521, 86}}, // 5 large and long with text
    {{80, 56}, {2, 2}, 84, 60, {361, 118}},  // 6 very large and long with text
};
} // namespace

BarMetrics MetricsForButtonSize(int32_t buttonSize, int dpi) noexcept {
    const Row& row = kRows[(buttonSize >= 0 && buttonSize < 7) ? buttonSize : 0];
    BarMetrics m;
    m.button = row.button;
    m.gap = row.gap;
    m.thicknessLeftRight = row.leftRight;
    m.thicknessTopBottom = row.topBottom;
    m.floatSize = row.floatSize;
    if (dpi <= 0 || dpi == model::kBaseDpi)
        return m;
    const auto px = [dpi](auto& value) {
        value = static_cast<std::remove_reference_t<decltype(value)>>(
            model::ScaleForDpi(static_cast<int32_t>(value), dpi));
    };
    const auto size = [&](SIZE& s) {
        px(s.cx);
        px(s.cy);
    };
    m.dpi = dpi;
    size(m.button);
    size(m.gap);
    px(m.thicknessLeftRight);
    px(m.thicknessTopBottom);
    size(m.floatSize);
    size(m.smallButton);
    size(m.layoutButton);
    px(m.tabStrip);
    px(m.collapsed);
    px(m.gripStrip);
    px(m.gripRepaint);
    px(m.toolBarOffset);
    px(m.smallButtonInset.x);
    px(m.smallButtonInset.y);
    px(m.gripHitStart);
    size(m.minFloat);
    size(m.floatStep);
    size(m.floatStateStep);
    views::LayoutSizes& t = m.toolBar;
    t.dpi = dpi;
    for (int* value : {&t.category, &t.grip, &t.paging, &t.tabStrip, &t.line, &t.navigationInset,
                       &t.menuGlyph, &t.arrow})
        px(*value);
    views::TabSizes& tab = t.tab;
    for (int* value : {&tab.scrollButton, &tab.scrollRoom, &tab.depth, &tab.verticalDepth,
                       &tab.textPadding, &tab.iconRoom, &tab.overlap, &tab.icon, &tab.arrow})
        px(*value);
    tab.dpi = dpi;
    return m;
}

int32_t ButtonSizeForCommand(UINT id) noexcept {
    // The menu lists the sizes small, medium, large, then the ones with text.
    switch (id) {
    case 1500:
        return 1;
    case 1501:
        return 2;
    case 1502:
        return 0;
    case 1503:
    case 1504:
    case 1505:
    case 1506:
        return static_cast<int32_t>(id - 1500);
    default:
        return -1;
    }
}

views::ButtonMetrics ToolBarMetrics(const BarMetrics& m) noexcept {
    return views::ButtonMetrics{m.button, m.gap, m.toolBar};
}

FrameAllowance FrameAllowanceFor(int borderWidth, int edgeX, int edgeY) noexcept {
    return FrameAllowance{2 * borderWidth + 2 * edgeX, 2 * borderWidth + 2 * edgeY};
}

SIZE MetricsIncrements(const BarMetrics& m, bool floating) noexcept {
    if (floating)
        return m.floatStep;
    return SIZE{m.button.cx + m.gap.cx, m.button.cy + m.gap.cy};
}

SIZE StateIncrements(const BarMetrics& m, bool floating) noexcept {
    if (floating)
        return m.floatStateStep;
    return SIZE{m.button.cx + m.gap.cx, m.button.cy + m.gap.cy};
}

DefaultSizes ComputeDefaultSizes(const BarMetrics& m, int32_t viewGroupButtonMethod,
                                 FrameAllowance frame, const RECT& workArea) noexcept {
    const bool tabStrip = (viewGroupButtonMethod & VIEW_TAB_STRIP) != 0 &&
                          (viewGroupButtonMethod & VIEW_CATEGORY_ONLY) == 0;
    const int extra = tabStrip ? m.tabStrip : 0;
    DefaultSizes d;
    d.dockSizes[0] = d.dockSizes[2] = m.thicknessLeftRight + extra;
    d.dockSizes[1] = d.dockSizes[3] = m.thicknessTopBottom + extra;

    const LONG width = m.floatSize.cx + frame.ax;
    const LONG height = m.floatSize.cy + frame.ay;
    const LONG left = workArea.left + (workArea.right - workArea.left - width) / 2;
    const LONG top = workArea.top + (workArea.bottom - workArea.top - height) / 2;
    d.floatRect = RECT{left, top, left + width, top + height};
    return d;
}

void ToggleTabStripDockSizes(int32_t dockSizes[4], bool tabStripOn, int tabStrip) noexcept {
    const int32_t delta = tabStripOn ? tabStrip : -tabStrip;
    for (int i = 0; i < 4; ++i)
        dockSizes[i] += delta;
}

} // namespace bar
