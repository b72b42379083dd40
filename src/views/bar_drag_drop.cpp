#include "views/bar_drag_drop.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <memory>
#include <utility>
#include <vector>

#include "document/tree_document.h"
#include "document/tree_edits.h"
#include "framework/gdi.h"
#include "framework/resources.h"
#include "resource.h"
#include "setup/folder_fill.h"
#include "shell/launch.h"
#include "shell/messages.h"
#include "shell/shortcut.h"
#include "views/drop_data.h"

namespace views {
namespace {

POINT UnpackScreenPoint(WPARAM wp) noexcept {
    return POINT{static_cast<short>(LOWORD(wp)), static_cast<short>(HIWORD(wp))};
}

oVoiceBook* TopLevelOf(oVoiceBook* node) {
    while (node && node->Parent() && node->Parent()->Parent())
        node = node->Parent();
    return node;
}

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
        wchar_t address[kDropPathMax + 1] = {};
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
    wchar_t name[kDropPathMax + 1] = {};
    if (FAILED(::StrRetToBufW(&ret, list, name, static_cast<UINT>(std::size(name)))))
        return {};
    return name;
}

} // namespace

bool BarDragDrop::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_LARK_DRAG_OVER:
        result = DragOver(UnpackScreenPoint(wp), static_cast<uint32_t>(lp)) ? 1 : 0;
        return true;
    case WM_LARK_DRAG_END:
        EraseDropMark();
        strip_.Tabs().DragFeedback(POINT{}, true);
        result = 0;
        return true;
    case WM_LARK_DROP_MOVE:
    case WM_LARK_DROP_COPY:
    case WM_LARK_DROP_REMOVE:
        // The dragged node comes named by its serial number: a pointer could dangle, or name
        // a newer node at the same address, by the time the message arrives.
        DropDragged(msg, UnpackScreenPoint(wp),
                    host_.Document() ? host_.Document()->Find(static_cast<uint64_t>(lp)) : nullptr);
        result = 0;
        return true;
    default:
        return false;
    }
}

