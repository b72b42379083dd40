#include "framework/virtual_list.h"

#include <oleacc.h>

#include <algorithm>
#include <utility>

#include "framework/gdi.h"

namespace fw {

namespace {
constexpr wchar_t kClassName[] = L"LarkVirtualList";
// Posted to itself: a row's default action, carried out after the caller's call returns.
constexpr UINT kActivateRowMessage = WM_USER + 1;
} // namespace

bool VirtualList::CreateIn(HWND parent, UINT id, DWORD exStyle) {
    if (!RegisterClass(kClassName, CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)))
        return false;
    const RECT none{0, 0, 0, 0};
    return Create(exStyle, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, none, parent, id) !=
           nullptr;
}

void VirtualList::SetRowHeight(int height) {
    rowHeight_ = std::max(1, height);
    RECT client{};
    if (hwnd_ && ::GetClientRect(hwnd_, &client))
        OnSize(0, client.right, client.bottom);
}

void VirtualList::SetCount(int count) {
    RowScroll next = view_;
    next.count = std::max(0, count);
    next.top = 0;
    next.selected = next.count > 0 ? 0 : -1;
    view_ = next;
    UpdateScrollBar();
    if (hwnd_)
        ::InvalidateRect(hwnd_, nullptr, FALSE);
    AnnounceSelection();
}

void VirtualList::Apply(const RowScroll& next) {
    const RowScroll before = std::exchange(view_, next);
    if (before.selected != next.selected)
        AnnounceSelection();
    if (before.top != next.top) {
        UpdateScrollBar();
        ::InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    if (before.selected == next.selected)
        return;
    // Only the two rows whose selection changed.
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    for (int row : {before.selected, next.selected}) {
        if (row < next.top)
            continue;
        RECT r = client;
        r.top = (row - next.top) * rowHeight_;
        r.bottom = r.top + rowHeight_;
        ::InvalidateRect(hwnd_, &r, FALSE);
    }
}

void VirtualList::UpdateScrollBar() {
    if (!hwnd_)
        return;
    // The bar stays, disabled when all rows fit: showing and hiding it changes the frame,
    // which costs more than the rest of a new list together. Unchanged, it is left alone.
    const ScrollState state{std::max(0, view_.count - 1), view_.fullRows, view_.top};
    if (state == scrollState_)
        return;
    scrollState_ = state;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = state.max;
    info.nPage = static_cast<UINT>(state.page);
    info.nPos = state.top;
    // Drawn with the next paint, not at once: a new list is painted there anyway.
    ::SetScrollInfo(hwnd_, SB_VERT, &info, FALSE);
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void VirtualList::OnPaint() {
    PaintDC paint(hwnd_);
    const HDC dc = paint.get();
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const RECT& dirty = paint.paint().rcPaint;
    const int first = view_.top + std::max(0L, dirty.top) / rowHeight_;
    int y = (first - view_.top) * rowHeight_;
    for (int row = first; row < view_.count && y < dirty.bottom; ++row, y += rowHeight_) {
        const RECT r{client.left, y, client.right, y + rowHeight_};
        if (paint_)
            paint_(dc, r, row, row == view_.selected);
    }
    if (y < dirty.bottom) {
        const RECT rest{client.left, std::max(y, static_cast<int>(dirty.top)), client.right,
                        dirty.bottom};
        ::FillRect(dc, &rest, ::GetSysColorBrush(COLOR_WINDOW));
    }
}

bool VirtualList::OnEraseBackground(HDC) {
    return true; // every pixel is painted by OnPaint
}

void VirtualList::OnSize(UINT, int, int cy) {
    RowScroll next = view_;
    next.fullRows = std::max(1, cy / rowHeight_);
    view_ = next.ScrolledTo(next.top);
    UpdateScrollBar();
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void VirtualList::OnKeyDown(UINT key, UINT, UINT) {
    Apply(view_.AfterKey(key));
}

bool VirtualList::HasKeyboard() const {
    const HWND focus = ::GetFocus();
    return hwnd_ && focus && (focus == hwnd_ || ::GetParent(focus) == ::GetParent(hwnd_));
}

void VirtualList::AnnounceSelection() {
    if (view_.selected >= 0 && HasKeyboard())
        NotifyFocus(hwnd_, view_.selected + 1);
}

void VirtualList::Describe(AccessibleQuery& q) {
    q.childCount = view_.count;
    q.answered = q.child >= 0 && q.child <= q.childCount;
    if (!q.answered)
        return;
    if (q.child == CHILDID_SELF) {
        q.info.role = ROLE_SYSTEM_LIST;
        q.info.state = STATE_SYSTEM_FOCUSABLE | (::GetFocus() == hwnd_ ? STATE_SYSTEM_FOCUSED : 0);
        return;
    }
    const int row = static_cast<int>(q.child) - 1;
    if (q.doDefaultAction) {
        ::PostMessageW(hwnd_, kActivateRowMessage, static_cast<WPARAM>(row), 0);
        return;
    }
    if (describe_)
        describe_(row, q.info);
    q.info.role = ROLE_SYSTEM_LISTITEM;
    q.info.state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (row == view_.selected)
        q.info.state |= STATE_SYSTEM_SELECTED | (HasKeyboard() ? STATE_SYSTEM_FOCUSED : 0);
    if (row < view_.top || row >= view_.top + view_.fullRows)
        q.info.state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int y = (row - view_.top) * rowHeight_;
    q.childRect = RECT{client.left, y, client.right, y + rowHeight_};
    ::MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&q.childRect), 2);
}

LRESULT VirtualList::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT answer = 0;
    if (AnswerAccessible(hwnd_, msg, wp, lp, answer, [this](AccessibleQuery& q) { Describe(q); }))
        return answer;
    if (msg == kActivateRowMessage) {
        const int row = static_cast<int>(wp);
        if (row >= 0 && row < view_.count) {
            RowScroll next = view_;
            next.selected = row;
            Apply(next.Revealing());
            if (activated_)
                activated_(row);
        }
        return 0;
    }
    return Window::OnMessage(msg, wp, lp);
}

