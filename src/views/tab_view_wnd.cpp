#include "views/tab_view_wnd.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cstring>

#include "framework/gdi.h"
#include "framework/resources.h"
#include "views/accessible_button.h"
#include "views/bar_keys.h"
#include "ui/dpi_fonts.h"
#include "ui/image_lists.h"
#include "model/preferences.h"
#include "model/voice_book.h"
#include "resource.h"
#include "views/category_menu.h"
#include "views/contrast.h"
#include "views/toolbar_ids.h"

namespace {

constexpr wchar_t kClassName[] = L"LarkTabViewWnd";

void Line(HDC dc, COLORREF colour, POINT from, POINT to) {
    fw::Pen pen(::CreatePen(PS_SOLID, 1, colour));
    fw::SelectObjectScope use(dc, pen.get());
    ::MoveToEx(dc, from.x, from.y, nullptr);
    ::LineTo(dc, to.x, to.y);
}

} // namespace

int CTabViewWnd::s_nDragHighlight = -1;

CTabViewWnd::CTabViewWnd() {
    m_tabs.reserve(10);
}

CTabViewWnd::~CTabViewWnd() {
    Destroy();
}

HWND CTabViewWnd::Create(HWND parent, UINT id, const Preferences* prefs) {
    m_prefs = prefs;
    if (prefs)
        m_nViewFlags = prefs->ViewGroupButtonMethod;
    RegisterClass(kClassName, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    return fw::Window::Create(0, kClassName, L"", WS_CHILD | WS_CLIPCHILDREN, RECT{}, parent, id);
}

bool CTabViewWnd::OnCreate(const CREATESTRUCTW&) {
    struct Scroll {
        CImageButton& button;
        UINT id, normal, disabled;
    } scrolls[] = {
        {m_btnPrevH, views::ID_PAGE_PREV, IDI_TAB_PREV_H, IDI_TAB_PREV_H_OFF},
        {m_btnNextH, views::ID_PAGE_NEXT, IDI_TAB_NEXT_H, IDI_TAB_NEXT_H_OFF},
        {m_btnPrevV, views::ID_PAGE_PREV, IDI_TAB_PREV_V, IDI_TAB_PREV_V_OFF},
        {m_btnNextV, views::ID_PAGE_NEXT, IDI_TAB_NEXT_V, IDI_TAB_NEXT_V_OFF},
    };
    for (Scroll& s : scrolls) {
        s.button.Create(0, RECT{}, hwnd_, s.id);
        s.button.SetIcons(s.normal, false, s.disabled, false);
        ::ShowWindow(s.button.hwnd(), SW_HIDE);
    }
    return true;
}

void CTabViewWnd::CreateTips() {
    if (!hwnd_ || m_toolTip.hwnd() || !m_toolTip.Create(hwnd_))
        return;
    m_toolTip.Activate(true);
    m_toolTip.SetDelays(0, 3000);
    LayOut(); // gives the laid-out tabs their tools
}

void CTabViewWnd::OnDestroy() {
    m_toolTip.Destroy();
    m_nTools = 0;
    if (s_nDragHighlight >= 0)
        s_nDragHighlight = -1;
    SetMsgHandled(false);
}

void CTabViewWnd::SetViewFlags(int32_t flags) {
    m_nViewFlags = flags;
}

void CTabViewWnd::SetVertical(bool vertical) {
    if (vertical == m_bVertical)
        return;
    m_bVertical = vertical;
    if (hwnd_ && m_nBatch == 0) {
        LayOut();
        Repaint();
    }
}

void CTabViewWnd::SetSizes(const views::TabSizes& sizes) {
    if (std::memcmp(&sizes, &m_sizes, sizeof(sizes)) == 0)
        return;
    m_sizes = sizes;
    for (CImageButton* b : {&m_btnPrevH, &m_btnNextH, &m_btnPrevV, &m_btnNextV})
        b->SetPictureSize(sizes.arrow);
    if (hwnd_ && m_nBatch == 0) {
        LayOut();
        Repaint();
    }
}

int CTabViewWnd::NameHeight() const {
    fw::WindowDC dc(hwnd_);
    fw::SelectObjectScope font(dc.get(), ui::GuiFont(m_sizes.dpi));
    TEXTMETRICW tm{};
    return dc.get() && ::GetTextMetricsW(dc.get(), &tm) ? tm.tmHeight : 0;
}

bool CTabViewWnd::Icons() const noexcept {
    return (m_nViewFlags & VIEW_TAB_ICONS) != 0;
}

// ---- the tab list ---------------------------------------------------------------------------

void CTabViewWnd::Clear() {
    m_tabs.clear();
    m_nFirstVisible = 0;
    m_nVisibleCount = 0;
    m_nSelected = -1;
    m_nHot = -1;
    m_nContext = -1;
    s_nDragHighlight = -1;
    Changed();
}

void CTabViewWnd::AddTab(oVoiceBook* category) {
    if (m_tabs.size() == m_tabs.capacity())
        m_tabs.reserve(m_tabs.size() + 10);
    oTabInfo tab;
    tab.pNode = category;
    m_tabs.push_back(tab);
    Changed();
}

void CTabViewWnd::SetTab(int index, oVoiceBook* category) {
    if (index < 0 || index >= TabCount())
        return;
    m_tabs[static_cast<size_t>(index)].pNode = category;
    Changed();
}

void CTabViewWnd::Changed() {
    if (m_nBatch > 0) {
        m_bChangedInBatch = true;
        return;
    }
    LayOut();
    Repaint();
}

void CTabViewWnd::EndBatch() {
    if (--m_nBatch > 0 || !m_bChangedInBatch)
        return;
    m_bChangedInBatch = false;
    LayOut();
    Repaint();
}

void CTabViewWnd::Select(int index) {
    if (index < 0 || index >= TabCount() || index == m_nSelected)
        return;
    m_nSelected = index;
    if (m_nHot == index)
        m_nHot = -1; // the selected tab is never hot
    BringIntoView(index);
}

void CTabViewWnd::Refresh() {
    if (!hwnd_ || !::IsWindowVisible(hwnd_) || m_tabs.empty())
        return;
    LayOut();
    Repaint();
}

// ---- layout ---------------------------------------------------------------------------------

std::vector<int> CTabViewWnd::TextWidths() const {
    std::vector<int> widths;
    widths.reserve(m_tabs.size());
    fw::WindowDC dc(hwnd_);
    fw::SelectObjectScope font(dc.get(), ui::GuiFont(m_sizes.dpi));
    for (const oTabInfo& tab : m_tabs) {
        SIZE extent{};
        const std::wstring& name = tab.pNode ? tab.pNode->m_strName : std::wstring();
        if (dc.get())
            ::GetTextExtentPoint32W(dc.get(), name.c_str(), static_cast<int>(name.size()), &extent);
        widths.push_back(extent.cx);
    }
    return widths;
}

void CTabViewWnd::LayOut() {
    if (!hwnd_)
        return;
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const views::TabStripPlan plan =
        views::PlanTabStrip(SIZE{client.right, client.bottom}, m_bVertical, TextWidths(),
                            m_nFirstVisible, Icons(), m_sizes);
    m_frame = plan.frame;
    m_nFirstVisible = plan.firstVisible;
    m_bCanNext = plan.next;
    m_bCanPrev = plan.prev;

    for (int i = 0; i < m_nTools; ++i)
        m_toolTip.DeleteTool(kToolFirst + static_cast<UINT_PTR>(i));
    m_nTools = 0;
    m_nVisibleCount = plan.tabs.visibleCount();
    for (int i = 0; i < m_nVisibleCount; ++i) {
        const RECT& r = plan.tabs.rects[static_cast<size_t>(i)];
        oTabInfo& tab = m_tabs[static_cast<size_t>(m_nFirstVisible + i)];
        tab.left = r.left;
        tab.top = r.top;
        tab.right = r.right;
        tab.bottom = r.bottom;
        if (m_toolTip.AddRectTool(kToolFirst + static_cast<UINT_PTR>(m_nFirstVisible + i), r))
            m_nTools = std::max(m_nTools, m_nFirstVisible + i + 1);
    }

    // The scroll buttons of the strip's orientation, while the tabs do not all fit; the
    // other pair is hidden.
    const int b = m_sizes.scrollButton;
    const auto place = [b](CImageButton& button, POINT at, bool show, bool enable) {
        if (!button.hwnd())
            return;
        ::EnableWindow(button.hwnd(), enable ? TRUE : FALSE);
        if (show)
            ::SetWindowPos(button.hwnd(), nullptr, at.x, at.y, b, b,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else
            ::ShowWindow(button.hwnd(), SW_HIDE);
    };
    const bool horizontal = m_frame.scrolls && !m_frame.vertical;
    const bool vertical = m_frame.scrolls && m_frame.vertical;
    place(m_btnPrevH, m_frame.prev, horizontal, m_bCanPrev);
    place(m_btnNextH, m_frame.next, horizontal, m_bCanNext);
    place(m_btnPrevV, m_frame.prev, vertical, m_bCanPrev);
    place(m_btnNextV, m_frame.next, vertical, m_bCanNext);
}

void CTabViewWnd::BringIntoView(int index) {
    if (index < 0 || index >= TabCount() || !hwnd_)
        return;
    LayOut(); // the frame and the visible count of the present size
    // A strip without room (hidden, or not sized yet) scrolls when it gets its size.
    if (::IsRectEmpty(&m_frame.area)) {
        Repaint();
        return;
    }
    m_nFirstVisible = views::FirstVisibleToShow(index, TextWidths(), m_nFirstVisible, m_frame.area,
                                                m_frame.vertical, Icons(), m_sizes);
    LayOut();
    Repaint();
}

void CTabViewWnd::Scroll(int step) {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int first =
        views::ScrolledFirstVisible(SIZE{client.right, client.bottom}, m_bVertical, TextWidths(),
                                    m_nFirstVisible, step, Icons(), m_sizes);
    if (first == m_nFirstVisible)
        return;
    m_nFirstVisible = first;
    m_nHot = -1;
    LayOut();
    Repaint();
}

void CTabViewWnd::OnSize(UINT, int, int) {
    LayOut();
    BringIntoView(m_nSelected);
    Repaint();
}

// ---- hit tests ------------------------------------------------------------------------------

int CTabViewWnd::IndexAt(POINT client) const {
    for (int i = 0; i < m_nVisibleCount; ++i) {
        const int index = m_nFirstVisible + i;
        const RECT r = m_tabs[static_cast<size_t>(index)].Rect();
        if (::PtInRect(&r, client))
            return index;
    }
    return -1;
}

const oTabInfo* CTabViewWnd::TabAtPoint(POINT screen) const {
    if (!hwnd_)
        return nullptr;
    POINT client = screen;
    ::ScreenToClient(hwnd_, &client);
    const int index = IndexAt(client);
    return index >= 0 ? &m_tabs[static_cast<size_t>(index)] : nullptr;
}

int CTabViewWnd::DragFeedback(POINT screen, bool clear) {
    if (clear) {
        if (s_nDragHighlight >= 0)
            Repaint();
        s_nDragHighlight = -1;
        return -1;
    }
    POINT client = screen;
    ::ScreenToClient(hwnd_, &client);
    const int index = IndexAt(client);
    if (index != s_nDragHighlight) {
        s_nDragHighlight = index;
        Repaint();
    }
    return 1;
}

// ---- mouse ----------------------------------------------------------------------------------

void CTabViewWnd::SetHot(int index) {
    if (index == m_nHot)
        return;
    m_nHot = index;
    Repaint();
}

void CTabViewWnd::OnMouseMove(UINT, POINT client) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = hwnd_;
        m_bTracking = ::TrackMouseEvent(&tme) != FALSE;
    }
    const int index = IndexAt(client);
    if (index < 0)
        SetHot(-1);
    else if (index != m_nSelected && index != m_nHot)
        SetHot(index);
}

