// The categories of the program button bar: the category buttons and tabs, selecting a
// top-level category (by button, tab, menu or the grip strip), the category-only view's
// content menus and the reload of categories linked to a shell folder.
#include "views/program_toolbar.h"

#include "framework/wait_cursor.h"
#include "model/preferences.h"
#include "resource.h"
#include "setup/folder_fill.h"
#include "shell/launch.h"
#include "shell/messages.h"
#include "views/button_slots.h"
#include "views/category_menu.h"
#include "views/toolbar_ids.h"

namespace {

// True when `node` lies below `ancestor` (not the ancestor itself).
bool IsBelow(const oVoiceBook* node, const oVoiceBook* ancestor) {
    if (!node || !ancestor)
        return false;
    for (const oVoiceBook* p = node->Parent(); p; p = p->Parent())
        if (p == ancestor)
            return true;
    return false;
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

} // namespace

size_t CProgramToolBar::CategoryCount() const noexcept {
    size_t n = 0;
    while (n < m_arrCategoryButtons.size() && m_arrCategoryButtons[n]->Node())
        ++n;
    return n;
}

void CProgramToolBar::AssignCategorySlot(size_t index, oVoiceBook* category) {
    if (index < m_arrCategoryButtons.size()) {
        CBookButton& button = *m_arrCategoryButtons[index];
        button.SetNode(category);
        if (category && ::IsWindowVisible(button.hwnd()))
            ::InvalidateRect(button.hwnd(), nullptr, FALSE);
        return;
    }
    if (!category)
        return;
    auto button = std::make_unique<CBookButton>();
    button->SetNode(category);
    // Selector 2: a toggle button, checked while its category is selected.
    if (!button->Create(2, RECT{}, hwnd_,
                        views::ID_CATEGORY_BUTTON_FIRST + static_cast<UINT>(index), m_prefs, false))
        return;
    AddButtonTip(button->hwnd());
    m_arrCategoryButtons.push_back(std::move(button));
}

void CProgramToolBar::FillCategoryButtons() {
    fw::WaitCursor wait;
    std::vector<oVoiceBook*> categories;
    if (m_doc)
        categories = views::CategoryButtonNodes(m_doc->Root());
    const size_t limit = views::ID_CATEGORY_BUTTON_LAST - views::ID_CATEGORY_BUTTON_FIRST + 1;
    if (categories.size() > limit)
        categories.resize(limit);
    size_t slot = 0;
    {
        CTabViewWnd::Batch tabs(m_wndTabs);
        m_wndTabs.Clear();
        for (; slot < categories.size(); ++slot) {
            AssignCategorySlot(slot, categories[slot]);
            m_wndTabs.AddTab(categories[slot]);
        }
    }
    for (; slot < m_arrCategoryButtons.size(); ++slot)
        m_arrCategoryButtons[slot]->SetNode(nullptr);
    // Buttons made here are placed by the next layout; one already shown moves now.
    if (m_pCurrentCategory) {
        LayoutBar(false);
        UpdateCategoryChecks();
    }
}

void CProgramToolBar::UpdateCategoryChecks() {
    const bool categoryOnly = (m_nViewFlags & VIEW_CATEGORY_ONLY) != 0;
    for (size_t i = 0; i < m_arrCategoryButtons.size(); ++i) {
        CBookButton& button = *m_arrCategoryButtons[i];
        if (!button.Node())
            break;
        const bool selected = button.Node() == m_pCurrentTopCategory;
        button.SetChecked(selected && !categoryOnly);
        if (selected)
            m_wndTabs.Select(static_cast<int>(i));
    }
}

bool CProgramToolBar::OnCategoryCommand(UINT id) {
    if (id >= views::ID_CATEGORY_BUTTON_FIRST && id <= views::ID_CATEGORY_BUTTON_LAST) {
        SelectTopCategory(id - views::ID_CATEGORY_BUTTON_FIRST);
        return true;
    }
    switch (id) {
    case views::IDC_SELECT_CATEGORY:
        ShowSelectCategoryMenu();
        return true;
    case ID_CATEGORY_FLAG_SET:
    case ID_CATEGORY_FLAG_CLEAR:
        if (oVoiceBook* node = m_pContextNode ? m_pContextNode : m_pCurrentTopCategory) {
            if (id == ID_CATEGORY_FLAG_SET)
                node->m_nFlags |= 1u;
            else
                node->m_nFlags &= ~1u;
            MarkModified();
        }
        // Finished: a later command must not act on the tab this one named.
        m_pContextNode = nullptr;
        return true;
    case ID_VIEW_ICON:
    case ID_VIEW_TAB:
    case ID_VIEW_TAB_ICON:
        // The view switches of the category menu are the main window's.
        ::SendMessageW(Owner(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return true;
    default:
        return false;
    }
}

LRESULT CProgramToolBar::OnTabCommand(WPARAM wp, LPARAM lp) {
    const size_t index = HIWORD(wp);
    const UINT command = LOWORD(wp);
    if (index >= CategoryCount())
        return 0;
    // The tab's category must still be the one in that slot: a message about a category
    // that has gone since names nothing.
    auto* node = reinterpret_cast<oVoiceBook*>(lp);
    if (node != m_arrCategoryButtons[index]->Node())
        return 0;
    m_pContextNode = node;
    ::SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return 0;
}

void CProgramToolBar::ReloadShellCategory(oVoiceBook& category) {
    fw::WaitCursor wait;
    // A category shown below it is shown by the category itself; whatever else points into
    // the subtree lets go when the document tells of the deletion.
    if (IsBelow(m_pCurrentCategory, &category)) {
        m_pCurrentCategory = &category;
        m_strCurrentName = category.m_strName;
    }
    m_doc->DeleteChildren(category);
    setup::FillFromShellFolder(category, category.m_pidl.get());
    MarkModified();
}

void CProgramToolBar::SelectTopCategory(size_t index) {
    if (index >= CategoryCount())
        return;
    oVoiceBook* category = m_arrCategoryButtons[index]->Node();
    m_pCurrentTopCategory = category;
    ::KillTimer(hwnd_, kFolderReloadTimer);
    WatchCategory(category);
    if (category->m_pidl)
        ReloadShellCategory(*category);
    if (!(m_nViewFlags & VIEW_CATEGORY_ONLY)) {
        ShowCategory(category, true);
        return;
    }
    DropCategoryContent(index);
}

void CProgramToolBar::DropCategoryContent(size_t index) {
    CBookButton& button = *m_arrCategoryButtons[index];
    oVoiceBook* category = button.Node();
    const views::ContentMenu content =
        views::WalkCategoryContent(*category, ID_CATEGORY_CONTENT_FIRST, ID_CATEGORY_CONTENT_LAST);
    fw::Menu menu = views::BuildPopupMenu(content.entries);
    const RECT r = WindowRect(button.hwnd());
    const uint32_t changes = m_doc->ChangeCount();
    const UINT chosen = menu ? static_cast<UINT>(::TrackPopupMenu(
                                   menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                   r.right, r.top, 0, hwnd_, nullptr))
                             : 0;
    if (!m_pCurrentTopCategory)
        return;
    if (!chosen) {
        FillProgramButtons(m_pCurrentTopCategory);
        DrawChangedButtons();
        button.SetChecked(false);
        return;
    }
    // A reload while the menu was open deleted the nodes it was built from.
    const size_t n = chosen - ID_CATEGORY_CONTENT_FIRST;
    if (changes == m_doc->ChangeCount() && chosen >= ID_CATEGORY_CONTENT_FIRST &&
        n < content.nodes.size()) {
        const oVoiceBook* node = content.nodes[n];
        if (!shell::RunNode(*node))
            shell::ShowCantFind(Owner(), node->m_strName);
    }
    if (m_pCurrentTopCategory)
        ShowCategory(m_pCurrentTopCategory, true);
}

void CProgramToolBar::ShowSelectCategoryMenu() {
    std::vector<oVoiceBook*> categories;
    for (size_t i = 0; i < CategoryCount(); ++i)
        categories.push_back(m_arrCategoryButtons[i]->Node());
    if (categories.empty())
        return;
    fw::Menu menu = views::BuildPopupMenu(
        views::SelectCategoryEntries(categories, views::ID_CATEGORY_BUTTON_FIRST));
    if (!menu)
        return;
    const RECT r = WindowRect(m_btnSelectCategory.hwnd());
    // The choice arrives as the category button's command.
    ::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN, r.right, r.top, 0, hwnd_, nullptr);
}
