// Editing on the program button bar: the context menus, adding, deleting, properties, the
// bar's private clipboard, refreshing a category and the category order. Every dialog and
// question runs under the application's hold flag, and nothing the bar shows or remembers is
// left pointing at a node an edit deletes.
#include "views/program_toolbar.h"

#include <shellapi.h>

#include "ui/app_services.h"
#include "dialogs/change_category_dlg.h"
#include "dialogs/edit_program_command_dlg.h"
#include "dialogs/edit_word_book_dlg.h"
#include "dialogs/new_category.h"
#include "dialogs/new_program_book_dlg.h"
#include "framework/resources.h"
#include "framework/text.h"
#include "framework/wait_cursor.h"
#include "ui/image_lists.h"
#include "resource.h"
#include "setup/first_scan_dlg.h"
#include "setup/pumped_fill.h"
#include "shell/launch.h"
#include "shell/messages.h"
#include "views/category_menu.h"
#include "views/edit_menu.h"
#include "document/tree_edits.h"

namespace {

using ui::HoldScope;

oVoiceBook* TopLevelOf(oVoiceBook* node) {
    while (node && node->Parent() && node->Parent()->Parent())
        node = node->Parent();
    return node;
}

// The shell's own property sheet of an item.
void ShowItemProperties(HWND owner, LPCITEMIDLIST list) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"properties";
    info.nShow = SW_SHOWNORMAL;
    info.lpIDList = const_cast<LPITEMIDLIST>(list);
    ::ShellExecuteExW(&info);
}

} // namespace

void CProgramToolBar::Tell(UINT message) {
    shell::ShowMessage(Owner(), fw::LoadResString(message), MB_OK | MB_ICONINFORMATION);
}

void CProgramToolBar::OnContextMenu(HWND, POINT screen) {
    if (screen.x == -1 && screen.y == -1) // from the keyboard: where the pointer is
        ::GetCursorPos(&screen);
    m_pContextNode = ButtonNodeAt(screen);
    const bool categoryMenu =
        m_pContextNode && m_pContextNode->IsCategory() && m_pContextNode->m_nRole == ROLE_NORMAL;
    fw::Menu menu = fw::LoadResMenu(categoryMenu ? IDR_CATEGORY_MENU : IDR_EDIT_MENU);
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup)
        return;
    if (categoryMenu)
        views::ApplyCategoryMenuState(popup, true, m_nViewFlags);
    else
        views::ApplyEditMenuState(popup,
                                  views::EditMenuStateFor(m_pContextNode, m_pClipboard != nullptr));
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                         screen.x, screen.y, 0, hwnd_, nullptr));
    if (command)
        ::SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    // A dismissed menu leaves nothing behind that a later edit could leave dangling.
    m_pContextNode = nullptr;
}

bool CProgramToolBar::OnEditCommand(UINT id) {
    switch (id) {
    case ID_ADD_BUTTON:
        AddButton();
        break;
    case ID_ADD_SEPARATOR:
        if (!m_pCurrentCategory) {
            Tell(IDS_NO_GROUP_TO_SHOW);
            break;
        }
        document::AddSeparator(fw::LoadResString(IDS_SEPARATOR).c_str(), m_pContextNode,
                               *m_pCurrentCategory);
        ShowCategory(m_pCurrentCategory, false);
        MarkModified();
        break;
    case ID_ADD_CATEGORY:
        AddCategory();
        break;
    case ID_DELETE_NODE:
        DeleteContextNode(true);
        break;
    case ID_NODE_PROPERTIES:
        EditProperties();
        break;
    case ID_EDIT_COPY:
        CopyContextNode();
        break;
    case ID_EDIT_CUT:
        if (!m_pContextNode) {
            Tell(IDS_NO_BUTTON_HERE);
            break;
        }
        CopyContextNode(false);
        DeleteContextNode(false);
        break;
    case ID_EDIT_PASTE:
        Paste();
        break;
    case ID_REFRESH_CATEGORY:
        RefreshCategory(m_pContextNode && m_pContextNode->IsCategory() ? m_pContextNode
                                                                       : m_pCurrentCategory);
        break;
    case ID_CHANGE_CATEGORY_ORDER:
        ChangeCategoryOrder();
        break;
    default:
        return false;
    }
    m_pContextNode = nullptr;
    return true;
}

void CProgramToolBar::AddButton() {
    if (!m_pCurrentCategory) {
        Tell(IDS_NO_GROUP_TO_SHOW);
        return;
    }
    const uint64_t context = m_pContextNode ? m_pContextNode->m_nSerial : 0;
    dialogs::ButtonValues v;
    {
        HoldScope hold(m_app);
        if (!hold)
            return;
        CEditProgramCommandDlg dlg(nullptr);
        if (dlg.DoModal(Owner()) != IDOK)
            return;
        v = dlg.Values();
    }
    // The tree may have changed while the dialog was open (a watched folder reloaded).
    if (!m_pCurrentCategory)
        return;
    NodeRecordFields f = ButtonFields(v.name, v.command);
    f.arguments = v.arguments;
    f.workDir = v.workDir;
    f.iconFile = v.iconFile;
    f.iconIndex = v.iconIndex;
    f.showCmd = v.showCmd;
    if (shell::IsWebAddress(v.command) && v.iconFile.empty())
        f.defaultImage = icons::kPictureWeb;
    auto* node = new oVoiceBook(f);
    document::InsertAtContext(*node, context ? m_doc->Find(context) : nullptr, *m_pCurrentCategory);
    ShowCategory(m_pCurrentCategory, false);
    MarkModified();
}

