#pragma once
// The pictures the program puts beside menu items (HBMMENU_CALLBACK items, which ask their
// owner to measure and draw them), at the size of the list they are drawn from (16 pixels at
// 96 DPI).
#include <windows.h>
#include <commctrl.h>

namespace ui {

constexpr int kMenuPictureSize = 16;

// The menu starts every item's text where the widest picture it measured ends: the measure
// includes the gap that parts a picture from its text, a quarter of the picture.
void MeasureMenuPicture(MEASUREITEMSTRUCT& item, HIMAGELIST list) noexcept;
// Picture `index` of `list` at the left of the item's picture box, centred in its height.
void DrawMenuPicture(HIMAGELIST list, int index, const DRAWITEMSTRUCT& item) noexcept;

} // namespace ui
