#pragma once
// Fonts made for the resolution a window is drawn at. The system's fonts are made for the
// screen's resolution; a window on a monitor of another scale needs them larger or smaller.
#include <windows.h>

#include "framework/gdi.h"

namespace ui {

// `lf`, a font of the screen's resolution, for a window at `dpi`.
LOGFONTW FontAtDpi(LOGFONTW lf, int dpi);

// The user-interface font (DEFAULT_GUI_FONT) at `dpi`; `vertical` turns it to read top to
// bottom. At the screen's resolution the horizontal one is the stock font itself. Made once
// per resolution and kept for the life of the process: the bar draws with it on every paint.
HFONT GuiFont(int dpi, bool vertical = false);

// The message font of the system's metrics at `dpi`, for a window that keeps its own.
fw::Font MessageFont(int dpi);

} // namespace ui
