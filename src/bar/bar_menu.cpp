#include "bar/bar_menu.h"

#include <string>

#include "framework/resources.h"
#include "resource.h"

namespace bar {

namespace {
void ApplyRadio(HMENU menu, const RadioGroup& group) {
    if (group.chosen)
        ::CheckMenuRadioItem(menu, group.first, group.last, group.chosen, MF_BYCOMMAND);
}
} // namespace

void ApplyBarMenuState(HMENU popup, const BarMenuState& state) {
    for (const MenuItemState& item : state.items) {
        ::EnableMenuItem(popup, item.id, MF_BYCOMMAND | (item.greyed ? MF_GRAYED : MF_ENABLED));
        ::CheckMenuItem(popup, item.id, MF_BYCOMMAND | (item.checked ? MF_CHECKED : MF_UNCHECKED));
    }
    ApplyRadio(popup, state.position);
    ApplyRadio(popup, state.size);
    ApplyRadio(popup, state.spacing);
}

void InsertFindItem(HMENU menu) {
    if (!menu)
        return;
    const std::wstring text = fw::LoadResString(IDS_FIND_MENU);
    ::InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, ID_FIND, text.c_str());
    ::InsertMenuW(menu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

HMENU InsertSpacingMenu(HMENU popup, UINT chosen) {
    fw::Menu spacing(::CreatePopupMenu());
    if (!spacing)
        return nullptr;
    for (int i = 0; i < kSpacingSteps; ++i)
        ::AppendMenuW(spacing.get(), MF_STRING, ID_BUTTON_SPACING_FIRST + i,
                      std::to_wstring(i).c_str());
    if (chosen)
        ::CheckMenuRadioItem(spacing.get(), ID_BUTTON_SPACING_FIRST, ID_BUTTON_SPACING_LAST, chosen,
                             MF_BYCOMMAND);
    std::wstring caption = fw::LoadResString(IDS_BUTTON_SPACING_MENU);
    if (caption.empty())
        caption = L"Button &Spacing"; // a language pack without the string
    HMENU handle = spacing.get();
    if (!::InsertMenuW(popup, kSpacingPopupPosition, MF_BYPOSITION | MF_POPUP | MF_STRING,
                       reinterpret_cast<UINT_PTR>(handle), caption.c_str()))
        return nullptr;
    spacing.release(); // the bar menu owns it now
    return handle;
}

BarMenu::BarMenu(const BarMenuInput& input, const MonitorMenu& monitors,
                 const MenuPictures* pictures)
    : menu_(fw::LoadResMenu(IDR_BAR_MENU)) {
    if (!menu_)
        return;
    popup_ = ::GetSubMenu(menu_.get(), 0);
    if (!popup_)
        return;
    const BarMenuState state = PrepareBarMenu(input);
    ApplyBarMenuState(popup_, state);
#ifndef LARK_SINGLE_BYTE
    InsertSpacingMenu(popup_, state.spacing.chosen);
#endif
    InsertMonitorMenu(popup_, monitors, fw::LoadResString(IDS_MONITOR_MENU));
    if (pictures)
        pictures->Apply(popup_);
}

void BarMenu::Track(HWND owner, POINT screen) const {
    if (popup_)
        ::TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y,
                         0, owner, nullptr);
}

} // namespace bar
