#include "bar/toolbar_menu.h"

#include <utility>

#include "ui/image_lists.h"
#include "model/voice_book.h"
#include "resource.h"

namespace bar {

namespace {
constexpr int kPictureSize = 16;
// Marks the item data of this menu's pictures (high half), the picture index below it.
constexpr ULONG_PTR kPictureTag = 0x4C41524BULL << 32;

ULONG_PTR PictureData(oVoiceBook& node) {
    const int image = icons::GetImage(node);
    return kPictureTag | static_cast<uint32_t>(image < 0 ? icons::kPictureMissing : image);
}

bool IsPictureData(ULONG_PTR data) {
    return (data & (0xFFFFFFFFULL << 32)) == kPictureTag;
}

void AddItem(HMENU menu, UINT position, const std::wstring& text, UINT id, HMENU submenu,
             ULONG_PTR picture) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING | MIIM_BITMAP | MIIM_DATA | (submenu ? MIIM_SUBMENU : MIIM_ID);
    mii.dwTypeData = const_cast<wchar_t*>(text.c_str());
    mii.hbmpItem = HBMMENU_CALLBACK;
    mii.dwItemData = picture;
    mii.wID = id;
    mii.hSubMenu = submenu;
    ::InsertMenuItemW(menu, position, TRUE, &mii);
}
} // namespace

fw::Menu ToolBarMenu::Build(oVoiceBook& root) {
    m_serials.clear();
    fw::Menu top(::CreatePopupMenu());
    if (!top)
        return top;
    // Each level keeps its own position counter; the index k is shared by all of them.
    struct Level {
        oVoiceBook* next;
        HMENU menu;
        UINT position;
    };
    std::vector<Level> stack{{root.FirstChild(), top.get(), 0}};
    while (!stack.empty()) {
        Level& level = stack.back();
        oVoiceBook* node = level.next;
        if (!node) {
            stack.pop_back();
            continue;
        }
        level.next = node->Next();
        if (!node->IsItem())
            continue;
        if (node->IsButton()) {
            if (node->m_nRole == ROLE_SEPARATOR) {
                ::InsertMenuW(level.menu, level.position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
            } else {
                const UINT id = ID_TOOLBAR_MENU_FIRST + static_cast<UINT>(m_serials.size());
                AddItem(level.menu, level.position, node->m_strName, id, nullptr,
                        PictureData(*node));
                m_serials.push_back(node->m_nSerial);
            }
            ++level.position;
            continue;
        }
        HMENU sub = ::CreatePopupMenu();
        if (!sub)
            continue;
        AddItem(level.menu, level.position++, node->m_strName, 0, sub, PictureData(*node));
        stack.push_back(Level{node->FirstChild(), sub, 0}); // `level` is not used past here
    }
    return top;
}

oVoiceBook* ToolBarMenu::NodeForCommand(UINT id, oVoiceBook& root) const {
    if (id < ID_TOOLBAR_MENU_FIRST || id - ID_TOOLBAR_MENU_FIRST >= m_serials.size())
        return nullptr;
    auto* node = static_cast<oVoiceBook*>(root.FindBySerial(m_serials[id - ID_TOOLBAR_MENU_FIRST]));
    return node && node->IsButton() ? node : nullptr;
}

bool ToolBarMenu::MeasurePicture(MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || !IsPictureData(item.itemData))
        return false;
    item.itemWidth = kPictureSize;
    item.itemHeight = kPictureSize;
    return true;
}

bool ToolBarMenu::DrawPicture(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || !IsPictureData(item.itemData))
        return false;
    const int image = static_cast<int>(item.itemData & 0xFFFFFFFFu);
    const RECT& r = item.rcItem;
    const int x = r.left + (r.right - r.left - kPictureSize) / 2;
    const int y = r.top + (r.bottom - r.top - kPictureSize) / 2;
    ::ImageList_Draw(icons::List(icons::ListKind::SmallColour), image, item.hDC, x, y,
                     ILD_TRANSPARENT);
    return true;
}

void TrackAtCursor(HMENU menu, HWND owner) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0,
                     owner, nullptr);
}

} // namespace bar
