#pragma once
// Decisions of a drag over the bar and of the drop that ends it, as plain functions: the
// flag word sent with a drag, whether the drop goes into its target, the effect answered to
// the drag source and where a dropped node is inserted.
#include <windows.h>
#include <ole2.h>

#include <cstdint>

#include "document/tree_edits.h"

namespace views {

// Bits of the flag word of a drag over the bar.
enum : uint32_t {
    kDragDepthMask = 0x0000FFFF,
    kDragIsButton = 0x10000000,
    kDragNotFileList = 0x20000000,
    kDragMarkOnly = 0x40000000,
    kDragFromOutside = 0x80000000,
};

// The flag word of data dragged in from another program.
constexpr uint32_t OutsideDragFlags(bool fileList) noexcept {
    return kDragFromOutside | kDragIsButton | (fileList ? 0u : kDragNotFileList);
}

enum class TargetKind { None, Button, Category };

// What the bar knows about the target under the pointer.
struct DropTargetFacts {
    TargetKind kind = TargetKind::None;
    int depth = 0;        // 1 for a top-level category
    bool ordinary = true; // neither separator nor "Go Up"
    bool goUp = false;    // the "Go Up" button
    bool middle = false;  // the point lies in the middle third of the target's window
};

// The middle third of a window: its rectangle shrunk by a third of each side's length.
bool InMiddleThird(const RECT& window, POINT point) noexcept;

// The answer of a drag over the bar outside the tab strip: true when the drop would go into
// the target (a category, or the program a file is opened with).
bool DropsInto(uint32_t flags, const DropTargetFacts& target) noexcept;

// The drag messages the bar takes: wParam the screen point (x low word, y high word),
// lParam the flag word; the answer is 1 when the drop would go into the target.
constexpr UINT WM_LARK_DRAG_OVER = 0x833C;
constexpr UINT WM_LARK_DRAG_END = 0x833D;
// Posted by a button dragged on the bar when it is released: wParam the screen point,
// lParam the dragged node's serial number.
constexpr UINT WM_LARK_DROP_MOVE = 0x8334;
constexpr UINT WM_LARK_DROP_COPY = 0x8335;
constexpr UINT WM_LARK_DROP_REMOVE = 0x8336;

// The flag word of a button or category dragged on the bar; `overItself` while the pointer
// has not yet left the dragged button (the mark is then only erased).
constexpr uint32_t OwnDragFlags(int depth, bool button, bool overItself) noexcept {
    return (static_cast<uint32_t>(depth) & kDragDepthMask) | (button ? kDragIsButton : 0u) |
           (overItself ? kDragMarkOnly : 0u);
}

// The cursor a held button shows while the pointer moves, and what its release there does.
enum class DragCursor { Arrow, Move, Copy, Remove };
DragCursor ChooseDragCursor(bool overButton, bool insideBar, bool ctrl) noexcept;
// The message the button posts to the bar when it is released where it shows `cursor`
// (WM_LARK_DROP_MOVE, _COPY, _REMOVE), or 0: the arrow drops nothing.
UINT DropMessageFor(DragCursor cursor) noexcept;

// Where the drop mark of a drag over the bar goes (outside the tab strip).
enum class MarkOn { Nothing, Target, FirstProgram, FirstCategory };
struct DropMark {
    MarkOn on = MarkOn::Nothing;
    bool after = true; // a thin bar at the window's right edge, else at its left
    bool into = false; // the whole window is framed: the drop goes into the target
};
DropMark MarkFor(uint32_t flags, const DropTargetFacts& target, bool insideBar) noexcept;
// The thin bar (or, for a drop into the target, the whole rectangle) a mark draws.
RECT MarkRect(const RECT& window, const DropMark& mark) noexcept;

// The effect answered while dragging: a drop into a target reads as a move, else a copy.
constexpr DWORD DragOverEffect(bool into) noexcept {
    return into ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}
// The wanted effect as far as the source allows it: a move falls back to a copy, a copy to
// a link; none when the source allows neither.
DWORD AllowedEffect(DWORD wanted, DWORD allowed) noexcept;

// Whether a drop with this effect goes into its target; false for an effect that asks for
// no drop at all.
bool IntoFromEffect(DWORD effect, bool& into) noexcept;

// The effect handed back when the drop is over. The bar only ever copies what it is given:
// a move would tell the source to delete its files.
DWORD FinalDropEffect(DWORD allowed) noexcept;

using document::Insertion;

// Where a node dropped from another program goes.
Insertion InsertionFor(const DropTargetFacts& target, bool into) noexcept;

// Where a button (or category) of the bar dragged from `depth` goes when it is dropped.
Insertion InsertionForDragged(bool button, int depth, const DropTargetFacts& target) noexcept;

} // namespace views
