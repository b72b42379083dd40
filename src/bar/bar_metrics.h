#pragma once
// Every size of the bar derives from the button size and the resolution of the bar's monitor:
// the metrics table, the frame allowance, the size increments and the default dock sizes and
// floating rectangle. The sizes are 96-DPI values scaled here, and nowhere else.
#include <windows.h>

#include <cstdint>

#include "bar/docking_geometry.h"
#include "model/dpi_units.h"
#include "views/toolbar_layout.h"

namespace bar {

// The tab strip adds this much to every dock size (at 96 DPI).
constexpr int kTabStripThickness = 24;

// Every field is in pixels at `dpi`; the defaults are the large buttons at 96 DPI.
struct BarMetrics {
    int dpi = model::kBaseDpi;
    SIZE button{40, 40};
    SIZE gap{2, 2};
    int thicknessLeftRight = 44; // width when docked left or right, without the tab strip
    int thicknessTopBottom = 44; // height when docked top or bottom, without the tab strip
    SIZE floatSize{369, 86};     // default floating size, frame not included
    SIZE smallButton{11, 11};    // the menu and exit buttons on the grip strip
    SIZE layoutButton{24, 24};   // used by the program button bar's layout
    int tabStrip = kTabStripThickness;
    int collapsed = kCollapsedThickness; // an auto-hide bar's strip
    int gripStrip = 15;                  // the coloured grip strip
    int gripRepaint = 17;                // what is repainted around it on activation
    int toolBarOffset = 19;              // where the program button bar starts
    POINT smallButtonInset{2, 1};        // along and across the grip strip
    int gripHitStart = 13;               // no sizing border before this, along the grip
    SIZE minFloat{32, 32};               // the smallest floating bar
    SIZE floatStep{8, 8};                // sizing steps of a floating bar
    SIZE floatStateStep{2, 2};           // and the steps a state change sets
    views::LayoutSizes toolBar;          // the fixed sizes inside the program button bar
};

// The row of the table for a `ButtonSize` code (unknown codes take the row of 0), every size
// scaled to `dpi`.
BarMetrics MetricsForButtonSize(int32_t buttonSize, int dpi = model::kBaseDpi) noexcept;
// The code of a Button Size command (1500 to 1506), or -1 for any other identifier.
int32_t ButtonSizeForCommand(UINT id) noexcept;

// What the program button bar takes of the metrics.
views::ButtonMetrics ToolBarMetrics(const BarMetrics& m) noexcept;

// What a sizing frame adds to the bar: 2 x border + 2 x edge in each direction.
struct FrameAllowance {
    int ax = 0;
    int ay = 0;
};
FrameAllowance FrameAllowanceFor(int borderWidth, int edgeX, int edgeY) noexcept;

// Size increments: a button and its gap when docked, 8 by 8 when floating.
SIZE MetricsIncrements(const BarMetrics& m, bool floating) noexcept;
// Increments a state change sets: a button and its gap when docked, 2 by 2 when floating.
SIZE StateIncrements(const BarMetrics& m, bool floating) noexcept;

// Dock sizes and floating rectangle computed from the metrics, replacing the user's.
struct DefaultSizes {
    int32_t dockSizes[4] = {0, 0, 0, 0}; // left, top, right, bottom
    RECT floatRect{};
};
// The tab strip counts when it is on and the category-only view is off. The floating
// rectangle is the default size plus the frame allowance, centred in `workArea`.
DefaultSizes ComputeDefaultSizes(const BarMetrics& m, int32_t viewGroupButtonMethod,
                                 FrameAllowance frame, const RECT& workArea) noexcept;

// Turning the tab strip on or off grows or shrinks every dock size by the strip.
void ToggleTabStripDockSizes(int32_t dockSizes[4], bool tabStripOn,
                             int tabStrip = kTabStripThickness) noexcept;

} // namespace bar
