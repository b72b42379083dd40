#include "views/program_toolbar.h"

#include "document/tree_edits.h"
#include "document/tree_startup.h"
#include "framework/gdi.h"
#include "model/voice_book.h"
#include "ui/tooltip.h"
#include "views/bar_keys.h"
#include "views/category_menu.h"
#include "views/toolbar_ids.h"

namespace {
constexpr wchar_t kClassName[] = L"LarkProgramToolBar";
}

CProgramToolBar::CProgramToolBar()
    : m_strip(*this), m_nav(*this, m_strip), m_edit(*this, m_strip, m_nav),
      m_dragDrop(*this, m_strip, m_nav, m_edit), m_keys(*this, m_strip, m_edit) {}
CProgramToolBar::~CProgramToolBar() = default;

HWND CProgramToolBar::Create(const RECT& rect, HWND parent, UINT id, const Preferences* prefs,
                             const views::ButtonMetrics& metrics) {
    m_prefs = prefs;
    m_strip.SetMetrics(metrics);
    RegisterClass(kClassName, 0, ::LoadCursorW(nullptr, IDC_ARROW),
                  reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    // Made hidden and shown without the window system's own redrawing: showing a window of
    // many children erases each of them at once, one by one, before the first paint paints
    // them again. One invalidation of the whole bar leaves it all to that paint.
    if (!fw::Window::Create(0, kClassName, L"", WS_CHILD | WS_CLIPCHILDREN, rect, parent, id))
        return nullptr;
    ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW |
                       SWP_NOREDRAW);
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    m_bFirstPaint = true;
    return hwnd_;
}

void CProgramToolBar::OnPaint() {
    {
        fw::PaintDC dc(hwnd_); // the class brush, through the erase message
        if (m_doc && m_doc->IsWaitingForDataFile())
            m_strip.DrawWaitingNotice(dc.get());
    }
    if (!m_bFirstPaint)
        return;
    m_bFirstPaint = false;
    // The first paint of the whole bar: the buttons are drawn here, all through one device
    // context, instead of each one painting itself (a round trip to the window system for its
    // paint message, region and device context each). The other children paint themselves.
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_ALLCHILDREN);
    for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child))
            continue;
        if (dynamic_cast<CBookButton*>(fw::Window::FromHandle(child)))
            m_strip.MarkChanged(child);
        else
            ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    m_strip.DrawChangedButtons();
}

bool CProgramToolBar::OnCreate(const CREATESTRUCTW&) {
    if (m_doc) {
        m_doc->AddListener(this);
        m_doc->Open(hwnd_, ::GetParent(hwnd_));
        // Read on another thread: the window answers meanwhile, and says why it is empty.
        if (m_doc->IsWaitingForDataFile())
            ::SetWindowTextW(hwnd_, document::WaitingNoticeText().c_str());
    }
    m_strip.Create();
    views::InitFocusCues(hwnd_);
    m_nav.Create();
    m_nav.ShowStartCategory();
    ::SetTimer(hwnd_, kSaveTimer, kSaveTimerPeriodMs, nullptr);
    return true;
}

void CProgramToolBar::OnDestroy() {
    ::KillTimer(hwnd_, kSaveTimer);
    // The main window has saved what was pending before its children go.
    if (m_doc) {
        m_doc->Close();
        m_doc->RemoveListener(this);
    }
    SetMsgHandled(false);
}

void CProgramToolBar::OnTimer(UINT_PTR id) {
    if (id == kSaveTimer) {
        if (m_doc)
            m_doc->Tick();
    } else if (!m_nav.OnTimer(id)) {
        SetMsgHandled(false);
    }
}

void CProgramToolBar::TreeRead(bool replaced) {
    ::SetWindowTextW(hwnd_, L"");
    ::InvalidateRect(hwnd_, nullptr, TRUE);
    if (replaced)
        m_nav.ShowStartCategory();
}

void CProgramToolBar::CategoryCompleted(oVoiceBook& category) {
    // The page may have room for buttons that were not read yet, and the paging goes on now.
    if (m_nav.Current() == &category)
        m_nav.ShowCategory(&category, false);
}

void CProgramToolBar::NodesChanging(const oVoiceBook& subtree, bool self, Change change) {
    // A move keeps every node: what points at them stays good.
    if (change != Change::Deleting)
        return;
    const auto gone = [&](const oVoiceBook* n) {
        return n && (self || n != &subtree) && document::IsInSubtree(n, subtree);
    };
    m_edit.ForgetNodes(gone);
    m_nav.ForgetNodes(gone);
    m_strip.ForgetNodes(gone);
}

