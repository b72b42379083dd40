#pragma once
// Where the tabs of the category tab strip go: plain functions over the strip's client size,
// the tabs' text widths and the first visible tab. The window measures and applies.
#include <windows.h>

#include <vector>

namespace views {

// The strip's frame: the area the tabs lie in, the band before the scroll buttons and where
// the two scroll buttons of the strip's orientation go.
struct TabStripFrame {
    bool vertical = false;
    RECT area{};
    RECT separator{};
    POINT prev{}, next{};
};
constexpr int kTabScrollButtonSize = 20;

TabStripFrame LayOutTabStripFrame(SIZE client, bool vertical) noexcept;

struct TabLayout {
    // Rectangles of the tabs laid out, from the first visible one on; the last may be cut off.
    std::vector<RECT> rects;
    int visibleCount() const noexcept { return static_cast<int>(rects.size()); }
};

// `textWidths`: the extent of every tab's name, in order. With `icons` each tab is 20
// pixels longer.
TabLayout LayOutTabs(const std::vector<int>& textWidths, int firstVisible, const RECT& area,
                     bool vertical, bool icons);

bool TabWhollyInside(const RECT& tab, const RECT& area) noexcept;

struct TabScrollStates {
    bool next = false;
    bool prev = false;
};
TabScrollStates ScrollStates(int tabCount, int firstVisible, int visibleCount) noexcept;

// The first visible index that brings tab `index` into view (unchanged when it is in view
// already or outside the list).
int FirstVisibleToShow(int index, const std::vector<int>& textWidths, int firstVisible,
                       const RECT& area, bool vertical, bool icons);

} // namespace views
