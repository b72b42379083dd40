#include "views/drop_rules.h"

namespace views {

DragCursor ChooseDragCursor(bool overButton, bool insideBar, bool ctrl) noexcept {
    if (overButton)
        return DragCursor::Arrow;
    if (insideBar)
        return ctrl ? DragCursor::Copy : DragCursor::Move;
    return ctrl ? DragCursor::Remove : DragCursor::Arrow;
}

UINT DropMessageFor(DragCursor cursor) noexcept {
    switch (cursor) {
    case DragCursor::Move:
        return WM_LARK_DROP_MOVE;
    case DragCursor::Copy:
        return WM_LARK_DROP_COPY;
    case DragCursor::Remove:
        return WM_LARK_DROP_REMOVE;
    default:
        return 0;
    }
}

bool InMiddleThird(const RECT& window, POINT point) noexcept {
    const LONG dx = (window.right - window.left) / 3;
    const LONG dy = (window.bottom - window.top) / 3;
    return point.x >= window.left + dx && point.x < window.right - dx &&
           point.y >= window.top + dy && point.y < window.bottom - dy;
}

bool DropsInto(uint32_t flags, const DropTargetFacts& target) noexcept {
    const bool button = (flags & kDragIsButton) != 0;
    const bool outside = (flags & kDragFromOutside) != 0;
    const bool notFileList = (flags & kDragNotFileList) != 0;
    const int depth = static_cast<int>(flags & kDragDepthMask);
    switch (target.kind) {
    case TargetKind::None:
        return false;
    case TargetKind::Button:
        return button && outside && !notFileList && target.ordinary && target.middle;
    case TargetKind::Category:
        if (!button)
            return false;
        if (outside)
            return target.depth <= 1 || (target.middle && target.ordinary);
        if (target.depth == depth)
            return target.middle && !notFileList;
        return target.ordinary;
    }
    return false;
}

bool IntoFromEffect(DWORD effect, bool& into) noexcept {
    switch (effect) {
    case DROPEFFECT_COPY:
    case DROPEFFECT_LINK:
        into = false;
        return true;
    case DROPEFFECT_MOVE:
        into = true;
        return true;
    default:
        return false;
    }
}

DWORD AllowedEffect(DWORD wanted, DWORD allowed) noexcept {
    if (wanted == DROPEFFECT_MOVE && (allowed & DROPEFFECT_MOVE))
        return DROPEFFECT_MOVE;
    if (wanted != DROPEFFECT_NONE && (allowed & DROPEFFECT_COPY))
        return DROPEFFECT_COPY;
    if (wanted != DROPEFFECT_NONE && (allowed & DROPEFFECT_LINK))
        return DROPEFFECT_LINK;
    return DROPEFFECT_NONE;
}

DWORD FinalDropEffect(DWORD allowed) noexcept {
    return AllowedEffect(DROPEFFECT_COPY, allowed);
}

Insertion InsertionFor(const DropTargetFacts& target, bool into) noexcept {
    // "Go Up" is no node of the tree, whatever it is taken for (a button scrolled out before
    // the first shown one): nothing can go after it.
    if (target.goUp)
        return Insertion::FirstOfShown;
    switch (target.kind) {
    case TargetKind::None:
        return Insertion::FirstOfShown;
    case TargetKind::Button:
        return Insertion::AfterTarget;
    case TargetKind::Category:
        return into ? Insertion::IntoTarget : Insertion::AfterTarget;
    }
    return Insertion::FirstOfShown;
}

DropMark MarkFor(uint32_t flags, const DropTargetFacts& target, bool insideBar) noexcept {
    DropMark mark;
    if (target.kind != TargetKind::None) {
        mark.on = MarkOn::Target;
        mark.into = DropsInto(flags, target);
        return mark;
    }
    if (!insideBar)
        return mark;
    // Nowhere in particular: before the first button of the area the item would go to.
    const bool button = (flags & kDragIsButton) != 0;
    const int depth = static_cast<int>(flags & kDragDepthMask);
    mark.on = button || depth > 1 ? MarkOn::FirstProgram : MarkOn::FirstCategory;
    mark.after = false;
    return mark;
}

RECT MarkRect(const RECT& window, const DropMark& mark) noexcept {
    if (mark.into)
        return window;
    RECT r = window;
    if (mark.after)
        r.left = r.right - 2;
    else
        r.right = r.left + 2;
    return r;
}

Insertion InsertionForDragged(bool button, int depth, const DropTargetFacts& target) noexcept {
    if (target.kind == TargetKind::None)
        return button || depth > 1 ? Insertion::FirstOfShown : Insertion::FirstOfRoot;
    // "Go Up" is no node of the tree: what lands on it starts the shown category.
    if (target.goUp)
        return Insertion::FirstOfShown;
    if (!button || target.kind == TargetKind::Button)
        return Insertion::AfterTarget;
    // A button never goes among the top-level categories: they take it in.
    if (target.depth <= 1 || target.middle)
        return Insertion::IntoTarget;
    return Insertion::AfterTarget;
}

} // namespace views
