// Items dropped onto the bar from other programs: files, shortcuts, Internet shortcuts, web
// addresses and shell items become buttons where they land, or a file is opened with the
// program it is dropped on.
#include <shlobj.h>
#include <shlwapi.h>

#include <memory>
#include <vector>

#include "framework/resources.h"
#include "resource.h"
#include "setup/folder_fill.h"
#include "shell/launch.h"
#include "shell/messages.h"
#include "shell/shortcut.h"
#include "views/drop_data.h"
#include "views/drop_rules.h"
#include "document/tree_edits.h"
#include "views/program_toolbar.h"

namespace {

constexpr int32_t kDroppedKind = KIND_ITEM | KIND_COMMAND;
constexpr int32_t kWebPicture = 10;

bool HasUrlExtension(const std::wstring& path) {
    const size_t dot = path.rfind(L'.');
    return dot != std::wstring::npos && ::lstrcmpiW(path.c_str() + dot + 1, L"url") == 0;
}

// The node a dropped path becomes, or null when it is a shortcut that cannot be read.
std::unique_ptr<oVoiceBook> NodeForPath(const std::wstring& path) {
    NodeRecordFields f = NewNodeFields(setup::FileTitle(path), kDroppedKind, 0);
    fw::Pidl list;
    // An Internet shortcut is known by its extension: not every shell marks it as a link.
    const bool internet = HasUrlExtension(path);
    if (!internet && shell::IsShortcutFile(path)) {
        shell::ShortcutInfo link;
        if (shell::ReadShortcut(path, link)) {
            f.command = link.target;
            f.arguments = link.arguments;
            f.workDir = link.workDir;
        } else if (!shell::ReadShortcutIdList(path, list, &link)) {
            return nullptr;
        }
        f.iconFile = link.iconFile;
        f.iconIndex = link.iconIndex;
        f.showCmd = link.showCmd;
    } else if (internet) {
        wchar_t address[views::kDropPathMax + 1] = {};
        ::GetPrivateProfileStringW(L"InternetShortcut", L"URL", L"", address,
                                   static_cast<DWORD>(std::size(address)), path.c_str());
        if (!address[0])
            return nullptr;
        f.command = address;
        f.defaultImage = kWebPicture;
    } else {
        f.flags = 2;
        f.command = path;
    }
    auto node = std::make_unique<oVoiceBook>(f);
    node->SetPidl(std::move(list));
    return node;
}

std::wstring DisplayName(LPCITEMIDLIST list) {
    fw::ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.put())))
        return {};
    STRRET ret{};
    if (FAILED(desktop->GetDisplayNameOf(list, SHGDN_NORMAL, &ret)))
        return {};
    wchar_t name[views::kDropPathMax + 1] = {};
    if (FAILED(::StrRetToBufW(&ret, list, name, static_cast<UINT>(std::size(name)))))
        return {};
    return name;
}

} // namespace

bool CProgramToolBar::OnTabStrip(POINT screen) const {
    RECT strip{};
    return m_wndTabs.hwnd() && ::IsWindowVisible(m_wndTabs.hwnd()) &&
           ::GetWindowRect(m_wndTabs.hwnd(), &strip) && ::PtInRect(&strip, screen);
}

views::DropTargetFacts CProgramToolBar::DropFacts(const oVoiceBook* target, POINT screen) const {
    views::DropTargetFacts facts;
    if (!target)
        return facts;
    facts.kind = target->IsButton() ? views::TargetKind::Button : views::TargetKind::Category;
    facts.depth = target->m_nDepth;
    facts.ordinary = target->m_nRole == ROLE_NORMAL;
    facts.goUp = target->m_nRole == ROLE_GO_UP;
    RECT rect{};
    if (const CBookButton* window = FindButtonWindow(target))
        facts.middle = ::GetWindowRect(window->hwnd(), &rect) && views::InMiddleThird(rect, screen);
    return facts;
}

