#include "views/program_toolbar.h"

#include "framework/gdi.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "document/tree_startup.h"
#include "model/voice_book.h"

namespace {
constexpr wchar_t kClassName[] = L"LarkProgramToolBar";
}

CProgramToolBar::CProgramToolBar() = default;
CProgramToolBar::~CProgramToolBar() = default;

HWND CProgramToolBar::Create(const RECT& rect, HWND parent, UINT id, const Preferences* prefs,
                             const views::ButtonMetrics& metrics) {
    m_prefs = prefs;
    m_metrics = metrics;
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
        DrawWaitingNotice(dc.get());
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
            m_changedButtons.push_back(child);
        else
            ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    DrawChangedButtons();
}

void CProgramToolBar::DrawWaitingNotice(HDC dc) const {
    if (!m_doc || !m_doc->IsWaitingForDataFile())
        return;
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd_, text, static_cast<int>(std::size(text)));
    // Where the program buttons would be: beside the paging buttons, above the tabs.
    RECT area{};
    ::GetClientRect(hwnd_, &area);
    for (HWND beside : {m_btnNextH.hwnd(), m_btnPrevH.hwnd(), m_wndTabs.hwnd()}) {
        RECT r{};
        if (!beside || !::IsWindowVisible(beside) || !::GetWindowRect(beside, &r))
            continue;
        ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        if (beside == m_wndTabs.hwnd())
            area.bottom = std::min(area.bottom, r.top);
        else
            area.left = std::max(area.left, r.right);
    }
    ::InflateRect(&area, -4, 0);
    fw::SelectObjectScope font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    // Wrapped in a narrow (vertical) bar, and centred in the height it has.
    constexpr UINT kFormat = DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS;
    RECT measured = area;
    ::DrawTextW(dc, text, -1, &measured, kFormat | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    if (height < area.bottom - area.top)
        area.top += (area.bottom - area.top - height) / 2;
    ::DrawTextW(dc, text, -1, &area, kFormat);
}

bool CProgramToolBar::OnCreate(const CREATESTRUCTW&) {
    if (m_doc) {
        m_doc->AddListener(this);
        m_doc->Open(hwnd_, ::GetParent(hwnd_));
        // Read on another thread: the window answers meanwhile, and says why it is empty.
        if (m_doc->IsWaitingForDataFile())
            ::SetWindowTextW(hwnd_, document::WaitingNoticeText().c_str());
    }
    CreateViews();
    ShowStartCategory();
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
    if (id != kSaveTimer) {
        OnViewTimer(id);
        return;
    }
    if (m_doc)
        m_doc->Tick();
}

void CProgramToolBar::TreeRead(bool replaced) {
    ::SetWindowTextW(hwnd_, L"");
    ::InvalidateRect(hwnd_, nullptr, TRUE);
    if (replaced)
        ShowStartCategory();
}

LRESULT CProgramToolBar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (m_doc && m_doc->OnMessage(msg, wp, lp))
        return 0;
    LRESULT result = 0;
    if (OnDragMessage(msg, wp, lp, result))
        return result;
    return OnViewMessage(msg, wp, lp) ? 0 : fw::Window::OnMessage(msg, wp, lp);
}

void CProgramToolBar::NoteCategoryShown(oVoiceBook& category) {
    // Showing the category's buttons comes with the bar's views; what the data file needs
    // of it is the document's.
    if (m_doc)
        m_doc->NoteCategoryShown(category);
}
