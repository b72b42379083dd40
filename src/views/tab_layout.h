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
    bool scrolls = true; // without the scroll buttons the area runs to the strip's end
    RECT area{};
    RECT separator{};
    POINT prev{}, next{};
};
constexpr int kTabScrollButtonSize = 20;

// The strip's insides in pixels at the bar's resolution (the defaults: 96 DPI).
struct TabSizes {
    int scrollButton = kTabScrollButtonSize;
    int scrollRoom = 46;    // the scroll buttons and the band before them
    int depth = 19;         // a horizontal tab's height
    int verticalDepth = 20; // a vertical tab's width
    int textPadding = 18;   // a tab is this much longer than its name
    int iconRoom = 20;      // and this much longer again with a picture
    int overlap = 5;        // neighbouring tabs overlap by this much; also the tabs' slant
    int icon = 16;          // a tab's picture
    int arrow = 16;         // the scroll buttons' pictures
    int dpi = 96;           // the resolution these are at, for the names' font
};

TabStripFrame LayOutTabStripFrame(SIZE client, bool vertical, bool scrolls = true,
                                  const TabSizes& sizes = TabSizes{}) noexcept;

struct TabLayout {
    // Rectangles of the tabs laid out, from the first visible one on; the last may be cut off.
    std::vector<RECT> rects;
    int visibleCount() const noexcept { return static_cast<int>(rects.size()); }
};

// `textWidths`: the extent of every tab's name, in order. With `icons` each tab is 20
// pixels longer.
TabLayout LayOutTabs(const std::vector<int>& textWidths, int firstVisible, const RECT& area,
                     bool vertical, bool icons, const TabSizes& sizes = TabSizes{});

bool TabWhollyInside(const RECT& tab, const RECT& area) noexcept;

// The whole strip for a first visible tab: the scroll buttons show only when the tabs do not
// all fit, and scrolling ends once the last tab lies wholly in view (the first visible index
// is held there, also when the strip grows).
struct TabStripPlan {
    TabStripFrame frame;
    int firstVisible = 0;
    TabLayout tabs;
    bool next = false;
    bool prev = false;
};
TabStripPlan PlanTabStrip(SIZE client, bool vertical, const std::vector<int>& textWidths,
                          int firstVisible, bool icons, const TabSizes& sizes = TabSizes{});

// The first visible tab after the scroll buttons moved the strip by `step` tabs from
// `firstVisible`: where the plan puts it, so scrolling stops before the first tab and once
// the last lies wholly in view, as the buttons show.
int ScrolledFirstVisible(SIZE client, bool vertical, const std::vector<int>& textWidths,
                         int firstVisible, int step, bool icons,
                         const TabSizes& sizes = TabSizes{});

// The first visible index that brings tab `index` into view (unchanged when it is in view
// already or outside the list).
int FirstVisibleToShow(int index, const std::vector<int>& textWidths, int firstVisible,
                       const RECT& area, bool vertical, bool icons,
                       const TabSizes& sizes = TabSizes{});

} // namespace views