bool CProgramToolBar::CanTakeDrop() {
    ::SetForegroundWindow(Owner());
    if (m_pCurrentCategory)
        return true;
    shell::ShowMessage(Owner(), fw::LoadResString(IDS_NO_GROUP_TO_SHOW),
                       MB_OK | MB_ICONINFORMATION);
    return false;
}

void CProgramToolBar::PlaceDropped(std::unique_ptr<oVoiceBook> node, oVoiceBook* target,
                                   views::Insertion where) {
    document::PlaceNode(*node.release(), target, where, *m_pCurrentCategory, m_doc->Root());
}

void CProgramToolBar::ShowDropTarget(oVoiceBook* target) {
    if (target && target->IsCategory() && target->m_nDepth <= 1 && target->m_nRole == ROLE_NORMAL) {
        FillCategoryButtons();
        m_pCurrentTopCategory = target;
        m_pCurrentCategory = target;
    }
    ShowCategory(m_pCurrentCategory, false);
    MarkModified();
}

void CProgramToolBar::DropPaths(const std::vector<std::wstring>& paths, POINT screen, bool into) {
    if (!CanTakeDrop() || paths.empty())
        return;
    const bool onTabs = OnTabStrip(screen);
    if (!onTabs && into) {
        oVoiceBook* program = ButtonNodeAt(screen);
        if (program && program->IsButton()) {
            std::wstring file = paths.front();
            shell::ShortcutInfo link;
            if (shell::IsShortcutFile(file) && shell::ReadShortcut(file, link))
                file = link.target;
            if (!shell::RunNode(*program, file))
                shell::ShowCantFind(Owner(), program->m_strName);
            return;
        }
    }
    oVoiceBook* target = nullptr;
    views::DropTargetFacts facts;
    if (onTabs) {
        const oTabInfo* tab = m_wndTabs.TabAtPoint(screen);
        if (!tab || !tab->pNode)
            return;
        target = tab->pNode;
        facts = DropFacts(target, screen);
        into = true;
    } else {
        target = DropTargetAt(true, false, screen);
        facts = DropFacts(target, screen);
        // A top-level category only ever takes items in: after it they would be buttons
        // among the categories, which the bar cannot show.
        if (facts.kind == views::TargetKind::Category && facts.depth <= 1 && facts.ordinary)
            into = true;
        if (!target && m_nFirstVisible > 0 &&
            static_cast<size_t>(m_nFirstVisible) <= m_arrButtons.size()) {
            // Beyond the first page the drop goes after the button scrolled out before it.
            target = m_arrButtons[static_cast<size_t>(m_nFirstVisible) - 1]->Node();
            if (target) {
                facts = DropFacts(target, screen);
                facts.kind = views::TargetKind::Button;
            }
        }
    }
    const views::Insertion where = views::InsertionFor(facts, into);
    for (const std::wstring& path : paths)
        if (auto node = NodeForPath(path))
            PlaceDropped(std::move(node), target, where);
    ShowDropTarget(target);
}

void CProgramToolBar::DropItemIdList(fw::Pidl list, POINT screen) {
    if (!list || !CanTakeDrop())
        return;
    auto node =
        std::make_unique<oVoiceBook>(NewNodeFields(DisplayName(list.get()), kDroppedKind, 2));
    node->SetPidl(std::move(list));
    oVoiceBook* target = DropTargetAt(true, false, screen);
    views::DropTargetFacts facts = DropFacts(target, screen);
    // A top-level category takes the item in; anything deeper gets it after it.
    const bool top = target && target->IsCategory() && target->m_nDepth <= 1;
    if (facts.kind == views::TargetKind::Category && !top)
        facts.kind = views::TargetKind::Button;
    const views::Insertion where = views::InsertionFor(facts, top);
    PlaceDropped(std::move(node), target, where);
    ShowDropTarget(top ? target : nullptr);
}
