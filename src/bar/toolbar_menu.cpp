#include "bar/toolbar_menu.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>

#include "ui/image_lists.h"
#include "model/voice_book.h"
#include "resource.h"
#include "ui/menu_picture.h"

namespace bar {

namespace {
constexpr size_t kRange = ID_TOOLBAR_MENU_LAST - ID_TOOLBAR_MENU_FIRST + 1;
// Marks the item data of this menu's pictures (high half), the picture's entry below it.
constexpr ULONG_PTR kPictureTag = 0x4C41524BULL << 32;

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

// The child of `parent` with that serial number, or null.
oVoiceBook* ChildBySerial(oVoiceBook* parent, uint64_t serial) {
    for (oVoiceBook* c = parent ? parent->FirstChild() : nullptr; c; c = c->Next())
        if (c->m_nSerial == serial)
            return c;
    return nullptr;
}

// The category at the end of `path` below `root` (the root for an empty path), or null when
// any of it has gone or moved since.
oVoiceBook* Follow(oVoiceBook& root, const std::vector<uint64_t>& path) {
    oVoiceBook* node = &root;
    for (size_t i = 0; node && i < path.size(); ++i)
        node = ChildBySerial(node, path[i]);
    return node;
}

MenuEntry EntryOf(const oVoiceBook& node) {
    if (!node.IsButton())
        return MenuEntry::Category;
    return node.m_nRole == ROLE_SEPARATOR ? MenuEntry::Separator : MenuEntry::Button;
}

// A run's item names its first and last entries, as a dictionary's spine does.
std::wstring RunCaption(const std::vector<oVoiceBook*>& nodes, const std::vector<MenuEntry>& kinds,
                        const EntryRun& run) {
    const oVoiceBook* first = nullptr;
    const oVoiceBook* last = nullptr;
    for (size_t i = run.begin; i < run.end; ++i) {
        if (kinds[i] == MenuEntry::Separator)
            continue;
        if (!first)
            first = nodes[i];
        last = nodes[i];
    }
    if (!first)
        return std::wstring();
    return first == last ? first->m_strName : first->m_strName + L" \u2013 " + last->m_strName;
}
} // namespace

std::vector<EntryRun> SplitIntoRuns(const std::vector<MenuEntry>& entries, size_t room) {
    std::vector<EntryRun> runs;
    EntryRun run;
    size_t buttons = 0;
    bool category = false;
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t withButtons = buttons + (entries[i] == MenuEntry::Button ? 1 : 0);
        const bool withCategory = category || entries[i] == MenuEntry::Category;
        const size_t limit = withCategory ? room - 1 : room;
        if (withButtons > limit && i > run.begin) {
            run.end = i;
            runs.push_back(run);
            run.begin = i;
            buttons = entries[i] == MenuEntry::Button ? 1 : 0;
            category = entries[i] == MenuEntry::Category;
            continue;
        }
        buttons = withButtons;
        category = withCategory;
    }
    run.end = entries.size();
    runs.push_back(run);
    return runs;
}

fw::Menu ToolBarMenu::Build(oVoiceBook& root) {
    Closed();
    m_numbered.assign(kRange, 0);
    m_numberedEnd = 0;
    fw::Menu top(::CreatePopupMenu());
    if (!top)
        return top;
    Submenu whole;
    whole.category = root.m_nSerial;
    m_submenus.emplace(top.get(), std::move(whole));
    Open(top.get(), root);
    return top;
}

void ToolBarMenu::Closed() noexcept {
    m_submenus.clear();
    m_pictures.clear();
    m_waiting.clear();
    m_waitingDone = 0;
}

bool ToolBarMenu::Open(HMENU menu, oVoiceBook& root) {
    const auto found = m_submenus.find(menu);
    if (found == m_submenus.end())
        return false;
    Submenu& sub = found->second; // elements stay where they are while the map grows
    if (!sub.filled)
        Fill(menu, sub, root);
    // Numbers past this menu's belonged to menus that have closed.
    std::fill(m_numbered.begin() + static_cast<ptrdiff_t>(sub.first), m_numbered.end(), 0);
    std::copy(sub.buttons.begin(), sub.buttons.end(),
              m_numbered.begin() + static_cast<ptrdiff_t>(sub.first));
    m_numberedEnd = sub.first + sub.buttons.size();
    return true;
}

