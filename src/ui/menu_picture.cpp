#include "ui/menu_picture.h"

namespace ui {

namespace {
int PictureSize(HIMAGELIST list) noexcept {
    int cx = 0;
    int cy = 0;
    return list && ::ImageList_GetIconSize(list, &cx, &cy) && cx > 0 ? cx : kMenuPictureSize;
}
} // namespace

void MeasureMenuPicture(MEASUREITEMSTRUCT& item, HIMAGELIST list) noexcept {
    const int size = PictureSize(list);
    item.itemWidth = static_cast<UINT>(size + size / 4);
    item.itemHeight = static_cast<UINT>(size);
}

void DrawMenuPicture(HIMAGELIST list, int index, const DRAWITEMSTRUCT& item) noexcept {
    const RECT& r = item.rcItem;
    ::ImageList_Draw(list, index, item.hDC, r.left,
                     r.top + (r.bottom - r.top - PictureSize(list)) / 2, ILD_TRANSPARENT);
}

} // namespace ui
