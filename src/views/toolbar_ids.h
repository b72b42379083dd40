#pragma once
// Identifiers of the program button bar's child windows and the commands they send.
#include <windows.h>

namespace views {

enum : UINT {
    IDC_NEXT_STRIP = 124,      // the grip strip: shows the next top-level category
    IDC_SELECT_CATEGORY = 126, // drops the menu of top-level categories
    IDC_PARENT_CATEGORY = 127, // shows the parent category
    IDC_TOOLBAR_SEPARATOR = 6001,
    ID_PAGE_NEXT = 6002,
    ID_PAGE_PREV = 6003,
    IDC_TAB_STRIP = 6004,
    ID_PROGRAM_BUTTON_FIRST = 10000,
    ID_PROGRAM_BUTTON_LAST = 10999,
    ID_CATEGORY_BUTTON_FIRST = 11000,
    ID_CATEGORY_BUTTON_LAST = 11999,
};

} // namespace views
