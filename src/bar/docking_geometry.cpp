#include "bar/docking_geometry.h"

#include <shellapi.h>

#include <cstdlib>

#include "model/placement.h"

namespace bar {
namespace {
bool Inside(const RECT& r, POINT p) noexcept {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
} // namespace

bool IsDockedState(int32_t state) noexcept {
    return state >= STATE_LEFT && state <= STATE_BOTTOM;
}

bool IsVerticalEdge(int32_t state) noexcept {
    return state == STATE_LEFT || state == STATE_RIGHT;
}

int32_t ProposedStateForPoint(const PointContext& c) noexcept {
    const bool leftRight = (c.allowed & ALLOW_LEFT_RIGHT) != 0;
    const bool topBottom = (c.allowed & ALLOW_TOP_BOTTOM) != 0;
    if (c.allowed & ALLOW_FLOAT) {
        if (c.ctrlDown)
            return STATE_FLOAT;
        RECT inner = c.workArea;
        inner.left += c.scrollWidth;
        inner.right -= c.scrollWidth;
        inner.top += c.scrollHeight;
        inner.bottom -= c.scrollHeight;
        if (Inside(inner, c.point) || (!leftRight && !topBottom))
            return STATE_FLOAT;
    }
    const RECT& m = c.monitor;
    const int64_t w = m.right - m.left;
    const int64_t h = m.bottom - m.top;
    const int64_t dx = c.point.x - (m.left + (m.right - m.left) / 2);
    const int64_t dy = c.point.y - (m.top + (m.bottom - m.top) / 2);
    // On a diagonal the left and right edges win.
    if ((std::llabs(dx) * h >= std::llabs(dy) * w && leftRight) || !topBottom)
        return dx < 0 ? STATE_LEFT : STATE_RIGHT;
    return dy < 0 ? STATE_TOP : STATE_BOTTOM;
}

int DockThickness(int32_t state, bool autoHide, const int32_t dockSizes[4],
                  int collapsed) noexcept {
    if (!IsDockedState(state))
        return 0;
    return autoHide ? collapsed : dockSizes[state];
}

RECT CutToEdge(RECT r, int32_t state, int thickness) noexcept {
    switch (state) {
    case STATE_LEFT:
        r.right = r.left + thickness;
        break;
    case STATE_TOP:
        r.bottom = r.top + thickness;
        break;
    case STATE_RIGHT:
        r.left = r.right - thickness;
        break;
    case STATE_BOTTOM:
        r.top = r.bottom - thickness;
        break;
    default:
        break;
    }
    return r;
}

RECT BesideTaskbar(RECT answer, const RECT& taskbar, UINT taskbarEdge,
                   const RECT& workArea) noexcept {
    const bool inside = taskbar.left < taskbar.right && taskbar.top < taskbar.bottom &&
                        taskbar.left >= answer.left && taskbar.right <= answer.right &&
                        taskbar.top >= answer.top && taskbar.bottom <= answer.bottom;
    const bool reserved = taskbar.right <= workArea.left || taskbar.left >= workArea.right ||
                          taskbar.bottom <= workArea.top || taskbar.top >= workArea.bottom;
    if (!inside || !reserved)
        return answer;
    switch (taskbarEdge) {
    case ABE_LEFT:
        if (taskbar.left == answer.left)
            answer.left = taskbar.right;
        break;
    case ABE_TOP:
        if (taskbar.top == answer.top)
            answer.top = taskbar.bottom;
        break;
    case ABE_RIGHT:
        if (taskbar.right == answer.right)
            answer.right = taskbar.left;
        break;
    case ABE_BOTTOM:
        if (taskbar.bottom == answer.bottom)
            answer.bottom = taskbar.top;
        break;
    default:
        break;
    }
    return answer;
}

RECT GrowFromEdge(RECT r, int32_t state, int size) noexcept {
    // The same cut, measured from the edge: the strip widens into the screen.
    return CutToEdge(r, state, size);
}

int EdgeThickness(const RECT& window, int32_t state) noexcept {
    return IsVerticalEdge(state) ? window.right - window.left : window.bottom - window.top;
}

RECT ScaleRect(const RECT& r, float f) noexcept {
    auto scale = [f](LONG v) { return static_cast<LONG>(static_cast<float>(v) * f); };
    return RECT{scale(r.left), scale(r.top), scale(r.right), scale(r.bottom)};
}

POINT RectCentre(const RECT& r) noexcept {
    return POINT{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

DragStep DragMoveStep(int32_t dragState, int32_t proposedState, const RECT& proposedRect,
                      POINT cursor, SIZE floatSize) noexcept {
    DragStep step;
    if (IsDockedState(dragState) && proposedState == STATE_FLOAT) {
        // Leaving an edge: the floating shape hangs from the cursor, slightly to its left.
        step.dragState = STATE_FLOAT;
        step.leftEdge = true;
        step.rect =
            RECT{cursor.x - 10, cursor.y, cursor.x - 10 + floatSize.cx, cursor.y + floatSize.cy};
        return step;
    }
    step.dragState = proposedState;
    step.rect = proposedRect;
    return step;
}

DragEnd FinishDrag(int32_t dragState, int32_t state, bool autoHide, const RECT& window) noexcept {
    DragEnd end;
    if (dragState == state && IsDockedState(dragState) && !autoHide) {
        end.dockEdge = dragState;
        end.thickness = EdgeThickness(window, dragState);
    }
    end.storeFloat = dragState == STATE_FLOAT;
    end.apply = dragState != STATE_NONE;
    return end;
}

LRESULT AppBarHitTest(const HitContext& c) noexcept {
    LRESULT hit = c.defaultAnswer;
    if (hit == HTCLIENT && c.buttonDown)
        hit = HTCAPTION;
    if (!IsDockedState(c.state))
        return hit;
    if (hit < HTLEFT || hit > HTBOTTOMRIGHT)
        return hit;
    const int increment = IsVerticalEdge(c.state) ? c.incrementX : c.incrementY;
    if (increment == 0 || c.autoHide)
        return HTBORDER;
    switch (c.state) {
    case STATE_LEFT:
        return c.client.x >= c.clientSize.cx ? HTRIGHT : HTBORDER;
    case STATE_TOP:
        return c.client.y >= c.clientSize.cy ? HTBOTTOM : HTBORDER;
    case STATE_RIGHT:
        return c.client.x < 0 ? HTLEFT : HTBORDER;
    default:
        return c.client.y < 0 ? HTTOP : HTBORDER;
    }
}

bool CursorAwayFromBar(const RECT& window, POINT cursor, int cxDoubleClick,
                       int cyDoubleClick) noexcept {
    const RECT margin{window.left - 2 * cxDoubleClick, window.top - 2 * cyDoubleClick,
                      window.right + 2 * cxDoubleClick, window.bottom + 2 * cyDoubleClick};
    return !Inside(margin, cursor);
}

} // namespace bar
