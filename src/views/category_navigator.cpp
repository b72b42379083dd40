#include "views/category_navigator.h"

#include "document/tree_document.h"
#include "document/tree_startup.h"
#include "framework/resources.h"
#include "framework/wait_cursor.h"
#include "model/preferences.h"
#include "resource.h"
#include "setup/folder_fill.h"
#include "shell/launch.h"
#include "shell/messages.h"
#include "views/button_slots.h"
#include "views/category_menu.h"
#include "views/category_steps.h"
#include "views/toolbar_ids.h"

namespace views {
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

void Run(HWND owner, const oVoiceBook& node) {
    if (!shell::RunNode(node))
        shell::ShowCantFind(owner, node.m_strName);
}

} // namespace

void CategoryNavigator::Create() {
    goUp_.SetName(fw::LoadResString(IDS_GO_UP).c_str());
    goUp_.SetRole(ROLE_GO_UP);
}

void CategoryNavigator::ShowStartCategory() {
    document::TreeDocument* doc = host_.Document();
    if (!doc)
        return;
    fw::WaitCursor wait;
    // Read at once, as the root's list: the rest of the tree may still be on its way.
    oVoiceBook* start = document::StartCategory(doc->LoadedRoot());
    if (!start)
        return;
    top_ = start;
    WatchCategory(start);
    FillCategoryButtons();
    ShowCategory(start, true);
}

void CategoryNavigator::WatchCategory(oVoiceBook* category) {
    if (!category || !category->m_pidl) {
        watcher_.Stop();
        return;
    }
    const std::wstring folder = shell::PathFromItemIdList(category->m_pidl.get());
    if (!folder.empty())
        watcher_.Start(host_.BarWindow(), folder, *category);
}

void CategoryNavigator::ShowCategory(oVoiceBook* category, bool resetPaging) {
    FillProgramButtons(category);
    UpdateCategoryChecks();
    strip_.Layout(resetPaging);
    strip_.DrawChangedButtons();
}

void CategoryNavigator::FillProgramButtons(oVoiceBook* category) {
    if (!category)
        return;
    fw::WaitCursor wait;
    document::TreeDocument* doc = host_.Document();
    // Never a category whose content is still on its way, shown as if empty.
    if (doc && !doc->CanShow(*category))
        doc->WaitUntilComplete();
    strip_.ShowProgramNodes(ProgramButtonNodes(*category, &goUp_));
    current_ = category;
    strip_.EnableParent(category->m_nDepth > 1);
    // What the data file needs of the shown category is the document's.
    if (doc)
        doc->NoteCategoryShown(*category);
}

void CategoryNavigator::FillCategoryButtons() {
    fw::WaitCursor wait;
    std::vector<oVoiceBook*> categories;
    if (document::TreeDocument* doc = host_.Document())
        categories = CategoryButtonNodes(doc->LoadedRoot()); // the root's list is whole
    const size_t limit = ID_CATEGORY_BUTTON_LAST - ID_CATEGORY_BUTTON_FIRST + 1;
    if (categories.size() > limit)
        categories.resize(limit);
    size_t slot = 0;
    {
        CTabViewWnd& tabs = strip_.Tabs();
        CTabViewWnd::Batch batch(tabs);
        tabs.Clear();
        for (; slot < categories.size(); ++slot) {
            strip_.AssignCategorySlot(slot, categories[slot]);
            tabs.AddTab(categories[slot]);
        }
    }
    strip_.ClearCategorySlotsFrom(slot);
    // Buttons made here are placed by the next layout; one already shown moves now.
    if (current_) {
        strip_.Layout(false);
        UpdateCategoryChecks();
    }
}

void CategoryNavigator::UpdateCategoryChecks() {
    const bool categoryOnly = (strip_.ViewFlags() & VIEW_CATEGORY_ONLY) != 0;
    for (size_t i = 0; i < strip_.CategoryCount(); ++i) {
        CBookButton& button = strip_.CategoryButton(i);
        const bool selected = button.Node() == top_;
        button.SetChecked(selected && !categoryOnly);
        if (selected)
            strip_.Tabs().Select(static_cast<int>(i));
    }
}

void CategoryNavigator::SelectTop(oVoiceBook* category) {
    if (category == top_)
        return;
    top_ = category;
    WatchCategory(category);
}

void CategoryNavigator::ShowNewTopCategory(oVoiceBook* category) {
    FillCategoryButtons();
    top_ = category;
    WatchCategory(category);
    ShowCategory(category, true);
}

void CategoryNavigator::ShowAfterEdit() {
    if (current_ && top_) {
        ShowCategory(current_, false);
        return;
    }
    // The shown category went with the edit: the bar starts over as it did at start-up.
    ShowStartCategory();
    if (current_ && top_)
        return;
    // Nothing left to show.
    current_ = top_ = nullptr;
    watcher_.Stop();
    strip_.ClearProgramSlots();
    FillCategoryButtons();
    strip_.EnableParent(false);
    strip_.Layout(true);
}

// ---- commands -----------------------------------------------------------------------------

