#include "views/tab_layout.h"

#include <algorithm>

namespace views {

namespace {
constexpr int kScrollRoom = 46;    // scroll buttons and the band before them
constexpr int kAreaDepth = 19;     // a horizontal tab's height
constexpr int kVerticalDepth = 20; // a vertical tab's width
constexpr int kTextPadding = 18;
constexpr int kIconRoom = 20;
constexpr int kOverlap = 5;
} // namespace

TabStripFrame LayOutTabStripFrame(SIZE client, bool vertical, bool scrolls) noexcept {
    TabStripFrame f;
    f.vertical = vertical;
    f.scrolls = scrolls;
    const RECT inner{1, 1, client.cx - 1, client.cy - 1};
    f.area = inner;
    const int room = scrolls ? kScrollRoom : 0;
    if (vertical) {
        f.area.bottom -= room;
        f.area.left = std::max(f.area.left, f.area.right - kVerticalDepth);
        if (scrolls)
            f.separator = RECT{inner.left, inner.bottom - 44, inner.right, inner.bottom - 42};
        f.prev = POINT{2, client.cy - 42};
        f.next = POINT{2, client.cy - 22};
    } else {
        f.area.right -= room;
        f.area.bottom = std::min(f.area.bottom, f.area.top + kAreaDepth);
        if (scrolls)
            f.separator = RECT{inner.right - 44, inner.top, inner.right - 42, inner.bottom};
        f.prev = POINT{client.cx - 42, 2};
        f.next = POINT{client.cx - 22, 2};
    }
    return f;
}

bool TabWhollyInside(const RECT& tab, const RECT& area) noexcept {
    return tab.left >= area.left && tab.top >= area.top && tab.right <= area.right &&
           tab.bottom <= area.bottom;
}

TabLayout LayOutTabs(const std::vector<int>& textWidths, int firstVisible, const RECT& area,
                     bool vertical, bool icons) {
    TabLayout out;
    int p = 1;
    for (size_t i = static_cast<size_t>(std::max(0, firstVisible)); i < textWidths.size(); ++i) {
        const int end = p + textWidths[i] + kTextPadding + (icons ? kIconRoom : 0);
        const RECT r = vertical ? RECT{area.left, p, area.right - 1, end}
                                : RECT{p, area.top, end, area.bottom};
        out.rects.push_back(r);
        // The first tab that does not fit is shown cut off and ends the row.
        if (!TabWhollyInside(r, area))
            break;
        p = end - kOverlap;
    }
    return out;
}

namespace {
// The smallest first visible index from which the last tab still lies wholly inside `area`
// (the last index when even that tab alone does not fit).
int LastUsefulFirst(const std::vector<int>& textWidths, const RECT& area, bool vertical,
                    bool icons) {
    const int count = static_cast<int>(textWidths.size());
    int first = count - 1;
    while (first > 0) {
        const TabLayout l = LayOutTabs(textWidths, first - 1, area, vertical, icons);
        if (l.visibleCount() != count - first + 1 || !TabWhollyInside(l.rects.back(), area))
            break;
        --first;
    }
    return std::max(0, first);
}
} // namespace

TabStripPlan PlanTabStrip(SIZE client, bool vertical, const std::vector<int>& textWidths,
                          int firstVisible, bool icons) {
    TabStripPlan plan;
    plan.frame = LayOutTabStripFrame(client, vertical, false);
    plan.tabs = LayOutTabs(textWidths, 0, plan.frame.area, vertical, icons);
    const bool allFit =
        plan.tabs.visibleCount() == static_cast<int>(textWidths.size()) &&
        (textWidths.empty() || TabWhollyInside(plan.tabs.rects.back(), plan.frame.area));
    if (allFit)
        return plan;
    plan.frame = LayOutTabStripFrame(client, vertical, true);
    const int last = LastUsefulFirst(textWidths, plan.frame.area, vertical, icons);
    plan.firstVisible = std::clamp(firstVisible, 0, last);
    plan.tabs = LayOutTabs(textWidths, plan.firstVisible, plan.frame.area, vertical, icons);
    plan.next = plan.firstVisible < last;
    plan.prev = plan.firstVisible > 0;
    return plan;
}

int ScrolledFirstVisible(SIZE client, bool vertical, const std::vector<int>& textWidths,
                         int firstVisible, int step, bool icons) {
    return PlanTabStrip(client, vertical, textWidths, firstVisible + step, icons).firstVisible;
}

int FirstVisibleToShow(int index, const std::vector<int>& textWidths, int firstVisible,
                       const RECT& area, bool vertical, bool icons) {
    const int count = static_cast<int>(textWidths.size());
    if (index < 0 || index >= count)
        return firstVisible;
    const auto layout = [&](int first) {
        return LayOutTabs(textWidths, first, area, vertical, icons);
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
