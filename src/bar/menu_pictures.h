#pragma once
// The 16x16 command pictures of the program's menus (bitmap 380, magenta transparent) in an
// image list, drawn beside menu items when the menu asks its owner for them.
#include <windows.h>

#include "framework/gdi.h"

namespace bar {

// Pictures of the strip, in its order (tools/gen_menu_art.py draws them).
enum MenuPicture : int {
    PIC_NONE = -1,
    PIC_PREFERENCES = 0,
    PIC_ALWAYS_ON_TOP,
    PIC_AUTO_HIDE,
    PIC_AUTO_HIDE_TIME,
    PIC_ABOUT,
    PIC_HOMEPAGE,
    PIC_EXIT,
    PIC_ICON_VIEW,
    PIC_TAB_VIEW,
    PIC_CATEGORY_ONLY,
    PIC_ADD_CATEGORY,
    PIC_REFRESH,
    PIC_POSITION, // every item of the "Position" popup
    PIC_SIZE,     // every item of the "Button Size" popup
    PIC_CUT,
    PIC_COPY,
    PIC_PASTE,
    PIC_DELETE,
    PIC_PROPERTIES,
    PIC_NEW_BUTTON,
    PIC_SEPARATOR,
    PIC_COUNT
};

// The picture of a bar command, or PIC_NONE.
MenuPicture MenuPictureFor(UINT command) noexcept;

class MenuPictures {
public:
    // Loads the strip; without it (a language pack that lacks it) menus show no pictures.
    MenuPictures();
    // Marks the items of `menu` and of its popups that have a picture (`pictureFor`); the
    // menu then asks its owner to measure and draw them (WM_MEASUREITEM, WM_DRAWITEM).
    void Apply(HMENU menu, MenuPicture (*pictureFor)(UINT) = &MenuPictureFor) const;
    // The owner's answers; false when the item is not one of these pictures.
    static bool Measure(MEASUREITEMSTRUCT& item);
    bool Draw(const DRAWITEMSTRUCT& item) const;
    int Count() const noexcept;

private:
    fw::ImageList list_;
};

} // namespace bar
