// The views of the program button bar: its child windows, their layout, paging, clicks and
// the lookups that drags use.
#include "views/program_toolbar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/gdi.h"
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
#include "document/tree_startup.h"

namespace {

// The grip strip: two grooved lines along its long side.
void DrawGripStrip(HDC dc, bool pressed, const RECT& r) {
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    const bool across = (r.right - r.left) >= (r.bottom - r.top); // a strip along the top
    for (int i = 0; i < 2; ++i) {
        const int at = i * 4;
        RECT line = across ? RECT{r.left, r.top + at, r.right, r.top + at + 3}
                           : RECT{r.left + at, r.top, r.left + at + 3, r.bottom};
        if (pressed)
            ::DrawEdge(dc, &line, BDR_SUNKENOUTER, BF_TOPLEFT);
        else
            ::DrawEdge(dc, &line, BDR_RAISEDINNER, BF_RECT);
    }
}

bool IsShown(const CBookButton& b) {
    return b.Node() && ::IsWindowVisible(b.hwnd());
}

bool operator==(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

RECT RectInParent(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT WindowRectOf(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

} // namespace

HWND CProgramToolBar::Owner() const noexcept {
    return ::GetAncestor(hwnd_, GA_ROOT);
}

void CProgramToolBar::CreateViews() {
    m_nViewFlags = m_prefs ? m_prefs->ViewGroupButtonMethod : Preferences{}.ViewGroupButtonMethod;
    m_goUp.SetName(fw::LoadResString(IDS_GO_UP).c_str());
    m_goUp.SetRole(ROLE_GO_UP);

    m_wndNextStrip.Create(0, RECT{}, hwnd_, views::IDC_NEXT_STRIP, &DrawGripStrip);
    struct Nav {
        CImageButton& button;
        UINT id, normal, disabled;
    } navs[] = {
        {m_btnSelectCategory, views::IDC_SELECT_CATEGORY, IDI_SELECT_CATEGORY,
         IDI_SELECT_CATEGORY_OFF},
        {m_btnParent, views::IDC_PARENT_CATEGORY, IDI_PARENT_CATEGORY, IDI_PARENT_CATEGORY_OFF},
        {m_btnNextH, views::ID_PAGE_NEXT, IDI_NEXT_PAGE_H, IDI_NEXT_PAGE_H_OFF},
        {m_btnPrevH, views::ID_PAGE_PREV, IDI_PREV_PAGE_H, IDI_PREV_PAGE_H_OFF},
        {m_btnNextV, views::ID_PAGE_NEXT, IDI_NEXT_PAGE_V, IDI_NEXT_PAGE_V_OFF},
        {m_btnPrevV, views::ID_PAGE_PREV, IDI_PREV_PAGE_V, IDI_PREV_PAGE_V_OFF},
    };
    for (Nav& nav : navs) {
        nav.button.Create(0, RECT{}, hwnd_, nav.id);
        nav.button.SetIcons(nav.normal, false, nav.disabled, false);
    }
    ::EnableWindow(m_btnParent.hwnd(), FALSE);

    m_wndSeparator = ::CreateWindowExW(
        0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_SUNKEN, 0, 0, 0, 0, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(views::IDC_TOOLBAR_SEPARATOR)),
        ::GetModuleHandleW(nullptr), nullptr);
    m_wndTabs.Create(hwnd_, views::IDC_TAB_STRIP, m_prefs);
    m_wndTabs.SetViewFlags(m_nViewFlags);

    m_wndToolTip.Create(hwnd_);
    m_wndToolTip.Activate(true);
    m_wndToolTip.SetDelays(0, 3000);
    m_wndToolTip.AddTool(m_btnSelectCategory.hwnd(), fw::LoadResString(IDS_SELECT_CATEGORY));
    m_wndToolTip.AddTool(m_btnParent.hwnd(), fw::LoadResString(IDS_PARENT_CATEGORY));
    m_wndToolTip.AddTool(m_wndNextStrip.hwnd(), fw::LoadResString(IDS_NEXT_CATEGORY));
}

void CProgramToolBar::ShowStartCategory() {
    if (!m_doc)
        return;
    fw::WaitCursor wait;
    oVoiceBook* start = document::StartCategory(m_doc->Root());
    if (!start)
        return;
    m_pCurrentTopCategory = start;
    WatchCategory(start);
    FillCategoryButtons();
    ShowCategory(start, true);
}

void CProgramToolBar::WatchCategory(oVoiceBook* category) {
    if (!category || !category->m_pidl) {
        m_watcher.Stop();
        return;
    }
    const std::wstring folder = shell::PathFromItemIdList(category->m_pidl.get());
    if (!folder.empty())
        m_watcher.Start(hwnd_, folder, *category);
}

void CProgramToolBar::ShowCategory(oVoiceBook* category, bool resetPaging) {
    FillProgramButtons(category);
    UpdateCategoryChecks();
    LayoutBar(resetPaging);
    DrawChangedButtons();
}

void CProgramToolBar::DrawChangedButtons() {
    std::vector<HWND> changed;
    changed.swap(m_changedButtons);
    if (changed.empty() || !hwnd_)
        return;
    // Each button repainting itself costs the window system several round trips
    // (invalidation, then the paint's own region and device context); one device context of
    // the bar that does not leave the buttons out serves them all.
    fw::WindowDC dc(hwnd_, ::GetDCEx(hwnd_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS));
    for (HWND hwnd : changed) {
        auto* button = dynamic_cast<CBookButton*>(fw::Window::FromHandle(hwnd));
        if (!button || !::IsWindowVisible(hwnd))
            continue;
        if (!dc.get()) {
            ::InvalidateRect(hwnd, nullptr, FALSE);
            continue;
        }
        const RECT r = RectInParent(hwnd);
        const int saved = ::SaveDC(dc.get());
        ::SetViewportOrgEx(dc.get(), r.left, r.top, nullptr);
        ::IntersectClipRect(dc.get(), 0, 0, r.right - r.left, r.bottom - r.top);
        button->PaintInto(dc.get());
        ::RestoreDC(dc.get(), saved);
    }
}

void CProgramToolBar::AddButtonTips() {
    if (!m_bTipsDeferred)
        return;
    m_bTipsDeferred = false;
    for (const auto* buttons : {&m_arrCategoryButtons, &m_arrButtons})
        for (const auto& b : *buttons)
            AddButtonTip(b->hwnd());
}

void CProgramToolBar::AddButtonTip(HWND tool) {
    if (!m_wndToolTip.hwnd() || m_bTipsDeferred)
        return;
    // The control asks for the text when it shows it (the name of the node the button
    // shows then), so switching categories tells it nothing.
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(tool);
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(m_wndToolTip.hwnd(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

LRESULT CProgramToolBar::OnNotify(int, NMHDR& hdr) {
    if (hdr.code != TTN_GETDISPINFOW || hdr.hwndFrom != m_wndToolTip.hwnd()) {
        SetMsgHandled(false);
        return 0;
    }
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(hdr);
    const auto* button = dynamic_cast<const CBookButton*>(
        fw::Window::FromHandle(reinterpret_cast<HWND>(hdr.idFrom)));
    static const wchar_t kNone[] = L"";
    info.lpszText =
        const_cast<wchar_t*>(button && button->Node() ? button->Node()->m_strName.c_str() : kNone);
    return 0;
}

void CProgramToolBar::AssignProgramSlot(size_t index, oVoiceBook* node) {
    if (index < m_arrButtons.size()) {
        CBookButton& button = *m_arrButtons[index];
        if (button.Node() == node)
            return; // same node: nothing to repaint or retell
        button.SetNode(node);
        // A hidden window is painted when it is shown; a shown one is drawn once the bar is
        // laid out (DrawChangedButtons).
        if (::IsWindowVisible(button.hwnd()))
            m_changedButtons.push_back(button.hwnd());
        return;
    }
    if (!node)
        return;
    // Windows are made only when a category has more buttons than any shown before.
    auto button = std::make_unique<CBookButton>();
    button->SetNode(node);
    if (!button->Create(0, RECT{}, hwnd_, views::ID_PROGRAM_BUTTON_FIRST + static_cast<UINT>(index),
                        m_prefs, false))
        return;
    AddButtonTip(button->hwnd());
    m_arrButtons.push_back(std::move(button));
}

void CProgramToolBar::FillProgramButtons(oVoiceBook* category) {
    if (!category)
        return;
    fw::WaitCursor wait;
    const std::vector<oVoiceBook*> nodes = views::ProgramButtonNodes(*category, &m_goUp);
    const size_t limit = views::ID_PROGRAM_BUTTON_LAST - views::ID_PROGRAM_BUTTON_FIRST + 1;
    size_t slot = 0;
    for (; slot < nodes.size() && slot < limit; ++slot)
        AssignProgramSlot(slot, nodes[slot]);
    m_pCurrentCategory = category;
    m_strCurrentName = category->m_strName;
    ::EnableWindow(m_btnParent.hwnd(), category->m_nDepth > 1 ? TRUE : FALSE);
    NoteCategoryShown(*category);
    for (; slot < m_arrButtons.size(); ++slot)
        m_arrButtons[slot]->SetNode(nullptr);
}

void CProgramToolBar::LayoutBar(bool resetPaging) {
    if (!hwnd_ || !m_btnNextV.hwnd())
        return;
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const views::ButtonMetrics& metrics = m_metrics;

    views::BarLayoutInput in;
    in.client = SIZE{client.right - client.left, client.bottom - client.top};
    in.vertical = m_bVertical;
    in.button = metrics.button;
    in.margin = metrics.gap.cx;
    in.spacing = m_prefs ? m_prefs->ButtonSpacing : 0;
    in.viewFlags = m_nViewFlags;
    in.categoryWindows = static_cast<int>(m_arrCategoryButtons.size());
    for (const auto& b : m_arrCategoryButtons) {
        if (!b->Node())
            break;
        ++in.categoryNodes;
    }
    in.slots.reserve(m_arrButtons.size());
    for (const auto& b : m_arrButtons)
        in.slots.push_back(views::SlotRoleOf(b->Node()));
    in.firstVisible = m_nFirstVisible;
    in.visibleCount = m_nVisibleCount;
    in.resetPaging = resetPaging;

    const views::BarLayout layout = views::LayoutBar(in);
    if (!layout.applies)
        return;
    m_nFirstVisible = layout.firstVisible;
    m_nVisibleCount = layout.visibleCount;

    // Every move in one batch; windows that stay hidden are left alone.
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(12 + in.slots.size() + in.categoryWindows));
    const auto apply = [&batch](HWND hwnd, const views::Place& place) {
        if (!hwnd || !batch)
            return;
        constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
        // A shown window already in its place is left out: each move is a round trip to
        // the window system, and a later show of a category moves nothing.
        const bool shown = (::GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
        if (place.visible && shown && RectInParent(hwnd) == place.rect)
            return;
        if (place.visible) {
            const RECT& r = place.rect;
            batch = ::DeferWindowPos(batch, hwnd, nullptr, r.left, r.top, r.right - r.left,
                                     r.bottom - r.top, kFlags | SWP_SHOWWINDOW);
        } else if (shown) {
            // Its own flag, not IsWindowVisible: while the bar is being created it is not
            // visible yet, and a child left shown would appear with it.
            batch = ::DeferWindowPos(batch, hwnd, nullptr, 0, 0, 0, 0,
                                     kFlags | SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW);
        }
    };
    apply(m_wndNextStrip.hwnd(), layout.grip);
    apply(m_btnSelectCategory.hwnd(), layout.selectCategory);
    apply(m_btnParent.hwnd(), layout.parent);
    apply(m_btnNextH.hwnd(), layout.nextH);
    apply(m_btnPrevH.hwnd(), layout.prevH);
    apply(m_btnNextV.hwnd(), layout.nextV);
    apply(m_btnPrevV.hwnd(), layout.prevV);
    apply(m_wndSeparator, layout.separator);
    m_wndTabs.SetVertical(in.vertical); // before its size, which lays it out
    apply(m_wndTabs.hwnd(), layout.tabs);
    for (size_t i = 0; i < m_arrCategoryButtons.size(); ++i) {
        CBookButton& b = *m_arrCategoryButtons[i];
        const views::CategoryPlace& place = layout.categories[i];
        if (place.visible) {
            b.SetMenuGlyph(place.menuGlyph);
            b.SetSingleRow(place.singleRow);
        }
        apply(b.hwnd(), place);
    }
    for (size_t i = 0; i < m_arrButtons.size(); ++i)
        apply(m_arrButtons[i]->hwnd(), layout.programs[i]);
    if (batch)
        ::EndDeferWindowPos(batch);

    for (HWND next : {m_btnNextH.hwnd(), m_btnNextV.hwnd()})
        ::EnableWindow(next, layout.canPageForward ? TRUE : FALSE);
    for (HWND prev : {m_btnPrevH.hwnd(), m_btnPrevV.hwnd()})
        ::EnableWindow(prev, layout.canPageBack ? TRUE : FALSE);
    ::InvalidateRect(hwnd_, &layout.programArea, TRUE);
}

void CProgramToolBar::SetViewFlags(int32_t flags) {
    m_nViewFlags = flags;
    m_wndTabs.SetViewFlags(flags);
    LayoutBar(true);
    UpdateCategoryChecks();
    m_wndTabs.Refresh();
}

void CProgramToolBar::SetVertical(bool vertical) {
    if (vertical == m_bVertical)
        return;
    m_bVertical = vertical;
    LayoutBar(true);
}

void CProgramToolBar::OnSize(UINT, int, int) {
    SetMsgHandled(false);
    if (!m_btnNextV.hwnd())
        return;
    LayoutBar(true);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void CProgramToolBar::PageBy(int step) {
    m_nFirstVisible = std::max(0, m_nFirstVisible + step);
    LayoutBar(false);
}

void CProgramToolBar::OnMouseWheel(UINT keys, short delta, POINT) {
    int used = 0;
    for (const auto& b : m_arrButtons) {
        if (!b->Node())
            break;
        ++used;
    }
    const int first = views::WheelFirstVisible(m_nFirstVisible, m_nVisibleCount, used, delta,
                                               (keys & MK_CONTROL) != 0, (keys & MK_SHIFT) != 0);
    if (first >= 0) {
        m_nFirstVisible = first;
        LayoutBar(false);
    }
}

void CProgramToolBar::OnLButtonDown(UINT, POINT) {
    // A press on the bar's own background drags the whole bar.
    DefaultProcessing();
    ::SendMessageW(Owner(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void CProgramToolBar::OnDrawItem(UINT, DRAWITEMSTRUCT& item) {
    if (!views::DrawMenuPicture(item))
        SetMsgHandled(false);
}

void CProgramToolBar::OnMeasureItem(UINT, MEASUREITEMSTRUCT& item) {
    if (!views::MeasureMenuPicture(item))
        SetMsgHandled(false);
}

void CProgramToolBar::OnCommand(UINT id, UINT code, HWND control) {
    if (id >= views::ID_PROGRAM_BUTTON_FIRST && id <= views::ID_PROGRAM_BUTTON_LAST) {
        OnProgramButton(id - views::ID_PROGRAM_BUTTON_FIRST);
        return;
    }
    if (OnEditCommand(id) || OnCategoryCommand(id))
        return;
    switch (id) {
    case views::ID_PAGE_NEXT:
        PageBy(m_nVisibleCount);
        return;
    case views::ID_PAGE_PREV:
        PageBy(-m_nVisibleCount);
        return;
    case views::IDC_PARENT_CATEGORY:
        GotoParentCategory();
        return;
    case views::IDC_NEXT_STRIP:
        ShowNextTopCategory();
        return;
    default:
        fw::Window::OnCommand(id, code, control);
    }
}

void CProgramToolBar::OnProgramButton(size_t index) {
    if (index >= m_arrButtons.size())
        return;
    oVoiceBook* node = m_arrButtons[index]->Node();
    if (!node)
        return;
    if (node->m_nRole == ROLE_GO_UP) {
        GotoParentCategory();
        return;
    }
    if (node->m_nRole != ROLE_NORMAL)
        return;
    if (node->IsButton()) {
        if (!shell::RunNode(*node))
            shell::ShowCantFind(Owner(), node->m_strName);
    } else if (node->IsCategory()) {
        ShowCategory(node, true);
    }
}

void CProgramToolBar::GotoParentCategory() {
    if (oVoiceBook* parent = views::ParentCategoryOf(m_pCurrentCategory))
        ShowCategory(parent, true);
}

void CProgramToolBar::ShowNextTopCategory() {
    if (!m_doc)
        return;
    oVoiceBook* next = views::NextTopCategory(m_doc->Root(), m_pCurrentTopCategory);
    if (!next)
        return;
    m_pCurrentTopCategory = next;
    ShowCategory(next, true);
}

void CProgramToolBar::OnViewTimer(UINT_PTR id) {
    if (id != kFolderReloadTimer) {
        SetMsgHandled(false);
        return;
    }
    ::KillTimer(hwnd_, kFolderReloadTimer);
    if (m_pCurrentTopCategory && m_pCurrentTopCategory->m_pidl)
        ReloadShellCategory(*m_pCurrentTopCategory);
    if (m_pCurrentCategory)
        ShowCategory(m_pCurrentCategory, true);
}

bool CProgramToolBar::OnViewMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ENTERMENULOOP || msg == WM_EXITMENULOOP) {
        ui::ToolTip::MenuLoop(msg == WM_ENTERMENULOOP);
        return false; // the default handling too
    }
    if (msg == WM_LARK_TAB_COMMAND) {
        OnTabCommand(wp, lp);
        return true;
    }
    if (msg != WM_LARK_FOLDER_CHANGED)
        return false;
    // The message names its category by serial: one deleted since is not found.
    if (m_pCurrentTopCategory && m_doc &&
        setup::FindWatchedCategory(m_doc->Root(), lp) == m_pCurrentTopCategory)
        ::SetTimer(hwnd_, kFolderReloadTimer, kFolderReloadDelayMs, nullptr);
    return true;
}

bool CProgramToolBar::PreTranslateMessage(MSG& msg) {
    // With the preference off the control never hears of the pointer: no tip appears.
    const int32_t tips = m_prefs ? m_prefs->ViewTooltipButton : Preferences{}.ViewTooltipButton;
    if (tips != 0)
        m_wndToolTip.Relay(msg);
    return fw::Window::PreTranslateMessage(msg);
}

// ---- lookups ------------------------------------------------------------------------------

oVoiceBook* CProgramToolBar::ButtonNodeAt(POINT screen) const {
    const auto scan = [&screen](const auto& buttons, size_t from) -> oVoiceBook* {
        for (size_t i = from; i < buttons.size(); ++i) {
            const CBookButton& b = *buttons[i];
            if (!IsShown(b))
                break;
            const RECT r = WindowRectOf(b.hwnd());
            if (::PtInRect(&r, screen))
                return b.Node();
        }
        return nullptr;
    };
    if (oVoiceBook* node = scan(m_arrButtons, static_cast<size_t>(m_nFirstVisible)))
        return node;
    return scan(m_arrCategoryButtons, 0);
}

oVoiceBook* CProgramToolBar::DropTargetAt(bool isButton, bool isSubCategory, POINT screen) const {
    const RECT bar = WindowRectOf(Owner());
    if (!::PtInRect(&bar, screen))
        return nullptr;
    if (oVoiceBook* node = ButtonNodeAt(screen))
        return node;
    // Beyond the last visible button of the area the item goes after it.
    const bool categories = !isButton && !isSubCategory;
    const auto& buttons = categories ? m_arrCategoryButtons : m_arrButtons;
    const CBookButton* last = nullptr;
    for (size_t i = categories ? 0 : static_cast<size_t>(m_nFirstVisible); i < buttons.size();
         ++i) {
        if (!buttons[i]->Node())
            break;
        if (::IsWindowVisible(buttons[i]->hwnd()))
            last = buttons[i].get();
    }
    if (!last)
        return nullptr;
    const RECT r = WindowRectOf(last->hwnd());
    if (screen.x >= r.right || screen.y >= r.bottom)
        return last->Node();
    return nullptr;
}

CBookButton* CProgramToolBar::FindButtonWindow(const oVoiceBook* node) const {
    if (!node)
        return nullptr;
    for (const auto& b : m_arrCategoryButtons) {
        if (!b->Node())
            break;
        if (b->Node() == node && ::IsWindowVisible(b->hwnd()))
            return b.get();
    }
    for (size_t i = static_cast<size_t>(m_nFirstVisible); i < m_arrButtons.size(); ++i) {
        const CBookButton& b = *m_arrButtons[i];
        if (!b.Node())
            break;
        if (b.Node() == node && ::IsWindowVisible(b.hwnd()))
            return m_arrButtons[i].get();
    }
    return nullptr;
}

CBookButton* CProgramToolBar::FirstButtonWindow(bool categoryArea) const {
    CBookButton* b = nullptr;
    if (categoryArea) {
        b = m_arrCategoryButtons.empty() ? nullptr : m_arrCategoryButtons.front().get();
    } else {
        size_t i = static_cast<size_t>(m_nFirstVisible);
        if (i < m_arrButtons.size() && m_arrButtons[i]->Node() &&
            m_arrButtons[i]->Node()->m_nRole == ROLE_GO_UP)
            ++i;
        b = i < m_arrButtons.size() ? m_arrButtons[i].get() : nullptr;
    }
    return b && IsShown(*b) ? b : nullptr;
}
