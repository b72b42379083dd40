#pragma once
// A hidden probe window that measures the ratio of physical to logical pixels at a point of
// the desktop (per-monitor scaling).
#include <windows.h>

#include "framework/window.h"

class CDpiScaleWnd : public fw::Window {
public:
    CDpiScaleWnd() = default;

    // A hidden top-level popup named "DpiScaleWnd" at (0, 0), 100 by 100 pixels, no owner.
    bool CreateProbe();
    // The probe is moved to the point and its rectangle converted to physical pixels; 1 when
    // the conversion is not offered or the probe does not exist.
    float ScaleAt(POINT pt);
};
