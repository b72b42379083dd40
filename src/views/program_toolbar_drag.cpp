// Buttons and categories dragged on the bar: the drop mark that follows the pointer (or the
// tab strip's raised tab), and the move, copy or removal when the button is released.
#include <memory>
#include <utility>

#include "framework/gdi.h"
#include "model/voice_book.h"
#include "views/drop_rules.h"
#include "views/program_toolbar.h"
#include "document/tree_edits.h"

namespace {

POINT UnpackScreenPoint(WPARAM wp) noexcept {
    return POINT{static_cast<short>(LOWORD(wp)), static_cast<short>(HIWORD(wp))};
}

oVoiceBook* TopLevelOf(oVoiceBook* node) {
    while (node && node->Parent() && node->Parent()->Parent())
        node = node->Parent();
    return node;
}

} // namespace

bool CProgramToolBar::OnDragMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case views::WM_LARK_DRAG_OVER:
        result = DragOver(UnpackScreenPoint(wp), static_cast<uint32_t>(lp)) ? 1 : 0;
        return true;
    case views::WM_LARK_DRAG_END:
        EraseDropMark();
        m_wndTabs.DragFeedback(POINT{}, true);
        result = 0;
        return true;
    case views::WM_LARK_DROP_MOVE:
    case views::WM_LARK_DROP_COPY:
    case views::WM_LARK_DROP_REMOVE:
        // The dragged node comes named by its serial number: a pointer could dangle, or name
        // a newer node at the same address, by the time the message arrives.
        DropDragged(msg, UnpackScreenPoint(wp),
                    m_doc ? m_doc->Find(static_cast<uint64_t>(lp)) : nullptr);
        result = 0;
        return true;
    default:
        return false;
    }
}

void CProgramToolBar::EraseDropMark() {
    if (HWND marked = std::exchange(m_hMarkWindow, nullptr))
        ::RedrawWindow(marked, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    m_mark = views::DropMark{};
}

bool CProgramToolBar::DragOver(POINT screen, uint32_t flags) {
    if (OnTabStrip(screen)) {
        EraseDropMark();
        return m_wndTabs.DragFeedback(screen, false) == 1;
    }
    m_wndTabs.DragFeedback(screen, true);

    const bool button = (flags & views::kDragIsButton) != 0;
    const int depth = static_cast<int>(flags & views::kDragDepthMask);
    const oVoiceBook* target = DropTargetAt(button, depth > 1 && !button, screen);
    RECT bar{};
    ::GetWindowRect(Owner(), &bar);
    const views::DropMark mark =
        views::MarkFor(flags, DropFacts(target, screen), ::PtInRect(&bar, screen) != FALSE);
    const CBookButton* window = nullptr;
    switch (mark.on) {
    case views::MarkOn::Target:
        window = FindButtonWindow(target);
        break;
    case views::MarkOn::FirstProgram:
    case views::MarkOn::FirstCategory:
        window = FirstButtonWindow(mark.on == views::MarkOn::FirstCategory);
        break;
    case views::MarkOn::Nothing:
        break;
    }
    HWND hwnd = window ? window->hwnd() : nullptr;
    if (hwnd != m_hMarkWindow || mark.after != m_mark.after || mark.into != m_mark.into) {
        EraseDropMark();
        if (hwnd && !(flags & views::kDragMarkOnly)) {
            RECT client{};
            ::GetClientRect(hwnd, &client);
            const RECT r = views::MarkRect(client, mark);
            fw::WindowDC dc(hwnd);
            ::DrawFocusRect(dc.get(), &r);
        }
        m_hMarkWindow = hwnd;
        m_mark = mark;
    }
    return mark.into;
}

void CProgramToolBar::DropDragged(UINT msg, POINT screen, oVoiceBook* node) {
    if (!node || node == &m_doc->Root())
        return;
    if (msg == views::WM_LARK_DROP_REMOVE) {
        RemoveNode(*node);
        return;
    }
    if (!m_pCurrentCategory)
        return;
    const bool button = node->IsButton();
    const int depth = node->m_nDepth;
    oVoiceBook* target = nullptr;
    if (OnTabStrip(screen)) {
        const oTabInfo* tab = m_wndTabs.TabAtPoint(screen);
        if (!tab || !tab->pNode)
            return;
        target = tab->pNode;
    } else {
        target = DropTargetAt(button, depth > 1 && !button, screen);
    }
    const views::Insertion where =
        views::InsertionForDragged(button, depth, DropFacts(target, screen));
    const bool topLevel = depth <= 1 || (target && target->m_nDepth <= 1);
    if (msg == views::WM_LARK_DROP_MOVE) {
        // Menus built before name nothing now.
        m_doc->WillChange(*node, true, document::TreeListener::Change::Moving);
        if (!document::MoveNodeTo(*node, target, where, *m_pCurrentCategory, m_doc->Root()))
            return;
    } else {
        std::unique_ptr<oVoiceBook> copy(node->CloneTree());
        if (!copy)
            return;
        document::PlaceNode(*copy.release(), target, where, *m_pCurrentCategory, m_doc->Root());
    }
    // A move keeps every node, but the shown category may now lie under another top level.
    oVoiceBook* top = TopLevelOf(m_pCurrentCategory);
    if (top != m_pCurrentTopCategory) {
        m_pCurrentTopCategory = top;
        WatchCategory(top);
    }
    if (topLevel)
        FillCategoryButtons();
    ShowCategory(m_pCurrentCategory, false);
    MarkModified();
}
