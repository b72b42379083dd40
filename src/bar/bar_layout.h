#pragma once
// Layout rules of the main window: where its three children go, how sizing snaps to whole
// buttons, the minimum sizes, the sizing borders inside the grip strip and the strip itself.
#include <windows.h>

#include <cstdint>

#include "bar/bar_metrics.h"

namespace bar {

// The grip strip at the start of the bar, and the area repainted on activation changes (at
// 96 DPI; BarMetrics has them at the bar's resolution).
constexpr int kGripStripSize = 15;
constexpr int kGripRepaintSize = 17;

struct ChildLayout {
    enum Action { Skip, Hide, Place } action = Skip;
    RECT menuButton{};
    RECT exitButton{};
    RECT toolBar{};
};
// Nothing for an empty client area; the children hidden on a collapsed auto-hide bar; else
// the grip buttons at the start of the bar and the program button bar filling the rest.
ChildLayout LayOutChildren(SIZE client, bool collapsed,
                           const BarMetrics& m = BarMetrics{}) noexcept;

// A bar is vertical when it is narrower than it is high.
bool IsVerticalClient(SIZE client) noexcept;
// The grip strip (or, with `size` = kGripRepaintSize, the area repainted around it).
RECT GripStripRect(SIZE client, bool vertical, int size = kGripStripSize) noexcept;

// Sizing moves the dragged edges by whole increments only.
RECT SnapSizingRect(const RECT& current, const RECT& proposed, UINT edge, SIZE increment) noexcept;

struct MinTrackSize {
    bool hasWidth = false;
    bool hasHeight = false;
    POINT size{};
};
// Floating: 32 x 32 (at 96 DPI). Docked without auto-hide: the thickness for the edge plus the
// frame allowance across the bar; nothing along it.
MinTrackSize MinimumTrackSize(int32_t state, bool autoHide, const BarMetrics& m,
                              FrameAllowance frame) noexcept;

// The main window's own sizing borders: the inner half of the grip side of a docked bar.
// `hitStart`: none within this distance of the grip's start.
LRESULT GripHitTest(LRESULT answer, int32_t state, POINT client, SIZE clientSize,
                    int hitStart = BarMetrics{}.gripHitStart) noexcept;

// The grip strip colour: the caption colours, or black and silver in monochrome.
COLORREF GripColour(bool active, bool iconMono, COLORREF activeCaption,
                    COLORREF inactiveCaption) noexcept;

} // namespace bar