void CTabViewWnd::OnMouseLeave() {
    m_bTracking = false;
    SetHot(-1);
}

void CTabViewWnd::OnCaptureChanged(HWND) {
    SetHot(-1);
}

void CTabViewWnd::OnLButtonDown(UINT, POINT client) {
    if (!::PtInRect(&m_frame.area, client))
        return;
    ::SetFocus(hwnd_); // the keyboard goes on from the tab chosen
    ChooseTab(IndexAt(client));
}

void CTabViewWnd::ChooseTab(int index) {
    if (index < 0 || index >= TabCount() || index == m_nSelected)
        return;
    Select(index);
    const UINT id = views::ID_CATEGORY_BUTTON_FIRST + static_cast<UINT>(index);
    ::SendMessageW(::GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id, 0),
                   reinterpret_cast<LPARAM>(hwnd_));
}

// Keys go to the bar, which moves between the tabs by choosing them.
void CTabViewWnd::OnKeyDown(UINT key, UINT, UINT) {
    if (!views::PassKeyToBar(hwnd_, key))
        SetMsgHandled(false);
}

void CTabViewWnd::OnKeyUp(UINT key, UINT, UINT) {
    if (!views::IsMenuKeyUp(WM_KEYUP, key))
        SetMsgHandled(false);
}