LRESULT CProgramToolBar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (m_doc && m_doc->OnMessage(msg, wp, lp))
        return 0;
    LRESULT result = 0;
    if (m_dragDrop.OnMessage(msg, wp, lp, result))
        return result;
    switch (msg) {
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        ui::ToolTip::MenuLoop(msg == WM_ENTERMENULOOP);
        break; // the default handling too
    case WM_LARK_TAB_COMMAND:
        // A tab's menu command acts on the tab's category.
        if (oVoiceBook* node = m_nav.TabCommandNode(HIWORD(wp), lp)) {
            m_edit.SetContextNode(node);
            ::SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(LOWORD(wp), 0), 0);
        }
        return 0;
    case views::WM_LARK_BAR_KEY:
        return m_keys.OnKey(static_cast<UINT>(wp)) ? 1 : 0;
    case WM_SYSKEYDOWN:
        if (m_keys.OnKey(static_cast<UINT>(wp)))
            return 0;
        break;
    case WM_SYSKEYUP:
        if (views::IsMenuKeyUp(msg, wp))
            return 0;
        break;
    case views::WM_LARK_BUTTON_FOCUS:
        m_keys.ButtonFocused(reinterpret_cast<HWND>(lp));
        return 0;
    case WM_MOUSEACTIVATE:
        m_keys.OnMouseActivate(); // the buttons' clicks come this way too
        break;
    case WM_LARK_FOLDER_CHANGED:
        m_nav.OnFolderChanged(lp);
        return 0;
    default:
        break;
    }
    return fw::Window::OnMessage(msg, wp, lp);
}

void CProgramToolBar::OnCommand(UINT id, UINT code, HWND control) {
    // Commands may edit, move or list any part of the tree: all of it is in first.
    if (m_doc)
        m_doc->WaitUntilComplete();
    if (m_edit.OnCommand(id) || m_nav.OnCommand(id))
        return;
    switch (id) {
    case views::ID_PAGE_NEXT:
        m_strip.PageBy(m_strip.VisibleCount());
        return;
    case views::ID_PAGE_PREV:
        m_strip.PageBy(-m_strip.VisibleCount());
        return;
    default:
        fw::Window::OnCommand(id, code, control);
    }
}

void CProgramToolBar::OnKeyDown(UINT key, UINT, UINT) {
    if (!m_keys.OnKey(key))
        SetMsgHandled(false);
}

void CProgramToolBar::OnKeyUp(UINT key, UINT, UINT) {
    if (!views::IsMenuKeyUp(WM_KEYUP, key))
        SetMsgHandled(false);
}

UINT CProgramToolBar::OnGetDlgCode(const MSG*) {
    return views::kBarKeysDlgCode;
}

void CProgramToolBar::OnSetFocus(HWND) {
    m_keys.OnBarFocus();
}

void CProgramToolBar::OnContextMenu(HWND, POINT screen) {
    if (m_doc)
        m_doc->WaitUntilComplete();       // the menus' commands take the tree as whole
    if (screen.x == -1 && screen.y == -1) // from the keyboard: at what has the focus
        m_keys.ContextMenu();
    else
        m_edit.OnContextMenu(screen);
}

void CProgramToolBar::SetViewFlags(int32_t flags) {
    m_strip.SetViewFlags(flags);
    m_nav.UpdateCategoryChecks();
    m_strip.Tabs().Refresh();
}

void CProgramToolBar::OnSize(UINT, int, int) {
    SetMsgHandled(false);
    if (!m_strip.HasWindows())
        return;
    m_strip.Layout(true);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void CProgramToolBar::OnMouseWheel(UINT keys, short delta, POINT) {
    m_strip.OnMouseWheel(keys, delta);
}

void CProgramToolBar::OnLButtonDown(UINT, POINT) {
    // A press on the bar's own background gives it the keyboard and drags the whole bar.
    ::SetFocus(hwnd_);
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

LRESULT CProgramToolBar::OnNotify(int, NMHDR& hdr) {
    if (!m_strip.OnNotify(hdr))
        SetMsgHandled(false);
    return 0;
}

bool CProgramToolBar::PreTranslateMessage(MSG& msg) {
    m_strip.RelayTip(msg);
    return fw::Window::PreTranslateMessage(msg);
}