UINT VirtualList::OnGetDlgCode(const MSG*) {
    return DLGC_WANTARROWS;
}

void VirtualList::OnLButtonDown(UINT, POINT client) {
    const int row = view_.RowAt(client.y, rowHeight_);
    if (row < 0)
        return;
    RowScroll next = view_;
    next.selected = row;
    Apply(next.Revealing());
}

void VirtualList::OnLButtonDblClk(UINT keys, POINT client) {
    OnLButtonDown(keys, client);
    const int row = view_.RowAt(client.y, rowHeight_);
    if (row >= 0 && row == view_.selected && activated_)
        activated_(row);
}

void VirtualList::OnMouseWheel(UINT, short delta, POINT) {
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == WHEEL_PAGESCROLL)
        lines = static_cast<UINT>(std::max(1, view_.fullRows - 1));
    wheelRest_ += delta;
    const int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= notches * WHEEL_DELTA;
    if (notches)
        Apply(view_.ScrolledTo(view_.top - notches * static_cast<int>(lines)));
}

void VirtualList::OnVScroll(UINT code, int, HWND) {
    const int page = std::max(1, view_.fullRows - 1);
    int top = view_.top;
    switch (code) {
    case SB_LINEUP:
        --top;
        break;
    case SB_LINEDOWN:
        ++top;
        break;
    case SB_PAGEUP:
        top -= page;
        break;
    case SB_PAGEDOWN:
        top += page;
        break;
    case SB_TOP:
        top = 0;
        break;
    case SB_BOTTOM:
        top = view_.MaxTop();
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The full 32-bit position: the message's own is cut to 16 bits.
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        if (::GetScrollInfo(hwnd_, SB_VERT, &info))
            top = info.nTrackPos;
        break;
    }
    default:
        return;
    }
    Apply(view_.ScrolledTo(top));
}

} // namespace fw
