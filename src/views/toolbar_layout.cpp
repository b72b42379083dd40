#include "views/toolbar_layout.h"

#include <algorithm>

#include "model/preferences.h"

namespace views {
namespace {

RECT At(int x, int y, int w, int h) noexcept {
    return RECT{x, y, x + w, y + h};
}

void Show(Place& place, const RECT& rect) noexcept {
    place.visible = true;
    place.rect = rect;
}

} // namespace

int SpacingExtra(int32_t spacing, int length) noexcept {
    switch (spacing) {
    case 1:
        return length / 8;
    case 2:
        return length / 4;
    case 3:
        return length / 2;
    default:
        return 0;
    }
}

BarLayout LayoutBar(const BarLayoutInput& in) {
    BarLayout out;
    out.categories.resize(static_cast<size_t>(std::max(0, in.categoryWindows)));
    out.programs.resize(in.slots.size());
    out.firstVisible = in.resetPaging ? 0 : in.firstVisible;
    out.visibleCount = in.resetPaging ? 0 : in.visibleCount;
    const int w = in.client.cx;
    const int h = in.client.cy;
    if (w < 0 || h < 0) {
        out.firstVisible = in.firstVisible;
        out.visibleCount = in.visibleCount;
        return out;
    }
    out.applies = true;

    const bool vertical = in.vertical;
    const int M = in.margin;
    const int W = in.button.cx;
    const int H = in.button.cy;
    const int C = in.sizes.category;
    const int L = in.sizes.line; // a separator line and the room on each side of it
    const int32_t V = in.viewFlags;
    const bool anyView = (V & 0x000F) != 0;
    const bool iconView = (V & VIEW_ICON_BUTTONS) != 0;
    const bool categoryOnly = (V & VIEW_CATEGORY_ONLY) != 0;
    const bool tabsShown = (V & VIEW_TAB_STRIP) && !categoryOnly;
    // Vertical bar: "along" is x (rows run left to right), "across" is y (rows stack down).
    // Horizontal bar: "along" is y (columns run top to bottom), "across" is x.
    const int alongSize = vertical ? w : h;
    const int acrossSize = vertical ? h : w;

    if (vertical)
        Show(out.grip, At(0, 0, w, in.sizes.grip));
    else
        Show(out.grip, At(0, 0, in.sizes.grip, h));

    // Navigation buttons, across from the grip.
    int across = M + in.sizes.navigationInset;
    if (!anyView) {
        if (2 * (M + C) < alongSize) {
            const RECT sel = vertical ? At(M, across, C, C) : At(across, M, C, C);
            const RECT par = vertical ? At(w - C, across, C, C) : At(across, h - C, C, C);
            Show(out.selectCategory, sel);
            Show(out.parent, par);
            across += C;
        } else {
            // Too narrow for both side by side: one after the other across the bar.
            const RECT sel = vertical ? At(M, across, C, C) : At(across, M, C, C);
            const RECT par = vertical ? At(M, across + C + M, C, C) : At(across + C + M, M, C, C);
            Show(out.selectCategory, sel);
            Show(out.parent, par);
            across += C + M + C;
        }
    }

    // Category icon buttons: rows of cells (columns on a horizontal bar).
    int lastLine = across; // start of the last row (column) of category buttons
    int afterCategories = across;
    if (iconView) {
        const int cellW = categoryOnly ? W + in.sizes.menuGlyph : C;
        const int cellH = categoryOnly ? H : C;
        const int cellAlong = vertical ? cellW : cellH;
        const int cellAcross = vertical ? cellH : cellW;
        const bool singleRow = !vertical && std::max(1, (h - M) / cellH) == 1;
        int along = M;
        int line = across;
        const auto fits = [&](int a, int l) {
            return a + cellAlong <= alongSize && l + cellAcross <= acrossSize;
        };
        const int placeable = std::min(in.categoryNodes, in.categoryWindows);
        bool any = false;
        for (int i = 0; i < placeable; ++i) {
            if (!fits(along, line)) {
                along = M;
                line += cellAcross;
                if (!fits(along, line))
                    break;
            }
            CategoryPlace& place = out.categories[static_cast<size_t>(i)];
            place.visible = true;
            place.rect = vertical ? At(along, line, cellW, cellH) : At(line, along, cellW, cellH);
            place.menuGlyph = categoryOnly;
            place.singleRow = singleRow;
            lastLine = line;
            any = true;
            along += cellAlong;
        }
        if (any)
            afterCategories = lastLine + cellAcross;
    }

    // The separator line between the category area and the program buttons.
    int start = afterCategories; // where the program area begins, across the bar
    if (iconView && !categoryOnly) {
        const int lineAt = lastLine + C + L;
        Show(out.separator, vertical ? At(0, lineAt, w, L) : At(lineAt, 0, L, h));
        start = lineAt + 2 * L;
    } else if (!anyView && !categoryOnly) {
        const int lineAt = across + L;
        Show(out.separator, vertical ? At(0, lineAt, w, L) : At(lineAt, 0, L, h));
        start = lineAt + 2 * L;
    }

    // Tab strip: down the left of a vertical bar, along the bottom of a horizontal one.
    int alongStart = 0; // vertical bar: where program rows begin (right of the tab strip)
    int acrossEnd = acrossSize;
    int alongEnd = alongSize; // horizontal bar: above the tab strip
    if (tabsShown) {
        const int T = in.sizes.tabStrip;
        if (vertical) {
            Show(out.tabs, At(0, start + L, T, h - start - 2 * L));
            alongStart = T;
        } else {
            Show(out.tabs, At(start + L, h - T, w - start - 2 * L, T));
            alongEnd = h - T;
        }
    }

    // Paging buttons.
    if (!categoryOnly) {
        const int P = in.sizes.paging;
        const int edge = L / 2; // the buttons keep off the bar's edge
        if (vertical) {
            Show(out.nextV, At(w - (P + edge), start + L, P, P));
            Show(out.prevV, At(w - 2 * (P + edge), start + L, P, P));
        } else {
            Show(out.nextH, At(start + L, edge, P, P));
            Show(out.prevH, At(start + L, P + L, P, P));
        }
        start += P + 2 * L;
    }
    out.programArea = vertical ? RECT{0, start, w, h} : RECT{start, 0, w, h};

    // Program buttons.
    const size_t n = in.slots.size();
    size_t i = 0;
    if (!categoryOnly) {
        // Vertical: cells are W wide and H + spacing high; rows go down from `start`.
        // Horizontal: cells are W + spacing wide and H high; rows go down from M, starting
        // at `start` along x. In both, "x" below runs along a row and "y" down the rows.
        const int cellX = vertical ? W : W + SpacingExtra(in.spacing, W);
        const int cellY = vertical ? H + SpacingExtra(in.spacing, H) : H;
        const int rowStart = vertical ? M + alongStart : start;
        const int rowEnd = w;
        const int bottom = vertical ? acrossEnd : alongEnd;
        int x = rowStart;
        int y = vertical ? start : M;
        bool rowEmpty = true;
        const auto fits = [&](int cx, int cy) {
            return cx + cellX <= rowEnd && cy + cellY <= bottom;
        };
        i = static_cast<size_t>(std::max(0, out.firstVisible));
        int placed = 0;
        for (; i < n; ++i) {
            const SlotRole role = in.slots[i];
            if (role == SlotRole::Free)
                break;
            Place& place = out.programs[i];
            if (role == SlotRole::Separator) {
                if (vertical) {
                    // A line across the area, starting a row of its own.
                    const int lineY = rowEmpty ? y : y + cellY;
                    Show(place, At(M + alongStart, lineY, w - 2 * M, H / 4));
                    y = lineY + H / 4;
                    x = rowStart;
                    rowEmpty = true;
                } else {
                    // A narrow cell in the flow.
                    Show(place, At(x, y, W / 4, H));
                    x += W / 4;
                    rowEmpty = false;
                }
                ++placed;
                continue;
            }
            if (!fits(x, y)) {
                if (!rowEmpty) {
                    x = rowStart;
                    y += cellY;
                    rowEmpty = true;
                }
                if (!fits(x, y)) {
                    out.visibleCount = placed;
                    break;
                }
            }
            Show(place, At(x, y, cellX, cellY));
            x += cellX;
            rowEmpty = false;
            ++placed;
        }
    }
    for (size_t k = i; k < n; ++k)
        if (in.slots[k] != SlotRole::Free) {
            out.canPageForward = true;
            break;
        }
    if (categoryOnly)
        out.canPageForward = false;
    out.canPageBack = out.firstVisible >= 1;
    return out;
}

int PageWindowCount(const std::vector<Place>& programs, int first, int windowLimit) noexcept {
    int count = 0;
    for (size_t i = static_cast<size_t>(std::max(0, first));
         i < programs.size() && programs[i].visible && count < windowLimit; ++i)
        ++count;
    return count;
}

int PagedFirstVisible(int firstVisible, int step, int usedSlots) noexcept {
    const int first = std::max(0, firstVisible + step);
    if (first == firstVisible || (step > 0 && first >= usedSlots))
        return -1;
    return first;
}

int WheelFirstVisible(int firstVisible, int visibleCount, int usedSlots, int delta, bool ctrl,
                      bool shift) noexcept {
    int step = ctrl ? visibleCount / 2 : shift ? visibleCount : 1;
    if (delta > 0)
        step = -step;
    if (step < 0 && firstVisible <= 0)
        return -1;
    if (step >= 0 && firstVisible + step >= usedSlots)
        return -1;
    return std::max(0, firstVisible + step);
}

size_t PageCapacity(SIZE client, SIZE button) noexcept {
    const auto along = [](LONG length, LONG cell) {
        return static_cast<size_t>(std::max<LONG>(length, 0) / std::max<LONG>(cell, 1)) + 1;
    };
    return along(client.cx, button.cx) * along(client.cy, button.cy);
}

} // namespace views
