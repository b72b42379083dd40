#include "ui/menu_picture.h"

namespace ui {

namespace {
constexpr int kTextGap = 4;
} // namespace

void MeasureMenuPicture(MEASUREITEMSTRUCT& item) noexcept {
    item.itemWidth = kMenuPictureSize + kTextGap;
    item.itemHeight = kMenuPictureSize;
}

void DrawMenuPicture(HIMAGELIST list, int index, const DRAWITEMSTRUCT& item) noexcept {
    const RECT& r = item.rcItem;
    ::ImageList_Draw(list, index, item.hDC, r.left,
                     r.top + (r.bottom - r.top - kMenuPictureSize) / 2, ILD_TRANSPARENT);
}

} // namespace ui
