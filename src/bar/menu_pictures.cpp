#include "bar/menu_pictures.h"

#include <cstdint>

#include "framework/resources.h"
#include "resource.h"
#include "ui/menu_picture.h"

namespace bar {

namespace {
constexpr int kSize = ui::kMenuPictureSize;
// Marks the item data of these pictures (high half), the picture below it.
constexpr ULONG_PTR kTag = 0x4C4D4E55ULL << 32;

bool IsPicture(ULONG_PTR data) {
    return (data & (0xFFFFFFFFULL << 32)) == kTag;
}
} // namespace

MenuPicture MenuPictureFor(UINT command) noexcept {
    if (command >= ID_POSITION_LEFT && command <= ID_POSITION_TRAY_ONLY)
        return PIC_POSITION;
    if (command >= ID_BUTTON_SIZE_SMALL && command <= ID_BUTTON_SIZE_VERY_LARGE_LONG)
        return PIC_SIZE;
    switch (command) {
    case ID_PREFERENCES:
        return PIC_PREFERENCES;
    case ID_ALWAYS_ON_TOP:
        return PIC_ALWAYS_ON_TOP;
    case ID_AUTO_HIDE:
        return PIC_AUTO_HIDE;
    case ID_AUTO_HIDE_TIME:
        return PIC_AUTO_HIDE_TIME;
    case ID_APP_ABOUT:
        return PIC_ABOUT;
    case ID_HOMEPAGE:
        return PIC_HOMEPAGE;
    case ID_APP_EXIT:
        return PIC_EXIT;
    case ID_VIEW_ICON:
        return PIC_ICON_VIEW;
    case ID_VIEW_TAB:
    case ID_VIEW_TAB_ICON:
        return PIC_TAB_VIEW;
    case ID_VIEW_CATEGORY_ONLY:
        return PIC_CATEGORY_ONLY;
    case ID_ADD_CATEGORY:
        return PIC_ADD_CATEGORY;
    case ID_REFRESH_CATEGORY:
        return PIC_REFRESH;
    default:
        return PIC_NONE;
    }
}

MenuPictures::MenuPictures() {
    SetSize(kSize);
}

void MenuPictures::SetSize(int wanted) {
    const int size = wanted >= 32 ? 32 : wanted >= 24 ? 24 : kSize;
    if (size == size_)
        return;
    size_ = size;
    list_.reset();
    const fw::Bitmap strip = fw::LoadResBitmap(size == 32   ? IDB_MENU_PICTURES_32
                                               : size == 24 ? IDB_MENU_PICTURES_24
                                                            : IDB_MENU_PICTURES,
                                               0);
    BITMAP info{};
    if (!strip || !::GetObjectW(strip.get(), sizeof(info), &info) || info.bmHeight < size)
        return;
    list_.reset(::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, info.bmWidth / size, 0));
    if (list_)
        ::ImageList_AddMasked(list_.get(), strip.get(), RGB(255, 0, 255));
}

int MenuPictures::Count() const noexcept {
    return list_ ? ::ImageList_GetImageCount(list_.get()) : 0;
}

void MenuPictures::Apply(HMENU menu, MenuPicture (*pictureFor)(UINT)) const {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii) ||
            (mii.fType & MFT_SEPARATOR))
            continue;
        if (mii.hSubMenu) {
            Apply(mii.hSubMenu, pictureFor);
            continue;
        }
        const MenuPicture picture = pictureFor(mii.wID);
        if (picture < 0 || picture >= Count())
            continue;
        MENUITEMINFOW set{};
        set.cbSize = sizeof(set);
        set.fMask = MIIM_BITMAP | MIIM_DATA;
        set.hbmpItem = HBMMENU_CALLBACK;
        set.dwItemData = kTag | static_cast<uint32_t>(picture);
        ::SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &set);
    }
}

bool MenuPictures::Measure(MEASUREITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || !IsPicture(item.itemData))
        return false;
    ui::MeasureMenuPicture(item, list_.get());
    return true;
}

bool MenuPictures::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || !IsPicture(item.itemData))
        return false;
    ui::DrawMenuPicture(list_.get(), static_cast<int>(item.itemData & 0xFFFFFFFFu), item);
    return true;
}

} // namespace bar
