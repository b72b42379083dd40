// The glyphs of the grip strip's small buttons are drawn for the buttons' size.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "bar/grip_buttons.h"
#include "framework/gdi.h"

namespace {

// How wide the glyph (the button text's colour inside the frame) is in a button of `size`.
int InkWidth(int size, void (*draw)(HDC, bool, const RECT&), bool pressed) {
    BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    fw::Bitmap dib(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    fw::MemoryDC dc(::CreateCompatibleDC(nullptr));
    fw::SelectObjectScope use(dc.get(), dib.get());
    draw(dc.get(), pressed, RECT{0, 0, size, size});
    ::GdiFlush();
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    const uint32_t ink = GetRValue(text) << 16 | GetGValue(text) << 8 | GetBValue(text);
    int left = size, right = -1;
    for (int i = 0; bits && i < size * size; ++i)
        if (i % size >= 2 && i % size < size - 2 && i / size >= 2 && i / size < size - 2 &&
            (static_cast<const uint32_t*>(bits)[i] & 0xFFFFFF) == ink) {
            left = std::min(left, i % size);
            right = std::max(right, i % size);
        }
    return std::max(0, right - left + 1);
}

TEST(GripButtons, GlyphsGrowWithTheButtons) {
    const struct { int size, exitInk, menuInk; } rows[] = {{11, 7, 7}, {17, 11, 11}, {22, 14, 16}};
    for (const auto& r : rows) {
        // The menu button shows its glyph only while pressed.
        EXPECT_EQ(InkWidth(r.size, &DrawExitButton, false), r.exitInk) << r.size;
        EXPECT_EQ(InkWidth(r.size, &DrawMenuButton, true), r.menuInk) << r.size;
    }
}

} // namespace
