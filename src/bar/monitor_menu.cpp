#include "bar/monitor_menu.h"

#include "framework/gdi.h"
#include "resource.h"

namespace bar {

MonitorMenu BuildMonitorMenu(const std::vector<oMonitorInfo>& monitors, HMONITOR nearest,
                             bool trayOnly, const std::wstring& primaryText,
                             const std::wstring& subText) {
    MonitorMenu menu;
    int sub = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        MonitorMenuItem item;
        item.id = ID_MONITOR_FIRST + static_cast<UINT>(i);
        item.isDefault = (monitors[i].info.dwFlags & MONITORINFOF_PRIMARY) != 0;
        item.text = item.isDefault ? primaryText : subText + L" " + std::to_wstring(++sub);
        item.greyed = trayOnly;
        if (monitors[i].handle == nearest && menu.checked == 0)
            menu.checked = item.id;
        menu.items.push_back(std::move(item));
    }
    if (menu.checked == 0 && !menu.items.empty())
        menu.checked = menu.items.front().id;
    return menu;
}

HMONITOR MonitorForCommand(const std::vector<oMonitorInfo>& monitors, UINT id) {
    if (id < ID_MONITOR_FIRST || id - ID_MONITOR_FIRST >= monitors.size())
        return nullptr;
    return monitors[id - ID_MONITOR_FIRST].handle;
}

HMENU InsertMonitorMenu(HMENU menu, const MonitorMenu& content, const std::wstring& caption) {
    HMENU parent = nullptr;
    int position = -1;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count && !parent; ++i) {
        if (::GetMenuItemID(menu, i) == ID_ALWAYS_ON_TOP) {
            parent = menu;
            position = i;
        }
    }
    if (!parent || content.items.empty())
        return nullptr;

    fw::Menu popup(::CreatePopupMenu());
    if (!popup)
        return nullptr;
    for (const MonitorMenuItem& item : content.items) {
        const UINT flags = MF_STRING | (item.greyed ? MF_GRAYED : MF_ENABLED);
        ::AppendMenuW(popup.get(), flags, item.id, item.text.c_str());
        if (item.isDefault)
            ::SetMenuDefaultItem(popup.get(), item.id, FALSE);
    }
    const UINT last = content.items.back().id;
    if (content.checked)
        ::CheckMenuRadioItem(popup.get(), ID_MONITOR_FIRST, last, content.checked, MF_BYCOMMAND);

    HMENU handle = popup.get();
    if (!::InsertMenuW(parent, static_cast<UINT>(position), MF_BYPOSITION | MF_POPUP | MF_STRING,
                       reinterpret_cast<UINT_PTR>(handle), caption.c_str()))
        return nullptr;
    popup.release(); // the menu owns it now
    return handle;
}

} // namespace bar
