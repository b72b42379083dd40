#pragma once
// Docking geometry of the application bar as plain functions over plain values: the
// placement a point proposes, the docked rectangle cut from the shell's answer, the steps of
// a drag, the hit-test answers and the auto-hide collapse check. The window code gathers the
// inputs (cursor, monitor rectangles, system metrics) and applies the results.
#include <windows.h>

#include <cstdint>

namespace bar {

// Placements a bar may take (flag word).
enum : int32_t {
    ALLOW_LEFT_RIGHT = 1,
    ALLOW_TOP_BOTTOM = 2,
    ALLOW_FLOAT = 4,
    ALLOW_ALL = ALLOW_LEFT_RIGHT | ALLOW_TOP_BOTTOM | ALLOW_FLOAT,
};

// What an auto-hide bar reserves at its edge and shows while collapsed (at 96 DPI).
#ifdef LARK_SINGLE_BYTE
constexpr int kCollapsedThickness = 6;
#else
constexpr int kCollapsedThickness = 3;
#endif

// Left, top, right or bottom edge (the shell's ABE_ values).
bool IsDockedState(int32_t state) noexcept;
// Left and right bars are vertical.
bool IsVerticalEdge(int32_t state) noexcept;

// Everything the proposed placement for a screen point depends on.
struct PointContext {
    POINT point{};
    bool ctrlDown = false;
    int32_t allowed = ALLOW_ALL;
    RECT monitor{};       // full rectangle of the monitor nearest to the point
    RECT workArea{};      // work area of that monitor
    int scrollWidth = 0;  // width of a vertical scroll bar
    int scrollHeight = 0; // height of a horizontal scroll bar
};

// Floating inside the work area (less a scroll bar's margin) or with Ctrl held; otherwise the
// edge whose side of the monitor's diagonals the point lies on.
int32_t ProposedStateForPoint(const PointContext& c) noexcept;

// The thickness reserved at an edge: the dock size, or the collapsed strip with auto-hide.
int DockThickness(int32_t state, bool autoHide, const int32_t dockSizes[4],
                  int collapsed = kCollapsedThickness) noexcept;
// The shell's answer cut to `thickness` at the state's edge.
RECT CutToEdge(RECT r, int32_t state, int thickness) noexcept;
// The shell's answer for a docked bar, moved off a taskbar that it leaves inside at the
// taskbar's edge (Wine's taskbar is no application bar, so its shell answers with the whole
// monitor). Only a taskbar the system keeps windows off (one outside the work area) counts:
// a taskbar that hides itself is docked over, as Windows does. `taskbarEdge` is an ABE_ value.
RECT BesideTaskbar(RECT answer, const RECT& taskbar, UINT taskbarEdge,
                   const RECT& workArea) noexcept;
// An expanded auto-hide bar grows away from its edge to `size`.
RECT GrowFromEdge(RECT r, int32_t state, int size) noexcept;
// The bar's thickness at its edge: width when docked left or right, height otherwise.
int EdgeThickness(const RECT& window, int32_t state) noexcept;

// Each coordinate multiplied by `f`, truncated toward zero.
RECT ScaleRect(const RECT& r, float f) noexcept;
POINT RectCentre(const RECT& r) noexcept;

// One step of dragging the bar.
struct DragStep {
    int32_t dragState = 0;
    RECT rect{};           // the rectangle the system moves the window to
    bool leftEdge = false; // the bar left its edge: resize only, the system places it
};
// `proposedRect` is the rectangle for `proposedState` (the system's own when floating).
DragStep DragMoveStep(int32_t dragState, int32_t proposedState, const RECT& proposedRect,
                      POINT cursor, SIZE floatSize) noexcept;

// What a finished drag stores: a resize at the edge it began on keeps the new thickness for
// that edge only (not with auto-hide, whose strip is no size of the user's), a floating end
// keeps the floating rectangle; the drag's state is then applied unless there is none.
struct DragEnd {
    int32_t dockEdge = -1; // the edge whose dock size becomes `thickness`, or -1
    int thickness = 0;
    bool storeFloat = false; // the floating rectangle becomes the drag's last rectangle
    bool apply = false;      // SetState(dragState)
};
// `window` is the last rectangle of the drag.
DragEnd FinishDrag(int32_t dragState, int32_t state, bool autoHide, const RECT& window) noexcept;

// The bar's answer to a hit test, from the default answer. A press anywhere in the client
// area drags the bar; a docked bar sizes only at the border facing the screen's interior.
struct HitContext {
    LRESULT defaultAnswer = HTNOWHERE;
    bool buttonDown = false;
    int32_t state = 0;
    bool autoHide = false;
    int incrementX = 0;
    int incrementY = 0;
    POINT client{}; // the point in client coordinates
    SIZE clientSize{};
};
LRESULT AppBarHitTest(const HitContext& c) noexcept;

// True when the cursor lies outside the window enlarged by twice the double-click rectangle
// on every side: an expanded auto-hide bar may then collapse.
bool CursorAwayFromBar(const RECT& window, POINT cursor, int cxDoubleClick,
                       int cyDoubleClick) noexcept;

} // namespace bar
