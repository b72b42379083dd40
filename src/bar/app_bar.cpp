#include "bar/app_bar.h"

#include <shellapi.h>
#include <windowsx.h>

#include "bar/docking_geometry.h"
#include "bar/monitors.h"

namespace {
constexpr UINT_PTR kAutoHideTimer = 1;
constexpr UINT kAutoHideCheckMs = 500;
constexpr UINT_PTR kDelayTimer = 2;
// The shell's edge value for a bar that is registered but reserves nothing.
constexpr int32_t kNoEdge = -1;

POINT MessagePoint() {
    const DWORD pos = ::GetMessagePos();
    return POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
}
} // namespace

UINT AppBarNotifyMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"AppBarNotify");
    return message;
}

CAppBar::CAppBar(ui::AppServices& app) : m_app(app) {
    m_hMonitor = bar::PrimaryMonitor();
#ifndef LARK_SINGLE_BYTE
    m_fScale = m_app.DpiFactor();
    m_wndDpiScale.CreateProbe();
#endif
    AppBarNotifyMessage();
}

CAppBar::~CAppBar() = default;

bool CAppBar::IsCollapsed() const noexcept {
    return m_bAutoHide && !m_bShown && bar::IsDockedState(EffectiveState());
}

// ---- shell exchange -------------------------------------------------------------------------

UINT_PTR CAppBar::AppBarMessage(DWORD message, int32_t edge, RECT* rect) {
    APPBARDATA abd{};
    abd.cbSize = sizeof(abd);
    abd.hWnd = hwnd_;
    abd.uCallbackMessage = AppBarNotifyMessage();
    abd.uEdge = static_cast<UINT>(edge);
    if (rect)
        abd.rc = *rect;
    abd.lParam = 0;
    const UINT_PTR result = ::SHAppBarMessage(message, &abd);
    if (rect)
        *rect = abd.rc;
    return result;
}

UINT_PTR CAppBar::AppBarRectMessage(DWORD message, int32_t edge, RECT& rect) {
#ifndef LARK_SINGLE_BYTE
    if (m_fScale > 0) {
        RECT scaled = bar::ScaleRect(rect, m_fScale);
        const UINT_PTR result = AppBarMessage(message, edge, &scaled);
        rect = bar::ScaleRect(scaled, 1.0f / m_fScale);
        return result;
    }
#endif
    return AppBarMessage(message, edge, &rect);
}

void CAppBar::MeasureScaleAt(POINT pt) {
#ifndef LARK_SINGLE_BYTE
    if (m_app.ScalesPerMonitor())
        m_fScale = m_wndDpiScale.ScaleAt(pt);
#else
    (void)pt;
#endif
}

void CAppBar::RemoveAppBar() {
    if (m_bAppBarRemoved)
        return;
    m_bAppBarRemoved = true;
    AppBarMessage(ABM_REMOVE, kNoEdge);
}

// ---- placement ------------------------------------------------------------------------------

int32_t CAppBar::ProposedState(POINT pt) {
    bar::PointContext c;
    c.point = pt;
    m_hMonitor = bar::MonitorRectAtPoint(pt, false, c.monitor);
    bar::MonitorRectAtPoint(pt, true, c.workArea);
    c.ctrlDown = ::GetKeyState(VK_CONTROL) < 0;
    c.allowed = m_nAllowed;
    c.scrollWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    c.scrollHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    return bar::ProposedStateForPoint(c);
}

void CAppBar::ProposedRect(int32_t state, RECT& rect) {
    if (!bar::IsDockedState(state)) {
        MeasureScaleAt(bar::RectCentre(rect));
        return;
    }
    m_hMonitor = bar::DockingMonitor(bar::BuildMonitorList(), m_hMonitor, bar::PrimaryMonitor());
    RECT r = bar::MonitorArea(m_hMonitor, false);
    const int thickness =
        bar::DockThickness(state, m_bAutoHide != 0, m_DockSize, m_nCollapsedThickness);
    MeasureScaleAt(bar::RectCentre(r));
    AppBarRectMessage(ABM_QUERYPOS, state, r);
    UINT taskbarEdge = 0;
    const RECT taskbar = TaskbarRect(taskbarEdge);
    r = bar::BesideTaskbar(r, taskbar, taskbarEdge, bar::MonitorArea(m_hMonitor, true));
    rect = bar::CutToEdge(r, state, thickness);
}