UINT CTabViewWnd::OnGetDlgCode(const MSG*) {
    return views::kBarKeysDlgCode;
}

void CTabViewWnd::OnSetFocus(HWND) {
    Repaint(); // the focus rectangle on the chosen tab
}

void CTabViewWnd::OnKillFocus(HWND) {
    Repaint();
}

void CTabViewWnd::OnContextMenu(HWND, POINT screen) {
    if (screen.x == -1 && screen.y == -1) { // from the keyboard: at the selected tab
        const int at = m_nSelected >= 0 ? m_nSelected : 0;
        screen = POINT{0, 0};
        if (at < TabCount())
            screen = POINT{m_tabs[static_cast<size_t>(at)].left + 2,
                           m_tabs[static_cast<size_t>(at)].top + 2};
        ::ClientToScreen(hwnd_, &screen);
    }
    POINT client = screen;
    ::ScreenToClient(hwnd_, &client);
    m_nContext = IndexAt(client);

    fw::Menu menu = fw::LoadResMenu(IDR_CATEGORY_MENU);
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup)
        return;
    views::ApplyCategoryMenuState(popup, m_nContext >= 0, m_nViewFlags);
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                         screen.x, screen.y, 0, hwnd_, nullptr));
    if (command)
        RunMenuCommand(command);
}

