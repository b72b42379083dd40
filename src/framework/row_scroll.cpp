#include "framework/row_scroll.h"

#include <algorithm>

namespace fw {

int RowScroll::MaxTop() const noexcept {
    return std::max(0, count - std::max(1, fullRows));
}

RowScroll RowScroll::ScrolledTo(int wanted) const noexcept {
    RowScroll next = *this;
    next.top = std::clamp(wanted, 0, MaxTop());
    return next;
}

RowScroll RowScroll::Revealing() const noexcept {
    if (selected < 0)
        return ScrolledTo(top);
    const int rows = std::max(1, fullRows);
    if (selected < top)
        return ScrolledTo(selected);
    if (selected >= top + rows)
        return ScrolledTo(selected - rows + 1);
    return ScrolledTo(top);
}

RowScroll RowScroll::AfterKey(UINT key) const noexcept {
    if (count <= 0)
        return *this;
    // A page keeps one row of the last page in sight.
    const int page = std::max(1, fullRows - 1);
    const int from = selected;
    int to = from;
    switch (key) {
    case VK_UP:
        to = from - 1;
        break;
    case VK_DOWN:
        to = from + 1;
        break;
    case VK_PRIOR:
        to = from - page;
        break;
    case VK_NEXT:
        to = from + page;
        break;
    case VK_HOME:
        to = 0;
        break;
    case VK_END:
        to = count - 1;
        break;
    default:
        return *this;
    }
    RowScroll next = *this;
    next.selected = from < 0 ? 0 : std::clamp(to, 0, count - 1);
    return next.Revealing();
}

int RowScroll::RowAt(int y, int rowHeight) const noexcept {
    if (y < 0 || rowHeight <= 0)
        return -1;
    const int row = top + y / rowHeight;
    return row < count ? row : -1;
}

} // namespace fw
