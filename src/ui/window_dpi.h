#pragma once
// The resolution a window is drawn at, which the bar's sizes are scaled to.
#include <windows.h>

namespace ui {

// The resolution of the monitor the window is on where the system tells it per window
// (GetDpiForWindow, looked up by name: older systems lack it), else the screen's. The
// single-byte edition does not declare itself aware of resolutions: it is drawn at 96 DPI
// and the system stretches it.
int WindowDpi(HWND hwnd);
// The screen's resolution, for what is sized before a window exists.
int SystemDpi();
// GetSystemMetrics(`index`), a size at the screen's resolution, for a window at `dpi`.
int SystemMetricAt(int index, int dpi);

} // namespace ui
