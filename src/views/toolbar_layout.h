#pragma once
// Where every window of the program button bar goes: a function from the bar's client size,
// button metrics, view flags and the slots' roles to rectangles, visibility and paging.
// The window applies the answer in one deferred batch.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "views/tab_layout.h"

namespace views {

// Category buttons and the two navigation buttons are always this size.
constexpr int kCategoryButtonSize = 24;
constexpr int kGripThickness = 7;
constexpr int kPagingButtonSize = 12;
constexpr int kTabStripWidth = 24;

// What a program button slot holds, as far as the layout cares.
enum class SlotRole : uint8_t { Free, Button, Separator };

struct Place {
    bool visible = false; // hidden windows keep their place
    RECT rect{};
};

struct CategoryPlace : Place {
    bool menuGlyph = false;
    bool singleRow = false;
};

// The fixed sizes of the layout, in pixels at the bar's resolution (the defaults: 96 DPI).
struct LayoutSizes {
    int category = kCategoryButtonSize; // category and navigation buttons
    int grip = kGripThickness;
    int paging = kPagingButtonSize;
    int tabStrip = kTabStripWidth;
    int line = 2;             // the separator line, and the room on each side of it
    int navigationInset = 10; // the navigation buttons' distance from the grip
    int menuGlyph = 12;       // room for the menu glyph beside a category-only button
    int arrow = 16;           // the navigation and paging buttons' pictures
    TabSizes tab;             // the tab strip's insides
    int dpi = 96;             // the resolution these are at, for the buttons' faces
};

// A program button's size and the gap around it, with the fixed sizes, which the main window
// derives from the button size and the resolution and hands down whenever they change.
struct ButtonMetrics {
    ButtonMetrics() = default;
    ButtonMetrics(SIZE b, SIZE g, const LayoutSizes& s = LayoutSizes{}) noexcept
        : button(b), gap(g), sizes(s) {}
    SIZE button{56, 56};
    SIZE gap{2, 2};
    LayoutSizes sizes;
};

struct BarLayoutInput {
    SIZE client{};
    // The main window's orientation, handed down: never the bar's own shape, which differs
    // from the main window's by the grip strip.
    bool vertical = false;
    SIZE button{40, 40}; // W x H of a program button
    int margin = 2;      // M
    LayoutSizes sizes;
    int32_t spacing = 0; // ButtonSpacing code
    int32_t viewFlags = 0;
    // Category button windows, in order; only those before the first free one can be placed.
    int categoryWindows = 0;
    int categoryNodes = 0;
    std::vector<SlotRole> slots; // program button windows, in order
    int firstVisible = 0;
    int visibleCount = 0;
    bool resetPaging = false;
};

struct BarLayout {
    bool applies = false; // false when the client area is negative: nothing moves
    Place grip, selectCategory, parent, nextH, prevH, nextV, prevV, separator, tabs;
    std::vector<CategoryPlace> categories;
    std::vector<Place> programs;
    int firstVisible = 0;
    int visibleCount = 0;
    bool canPageForward = false;
    bool canPageBack = false;
    RECT programArea{}; // repainted after the layout
};

// How much ButtonSpacing adds to a program cell along the bar (1, 2, 3: 1/8, 1/4, 1/2).
int SpacingExtra(int32_t spacing, int length) noexcept;

BarLayout LayoutBar(const BarLayoutInput& in);

// At most how many program buttons one page of a bar with this client area shows: no page
// LayoutBar makes holds more (it leaves gaps and room for other buttons). At least 1.
size_t PageCapacity(SIZE client, SIZE button) noexcept;

// How many button windows the page that starts at slot `first` needs: the shown places from
// there on, no more than `windowLimit` (there are identifiers for that many).
int PageWindowCount(const std::vector<Place>& programs, int first, int windowLimit) noexcept;

// The first visible index after paging by `step` buttons, or -1 when that would leave the
// page empty (past the last used slot) or change nothing.
int PagedFirstVisible(int firstVisible, int step, int usedSlots) noexcept;

// The first visible index after a wheel turn, or -1 when the turn changes nothing.
// `usedSlots`: the index of the last slot with a node, plus one.
int WheelFirstVisible(int firstVisible, int visibleCount, int usedSlots, int delta, bool ctrl,
                      bool shift) noexcept;

} // namespace views