bool CategoryNavigator::OnCommand(UINT id) {
    if (id >= ID_PROGRAM_BUTTON_FIRST && id <= ID_PROGRAM_BUTTON_LAST) {
        OnProgramButton(id - ID_PROGRAM_BUTTON_FIRST);
        return true;
    }
    if (id >= ID_CATEGORY_BUTTON_FIRST && id <= ID_CATEGORY_BUTTON_LAST) {
        SelectTopCategory(id - ID_CATEGORY_BUTTON_FIRST);
        return true;
    }
    switch (id) {
    case IDC_SELECT_CATEGORY:
        ShowSelectCategoryMenu();
        return true;
    case IDC_PARENT_CATEGORY:
        GotoParentCategory();
        return true;
    case IDC_NEXT_STRIP:
        ShowNextTopCategory();
        return true;
    case ID_VIEW_ICON:
    case ID_VIEW_TAB:
    case ID_VIEW_TAB_ICON:
        // The view switches of the category menu are the main window's.
        ::SendMessageW(host_.Owner(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return true;
    default:
        return false;
    }
}

void CategoryNavigator::OnProgramButton(size_t index) {
    oVoiceBook* node = strip_.ProgramNode(index);
    if (!node)
        return;
    if (node->m_nRole == ROLE_GO_UP) {
        GotoParentCategory();
        return;
    }
    if (node->m_nRole != ROLE_NORMAL)
        return;
    if (node->IsButton())
        Run(host_.Owner(), *node);
    else if (node->IsCategory())
        ShowCategory(node, true);
}

void CategoryNavigator::GotoParentCategory() {
    if (oVoiceBook* parent = ParentCategoryOf(current_))
        ShowCategory(parent, true);
}

void CategoryNavigator::ShowNextTopCategory() {
    document::TreeDocument* doc = host_.Document();
    if (!doc)
        return;
    oVoiceBook* next = NextTopCategory(doc->Root(), top_);
    if (!next)
        return;
    top_ = next;
    ShowCategory(next, true);
}

oVoiceBook* CategoryNavigator::TabCommandNode(size_t index, LPARAM node) const {
    // The tab's category must still be the one in that slot: a message about a category
    // that has gone since names nothing.
    if (index >= strip_.CategoryCount())
        return nullptr;
    auto* named = reinterpret_cast<oVoiceBook*>(node);
    return named == strip_.CategoryButton(index).Node() ? named : nullptr;
}

// ---- shell folders ------------------------------------------------------------------------

bool CategoryNavigator::OnTimer(UINT_PTR id) {
    if (id != kFolderReloadTimer)
        return false;
    ::KillTimer(host_.BarWindow(), kFolderReloadTimer);
    if (top_ && top_->m_pidl)
        ReloadShellCategory(*top_);
    if (current_)
        ShowCategory(current_, true);
    return true;
}

void CategoryNavigator::OnFolderChanged(LPARAM serial) {
    // The message names its category by serial: one deleted since is not found.
    document::TreeDocument* doc = host_.Document();
    if (top_ && doc && setup::FindWatchedCategory(doc->Root(), serial) == top_)
        ::SetTimer(host_.BarWindow(), kFolderReloadTimer, kFolderReloadDelayMs, nullptr);
}

void CategoryNavigator::ReloadShellCategory(oVoiceBook& category) {
    fw::WaitCursor wait;
    // A category shown below it is shown by the category itself; whatever else points into
    // the subtree lets go when the document tells of the deletion.
    if (IsBelow(current_, &category))
        current_ = &category;
    host_.Document()->DeleteChildren(category);
    setup::FillFromShellFolder(category, category.m_pidl.get());
    host_.MarkModified();
}

// ---- top-level categories -----------------------------------------------------------------

void CategoryNavigator::SelectTopCategory(size_t index) {
    if (index >= strip_.CategoryCount())
        return;
    oVoiceBook* category = strip_.CategoryButton(index).Node();
    top_ = category;
    ::KillTimer(host_.BarWindow(), kFolderReloadTimer);
    WatchCategory(category);
    if (category->m_pidl)
        ReloadShellCategory(*category);
    if (!(strip_.ViewFlags() & VIEW_CATEGORY_ONLY)) {
        ShowCategory(category, true);
        return;
    }
    DropCategoryContent(index);
}

void CategoryNavigator::DropCategoryContent(size_t index) {
    CBookButton& button = strip_.CategoryButton(index);
    oVoiceBook* category = button.Node();
    const ContentMenu content =
        WalkCategoryContent(*category, ID_CATEGORY_CONTENT_FIRST, ID_CATEGORY_CONTENT_LAST);
    fw::Menu menu = BuildPopupMenu(content.entries);
    const RECT r = WindowRect(button.hwnd());
    document::TreeDocument& doc = *host_.Document();
    const uint32_t changes = doc.ChangeCount();
    const UINT chosen = menu ? static_cast<UINT>(::TrackPopupMenu(
                                   menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                   r.right, r.top, 0, host_.BarWindow(), nullptr))
                             : 0;
    if (!top_)
        return;
    if (!chosen) {
        FillProgramButtons(top_);
        strip_.DrawChangedButtons();
        button.SetChecked(false);
        return;
    }
    // A reload while the menu was open deleted the nodes it was built from.
    const size_t n = chosen - ID_CATEGORY_CONTENT_FIRST;
    if (changes == doc.ChangeCount() && chosen >= ID_CATEGORY_CONTENT_FIRST &&
        n < content.nodes.size())
        Run(host_.Owner(), *content.nodes[n]);
    if (top_)
        ShowCategory(top_, true);
}

void CategoryNavigator::ShowSelectCategoryMenu() {
    std::vector<oVoiceBook*> categories;
    for (size_t i = 0; i < strip_.CategoryCount(); ++i)
        categories.push_back(strip_.CategoryButton(i).Node());
    if (categories.empty())
        return;
    fw::Menu menu = BuildPopupMenu(SelectCategoryEntries(categories, ID_CATEGORY_BUTTON_FIRST));
    if (!menu)
        return;
    const RECT r = WindowRect(strip_.SelectCategoryButton());
    // The choice arrives as the category button's command.
    ::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN, r.right, r.top, 0, host_.BarWindow(),
                     nullptr);
}

} // namespace views
