#include "views/category_menu.h"

#include <utility>

#include "ui/image_lists.h"
#include "model/preferences.h"
#include "model/voice_book.h"
#include "resource.h"
#include "ui/menu_picture.h"

namespace views {

ContentMenu WalkCategoryContent(const oVoiceBook& category, UINT firstId, UINT lastId) {
    ContentMenu out;
    // An explicit stack of the next child to visit at each open level: a deep tree cannot
    // exhaust the thread's stack.
    std::vector<const oVoiceBook*> stack{category.FirstChild()};
    while (!stack.empty()) {
        const oVoiceBook* node = stack.back();
        if (!node) {
            stack.pop_back();
            if (!stack.empty())
                out.entries.push_back({ContentMenuEntry::SubMenuEnd, 0, nullptr});
            continue;
        }
        stack.back() = node->Next();
        if (!node->IsItem())
            continue;
        auto* mutableNode = const_cast<oVoiceBook*>(node);
        if (node->IsCategory()) {
            out.entries.push_back({ContentMenuEntry::SubMenuBegin, 0, mutableNode});
            stack.push_back(node->FirstChild());
        } else if (node->m_nRole == ROLE_SEPARATOR) {
            out.entries.push_back({ContentMenuEntry::Separator, 0, nullptr});
        } else {
            const UINT id = firstId + static_cast<UINT>(out.nodes.size());
            if (id > lastId)
                continue; // no room left in the command range
            out.entries.push_back({ContentMenuEntry::Item, id, mutableNode});
            out.nodes.push_back(mutableNode);
        }
    }
    return out;
}

namespace {

// Marks the item data of our pictures: the picture index is kept, never the node, so that
// a menu still open while its nodes are replaced draws no deleted node.
constexpr ULONG_PTR kPictureTag = 0x4C520000;

void Append(HMENU menu, UINT flags, UINT_PTR id, oVoiceBook& node) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_STRING | MIIM_BITMAP | MIIM_DATA | MIIM_ID;
    mi.dwTypeData = const_cast<wchar_t*>(node.m_strName.c_str());
    mi.hbmpItem = HBMMENU_CALLBACK;
    const int picture = icons::GetImage(node);
    mi.dwItemData = picture >= 0 ? kPictureTag | static_cast<ULONG_PTR>(picture & 0xFFFF) : 0;
    if (flags & MF_POPUP) {
        mi.fMask = (mi.fMask & ~MIIM_ID) | MIIM_SUBMENU;
        mi.hSubMenu = reinterpret_cast<HMENU>(id);
    } else {
        mi.wID = static_cast<UINT>(id);
    }
    ::InsertMenuItemW(menu, static_cast<UINT>(::GetMenuItemCount(menu)), TRUE, &mi);
}

} // namespace

bool MeasureMenuPicture(MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || (item.itemData & 0xFFFF0000) != kPictureTag)
        return false;
    ui::MeasureMenuPicture(item, icons::List(icons::ListKind::SmallColour));
    return true;
}

bool DrawMenuPicture(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || (item.itemData & 0xFFFF0000) != kPictureTag)
        return false;
    ui::DrawMenuPicture(icons::List(icons::ListKind::SmallColour),
                        static_cast<int>(item.itemData & 0xFFFF), item);
    return true;
}

fw::Menu BuildPopupMenu(const std::vector<ContentMenuEntry>& entries) {
    fw::Menu root(::CreatePopupMenu());
    // Sub-menus are owned by their parent once appended; until then by this stack.
    std::vector<std::pair<HMENU, oVoiceBook*>> open{{root.get(), nullptr}};
    for (const ContentMenuEntry& e : entries) {
        HMENU into = open.back().first;
        switch (e.kind) {
        case ContentMenuEntry::Item:
            Append(into, MF_STRING, e.id, *e.node);
            break;
        case ContentMenuEntry::Separator:
            ::AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
            break;
        case ContentMenuEntry::SubMenuBegin:
            open.emplace_back(::CreatePopupMenu(), e.node);
            break;
        case ContentMenuEntry::SubMenuEnd:
            if (open.size() > 1) {
                const auto sub = open.back();
                open.pop_back();
                Append(open.back().first, MF_POPUP, reinterpret_cast<UINT_PTR>(sub.first),
                       *sub.second);
            }
            break;
        }
    }
    // Entries that do not close their sub-menus: the open ones are not leaked.
    while (open.size() > 1) {
        ::DestroyMenu(open.back().first);
        open.pop_back();
    }
    return root;
}

std::vector<ContentMenuEntry> SelectCategoryEntries(const std::vector<oVoiceBook*>& categories,
                                                    UINT firstId) {
    std::vector<ContentMenuEntry> out;
    for (size_t i = 0; i < categories.size(); ++i)
        out.push_back({ContentMenuEntry::Item, firstId + static_cast<UINT>(i), categories[i]});
    return out;
}

void ApplyCategoryMenuState(HMENU menu, bool onCategory, int32_t viewFlags) {
    const auto check = [menu](UINT id, bool on) {
        ::CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    };
    check(ID_VIEW_ICON, (viewFlags & VIEW_ICON_BUTTONS) != 0);
    check(ID_VIEW_TAB, (viewFlags & VIEW_TAB_STRIP) != 0);
    check(ID_VIEW_TAB_ICON, (viewFlags & VIEW_TAB_ICONS) != 0);
    for (UINT id : {ID_DELETE_CATEGORY, ID_CATEGORY_PROPERTIES, ID_REFRESH_CATEGORY})
        ::EnableMenuItem(menu, id, MF_BYCOMMAND | (onCategory ? MF_ENABLED : MF_GRAYED));
}

} // namespace views