void BarDragDrop::EraseDropMark() {
    if (HWND marked = std::exchange(markWindow_, nullptr))
        ::RedrawWindow(marked, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    mark_ = DropMark{};
}

bool BarDragDrop::DragOver(POINT screen, uint32_t flags) {
    if (strip_.OnTabStrip(screen)) {
        EraseDropMark();
        return strip_.Tabs().DragFeedback(screen, false) == 1;
    }
    strip_.Tabs().DragFeedback(screen, true);

    const bool button = (flags & kDragIsButton) != 0;
    const int depth = static_cast<int>(flags & kDragDepthMask);
    const oVoiceBook* target = strip_.DropTargetAt(button, depth > 1 && !button, screen);
    RECT bar{};
    ::GetWindowRect(host_.Owner(), &bar);
    const DropMark mark =
        MarkFor(flags, DropFacts(target, screen), ::PtInRect(&bar, screen) != FALSE);
    const CBookButton* window = nullptr;
    switch (mark.on) {
    case MarkOn::Target:
        window = strip_.FindButtonWindow(target);
        break;
    case MarkOn::FirstProgram:
    case MarkOn::FirstCategory:
        window = strip_.FirstButtonWindow(mark.on == MarkOn::FirstCategory);
        break;
    case MarkOn::Nothing:
        break;
    }
    HWND hwnd = window ? window->hwnd() : nullptr;
    if (hwnd != markWindow_ || mark.after != mark_.after || mark.into != mark_.into) {
        EraseDropMark();
        if (hwnd && !(flags & kDragMarkOnly)) {
            RECT client{};
            ::GetClientRect(hwnd, &client);
            const RECT r = MarkRect(client, mark);
            fw::WindowDC dc(hwnd);
            ::DrawFocusRect(dc.get(), &r);
        }
        markWindow_ = hwnd;
        mark_ = mark;
    }
    return mark.into;
}

void BarDragDrop::DropDragged(UINT msg, POINT screen, oVoiceBook* node) {
    if (!node || node == &host_.Document()->Root())
        return;
    if (msg == WM_LARK_DROP_REMOVE) {
        edit_.RemoveNode(*node);
        return;
    }
    if (!nav_.Current())
        return;
    const bool button = node->IsButton();
    const int depth = node->m_nDepth;
    oVoiceBook* target = nullptr;
    if (strip_.OnTabStrip(screen)) {
        const oTabInfo* tab = strip_.Tabs().TabAtPoint(screen);
        if (!tab || !tab->pNode)
            return;
        target = tab->pNode;
    } else {
        target = strip_.DropTargetAt(button, depth > 1 && !button, screen);
    }
    const Insertion where = InsertionForDragged(button, depth, DropFacts(target, screen));
    const bool topLevel = depth <= 1 || (target && target->m_nDepth <= 1);
    if (msg == WM_LARK_DROP_MOVE) {
        // Menus built before name nothing now.
        host_.Document()->WillChange(*node, true, document::TreeListener::Change::Moving);
        if (!document::MoveNodeTo(*node, target, where, *nav_.Current(), host_.Document()->Root()))
            return;
    } else {
        std::unique_ptr<oVoiceBook> copy(node->CloneTree());
        if (!copy)
            return;
        document::PlaceNode(*copy.release(), target, where, *nav_.Current(),
                            host_.Document()->Root());
    }
    // A move keeps every node, but the shown category may now lie under another top level.
    nav_.SelectTop(TopLevelOf(nav_.Current()));
    if (topLevel)
        nav_.FillCategoryButtons();
    nav_.ShowCategory(nav_.Current(), false);
    host_.MarkModified();
}

DropTargetFacts BarDragDrop::DropFacts(const oVoiceBook* target, POINT screen) const {
    DropTargetFacts facts;
    if (!target)
        return facts;
    facts.kind = target->IsButton() ? TargetKind::Button : TargetKind::Category;
    facts.depth = target->m_nDepth;
    facts.ordinary = target->m_nRole == ROLE_NORMAL;
    facts.goUp = target->m_nRole == ROLE_GO_UP;
    RECT rect{};
    if (const CBookButton* window = strip_.FindButtonWindow(target))
        facts.middle = ::GetWindowRect(window->hwnd(), &rect) && InMiddleThird(rect, screen);
    return facts;
}

bool BarDragDrop::CanTakeDrop() {
    ::SetForegroundWindow(host_.Owner());
    if (nav_.Current())
        return true;
    shell::ShowMessage(host_.Owner(), fw::LoadResString(IDS_NO_GROUP_TO_SHOW),
                       MB_OK | MB_ICONINFORMATION);
    return false;
}

void BarDragDrop::PlaceDropped(std::unique_ptr<oVoiceBook> node, oVoiceBook* target,
                               Insertion where) {
    document::PlaceNode(*node.release(), target, where, *nav_.Current(), host_.Document()->Root());
}

void BarDragDrop::ShowDropTarget(oVoiceBook* target) {
    if (target && target->IsCategory() && target->m_nDepth <= 1 && target->m_nRole == ROLE_NORMAL) {
        nav_.FillCategoryButtons();
        nav_.SetTop(target);
        nav_.ShowCategory(target, false);
    } else {
        nav_.ShowCategory(nav_.Current(), false);
    }
    host_.MarkModified();
}

void BarDragDrop::DropPaths(const std::vector<std::wstring>& paths, POINT screen, bool into) {
    if (!CanTakeDrop() || paths.empty())
        return;
    const bool onTabs = strip_.OnTabStrip(screen);
    if (!onTabs && into) {
        oVoiceBook* program = strip_.ButtonNodeAt(screen);
        if (program && program->IsButton()) {
            std::wstring file = paths.front();
            shell::ShortcutInfo link;
            if (shell::IsShortcutFile(file) && shell::ReadShortcut(file, link))
                file = link.target;
            if (!shell::RunNode(*program, file))
                shell::ShowCantFind(host_.Owner(), program->m_strName);
            return;
        }
    }
    oVoiceBook* target = nullptr;
    DropTargetFacts facts;
    if (onTabs) {
        const oTabInfo* tab = strip_.Tabs().TabAtPoint(screen);
        if (!tab || !tab->pNode)
            return;
        target = tab->pNode;
        facts = DropFacts(target, screen);
        into = true;
    } else {
        target = strip_.DropTargetAt(true, false, screen);
        facts = DropFacts(target, screen);
        // A top-level category only ever takes items in: after it they would be buttons
        // among the categories, which the bar cannot show.
        if (facts.kind == TargetKind::Category && facts.depth <= 1 && facts.ordinary)
            into = true;
        if (!target) {
            // Beyond the first page the drop goes after the button scrolled out before it.
            target = strip_.NodeBeforePage();
            if (target) {
                facts = DropFacts(target, screen);
                facts.kind = TargetKind::Button;
            }
        }
    }
    const Insertion where = InsertionFor(facts, into);
    for (const std::wstring& path : paths)
        if (auto node = NodeForPath(path))
            PlaceDropped(std::move(node), target, where);
    ShowDropTarget(target);
}

void BarDragDrop::DropItemIdList(fw::Pidl list, POINT screen) {
    if (!list || !CanTakeDrop())
        return;
    auto node =
        std::make_unique<oVoiceBook>(NewNodeFields(DisplayName(list.get()), kDroppedKind, 2));
    node->SetPidl(std::move(list));
    oVoiceBook* target = strip_.DropTargetAt(true, false, screen);
    DropTargetFacts facts = DropFacts(target, screen);
    // A top-level category takes the item in; anything deeper gets it after it.
    const bool top = target && target->IsCategory() && target->m_nDepth <= 1;
    if (facts.kind == TargetKind::Category && !top)
        facts.kind = TargetKind::Button;
    const Insertion where = InsertionFor(facts, top);
    PlaceDropped(std::move(node), target, where);
    ShowDropTarget(top ? target : nullptr);
}

} // namespace views
