#include "bar/menu_state.h"

#include <algorithm>

#include "model/placement.h"
#include "model/preferences.h"
#include "resource.h"

namespace bar {

namespace {
UINT PositionItem(int32_t state) {
    switch (state) {
    case STATE_LEFT:
        return ID_POSITION_LEFT;
    case STATE_TOP:
        return ID_POSITION_TOP;
    case STATE_RIGHT:
        return ID_POSITION_RIGHT;
    case STATE_BOTTOM:
        return ID_POSITION_BOTTOM;
    case STATE_FLOAT:
        return ID_POSITION_CENTER;
    default:
        return 0;
    }
}

UINT SizeItem(int32_t buttonSize) {
    // The items are ordered by size on screen, the codes by their history.
    static const UINT items[] = {ID_BUTTON_SIZE_LARGE,          ID_BUTTON_SIZE_SMALL,
                                 ID_BUTTON_SIZE_MEDIUM,         ID_BUTTON_SIZE_VERY_LARGE,
                                 ID_BUTTON_SIZE_SMALL_LONG,     ID_BUTTON_SIZE_LARGE_LONG,
                                 ID_BUTTON_SIZE_VERY_LARGE_LONG};
    if (buttonSize < 0 || buttonSize >= static_cast<int32_t>(std::size(items)))
        return 0;
    return items[buttonSize];
}

const MenuItemState* Find(const std::vector<MenuItemState>& items, UINT id) {
    const auto it = std::find_if(items.begin(), items.end(),
                                 [id](const MenuItemState& s) { return s.id == id; });
    return it == items.end() ? nullptr : &*it;
}
} // namespace

bool BarMenuState::Greyed(UINT id) const noexcept {
    const MenuItemState* s = Find(items, id);
    return s && s->greyed;
}

bool BarMenuState::Checked(UINT id) const noexcept {
    const MenuItemState* s = Find(items, id);
    return s && s->checked;
}

BarMenuState PrepareBarMenu(const BarMenuInput& in) {
    BarMenuState out;
    auto item = [&out](UINT id) -> MenuItemState& {
        for (MenuItemState& s : out.items)
            if (s.id == id)
                return s;
        out.items.push_back(MenuItemState{id, false, false});
        return out.items.back();
    };

    // A dialog of the bar is open: nothing may open a second one or end the program under it.
    for (UINT id : {ID_PREFERENCES, ID_AUTO_HIDE_TIME, ID_EXPORT_TREE, ID_IMPORT_TREE, ID_APP_ABOUT,
                    ID_APP_EXIT})
        item(id).greyed = in.held;

    item(ID_ALWAYS_ON_TOP).checked = in.alwaysOnTop;
    item(ID_AUTO_HIDE).checked = in.autoHide;

    const bool tabs = (in.viewFlags & VIEW_TAB_STRIP) != 0;
    const bool categoryOnly = (in.viewFlags & VIEW_CATEGORY_ONLY) != 0;
    item(ID_VIEW_ICON).checked = (in.viewFlags & VIEW_ICON_BUTTONS) != 0;
    item(ID_VIEW_TAB).checked = tabs;
    item(ID_VIEW_TAB_ICON).checked = (in.viewFlags & VIEW_TAB_ICONS) != 0;
    item(ID_VIEW_TAB_ICON).greyed = !tabs;
    item(ID_VIEW_CATEGORY_ONLY).checked = categoryOnly;

    out.position = RadioGroup{ID_POSITION_LEFT, ID_POSITION_TRAY_ONLY, 0};
    if (in.trayOnly) {
        // A hidden bar has no size or view to change; only its position brings it back.
        for (UINT id = ID_BUTTON_SIZE_SMALL; id <= ID_BUTTON_SIZE_VERY_LARGE_LONG; ++id)
            item(id).greyed = true;
        for (UINT id : {ID_VIEW_ICON, ID_VIEW_TAB, ID_VIEW_TAB_ICON, ID_VIEW_CATEGORY_ONLY,
                        ID_ALWAYS_ON_TOP, ID_AUTO_HIDE, ID_AUTO_HIDE_TIME})
            item(id).greyed = true;
        out.position.chosen = ID_POSITION_TRAY_ONLY;
    } else {
        out.position.chosen = PositionItem(in.state);
        if (categoryOnly)
            for (UINT id : {ID_VIEW_ICON, ID_VIEW_TAB, ID_VIEW_TAB_ICON})
                item(id).greyed = true;
    }

    out.size =
        RadioGroup{ID_BUTTON_SIZE_SMALL, ID_BUTTON_SIZE_VERY_LARGE_LONG, SizeItem(in.buttonSize)};
    const bool spacingKnown = in.buttonSpacing >= 0 && in.buttonSpacing < kSpacingSteps;
    out.spacing = RadioGroup{
        ID_BUTTON_SPACING_FIRST, ID_BUTTON_SPACING_LAST,
        spacingKnown ? ID_BUTTON_SPACING_FIRST + static_cast<UINT>(in.buttonSpacing) : 0u};
    return out;
}

} // namespace bar