void CTabViewWnd::RunMenuCommand(UINT command) {
    HWND parent = ::GetParent(hwnd_);
    switch (command) {
    case ID_DELETE_CATEGORY:
    case ID_CATEGORY_PROPERTIES:
    case ID_REFRESH_CATEGORY:
        // About the tab that was clicked; the bar checks that it still has that category.
        if (m_nContext >= 0 && m_nContext < TabCount())
            ::SendMessageW(parent, WM_LARK_TAB_COMMAND,
                           (static_cast<WPARAM>(m_nContext) << 16) | command,
                           reinterpret_cast<LPARAM>(m_tabs[static_cast<size_t>(m_nContext)].pNode));
        break;
    default:
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        break;
    }
}

void CTabViewWnd::OnCommand(UINT id, UINT, HWND) {
    if (id == views::ID_PAGE_NEXT)
        Scroll(1);
    else if (id == views::ID_PAGE_PREV)
        Scroll(-1);
    else
        SetMsgHandled(false);
}

LRESULT CTabViewWnd::OnNotify(int, NMHDR& hdr) {
    if (hdr.code != TTN_GETDISPINFOW || hdr.hwndFrom != m_toolTip.hwnd()) {
        SetMsgHandled(false);
        return 0;
    }
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(hdr);
    static wchar_t kNone[] = L"";
    info.lpszText = kNone;
    const bool tips = m_prefs && m_prefs->ViewTooltipTab != 0;
    const UINT_PTR index = hdr.idFrom - kToolFirst;
    if (tips && hdr.idFrom >= kToolFirst && index < m_tabs.size() && m_tabs[index].pNode)
        info.lpszText = const_cast<wchar_t*>(m_tabs[index].pNode->m_strName.c_str());
    return 0;
}