RECT CAppBar::TaskbarRect(UINT& edge) {
    APPBARDATA abd{};
    abd.cbSize = sizeof(abd);
    abd.hWnd = hwnd_;
    if (!::SHAppBarMessage(ABM_GETTASKBARPOS, &abd))
        return RECT{};
    edge = abd.uEdge;
    RECT taskbar = abd.rc;
    // Wine answers a strip of one pixel whatever its taskbar's size; the taskbar's window
    // tells where it really lies.
    HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT window{};
    if (tray && ::IsWindowVisible(tray) && ::GetWindowRect(tray, &window))
        ::UnionRect(&taskbar, &taskbar, &window);
#ifndef LARK_SINGLE_BYTE
    if (m_fScale > 0)
        taskbar = bar::ScaleRect(taskbar, 1.0f / m_fScale);
#endif
    return taskbar;
}

void CAppBar::MoveWindowNow(const RECT& r) {
    ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::RedrawWindow(hwnd_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CAppBar::Dock(int32_t state) {
    RECT r{};
    ProposedRect(state, r);
    RECT reserved = r;
    AppBarRectMessage(ABM_SETPOS, state, reserved);
    if (m_bAutoHide) {
        if (m_bShown)
            r = bar::GrowFromEdge(r, state, m_DockSize[state]);
        else
            ShownChanged(false);
    }
    MoveWindowNow(r);
}

void CAppBar::SetState(int32_t state, bool apply) {
    m_nState = state;
    if (!apply || !hwnd_)
        return;
    if (state == STATE_FLOAT) {
        // The bar stays registered but reserves nothing.
        RECT empty{0, 0, 0, 0};
        AppBarMessage(ABM_SETPOS, STATE_FLOAT, &empty);
        const RECT& f = m_rcFloat;
        ::SetWindowPos(hwnd_, nullptr, f.left, f.top, f.right - f.left, f.bottom - f.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        Dock(state);
    }
    // The shell orders a shown bar (a start docks the window before it shows it).
    if (::IsWindowVisible(hwnd_))
        AppBarMessage(ABM_ACTIVATE, kNoEdge);
    StateChanged(false, state);
}

void CAppBar::SetAutoHide(bool on, bool apply) {
    m_bAutoHide = on ? 1 : 0;
    if (apply)
        SetState(m_nState, true);
}

void CAppBar::SetAlwaysOnTop(bool on, bool apply) {
    m_bAlwaysOnTop = on ? 1 : 0;
    if (apply && hwnd_)
        ::SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void CAppBar::SetDockSizes(int32_t left, int32_t top, int32_t right, int32_t bottom, bool apply) {
    m_DockSize[STATE_LEFT] = left;
    m_DockSize[STATE_TOP] = top;
    m_DockSize[STATE_RIGHT] = right;
    m_DockSize[STATE_BOTTOM] = bottom;
    if (apply && bar::IsDockedState(m_nState))
        SetState(m_nState, true);
}

void CAppBar::SetMonitor(HMONITOR monitor, bool apply) {
    m_hMonitor = monitor;
    if (apply)
        SetState(m_nState, true);
}

// ---- auto-hide ------------------------------------------------------------------------------

void CAppBar::SetShown(bool shown) {
    const int32_t state = EffectiveState();
    if (!bar::IsDockedState(state) || !m_bAutoHide || (m_bShown != 0) == shown)
        return;
    if (!shown && m_app.IsHeld())
        return;
    RECT r{};
    ProposedRect(state, r);
    m_bShown = shown ? 1 : 0;
    if (shown)
        r = bar::GrowFromEdge(r, state, m_DockSize[state]);
    ShownChanged(shown);
    // The shell keeps reserving the strip only: the expanded bar covers other windows.
    MoveWindowNow(r);
}

void CAppBar::ExpandOnMouse(bool nonClient) {
    if (!bar::IsDockedState(EffectiveState()) || !m_bAutoHide || m_bShown)
        return;
    const Preferences& prefs = m_app.Prefs();
    if (!prefs.UseAutoHideDelayTime) {
        SetShown(true);
        return;
    }
    const DWORD delay = static_cast<DWORD>(prefs.AutoHideDelayTime);
    const DWORD flags = TME_HOVER | TME_LEAVE | (nonClient ? TME_NONCLIENT : 0);
    if (m_app.TrackMouse(hwnd_, flags, delay))
        return; // the hover notification expands the bar
    if (!m_bDelayTimerPending) {
        m_bDelayTimerPending = 1;
        m_delayTimer.Start(hwnd_, kDelayTimer, delay);
    }
}

void CAppBar::DelayTimerFired() {
    m_delayTimer.Stop();
    m_bDelayTimerPending = 0;
    POINT pt{};
    RECT window{};
    ::GetCursorPos(&pt);
    ::GetWindowRect(hwnd_, &window);
    if (::PtInRect(&window, pt))
        SetShown(true);
}

void CAppBar::AutoHideCheck() {
    if (!bar::IsDockedState(EffectiveState()) || !m_bAutoHide || !m_bShown)
        return;
    if (::GetForegroundWindow() == hwnd_)
        return;
    RECT window{};
    ::GetWindowRect(hwnd_, &window);
    // The system's cursor, not the last message's: over another program's window this
    // thread gets no mouse messages, and Wine may hand the timer an old position.
    POINT cursor{};
    if (!::GetCursorPos(&cursor))
        cursor = MessagePoint();
    if (bar::CursorAwayFromBar(window, cursor, ::GetSystemMetrics(SM_CXDOUBLECLK),
                               ::GetSystemMetrics(SM_CYDOUBLECLK)))
        SetShown(false);
}

void CAppBar::OnHoldChanged(bool held) {
    if (!hwnd_)
        return;
    if (held)
        m_autoHideTimer.Stop();
    else
        m_autoHideTimer.Start(hwnd_, kAutoHideTimer, kAutoHideCheckMs);
}

// ---- hooks ----------------------------------------------------------------------------------

void CAppBar::StateChanged(bool, int32_t) {}
void CAppBar::ShownChanged(bool) {}
void CAppBar::WindowsArranged(bool) {}

void CAppBar::PositionChanged() {
    const int32_t state = EffectiveState();
    if (bar::IsDockedState(state))
        Dock(state);
}

void CAppBar::FullScreenApp(bool opened) {
    if (!m_bAlwaysOnTop || (m_bLoweredForFullScreen != 0) == opened)
        return;
    m_bLoweredForFullScreen = opened ? 1 : 0;
    // Out of the way of a full-screen program, back on top when it closes.
    ::SetWindowPos(hwnd_, opened ? HWND_BOTTOM : HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- window messages ------------------------------------------------------------------------

bool CAppBar::OnInitDialog(HWND) {
    m_autoHideTimer.Start(hwnd_, kAutoHideTimer, kAutoHideCheckMs);
    AppBarMessage(ABM_NEW, kNoEdge);
    m_app.SetHoldListener(this);
    return false;
}

void CAppBar::OnDestroy() {
    m_app.SetHoldListener(nullptr);
    m_autoHideTimer.Stop();
    m_delayTimer.Stop();
    RemoveAppBar();
#ifndef LARK_SINGLE_BYTE
    m_wndDpiScale.Destroy();
#endif
    SetMsgHandled(false);
}

void CAppBar::OnTimer(UINT_PTR id) {
    if (id == kAutoHideTimer)
        AutoHideCheck();
    else if (id == kDelayTimer)
        DelayTimerFired();
    else
        SetMsgHandled(false);
}

void CAppBar::OnWindowPosChanged(const WINDOWPOS&) {
    DefaultProcessing();
    // A hidden bar has no place for the shell to keep in order (each call is a round trip
    // to the shell; a start moves the window several times before showing it).
    if (::IsWindowVisible(hwnd_))
        AppBarMessage(ABM_WINDOWPOSCHANGED, kNoEdge);
}

void CAppBar::OnActivate(UINT state, HWND, bool) {
    if (state == WA_INACTIVE)
        SetShown(false);
    AppBarMessage(ABM_ACTIVATE, kNoEdge);
    // The dialog manager's own handling keeps the focus where it was.
    SetMsgHandled(false);
}

LRESULT CAppBar::OnNcHitTest(POINT screen) {
    bar::HitContext c;
    c.defaultAnswer = DefaultProcessing();
    const int button = ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    c.buttonDown = (::GetAsyncKeyState(button) & 0x8000) != 0;
    c.state = EffectiveState();
    c.autoHide = m_bAutoHide != 0;
    c.incrementX = m_cxIncrement;
    c.incrementY = m_cyIncrement;
    c.client = screen;
    ::ScreenToClient(hwnd_, &c.client);
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    c.clientSize = SIZE{client.right, client.bottom};
    return bar::AppBarHitTest(c);
}

void CAppBar::NoteDragRect(const RECT& rect) noexcept {
    m_rcDragEnd = rect;
    m_bDragEndKnown = true;
}

void CAppBar::OnEnterSizeMove() {
    m_nDragState = m_nState;
    m_bDragEndKnown = false;
}

void CAppBar::OnMoving(UINT, RECT& rect) {
    const POINT cursor = MessagePoint();
    const int32_t proposed = ProposedState(cursor);
    RECT q = rect;
    ProposedRect(proposed, q);
    const SIZE floatSize{m_rcFloat.right - m_rcFloat.left, m_rcFloat.bottom - m_rcFloat.top};
    const bar::DragStep step = bar::DragMoveStep(m_nDragState, proposed, q, cursor, floatSize);
    m_nDragState = step.dragState;
    rect = step.rect;
    NoteDragRect(step.rect);
    const RECT& r = step.rect;
    ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | (step.leftEdge ? SWP_NOMOVE : 0));
    StateChanged(true, proposed);
}

void CAppBar::OnExitSizeMove() {
    const int32_t dragged = m_nDragState;
    m_nDragState = STATE_NONE;
    RECT window{};
    if (m_bDragEndKnown)
        window = m_rcDragEnd;
    else
        ::GetWindowRect(hwnd_, &window);
    m_bDragEndKnown = false;
    const bar::DragEnd end = bar::FinishDrag(dragged, m_nState, m_bAutoHide != 0, window);
    if (end.dockEdge >= 0)
        m_DockSize[end.dockEdge] = end.thickness;
    if (end.storeFloat)
        m_rcFloat = window;
    if (end.apply)
        SetState(dragged, true);
}

void CAppBar::OnMouseMove(UINT, POINT) {
    ExpandOnMouse(false);
}

void CAppBar::OnNcMouseMove(UINT, POINT) {
    ExpandOnMouse(true);
    SetMsgHandled(false);
}

void CAppBar::OnMouseHover(UINT, POINT) {
    SetShown(true);
}

void CAppBar::OnNcMouseHover(UINT, POINT) {
    SetShown(true);
}

LRESULT CAppBar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != AppBarNotifyMessage() || msg == 0) {
        SetMsgHandled(false);
        return 0;
    }
    switch (wp) {
    case ABN_POSCHANGED:
        PositionChanged();
        break;
    case ABN_FULLSCREENAPP:
        FullScreenApp(lp != 0);
        break;
    case ABN_WINDOWARRANGE:
        WindowsArranged(lp != 0);
        break;
    default: // ABN_STATECHANGE and anything newer: nothing to do
        break;
    }
    return 0;
}
