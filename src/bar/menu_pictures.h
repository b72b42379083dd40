#pragma once
// The command pictures of the program's menus (bitmap 380 at 16 pixels, 391 and 392 at 24 and
// 32, magenta transparent) in an image list, drawn beside menu items when the menu asks its
// owner for them.
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
    // Loads the strip of 16 pixels; without it (a language pack that lacks it) menus show
    // no pictures.
    MenuPictures();
    // The strip of the largest size not above `size` (16, 24 or 32), made when it changes:
    // the menus' other pictures are the small list's, of the bar's resolution.
    void SetSize(int size);
    // Marks the items of `menu` and of its popups that have a picture (`pictureFor`); the
    // menu then asks its owner to measure and draw them (WM_MEASUREITEM, WM_DRAWITEM).
    void Apply(HMENU menu, MenuPicture (*pictureFor)(UINT) = &MenuPictureFor) const;
    // The owner's answers; false when the item is not one of these pictures.
    bool Measure(MEASUREITEMSTRUCT& item) const;
    bool Draw(const DRAWITEMSTRUCT& item) const;
    int Count() const noexcept;

private:
    fw::ImageList list_;
    int size_ = 0;
};

} // namespace bar
