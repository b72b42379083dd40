#pragma once
// A button's pixels as the screen shows them, and as its own paint draws them.
#include <windows.h>

#include <vector>

#include "framework/gdi.h"
#include "views/book_button.h"

namespace viewtest {

// What the window shows, read back from the screen's copy of it.
inline std::vector<COLORREF> Shown(HWND hwnd, SIZE size) {
    std::vector<COLORREF> pixels;
    fw::WindowDC dc(hwnd);
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            pixels.push_back(::GetPixel(dc.get(), x, y));
    return pixels;
}

// What the button draws for its paint, drawn off the screen.
inline std::vector<COLORREF> Painted(CBookButton& button, SIZE size) {
    fw::WindowDC screen(nullptr);
    fw::MemoryDC memory(::CreateCompatibleDC(screen.get()));
    fw::Bitmap bitmap(::CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    fw::SelectObjectScope use(memory.get(), bitmap.get());
    button.PaintInto(memory.get());
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            pixels.push_back(::GetPixel(memory.get(), x, y));
    return pixels;
}

inline SIZE ClientSize(HWND hwnd) {
    RECT r{};
    ::GetClientRect(hwnd, &r);
    return SIZE{r.right, r.bottom};
}

} // namespace viewtest