void CTabViewWnd::Describe(fw::AccessibleQuery& q) {
    q.childCount = TabCount();
    q.answered = q.child >= 0 && q.child <= q.childCount;
    if (q.child == CHILDID_SELF || !q.answered) {
        q.info.role = ROLE_SYSTEM_PAGETABLIST;
        return;
    }
    const int index = static_cast<int>(q.child) - 1;
    if (q.doDefaultAction) {
        // Posted back to this window: the caller's call returns before the bar switches.
        ::PostMessageW(hwnd_, kChooseTabMessage, static_cast<WPARAM>(index), 0);
        return;
    }
    const oTabInfo& tab = m_tabs[static_cast<size_t>(index)];
    views::ButtonFacts facts;
    facts.kind = views::ButtonKind::Category;
    facts.name = tab.pNode ? tab.pNode->m_strName : std::wstring();
    facts.checked = index == m_nSelected;
    facts.hot = index == m_nHot;
    facts.focused = index == m_nSelected && ::GetFocus() == hwnd_;
    facts.hidden = index < m_nFirstVisible || index >= m_nFirstVisible + m_nVisibleCount;
    q.info = views::DescribeButton(facts);
    q.childRect = tab.Rect();
    ::MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&q.childRect), 2);
}

LRESULT CTabViewWnd::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT answer = 0;
    if (fw::AnswerAccessible(hwnd_, msg, wp, lp, answer,
                             [this](fw::AccessibleQuery& q) { Describe(q); }))
        return answer;
    if (views::ForwardSystemKey(hwnd_, msg, wp))
        return 0;
    switch (msg) {
    case WM_UPDATEUISTATE:
        Repaint(); // the focus rectangle may come or go
        break;
    case kChooseTabMessage:
        ChooseTab(static_cast<int>(wp));
        return 0;
    case WM_PRINTCLIENT: {
        // The scroll buttons' themed faces ask for what lies behind them.
        RECT client{};
        ::GetClientRect(hwnd_, &client);
        Paint(reinterpret_cast<HDC>(wp), client);
        return 0;
    }
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        ui::ToolTip::MenuLoop(msg == WM_ENTERMENULOOP);
        break;
    default:
        break;
    }
    return fw::Window::OnMessage(msg, wp, lp);
}

bool CTabViewWnd::PreTranslateMessage(MSG& msg) {
    if (msg.hwnd == hwnd_)
        m_toolTip.Relay(msg);
    return fw::Window::PreTranslateMessage(msg);
}

// ---- painting -------------------------------------------------------------------------------

void CTabViewWnd::Repaint() {
    if (hwnd_)
        ::InvalidateRect(hwnd_, nullptr, FALSE);
}

bool CTabViewWnd::OnEraseBackground(HDC) {
    return true; // the paint covers everything
}

void CTabViewWnd::OnPaint() {
    fw::PaintDC paint(hwnd_);
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    // Drawn off screen and copied at once, so that moving over tabs does not flicker.
    fw::MemoryDC memory(::CreateCompatibleDC(paint.get()));
    fw::Bitmap bitmap(::CreateCompatibleBitmap(paint.get(), std::max(1L, client.right),
                                               std::max(1L, client.bottom)));
    if (!memory || !bitmap) {
        Paint(paint.get(), client);
        return;
    }
    {
        fw::SelectObjectScope use(memory.get(), bitmap.get());
        Paint(memory.get(), client);
        ::BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }
}

void CTabViewWnd::Paint(HDC dc, const RECT& client) {
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    RECT frame = client;
    ::DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    RECT separator = m_frame.separator;
    if (!::IsRectEmpty(&separator))
        ::DrawEdge(dc, &separator, BDR_RAISEDINNER, BF_RECT);

    // The tab area, one pixel larger towards its far side.
    RECT area = m_frame.area;
    if (!m_frame.vertical)
        ++area.right;
    ++area.bottom;
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    for (int i = 0; i < m_nVisibleCount; ++i) {
        const int index = m_nFirstVisible + i;
        DrawTab(dc, index, index == m_nHot || index == s_nDragHighlight);
    }
    // The selected tab lies over its neighbours.
    if (m_nSelected >= m_nFirstVisible && m_nSelected < m_nFirstVisible + m_nVisibleCount) {
        DrawTab(dc, m_nSelected, m_nSelected == s_nDragHighlight);
        // The keyboard is on the selected tab.
        if (::GetFocus() == hwnd_ && !views::FocusCuesHidden(hwnd_)) {
            RECT mark = m_tabs[static_cast<size_t>(m_nSelected)].Rect();
            const int slant = m_sizes.overlap;
            ::InflateRect(&mark, m_frame.vertical ? -3 : -slant, m_frame.vertical ? -slant : -3);
            ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            ::DrawFocusRect(dc, &mark);
        }
    }
    ::RestoreDC(dc, saved);
}

