#pragma once
// Menus about categories: the content menu that a category button drops in the
// category-only view, the "Select Category" menu and the check marks and greying of the
// category menu.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/gdi.h"

class oVoiceBook;

namespace views {

struct ContentMenuEntry {
    enum Kind { Item, Separator, SubMenuBegin, SubMenuEnd };
    Kind kind = Item;
    UINT id = 0;                // items only
    oVoiceBook* node = nullptr; // items and sub-menus
};

// The walk over a category's content: buttons become items numbered over the whole menu
// (sub-menus included), sub-categories become sub-menus, separators stay separators.
// `nodes[n]` is the button of item `firstId + n`. Items beyond `lastId` are left out.
struct ContentMenu {
    std::vector<ContentMenuEntry> entries;
    std::vector<oVoiceBook*> nodes;
};
ContentMenu WalkCategoryContent(const oVoiceBook& category, UINT firstId, UINT lastId);

// A popup menu of the entries (owned by the caller). Items and sub-menus carry their node's
// small picture, which the menu asks its owner to measure and draw.
fw::Menu BuildPopupMenu(const std::vector<ContentMenuEntry>& entries);
// The owner's answers for those pictures; false for any other item.
bool MeasureMenuPicture(MEASUREITEMSTRUCT& item);
bool DrawMenuPicture(const DRAWITEMSTRUCT& item);

// The "Select Category" menu: one item per top-level category, 11000 + its index.
std::vector<ContentMenuEntry> SelectCategoryEntries(const std::vector<oVoiceBook*>& categories,
                                                    UINT firstId);

// Check marks after the category-view word; without a category the commands about one
// are greyed.
void ApplyCategoryMenuState(HMENU menu, bool onCategory, int32_t viewFlags);

} // namespace views
