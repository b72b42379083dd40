#include "bar/grip_buttons.h"

#include <commctrl.h>

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
    fw::Bitmap glyph(fw::LoadResBitmap(IDB_MENU_BUTTON, 0));
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
    fw::Bitmap glyph(LoadMappedBitmap(IDB_EXIT_BUTTON));
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