void CProgramToolBar::AddCategory() {
    if (!m_doc)
        return;
    const uint64_t anchor = m_pContextNode ? m_pContextNode->m_nSerial : 0;
    HoldScope hold(m_app);
    if (!hold)
        return;
    CNewProgramBookDlg dlg;
    if (dlg.DoModal(Owner()) != IDOK)
        return;
    oVoiceBook* created = dialogs::CreateNewCategory(
        Owner(), m_doc->Root(), anchor ? m_doc->Find(anchor) : nullptr, dlg.Request());
    if (!created)
        return;
    FillCategoryButtons();
    m_pCurrentTopCategory = TopLevelOf(created);
    ShowCategory(created, true);
    MarkModified();
}

void CProgramToolBar::CopyContextNode(bool clearContext) {
    if (!m_pContextNode || m_pContextNode->m_nRole != ROLE_NORMAL)
        return;
    m_pClipboard.reset(m_pContextNode->CloneTree());
    if (clearContext)
        m_pContextNode = nullptr;
}

void CProgramToolBar::DeleteContextNode(bool ask) {
    if (!m_pContextNode) {
        Tell(IDS_NO_BUTTON_HERE);
        return;
    }
    // "Go Up" stands for the parent and is no node of the tree: nothing to remove.
    if (!m_pContextNode->Parent())
        return;
    const uint64_t serial = m_pContextNode->m_nSerial;
    if (ask) {
        const UINT question =
            m_pContextNode->IsButton() ? IDS_ASK_REMOVE_BUTTON : IDS_ASK_REMOVE_GROUP;
        const std::wstring text =
            fw::FormatText(fw::LoadResString(question).c_str(), m_pContextNode->m_strName.c_str());
        HoldScope hold(m_app);
        if (!hold || shell::ShowMessage(Owner(), text, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    if (oVoiceBook* node = m_doc->Find(serial))
        RemoveNode(*node);
}

void CProgramToolBar::NodesChanging(const oVoiceBook& subtree, bool self, Change change) {
    // A move keeps every node: what points at them stays good.
    if (change != Change::Deleting)
        return;
    const auto gone = [&](const oVoiceBook* n) {
        return n && (self || n != &subtree) && document::IsInSubtree(n, subtree);
    };
    if (gone(m_pContextNode))
        m_pContextNode = nullptr;
    if (gone(m_pCurrentCategory))
        m_pCurrentCategory = nullptr;
    if (gone(m_pCurrentTopCategory))
        m_pCurrentTopCategory = nullptr;
    for (auto& button : m_arrButtons)
        if (gone(button->Node()))
            button->SetNode(nullptr);
    for (auto& button : m_arrCategoryButtons)
        if (gone(button->Node()))
            button->SetNode(nullptr);
}

void CProgramToolBar::RemoveNode(oVoiceBook& node) {
    oVoiceBook* parent = node.Parent();
    if (!parent)
        return;
    const bool category = !node.IsButton();
    m_doc->Remove(node);
    if (category)
        FillCategoryButtons(); // also drops the tabs' pointers
    ShowAfterEdit();
    MarkModified();
}

void CProgramToolBar::ShowAfterEdit() {
    if (m_pCurrentCategory && m_pCurrentTopCategory) {
        ShowCategory(m_pCurrentCategory, false);
        return;
    }
    // The shown category went with the edit: the bar starts over as it did at start-up.
    ShowStartCategory();
    if (m_pCurrentCategory && m_pCurrentTopCategory)
        return;
    // Nothing left to show.
    m_pCurrentCategory = m_pCurrentTopCategory = nullptr;
    m_strCurrentName.clear();
    m_watcher.Stop();
    for (auto& button : m_arrButtons)
        button->SetNode(nullptr);
    FillCategoryButtons();
    ::EnableWindow(m_btnParent.hwnd(), FALSE);
    LayoutBar(true);
}

void CProgramToolBar::Paste() {
    if (!m_pCurrentCategory) {
        Tell(IDS_NO_GROUP_TO_SHOW);
        return;
    }
    if (!m_pClipboard) {
        Tell(IDS_NOTHING_TO_PASTE);
        return;
    }
    document::PasteCopy(*m_pClipboard, m_pContextNode, *m_pCurrentCategory);
    ShowCategory(m_pCurrentCategory, false);
    MarkModified();
}

void CProgramToolBar::EditProperties() {
    if (!m_pContextNode) {
        Tell(IDS_NO_BUTTON_HERE);
        return;
    }
    oVoiceBook* node = m_pContextNode;
    if (node->m_nRole != ROLE_NORMAL)
        return;
    if (node->IsButton() && node->m_pidl) {
        ShowItemProperties(Owner(), node->m_pidl.get());
        return;
    }
    // The dialog edits a copy: a reload while it is open may delete the node itself.
    const uint64_t serial = node->m_nSerial;
    oVoiceBook copy;
    copy.CopyFrom(*node);
    {
        HoldScope hold(m_app);
        if (!hold)
            return;
        if (node->IsButton()) {
            CEditProgramCommandDlg dlg(&copy);
            if (dlg.DoModal(Owner()) != IDOK)
                return;
        } else {
            CEditWordBookDlg dlg(copy);
            if (dlg.DoModal(Owner()) != IDOK)
                return;
        }
    }
    node = m_doc->Find(serial);
    if (!node)
        return;
    node->SetName(copy.m_strName.c_str());
    int32_t index = 0;
    const std::wstring iconFile = copy.GetIcon(&index);
    node->SetIcon(iconFile.c_str(), index);
    if (node->IsButton()) {
        node->SetCommand(copy.m_strCommand.c_str());
        node->SetArguments(copy.m_strArguments.c_str());
        node->SetWorkDir(copy.m_strWorkDir.c_str());
        node->m_nShowCmd = copy.m_nShowCmd;
        node->m_nDefaultImage = copy.m_nDefaultImage;
    }
    icons::BuildImages(*node);
    // The button keeps its node, so the show below would not draw it again.
    if (CBookButton* button = FindButtonWindow(node))
        m_changedButtons.push_back(button->hwnd());
    for (size_t i = 0; i < CategoryCount(); ++i) {
        if (m_arrCategoryButtons[i]->Node() != node)
            continue;
        ::InvalidateRect(m_arrCategoryButtons[i]->hwnd(), nullptr, FALSE);
        m_wndTabs.SetTab(static_cast<int>(i), node);
    }
    if (m_pCurrentCategory)
        ShowCategory(m_pCurrentCategory, false);
    MarkModified();
}

void CProgramToolBar::RefreshCategory(oVoiceBook* category) {
    if (!category || !category->IsCategory())
        return;
    const uint64_t serial = category->m_nSerial;
    HoldScope hold(m_app);
    if (!hold)
        return;
    const bool linked = category->m_pidl || !category->m_strCommand.empty();
    if (linked) {
        std::wstring text = fw::FormatText(fw::LoadResString(IDS_ASK_RELOAD_GROUP).c_str(),
                                           category->m_strName.c_str());
        const std::wstring path = category->m_pidl
                                      ? shell::PathFromItemIdList(category->m_pidl.get())
                                      : category->m_strCommand;
        if (!path.empty())
            text += L"\r\n\r\n[" + path + L"]";
        if (shell::ShowMessage(Owner(), text, MB_YESNO | MB_ICONINFORMATION) == IDNO)
            return;
        CFirstScanDlg progress;
        progress.SetText(fw::FormatText(fw::LoadResString(IDS_RELOADING_CATEGORY).c_str(),
                                        category->m_strName.c_str()));
        progress.Create(Owner());
        // Read beside the window thread, so the bar and the progress window keep painting;
        // the old contents stay until the new ones are complete.
        std::shared_ptr<oVoiceBook> fresh;
        {
            fw::WaitCursor wait;
            fresh = category->m_pidl
                        ? setup::FillFromShellFolderWhilePumping(category->m_pidl.get(), hwnd_)
                        : setup::FillFromFolderWhilePumping(
                              category->m_strCommand, category->m_bScanSubFolders != 0, hwnd_);
        }
        if (!fresh) // the program is ending: the bar is gone or going
            return;
        progress.Destroy();
        // Anything may have happened meanwhile, the category's deletion included.
        category = m_doc->Find(serial);
        if (!category)
            return;
        m_doc->DeleteChildren(*category);
        setup::AdoptChildren(*fresh, *category);
    } else {
        // An ordinary category: only the pictures of what the bar shows are made afresh.
        for (auto& button : m_arrButtons)
            if (button->Node() && button->Node()->Parent()) {
                icons::BuildImages(*button->Node());
                m_changedButtons.push_back(button->hwnd()); // same node: drawn by the show
            }
    }
    oVoiceBook* top = TopLevelOf(category);
    if (top != m_pCurrentTopCategory) {
        m_pCurrentTopCategory = top;
        WatchCategory(top);
    }
    ShowCategory(category, true);
    MarkModified();
}

void CProgramToolBar::ChangeCategoryOrder() {
    if (!m_doc)
        return;
    HoldScope hold(m_app);
    if (!hold)
        return;
    CChangeCategoryDlg dlg(m_doc->Root());
    if (dlg.DoModal(Owner()) != IDOK)
        return;
    FillCategoryButtons();
    UpdateCategoryChecks();
    MarkModified();
}
