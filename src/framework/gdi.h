#pragma once
// Owners for GDI objects, icons, cursors, menus, image lists and device contexts.
#include <windows.h>
#include <commctrl.h>

#include "framework/handle.h"

namespace fw {

// The header of a top-down 32-bit bitmap of `width` by `height` pixels.
inline BITMAPINFO TopDown32(LONG width, LONG height) noexcept {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

template <class T> struct GdiTraits {
    using Type = T;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteObject(h); }
};
struct IconTraits {
    using Type = HICON;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyIcon(h); }
};
struct CursorTraits {
    using Type = HCURSOR;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyCursor(h); }
};
struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyMenu(h); }
};
struct ImageListTraits {
    using Type = HIMAGELIST;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::ImageList_Destroy(h); }
};
struct MemoryDCTraits {
    using Type = HDC;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteDC(h); }
};

using Brush = UniqueHandle<GdiTraits<HBRUSH>>;
using Pen = UniqueHandle<GdiTraits<HPEN>>;
using Font = UniqueHandle<GdiTraits<HFONT>>;
using Bitmap = UniqueHandle<GdiTraits<HBITMAP>>;
using Region = UniqueHandle<GdiTraits<HRGN>>;
using Icon = UniqueHandle<IconTraits>;
using Cursor = UniqueHandle<CursorTraits>;
using Menu = UniqueHandle<MenuTraits>;
using ImageList = UniqueHandle<ImageListTraits>;
using MemoryDC = UniqueHandle<MemoryDCTraits>;

// A window's device context from GetDC, released on scope exit.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    // Takes a device context of `hwnd` from GetDCEx (or none).
    WindowDC(HWND hwnd, HDC dc) noexcept : hwnd_(hwnd), dc_(dc) {}
    ~WindowDC() {
        if (dc_)
            ::ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint/EndPaint pair.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) noexcept : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
    ~PaintDC() { ::EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const noexcept { return dc_; }
    const PAINTSTRUCT& paint() const noexcept { return ps_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectObjectScope() {
        if (old_)
            ::SelectObject(dc_, old_);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace fw