void ToolBarMenu::Fill(HMENU menu, Submenu& sub, oVoiceBook& root) {
    sub.filled = true;
    if (sub.first >= kRange)
        return; // never so: a category's submenu keeps one number at least
    oVoiceBook* category = Follow(root, sub.path);
    if (!category || category->m_nSerial != sub.category)
        return; // gone or moved since its parent was filled
    std::vector<oVoiceBook*> nodes;
    std::vector<MenuEntry> kinds;
    for (oVoiceBook* node = category->FirstChild(); node; node = node->Next()) {
        if (!node->IsItem())
            continue;
        nodes.push_back(node);
        kinds.push_back(EntryOf(*node));
    }
    // A run is found again from the entries as they are now, so it fits whatever changed.
    const std::vector<EntryRun> runs = SplitIntoRuns(kinds, kRange - sub.first);
    if (sub.wholeCategory && runs.size() > 1) {
        for (size_t i = 0; i < runs.size(); ++i) {
            Submenu part;
            part.category = sub.category;
            part.wholeCategory = false;
            part.run = runs[i];
            part.first = sub.first;
            part.path = sub.path;
            AddSubmenu(menu, static_cast<UINT>(i), RunCaption(nodes, kinds, runs[i]), sub.category,
                       sub, std::move(part));
        }
        return;
    }
    EntryRun run = runs.front();
    if (!sub.wholeCategory) {
        const auto same = std::find_if(runs.begin(), runs.end(),
                                       [&](const EntryRun& r) { return r.begin == sub.run.begin; });
        if (same == runs.end())
            return;
        run = *same;
    }
    const size_t buttons = static_cast<size_t>(
        std::count(kinds.begin() + static_cast<ptrdiff_t>(run.begin),
                   kinds.begin() + static_cast<ptrdiff_t>(run.end), MenuEntry::Button));
    UINT position = 0;
    for (size_t i = run.begin; i < run.end; ++i, ++position) {
        oVoiceBook& node = *nodes[i];
        switch (kinds[i]) {
        case MenuEntry::Separator:
            ::InsertMenuW(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
            break;
        case MenuEntry::Button: {
            const size_t number = sub.first + sub.buttons.size();
            AddItem(menu, position, node.m_strName,
                    ID_TOOLBAR_MENU_FIRST + static_cast<UINT>(number), nullptr,
                    PictureData(node.m_nSerial, sub));
            sub.buttons.push_back(node.m_nSerial);
            break;
        }
        case MenuEntry::Category: {
            Submenu child;
            child.category = node.m_nSerial;
            child.first = sub.first + buttons;
            child.path = sub.path;
            child.path.push_back(node.m_nSerial);
            AddSubmenu(menu, position, node.m_strName, node.m_nSerial, sub, std::move(child));
            break;
        }
        }
    }
}

HMENU ToolBarMenu::AddSubmenu(HMENU menu, UINT position, const std::wstring& text, uint64_t picture,
                              const Submenu& parent, Submenu sub) {
    // Empty until it opens; destroyed with the menu it hangs from.
    HMENU popup = ::CreatePopupMenu();
    if (!popup)
        return nullptr;
    AddItem(menu, position, text, 0, popup, PictureData(picture, parent));
    m_submenus.emplace(popup, std::move(sub));
    return popup;
}

ULONG_PTR ToolBarMenu::PictureData(uint64_t serial, const Submenu& parent) {
    // The submenus stay where they are in the map until the menu closes, and so do their paths.
    m_pictures.push_back(Picture{serial, &parent.path});
    return kPictureTag | static_cast<uint32_t>(m_pictures.size() - 1);
}

oVoiceBook* ToolBarMenu::NodeForCommand(UINT id, oVoiceBook& root) const {
    if (id < ID_TOOLBAR_MENU_FIRST || id > ID_TOOLBAR_MENU_LAST || m_numbered.empty())
        return nullptr;
    const uint64_t serial = m_numbered[id - ID_TOOLBAR_MENU_FIRST];
    auto* node = serial ? static_cast<oVoiceBook*>(root.FindBySerial(serial)) : nullptr;
    return node && node->IsButton() ? node : nullptr;
}

bool ToolBarMenu::MeasurePicture(MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || !IsPictureData(item.itemData))
        return false;
    ui::MeasureMenuPicture(item, icons::List(icons::ListKind::SmallColour));
    return true;
}

oVoiceBook* ToolBarMenu::NodeOf(const Picture& picture, oVoiceBook& root) const {
    // Found among its parent's children: a walk of the whole tree for each item drawn is what
    // a big tree cannot afford.
    return ChildBySerial(Follow(root, *picture.path), picture.serial);
}

bool ToolBarMenu::DrawPicture(const DRAWITEMSTRUCT& item, oVoiceBook& root) {
    if (item.CtlType != ODT_MENU || !IsPictureData(item.itemData))
        return false;
    const size_t entry = static_cast<size_t>(item.itemData & 0xFFFFFFFFu);
    if (entry >= m_pictures.size())
        return true;
    Picture& picture = m_pictures[entry];
    oVoiceBook* node = NodeOf(picture, root);
    if (!node || (node->m_nImage < 0 && m_picturesWait)) {
        // A program's picture can take the shell a while: the menu shows first.
        if (node && !picture.waiting) {
            picture.waiting = true;
            m_waiting.push_back(entry);
        }
        ui::DrawMenuPicture(icons::List(icons::ListKind::SmallColour),
                            node ? icons::DefaultImage(*node) : icons::kPictureMissing, item);
        return true;
    }
    // Made now if need be, and drawn from the lists' ready pictures: an image list makes a
    // scratch bitmap for every drawing.
    const RECT& r = item.rcItem;
    icons::DrawSmall(*node, item.hDC, r.left,
                     r.top + (r.bottom - r.top - icons::SmallPictureSize()) / 2, false, false,
                     false);
    return true;
}

bool ToolBarMenu::MakeWaitingPictures(oVoiceBook& root, double budgetMs) {
    const auto start = std::chrono::steady_clock::now();
    const size_t first = m_waitingDone;
    while (m_waitingDone < m_waiting.size()) {
        if (oVoiceBook* node = NodeOf(m_pictures[m_waiting[m_waitingDone]], root))
            icons::GetImage(*node);
        ++m_waitingDone;
        if (std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count() >= budgetMs)
            break;
    }
    return m_waitingDone > first;
}

UINT TrackAtCursor(HMENU menu, HWND owner) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    return static_cast<UINT>(
        ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                         cursor.x, cursor.y, 0, owner, nullptr));
}

} // namespace bar