void CTabViewWnd::DrawTab(HDC dc, int index, bool raised) {
    const oTabInfo& tab = m_tabs[static_cast<size_t>(index)];
    const int L = tab.left, T = tab.top, R = tab.right, B = tab.bottom;
    const bool selected = index == m_nSelected;
    const views::FaceColours colours =
        views::ChooseFaceColours(views::HighContrast(), views::FacePart::Tab, raised, selected);
    const int fill = colours.face;
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);

    // The wide side lies along the bar: the top of a horizontal tab, the right of a vertical.
    // Text starts half the padding into a tab and is clipped as far from its end.
    const int inset = m_sizes.textPadding / 2;
    const int slant = m_sizes.overlap; // a tab narrows by this much at each end
    const int iconSize = m_sizes.icon;
    POINT shape[4];
    if (m_frame.vertical) {
        shape[0] = {R, T};
        shape[1] = {L, T + slant};
        shape[2] = {L, B - slant};
        shape[3] = {R, B};
    } else {
        shape[0] = {L, T};
        shape[1] = {L + slant, B};
        shape[2] = {R - slant, B};
        shape[3] = {R, T};
    }
    {
        fw::SelectObjectScope brush(dc, ::GetSysColorBrush(fill));
        fw::SelectObjectScope pen(dc, ::GetStockObject(NULL_PEN));
        ::Polygon(dc, shape, 4);
    }
    Line(dc, light, shape[0], shape[1]);
    Line(dc, m_frame.vertical ? light : shadow, shape[1], shape[2]);
    Line(dc, shadow, shape[2], shape[3]);
    Line(dc, selected ? face : shadow, shape[3], shape[0]);

    oVoiceBook* node = tab.pNode;
    if (!node)
        return;
    const bool icons = Icons();
    if (icons) {
        const bool mono = m_prefs && m_prefs->IconMono != 0;
        const POINT at = m_frame.vertical ? POINT{L + 3, T + inset} : POINT{L + inset, T + 1};
        if (icons::SmallPictureSize() == iconSize) {
            icons::DrawSmall(*node, dc, at.x, at.y, false, !raised, mono);
        } else if (icons::GetImage(*node) >= 0) {
            // Lists made for another size: the picture is drawn at the tab's.
            const fw::Icon icon = icons::GetIconHandle(*node, false, !raised, mono);
            ::DrawIconEx(dc, at.x, at.y, icon.get(), iconSize, iconSize, 0, nullptr, DI_NORMAL);
        }
    }
    const int shift = icons ? m_sizes.iconRoom : 0;
    const std::wstring& name = node->m_strName;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(colours.text));
    RECT clip =
        m_frame.vertical ? RECT{L, T + inset, R, B - inset} : RECT{L + inset, T, R - inset, B};
    ::IntersectRect(&clip, &clip, &m_frame.area);
    if (m_frame.vertical) {
        fw::SelectObjectScope use(dc, ui::GuiFont(m_sizes.dpi, true));
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc, &tm);
        // Turned by 270 degrees the text's top faces right: the reference point is the
        // right edge of the centred text band.
        const int x = L + (R - L + tm.tmHeight) / 2;
        ::ExtTextOutW(dc, x, T + inset + shift, ETO_CLIPPED, &clip, name.c_str(),
                      static_cast<UINT>(name.size()), nullptr);
    } else {
        fw::SelectObjectScope use(dc, ui::GuiFont(m_sizes.dpi));
        RECT text{L + inset + shift, T, R - inset, B};
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
        ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
        ::RestoreDC(dc, saved);
    }
}
