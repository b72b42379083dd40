#include "bar/grip_buttons.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/gdi.h"
#include "framework/resources.h"
#include "resource.h"
#include "views/contrast.h"

namespace {
SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

// The exit glyph with black, greys and white turned into the button colours in force.
HBITMAP LoadMappedBitmap(UINT id) {
    HBITMAP bitmap =
        ::CreateMappedBitmap(fw::ResourceModule(), static_cast<INT_PTR>(id), 0, nullptr, 0);
    if (!bitmap && fw::ResourceModule() != fw::ProgramModule())
        bitmap = ::CreateMappedBitmap(fw::ProgramModule(), static_cast<INT_PTR>(id), 0, nullptr, 0);
    return bitmap;
}
// The glyph of a small button of `rect`: the largest drawn that leaves a pixel all round
// (9 pixels in the 11-pixel buttons of 96 DPI, 15 and 20 at 150 % and 200 %).
UINT GlyphFor(const RECT& rect, UINT at9, UINT at15, UINT at20) {
    const LONG room = std::min(rect.right - rect.left, rect.bottom - rect.top) - 2;
    return room >= 20 ? at20 : room >= 15 ? at15 : at9;
}
} // namespace

void DrawMenuButton(HDC dc, bool pressed, const RECT& rect) {
    RECT r = rect;
    // White, or the window colour of a high-contrast scheme.
    ::FillRect(dc, &r,
               views::HighContrast() ? ::GetSysColorBrush(COLOR_WINDOW)
                                     : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::DrawEdge(dc, &r, BDR_SUNKENINNER, BF_RECT);
    if (!pressed)
        return;
    fw::Bitmap glyph(fw::LoadResBitmap(
        GlyphFor(rect, IDB_MENU_BUTTON, IDB_MENU_BUTTON_15, IDB_MENU_BUTTON_20), 0));
    if (!glyph)
        return;
    fw::MemoryDC memory(::CreateCompatibleDC(dc));
    fw::SelectObjectScope select(memory.get(), glyph.get());
    const SIZE size = BitmapSize(glyph.get());
    ::BitBlt(dc, r.left + 1, r.top + 1, size.cx, size.cy, memory.get(), 0, 0, SRCCOPY);
}

void DrawExitButton(HDC dc, bool pressed, const RECT& rect) {
    RECT r = rect;
    ::DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    fw::Bitmap glyph(
        LoadMappedBitmap(GlyphFor(rect, IDB_EXIT_BUTTON, IDB_EXIT_BUTTON_15, IDB_EXIT_BUTTON_20)));
    if (!glyph)
        return;
    fw::MemoryDC memory(::CreateCompatibleDC(dc));
    fw::SelectObjectScope select(memory.get(), glyph.get());
    const SIZE size = BitmapSize(glyph.get());
    const int offset = pressed ? 2 : 1;
    // The glyph's background is the button face: leave the frame showing through it.
    ::GdiTransparentBlt(dc, r.left + offset, r.top + offset, size.cx, size.cy, memory.get(), 0, 0,
                        size.cx, size.cy, ::GetSysColor(COLOR_BTNFACE));
}
