#include "views/edit_commands.h"

#include <shellapi.h>

#include "document/tree_document.h"
#include "document/tree_edits.h"
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
#include "views/tree_backup.h"

namespace views {
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

void EditCommands::Tell(UINT message) {
    shell::ShowMessage(host_.Owner(), fw::LoadResString(message), MB_OK | MB_ICONINFORMATION);
}

void EditCommands::OnContextMenu(POINT screen) {
    if (screen.x == -1 && screen.y == -1) // from the keyboard: where the pointer is
        ::GetCursorPos(&screen);
    context_ = strip_.ButtonNodeAt(screen);
    const bool categoryMenu =
        context_ && context_->IsCategory() && context_->m_nRole == ROLE_NORMAL;
    fw::Menu menu = fw::LoadResMenu(categoryMenu ? IDR_CATEGORY_MENU : IDR_EDIT_MENU);
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup)
        return;
    if (categoryMenu)
        ApplyCategoryMenuState(popup, true, strip_.ViewFlags());
    else
        ApplyEditMenuState(popup, EditMenuStateFor(context_, clipboard_ != nullptr));
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                         screen.x, screen.y, 0, host_.BarWindow(), nullptr));
    if (command)
        ::SendMessageW(host_.BarWindow(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    // A dismissed menu leaves nothing behind that a later edit could leave dangling.
    context_ = nullptr;
}

bool EditCommands::OnCommand(UINT id) {
    switch (id) {
    case ID_ADD_BUTTON:
        AddButton();
        break;
    case ID_ADD_SEPARATOR:
        AddSeparator();
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
        if (!context_) {
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
        RefreshCategory(context_ && context_->IsCategory() ? context_ : nav_.Current());
        break;
    case ID_CHANGE_CATEGORY_ORDER:
        ChangeCategoryOrder();
        break;
    case ID_CATEGORY_FLAG_SET:
    case ID_CATEGORY_FLAG_CLEAR:
        SetCategoryFlag(id == ID_CATEGORY_FLAG_SET);
        break;
    default:
        return false;
    }
    context_ = nullptr;
    return true;
}

void EditCommands::AddButton() {
    if (!nav_.Current()) {
        Tell(IDS_NO_GROUP_TO_SHOW);
        return;
    }
    const uint64_t context = context_ ? context_->m_nSerial : 0;
    dialogs::ButtonValues v;
    {
        HoldScope hold(app_);
        if (!hold)
            return;
        CEditProgramCommandDlg dlg(nullptr);
        if (dlg.DoModal(host_.Owner()) != IDOK)
            return;
        v = dlg.Values();
    }
    // The tree may have changed while the dialog was open (a watched folder reloaded).
    if (!nav_.Current())
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
    document::InsertAtContext(*node, context ? host_.Document()->Find(context) : nullptr,
                              *nav_.Current());
    nav_.ShowCategory(nav_.Current(), false);
    host_.MarkModified();
}

void EditCommands::AddCategory() {
    if (!host_.Document())
        return;
    const uint64_t anchor = context_ ? context_->m_nSerial : 0;
    HoldScope hold(app_);
    if (!hold)
        return;
    CNewProgramBookDlg dlg;
    if (dlg.DoModal(host_.Owner()) != IDOK)
        return;
    oVoiceBook* created = dialogs::CreateNewCategory(
        host_.Owner(), host_.Document()->Root(), anchor ? host_.Document()->Find(anchor) : nullptr,
        dlg.Request());
    if (!created)
        return;
    nav_.FillCategoryButtons();
    nav_.SetTop(TopLevelOf(created));
    nav_.ShowCategory(created, true);
    host_.MarkModified();
}

void EditCommands::CopyContextNode(bool clearContext) {
    if (!context_ || context_->m_nRole != ROLE_NORMAL)
        return;
    clipboard_.reset(context_->CloneTree());
    if (clearContext)
        context_ = nullptr;
}

void EditCommands::DeleteContextNode(bool ask) {
    if (!context_) {
        Tell(IDS_NO_BUTTON_HERE);
        return;
    }
    // "Go Up" stands for the parent and is no node of the tree: nothing to remove.
    if (!context_->Parent())
        return;
    const uint64_t serial = context_->m_nSerial;
    if (ask) {
        const UINT question = context_->IsButton() ? IDS_ASK_REMOVE_BUTTON : IDS_ASK_REMOVE_GROUP;
        const std::wstring text =
            fw::FormatText(fw::LoadResString(question).c_str(), context_->m_strName.c_str());
        HoldScope hold(app_);
        if (!hold || shell::ShowMessage(host_.Owner(), text, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    if (oVoiceBook* node = host_.Document()->Find(serial))
        RemoveNode(*node);
}

void EditCommands::RemoveNode(oVoiceBook& node) {
    oVoiceBook* parent = node.Parent();
    if (!parent)
        return;
    const bool category = !node.IsButton();
    host_.Document()->Remove(node);
    if (category)
        nav_.FillCategoryButtons(); // also drops the tabs' pointers
    nav_.ShowAfterEdit();
    host_.MarkModified();
}

void EditCommands::Paste() {
    if (!nav_.Current()) {
        Tell(IDS_NO_GROUP_TO_SHOW);
        return;
    }
    if (!clipboard_) {
        Tell(IDS_NOTHING_TO_PASTE);
        return;
    }
    document::PasteCopy(*clipboard_, context_, *nav_.Current());
    nav_.ShowCategory(nav_.Current(), false);
    host_.MarkModified();
}

void EditCommands::EditProperties() {
    if (!context_) {
        Tell(IDS_NO_BUTTON_HERE);
        return;
    }
    oVoiceBook* node = context_;
    if (node->m_nRole != ROLE_NORMAL)
        return;
    if (node->IsButton() && node->m_pidl) {
        ShowItemProperties(host_.Owner(), node->m_pidl.get());
        return;
    }
    // The dialog edits a copy: a reload while it is open may delete the node itself.
    const uint64_t serial = node->m_nSerial;
    oVoiceBook copy;
    copy.CopyFrom(*node);
    {
        HoldScope hold(app_);
        if (!hold)
            return;
        if (node->IsButton()) {
            CEditProgramCommandDlg dlg(&copy);
            if (dlg.DoModal(host_.Owner()) != IDOK)
                return;
        } else {
            CEditWordBookDlg dlg(copy);
            if (dlg.DoModal(host_.Owner()) != IDOK)
                return;
        }
    }
    node = host_.Document()->Find(serial);
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
    if (CBookButton* button = strip_.FindButtonWindow(node))
        strip_.MarkChanged(button->hwnd());
    for (size_t i = 0; i < strip_.CategoryCount(); ++i) {
        if (strip_.CategoryButton(i).Node() != node)
            continue;
        ::InvalidateRect(strip_.CategoryButton(i).hwnd(), nullptr, FALSE);
        strip_.Tabs().SetTab(static_cast<int>(i), node);
    }
    if (nav_.Current())
        nav_.ShowCategory(nav_.Current(), false);
    host_.MarkModified();
}

void EditCommands::RefreshCategory(oVoiceBook* category) {
    if (!category || !category->IsCategory())
        return;
    const uint64_t serial = category->m_nSerial;
    HoldScope hold(app_);
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
        if (shell::ShowMessage(host_.Owner(), text, MB_YESNO | MB_ICONINFORMATION) == IDNO)
            return;
        CFirstScanDlg progress;
        progress.SetText(fw::FormatText(fw::LoadResString(IDS_RELOADING_CATEGORY).c_str(),
                                        category->m_strName.c_str()));
        progress.Create(host_.Owner());
        // Read beside the window thread, so the bar and the progress window keep painting;
        // the old contents stay until the new ones are complete.
        std::shared_ptr<oVoiceBook> fresh;
        {
            fw::WaitCursor wait;
            fresh = category->m_pidl
                        ? setup::FillFromShellFolderWhilePumping(category->m_pidl.get(),
                                                                 host_.BarWindow())
                        : setup::FillFromFolderWhilePumping(category->m_strCommand,
                                                            category->m_bScanSubFolders != 0,
                                                            host_.BarWindow());
        }
        if (!fresh) // the program is ending: the bar is gone or going
            return;
        progress.Destroy();
        // Anything may have happened meanwhile, the category's deletion included.
        category = host_.Document()->Find(serial);
        if (!category)
            return;
        host_.Document()->DeleteChildren(*category);
        setup::AdoptChildren(*fresh, *category);
    } else {
        // An ordinary category: only the pictures of what the bar shows are made afresh.
        strip_.RebuildProgramPictures();
    }
    oVoiceBook* top = TopLevelOf(category);
    nav_.SelectTop(top);
    nav_.ShowCategory(category, true);
    host_.MarkModified();
}

void EditCommands::ChangeCategoryOrder() {
    if (!host_.Document())
        return;
    HoldScope hold(app_);
    if (!hold)
        return;
    CChangeCategoryDlg dlg(host_.Document()->Root());
    if (dlg.DoModal(host_.Owner()) != IDOK)
        return;
    nav_.FillCategoryButtons();
    nav_.UpdateCategoryChecks();
    host_.MarkModified();
}

void EditCommands::AddSeparator() {
    if (!nav_.Current()) {
        Tell(IDS_NO_GROUP_TO_SHOW);
        return;
    }
    document::AddSeparator(fw::LoadResString(IDS_SEPARATOR).c_str(), context_, *nav_.Current());
    nav_.ShowCategory(nav_.Current(), false);
    host_.MarkModified();
}

void EditCommands::SetCategoryFlag(bool set) {
    if (oVoiceBook* node = context_ ? context_ : nav_.Top()) {
        if (set)
            node->m_nFlags |= 1u;
        else
            node->m_nFlags &= ~1u;
        host_.MarkModified();
    }
}

void EditCommands::EditPropertiesOf(oVoiceBook* node) {
    context_ = node;
    EditProperties();
    context_ = nullptr;
}

// The bar stays open while a dialog or question shows; nothing starts while another shows.
void EditCommands::ExportTree() {
    HoldScope hold(app_);
    if (hold && host_.Document())
        views::ExportTree(host_.Owner(), host_.Document()->Root());
}

void EditCommands::ImportTree() {
    HoldScope hold(app_);
    if (!hold || !host_.Document())
        return;
    const Imported imported = views::ImportTree(host_.Owner(), *host_.Document());
    switch (imported.kind) {
    case Imported::Kind::Nothing:
        return;
    case Imported::Kind::WholeTree:
        nav_.ShowAfterEdit();
        break;
    case Imported::Kind::NewCategory:
        nav_.ShowNewTopCategory(imported.category);
        break;
    }
    host_.MarkModified();
}

} // namespace views
