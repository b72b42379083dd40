#pragma once
// Pictures of the whole X screen the tests run on, taken by a Linux program started from
// Wine. ImageMagick's `import -window root` reads the screen in one piece; `xwd -root` is not
// used: with Wine's windows on a colormap of their own it reads a window lying wholly inside
// another window of the same program through the lower one and gives a black box there,
// although the screen shows the window.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bartest {

struct ScreenShot {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb; // 3 bytes a pixel, rows top to bottom

    COLORREF Pixel(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
    }
};

// Takes the picture; an empty one (and a failure added to the test) when it cannot.
ScreenShot TakeScreenShot(DWORD timeoutMs = 60000);

// How a window's rectangle looks in a picture.
struct BoxLook {
    size_t colours = 0;     // distinct colours
    COLORREF common = 0;    // the most common one
    double commonShare = 0; // its share of the pixels
};
BoxLook LookAt(const ScreenShot& shot, const RECT& box);

// A window that shows its content: more than one colour, and a light background (the
// windows checked have light faces). A black box fails.
bool ShowsContent(const BoxLook& look);

// The pixels of a box, row by row.
std::vector<COLORREF> Pixels(const ScreenShot& shot, const RECT& box);

} // namespace bartest
