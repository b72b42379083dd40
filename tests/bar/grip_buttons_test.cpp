// The glyphs of the grip strip's small buttons are drawn for the buttons' size.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "bar/grip_buttons.h"
#include "framework/gdi.h"

namespace {

// The width of the columns holding the button text's colour when `draw` paints a button of
// `size` pixels (the menu button shows its glyph only while pressed).
int InkWidth(int size, void (*draw)(HDC, bool, const RECT&), bool pressed) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(bi.bmiHeader), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    fw::Bitmap dib(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    fw::MemoryDC dc(::CreateCompatibleDC(nullptr));
    if (!dib || !dc)
        return -1;
    fw::SelectObjectScope use(dc.get(), dib.get());
    draw(dc.get(), pressed, RECT{0, 0, size, size});
    ::GdiFlush();
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    const uint32_t ink = GetRValue(text) << 16 | GetGValue(text) << 8 | GetBValue(text);
    int left = size, right = -1;
    // Inside the frame only: the frame's dark edge is not the glyph.
    for (int y = 2; y < size - 2; ++y)
        for (int x = 2; x < size - 2; ++x)
            if ((static_cast<const uint32_t*>(bits)[y * size + x] & 0xFFFFFF) == ink) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return right < left ? 0 : right - left + 1;
}

TEST(GripButtons, GlyphsGrowWithTheButtons) {
    const struct { int size, exitInk, menuInk; } rows[] = {{11, 7, 7}, {17, 11, 11}, {22, 14, 16}};
    for (const auto& r : rows) {
        EXPECT_EQ(InkWidth(r.size, &DrawExitButton, false), r.exitInk) << r.size;
        EXPECT_EQ(InkWidth(r.size, &DrawMenuButton, true), r.menuInk) << r.size;
    }
}

} // namespace
