#include "views/tab_layout.h"

#include <algorithm>

namespace views {

TabStripFrame LayOutTabStripFrame(SIZE client, bool vertical, bool scrolls,
                                  const TabSizes& sizes) noexcept {
    TabStripFrame f;
    f.vertical = vertical;
    f.scrolls = scrolls;
    const RECT inner{1, 1, client.cx - 1, client.cy - 1};
    f.area = inner;
    const int room = scrolls ? sizes.scrollRoom : 0;
    // The scroll buttons end 2 pixels before the strip's end; the separator lies 2 pixels
    // after the tabs' area.
    const int button = sizes.scrollButton;
    const int gap = (sizes.scrollRoom - 2 * button) / 3;
    if (vertical) {
        f.area.bottom -= room;
        f.area.left = std::max(f.area.left, f.area.right - sizes.verticalDepth);
        const int top = inner.bottom - sizes.scrollRoom;
        if (scrolls)
            f.separator = RECT{inner.left, top + gap, inner.right, top + 2 * gap};
        f.prev = POINT{2, client.cy - 2 - 2 * button};
        f.next = POINT{2, client.cy - 2 - button};
    } else {
        f.area.right -= room;
        f.area.bottom = std::min(f.area.bottom, f.area.top + sizes.depth);
        const int left = inner.right - sizes.scrollRoom;
        if (scrolls)
            f.separator = RECT{left + gap, inner.top, left + 2 * gap, inner.bottom};
        f.prev = POINT{client.cx - 2 - 2 * button, 2};
        f.next = POINT{client.cx - 2 - button, 2};
    }
    return f;
}

bool TabWhollyInside(const RECT& tab, const RECT& area) noexcept {
    return tab.left >= area.left && tab.top >= area.top && tab.right <= area.right &&
           tab.bottom <= area.bottom;
}

TabLayout LayOutTabs(const std::vector<int>& textWidths, int firstVisible, const RECT& area,
                     bool vertical, bool icons, const TabSizes& sizes) {
    TabLayout out;
    int p = 1;
    for (size_t i = static_cast<size_t>(std::max(0, firstVisible)); i < textWidths.size(); ++i) {
        const int end = p + textWidths[i] + sizes.textPadding + (icons ? sizes.iconRoom : 0);
        const RECT r = vertical ? RECT{area.left, p, area.right - 1, end}
                                : RECT{p, area.top, end, area.bottom};
        out.rects.push_back(r);
        // The first tab that does not fit is shown cut off and ends the row.
        if (!TabWhollyInside(r, area))
            break;
        p = end - sizes.overlap;
    }
    return out;
}

namespace {
// The smallest first visible index from which the last tab still lies wholly inside `area`
// (the last index when even that tab alone does not fit).
int LastUsefulFirst(const std::vector<int>& textWidths, const RECT& area, bool vertical, bool icons,
                    const TabSizes& sizes) {
    const int count = static_cast<int>(textWidths.size());
    int first = count - 1;
    while (first > 0) {
        const TabLayout l = LayOutTabs(textWidths, first - 1, area, vertical, icons, sizes);
        if (l.visibleCount() != count - first + 1 || !TabWhollyInside(l.rects.back(), area))
            break;
        --first;
    }
    return std::max(0, first);
}
} // namespace

TabStripPlan PlanTabStrip(SIZE client, bool vertical, const std::vector<int>& textWidths,
                          int firstVisible, bool icons, const TabSizes& sizes) {
    TabStripPlan plan;
    plan.frame = LayOutTabStripFrame(client, vertical, false, sizes);
    plan.tabs = LayOutTabs(textWidths, 0, plan.frame.area, vertical, icons, sizes);
    const bool allFit =
        plan.tabs.visibleCount() == static_cast<int>(textWidths.size()) &&
        (textWidths.empty() || TabWhollyInside(plan.tabs.rects.back(), plan.frame.area));
    if (allFit)
        return plan;
    plan.frame = LayOutTabStripFrame(client, vertical, true, sizes);
    const int last = LastUsefulFirst(textWidths, plan.frame.area, vertical, icons, sizes);
    plan.firstVisible = std::clamp(firstVisible, 0, last);
    plan.tabs = LayOutTabs(textWidths, plan.firstVisible, plan.frame.area, vertical, icons, sizes);
    plan.next = plan.firstVisible < last;
    plan.prev = plan.firstVisible > 0;
    return plan;
}

int ScrolledFirstVisible(SIZE client, bool vertical, const std::vector<int>& textWidths,
                         int firstVisible, int step, bool icons, const TabSizes& sizes) {
    return PlanTabStrip(client, vertical, textWidths, firstVisible + step, icons, sizes)
        .firstVisible;
}

int FirstVisibleToShow(int index, const std::vector<int>& textWidths, int firstVisible,
                       const RECT& area, bool vertical, bool icons, const TabSizes& sizes) {
    const int count = static_cast<int>(textWidths.size());
    if (index < 0 || index >= count)
        return firstVisible;
    const auto layout = [&](int first) {
        return LayOutTabs(textWidths, first, area, vertical, icons, sizes);
    };
    TabLayout now = layout(firstVisible);
    const int visible = now.visibleCount();
    const int last = firstVisible + visible - 1;
    if (index >= firstVisible && index <= last - 1)
        return firstVisible;
    if (index == firstVisible && visible == 1)
        return firstVisible;
    if (index == last && TabWhollyInside(now.rects.back(), area))
        return firstVisible;
    if (index < firstVisible)
        return index;

    int first = firstVisible;
    const auto shown = [&] { return index >= first && index < first + now.visibleCount(); };
    while (!shown() && first < count - 1) {
        ++first;
        now = layout(first);
    }
    const bool cutOff =
        index == first + now.visibleCount() - 1 && !TabWhollyInside(now.rects.back(), area);
    if (cutOff && first < count - 1 && now.visibleCount() > 1)
        ++first;
    return first;
}

} // namespace views
