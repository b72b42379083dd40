#pragma once
// A bitmap held as a device-independent section, with a palette that fits it.
#include <windows.h>

#include "framework/gdi.h"

class CDib {
public:
    CDib() = default;
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Loads a bitmap resource at its own size; `module` null means the resource module
    // (with the program's own module behind it).
    bool Load(const wchar_t* name, HINSTANCE module = nullptr);
    bool Load(UINT id, HINSTANCE module = nullptr) { return Load(MAKEINTRESOURCEW(id), module); }
    // Takes ownership of `bitmap` and builds its palette: the colour table when it has one,
    // else the screen's halftone palette.
    bool Attach(HBITMAP bitmap);
    void Destroy() noexcept;

    HBITMAP bitmap() const noexcept { return bitmap_.get(); }
    HPALETTE palette() const noexcept { return palette_.get(); }
    const BITMAP& info() const noexcept { return info_; }
    bool IsValid() const noexcept { return static_cast<bool>(bitmap_); }

private:
    fw::Bitmap bitmap_;
    fw::UniqueHandle<fw::GdiTraits<HPALETTE>> palette_;
    BITMAP info_{};
};
