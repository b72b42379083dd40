#pragma once
// The arithmetic of a list of equal rows seen through a window: which row is at the top,
// which is selected, how keys, the wheel and clicks move them. Plain values in and out, so
// the list window only gathers its input and applies the answer.
#include <windows.h>

namespace fw {

struct RowScroll {
    int count = 0;     // rows in the list
    int top = 0;       // the first row shown
    int selected = -1; // -1: none
    int fullRows = 1;  // rows that fit whole in the window (at least one)

    // The last top row that still fills the window.
    int MaxTop() const noexcept;
    // `top` moved to `wanted`, kept within the list.
    RowScroll ScrolledTo(int wanted) const noexcept;
    // The top moved the least so that the selection is seen whole.
    RowScroll Revealing() const noexcept;
    // The selection moved by a key (Up, Down, PageUp, PageDown, Home, End) and revealed; any
    // other key leaves it as it is. With no selection yet, any move selects the first row.
    RowScroll AfterKey(UINT key) const noexcept;
    // The row under `y` pixels from the top of the window, or -1 below the last one.
    int RowAt(int y, int rowHeight) const noexcept;
};

} // namespace fw
