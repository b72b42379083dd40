#include "bar/main_dlg.h"

#include <oleacc.h>
#include <windowsx.h>

#include <utility>

#include "bar/bar_layout.h"
#include "bar/docking_geometry.h"
#include "bar/grip_buttons.h"
#include "bar/inner_edge.h"
#include "bar/sizing_track.h"
#include "bar/monitors.h"
#include "bar/test_hooks.h"
#include "bar/tray_icon.h"
#include "dialogs/auto_hide_time_dlg.h"
#include "dialogs/config_sheet.h"
#include "framework/accessible.h"
#include "framework/profile.h"
#include "model/voice_book.h"
#include "framework/resources.h"
#include "resource.h"
#include "model/dpi_units.h"
#include "ui/image_lists.h"
#include "ui/visual_styles.h"
#include "ui/window_dpi.h"
#include "views/contrast.h"
#include "views/drop_object.h"
#include "views/toolbar_layout.h"

namespace {
constexpr int kToolTipAutoPopMs = 3000;

SIZE ClientSize(HWND hwnd) {
    RECT r{};
    ::GetClientRect(hwnd, &r);
    return SIZE{r.right, r.bottom};
}
} // namespace

// ---- construction ---------------------------------------------------------------------------

CMainDlg::CMainDlg(ui::AppServices& app, document::TreeDocument& doc) : CAppBar(app), m_doc(doc) {
    // The window does not exist yet: the screen's resolution until it does.
    m_nDpi = ui::SystemDpi();
    const bool usable = LoadPlacement();
    // Sizes the registry cannot give are computed from the button size.
    ComputeMetrics(!usable);
    m_bConstructed = 1;
    m_nTaskbarCreatedMsg = ::RegisterWindowMessageW(L"TaskbarCreated");
}

CMainDlg::~CMainDlg() {
    // While the whole object exists, so that OnDestroy saves what it must.
    Destroy();
}

bool CMainDlg::LoadPlacement() {
    // Sizes are stored at the resolution they were saved at.
    bool asStored = false;
    const PlacementValues raw = ReadPlacement(m_app.Settings(), &asStored);
    if (asStored)
        m_startPlacement = raw;
    const PlacementValues stored = PlacementAtDpi(raw, m_nDpi);
    m_hMonitor = bar::MonitorFromStored(stored.Monitor);
    m_nState = stored.State;
    m_bAlwaysOnTop = stored.AlwaysOnTop;
    m_bAutoHide = stored.AutoHide;
    RECT fitted{};
    const bool usable = UsablePlacementSizes(
        stored, bar::PrimaryWorkArea(),
        [](const RECT& r) { return bar::FitRectToMonitor(nullptr, r, true); }, fitted);
    if (usable) {
        for (int i = 0; i < 4; ++i)
            m_DockSize[i] = stored.DockSize[i];
        m_rcFloat = fitted;
    }
    return usable;
}

void CMainDlg::SavePlacement() const {
    PlacementValues v;
    v.State = EffectiveState(); // a drag writes the edge it proposes
    v.AutoHide = m_bAutoHide;
    v.AlwaysOnTop = m_bAlwaysOnTop;
    v.Monitor = bar::MonitorToStored(m_hMonitor);
    for (int i = 0; i < 4; ++i)
        v.DockSize[i] = m_DockSize[i];
    v.FloatRect = m_rcFloat;
    v.Dpi = m_nDpi;
    // Docking at start where the registry says writes nothing.
    if (m_startPlacement && SamePlacement(*m_startPlacement, v))
        return;
    ::SavePlacement(m_app.Settings(), v);
}

void CMainDlg::ComputeMetrics(bool reset) {
    const Preferences& prefs = m_app.Prefs();
    const bar::BarMetrics metrics = bar::MetricsForButtonSize(prefs.ButtonSize, m_nDpi);
    m_metrics = metrics;
    m_nCollapsedThickness = metrics.collapsed;
    m_wndToolBar.SetMetrics(bar::ToolBarMetrics(metrics));

    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    m_frame = bar::FrameAllowanceFor(ncm.iBorderWidth, ::GetSystemMetrics(SM_CXEDGE),
                                     ::GetSystemMetrics(SM_CYEDGE));

    const SIZE increment = bar::MetricsIncrements(metrics, m_nState == STATE_FLOAT);
    m_cxIncrement = increment.cx;
    m_cyIncrement = increment.cy;

    if (!reset)
        return;
    RECT workArea{};
    if (hwnd_)
        bar::MonitorRectOfWindow(hwnd_, true, workArea);
    else
        workArea = bar::PrimaryWorkArea(); // the window does not exist yet
    const bar::DefaultSizes d =
        bar::ComputeDefaultSizes(metrics, prefs.ViewGroupButtonMethod, m_frame, workArea);
    for (int i = 0; i < 4; ++i)
        m_DockSize[i] = d.dockSizes[i];
    m_rcFloat = d.floatRect;
}

void CMainDlg::AdoptDpi(int dpi, const RECT* suggested) {
    if (dpi <= 0 || dpi == m_nDpi)
        return;
    // Sizes the user chose keep their size on the new monitor; a floating bar keeps its
    // top-left corner.
    const auto at = [&](LONG value) { return model::ScaleBetweenDpi(value, m_nDpi, dpi); };
    for (int32_t& size : m_DockSize)
        size = at(size);
    m_rcFloat.right = m_rcFloat.left + at(m_rcFloat.right - m_rcFloat.left);
    m_rcFloat.bottom = m_rcFloat.top + at(m_rcFloat.bottom - m_rcFloat.top);
    m_nDpi = dpi;
    ComputeMetrics(false);
    if (!m_wndToolBar.hwnd())
        return; // being made: the children are made at these sizes
    if (suggested) {
        // The system's rectangle lies on the monitor the bar went to.
        m_hMonitor = ::MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST);
        if (m_nState == STATE_FLOAT)
            m_rcFloat = *suggested;
    }
    // Pictures from sources of the new monitor's size rather than the old ones centred.
    icons::RemakeImageListsForDpi(dpi, m_doc.Root());
    ApplyStateOrTray(m_nState);
    LayOutChildren();
    m_wndToolBar.LayoutBar(true);
    ::RedrawWindow(hwnd_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// ---- creation and destruction ---------------------------------------------------------------

bool CMainDlg::OnInitDialog(HWND focus) {
    CAppBar::OnInitDialog(focus);
    // Made on another monitor than the screen's resolution said: sized for this one.
    AdoptDpi(ui::WindowDpi(hwnd_), nullptr);
    if (m_nState != STATE_FLOAT) {
        // Docking below recomputes the frame.
        const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
        ::SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_THICKFRAME));
    }
    ::SetWindowTextW(hwnd_, m_app.Title().c_str());
    m_nAllowed = bar::ALLOW_ALL;
    SetAlwaysOnTop(m_bAlwaysOnTop != 0, true);
    ApplyStateOrTray(m_nState);
    m_startPlacement.reset(); // from now on every change is the user's and is written

    // The children are made in their places: the bar lays out its first category once.
    const bar::ChildLayout places =
        bar::LayOutChildren(ClientSize(hwnd_), IsCollapsed(), m_metrics);
    const bool placed = places.action == bar::ChildLayout::Place;
    m_btnMenu.Create(0, placed ? places.menuButton : RECT{}, hwnd_, IDC_MENU_BUTTON,
                     &DrawMenuButton);
    m_btnExit.Create(0, placed ? places.exitButton : RECT{}, hwnd_, ID_APP_EXIT, &DrawExitButton);
    m_wndToolBar.SetAppServices(&m_app);
    m_wndToolBar.SetDocument(&m_doc);
    m_wndToolBar.DeferButtonTips();
    m_bVertical = bar::IsVerticalClient(ClientSize(hwnd_));
    m_wndToolBar.SetVertical(m_bVertical);
    // Before the first paint, the start category is read as far as this bar's page can show.
    if (placed && !IsCollapsed())
        m_doc.SetStartChildren(views::PageCapacity(SIZE{places.toolBar.right - places.toolBar.left,
                                                        places.toolBar.bottom - places.toolBar.top},
                                                   bar::ToolBarMetrics(m_metrics).button));
    m_wndToolBar.Create(placed ? places.toolBar : RECT{}, hwnd_, IDC_PROGRAM_TOOLBAR,
                        &m_app.Prefs(), bar::ToolBarMetrics(m_metrics));
    // A first run has just built the tree: its preferences are written with it.
    if (m_doc.StartedWithFirstRun() && ::IsWindow(hwnd_))
        m_app.SavePreferences();
    LayOutChildren();
    // The rest waits for FinishStartUp, once the bar has painted.
    return false; // the bar does not take the focus
}

void CMainDlg::FinishStartUp() {
    if (m_bStartUpFinished || !hwnd_)
        return;
    m_bStartUpFinished = true;
    // The rest of a big tree is read from now on, beside the work below.
    m_doc.BeginRestOfTree();
    // Default pictures went into the first paint; the icons of files and shell items now.
    if (icons::EndDeferredPictures())
        m_wndToolBar.RedrawPictures();
    // Tips: nothing can point at a button before the bar has painted.
    m_tooltip.Create(hwnd_);
    m_tooltip.Activate(true);
    m_tooltip.SetDelays(0, kToolTipAutoPopMs);
    m_tooltip.AddTool(m_btnMenu.hwnd(), fw::LoadResString(IDS_MENU));
    m_tooltip.AddTool(m_btnExit.hwnd(), fw::LoadResString(IDS_EXIT));
    m_wndToolBar.AddButtonTips();
    // A tool window shows its icons nowhere the first paint could; the tray takes the small one.
    m_hIcon = fw::LoadResIcon(IDI_MAIN);
    m_hSmallIcon = fw::LoadResIcon(IDI_MAIN, 16, 16);
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.get()));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon.get()));
    // Not needed for the first paint: the drop target (the bar's tree is read by now).
    auto drop = fw::MakeComObject<views::CDropObject>(m_wndToolBar, [this](bool dragging) {
        if (dragging) {
            ::SetForegroundWindow(hwnd_);
            SetShown(true);
        }
        if (!dragging)
            m_dragHold.reset();
        else if (!m_dragHold)
            m_dragHold.emplace(&m_app);
    });
    if (drop)
        m_dropTarget.Register(hwnd_, drop.get());

    // The tray's and the hotkey's menus take the whole tree (waiting for its rest if it is
    // still being read); while the shell takes the icon this thread answers other programs'
    // messages.
    AddTrayIcon();
    ApplyHotKey();
    m_finder.Start();
    m_bStartUpDone = true;
}

void CMainDlg::LetGoThenSave(DWORD maxWaitMs) {
    // Once: the end of a session destroys the window afterwards, and its OnDestroy comes here.
    if (std::exchange(m_bLetGo, true))
        return;
    // The window system hides a window it destroys; the end of a session leaves it shown.
    ::ShowWindow(hwnd_, SW_HIDE);
    m_finder.Box().Destroy();
    m_trayIcon.Remove();
    m_hotKey.Unregister();
    m_finder.ApplyHotKey(hwnd_, 0);
    RemoveAppBar();
    // From the stored sizes and state, which neither the window nor the shell changes now.
    SavePlacement();
    TestHoldBeforeFinalSave();
    m_doc.SaveIfPending(maxWaitMs);
}

void CMainDlg::OnDestroy() {
    LetGoThenSave(document::TreeDocument::kExitWaitMs);
    m_finder.Stop();
    m_dropTarget.Revoke();
    m_dragHold.reset();
    m_app.SavePreferences();
    m_tooltip.Destroy();
    CAppBar::OnDestroy();
    // The bar's end is the program's end, also while a modal loop runs (a question of the
    // first run, before the main loop has even started): every loop ends on this.
    ::PostQuitMessage(0);
}

void CMainDlg::OnEndSession(bool ending) {
    DefaultProcessing();
    if (!ending)
        return;
    LetGoThenSave(document::TreeDocument::kSessionEndWaitMs);
    m_app.SavePreferences();
    // Not every system ends the process after this message (Wine does not): the program
    // ends itself, also when a first run or a dialog is still open.
    ::DestroyWindow(hwnd_);
}

// ---- state ----------------------------------------------------------------------------------

void CMainDlg::ApplyStateOrTray(int32_t state) {
    if (m_app.Prefs().TrayOnly) {
        ::ShowWindow(hwnd_, SW_HIDE);
        SetState(STATE_FLOAT, true);
        return;
    }
    // A floating bar's sizing frame goes before it docks: while the frame is there the system
    // keeps the window two frames thick, and a collapsed strip would come out 6 pixels.
    if (state != STATE_FLOAT)
        SetSizingFrame(false);
    SetState(state, true);
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

void CMainDlg::StateChanged(bool moving, int32_t state) {
    if (state == STATE_NONE)
        return;
    LayOutChildren();
    const SIZE increment = bar::StateIncrements(m_metrics, state == STATE_FLOAT);
    m_cxIncrement = increment.cx;
    m_cyIncrement = increment.cy;
    if (state == STATE_FLOAT) {
        SetSizingFrame(true);
        ShowChildren(true);
    } else {
        SetSizingFrame(false);
    }
    if (m_bConstructed)
        SavePlacement();
    if (!moving && (!m_bAutoHide || state == STATE_FLOAT))
        SetAlwaysOnTop(m_bAlwaysOnTop != 0, true);
}

void CMainDlg::ShownChanged(bool shown) {
    if (!shown) {
        // A collapsed strip must stay reachable whatever the always-on-top setting.
        ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ShowChildren(shown);
}

void CMainDlg::SetSizingFrame(bool on) {
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
    const LONG_PTR wanted =
        on ? (style | WS_THICKFRAME) : (style & ~static_cast<LONG_PTR>(WS_THICKFRAME));
    if (wanted == style)
        return;
    ::SetWindowLongPtrW(hwnd_, GWL_STYLE, wanted);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CMainDlg::ShowChildren(bool show) {
    for (HWND child : {m_wndToolBar.hwnd(), m_btnMenu.hwnd(), m_btnExit.hwnd()})
        if (child)
            ::ShowWindow(child, show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

// ---- layout ---------------------------------------------------------------------------------

void CMainDlg::LayOutChildren() {
    if (!m_wndToolBar.hwnd() || !m_btnMenu.hwnd() || !m_btnExit.hwnd())
        return;
    const bar::ChildLayout layout =
        bar::LayOutChildren(ClientSize(hwnd_), IsCollapsed(), m_metrics);
    if (layout.action == bar::ChildLayout::Skip)
        return;
    if (layout.action == bar::ChildLayout::Hide) {
        ShowChildren(false);
        return;
    }
    // Placed children are shown too: a bar that stops auto-hiding while collapsed must not
    // stay empty.
    HDWP batch = ::BeginDeferWindowPos(3);
    const struct {
        HWND hwnd;
        const RECT& rect;
    } children[] = {{m_btnMenu.hwnd(), layout.menuButton},
                    {m_btnExit.hwnd(), layout.exitButton},
                    {m_wndToolBar.hwnd(), layout.toolBar}};
    for (const auto& c : children) {
        if (!batch)
            break;
        batch = ::DeferWindowPos(batch, c.hwnd, nullptr, c.rect.left, c.rect.top,
                                 c.rect.right - c.rect.left, c.rect.bottom - c.rect.top,
                                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    if (batch)
        ::EndDeferWindowPos(batch);
}

void CMainDlg::OnSize(UINT, int cx, int cy) {
    if (!m_btnMenu.hwnd() || cx <= 0 || cy <= 0)
        return;
    m_bVertical = bar::IsVerticalClient(SIZE{cx, cy});
    m_wndToolBar.SetVertical(m_bVertical);
    LayOutChildren();
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void CMainDlg::OnEnterSizeMove() {
    CAppBar::OnEnterSizeMove();
    ::GetWindowRect(hwnd_, &m_rcSizingStart);
    // The press that began it, which the cursor may have left already.
    const DWORD pos = ::GetMessagePos();
    m_ptSizingStart = POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
}

void CMainDlg::OnSizing(UINT edge, RECT& rect) {
    // The step is measured from where the sizing began, by the cursor of this step.
    const DWORD pos = ::GetMessagePos();
    const POINT cursor{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    const RECT wanted = bar::TrackSizingRect(m_rcSizingStart, edge, m_ptSizingStart, cursor);
    rect = bar::SnapSizingRect(m_rcSizingStart, wanted, edge, SIZE{m_cxIncrement, m_cyIncrement});
    NoteDragRect(rect);
}

void CMainDlg::OnGetMinMaxInfo(MINMAXINFO& info) {
    const bar::MinTrackSize min =
        bar::MinimumTrackSize(EffectiveState(), m_bAutoHide != 0, m_metrics, m_frame);
    if (min.hasWidth)
        info.ptMinTrackSize.x = min.size.x;
    if (min.hasHeight)
        info.ptMinTrackSize.y = min.size.y;
}

LRESULT CMainDlg::OnNcHitTest(POINT screen) {
    const LRESULT answer = CAppBar::OnNcHitTest(screen);
    if (const LRESULT edge = InnerEdgeHit(screen); edge != HTNOWHERE)
        return edge;
    POINT client = screen;
    ::ScreenToClient(hwnd_, &client);
    return bar::GripHitTest(answer, EffectiveState(), client, ClientSize(hwnd_),
                            m_metrics.gripHitStart);
}

LRESULT CMainDlg::InnerEdgeHit(POINT screen) const {
    bar::InnerEdgeContext c;
    c.state = EffectiveState();
    c.autoHide = m_bAutoHide != 0;
    c.increment = SIZE{m_cxIncrement, m_cyIncrement};
    c.client = screen;
    ::ScreenToClient(hwnd_, &c.client);
    c.clientSize = ClientSize(hwnd_);
    c.band = SIZE{::GetSystemMetrics(SM_CXSIZEFRAME), ::GetSystemMetrics(SM_CYSIZEFRAME)};
    return bar::InnerEdgeHitTest(c);
}

bool CMainDlg::SizeFromInnerEdge(const MSG& msg) {
    // The children cover the inner edge of a docked bar and answer their own hit tests:
    // a press there is turned into the system's sizing of the bar from that edge.
    if (msg.message != WM_LBUTTONDOWN || !::IsChild(hwnd_, msg.hwnd))
        return false;
    const LRESULT edge = InnerEdgeHit(msg.pt);
    if (edge == HTNOWHERE)
        return false;
    ::ReleaseCapture();
    ::SendMessageW(hwnd_, WM_SYSCOMMAND, SC_SIZE + bar::SizingEdgeOfHit(edge),
                   MAKELPARAM(msg.pt.x, msg.pt.y));
    return true;
}

bool CMainDlg::SetInnerEdgeCursor() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const LRESULT edge = InnerEdgeHit(cursor);
    if (edge == HTNOWHERE)
        return false;
    const bool acrossX = edge == HTLEFT || edge == HTRIGHT;
    ::SetCursor(::LoadCursorW(nullptr, acrossX ? IDC_SIZEWE : IDC_SIZENS));
    return true;
}

void CMainDlg::OnDisplayChange(UINT, int, int) {
    ComputeMetrics(false);
    ApplyStateOrTray(m_nState);
}

// ---- painting -------------------------------------------------------------------------------

void CMainDlg::OnPaint() {
    fw::PaintDC paint(hwnd_);
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    if (IsCollapsed()) {
        // The strip of a collapsed bar: a raised frame on the button face.
        HDC dc = paint.get();
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        const RECT& c = client;
        const RECT top{c.left, c.top, c.right, c.top + 1};
        const RECT left{c.left, c.top, c.left + 1, c.bottom};
        const RECT bottom{c.left, c.bottom - 1, c.right, c.bottom};
        const RECT right{c.right - 1, c.top, c.right, c.bottom};
        ::FillRect(dc, &top, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        ::FillRect(dc, &left, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        ::FillRect(dc, &bottom, ::GetSysColorBrush(COLOR_3DDKSHADOW));
        ::FillRect(dc, &right, ::GetSysColorBrush(COLOR_3DDKSHADOW));
        return;
    }
    PaintGrip(paint.get(), client);
}

void CMainDlg::PaintGrip(HDC dc, const RECT& client) {
    const ui::VisualStyles& styles = ui::VisualStyles::Get();
    auto caption = [&](int index) {
        return styles.ThemeSysColor(hwnd_, L"WINDOW", index).value_or(::GetSysColor(index));
    };
    const bool active = ::GetActiveWindow() == hwnd_;
    const COLORREF colour =
        bar::GripColour(active, m_app.Prefs().IconMono != 0, caption(COLOR_ACTIVECAPTION),
                        caption(COLOR_INACTIVECAPTION));
    const RECT strip =
        bar::GripStripRect(SIZE{client.right, client.bottom}, m_bVertical, m_metrics.gripStrip);
    fw::Brush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &strip, brush.get());
}

void CMainDlg::OnActivate(UINT state, HWND other, bool minimized) {
    CAppBar::OnActivate(state, other, minimized);
    const RECT strip = bar::GripStripRect(ClientSize(hwnd_), m_bVertical, m_metrics.gripRepaint);
    ::InvalidateRect(hwnd_, &strip, TRUE);
}

void CMainDlg::OnDrawItem(UINT, DRAWITEMSTRUCT& item) {
    if (!m_toolBarMenu.DrawPicture(item, m_doc.Root()) && !m_menuPictures.Draw(item))
        SetMsgHandled(false);
}

// ---- other messages -------------------------------------------------------------------------

bool CMainDlg::PreTranslateMessage(MSG& msg) {
    m_tooltip.Relay(msg);
    if (FindFromTyping(msg))
        return true;
    if (SizeFromInnerEdge(msg))
        return true;
    return CAppBar::PreTranslateMessage(msg);
}

void CMainDlg::OnSetFocus(HWND) {
    if (m_wndToolBar.hwnd())
        ::SetFocus(m_wndToolBar.hwnd());
}

LRESULT CMainDlg::OnPowerBroadcast(WPARAM, LPARAM) {
    return TRUE;
}

void CMainDlg::OnSettingChange(UINT, const wchar_t*) {
    Recolour(false);
}

void CMainDlg::Recolour(bool coloursChanged) {
    // A high-contrast scheme turned on or off, or new system colours: every face again.
    const bool before = views::HighContrast();
    views::RefreshHighContrast();
    if (before != views::HighContrast() || coloursChanged)
        ::RedrawWindow(hwnd_, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

HICON CMainDlg::OnQueryDragIcon() {
    return m_hIcon.get();
}

LRESULT CMainDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT answer = 0;
    if (fw::AnswerAccessible(hwnd_, msg, wp, lp, answer, [this](fw::AccessibleQuery& q) {
            // A tool bar named after the program; its parts are windows of their own.
            q.answered = q.child == CHILDID_SELF;
            const std::wstring& title = m_app.Title(); // "larkRunBar " ends in a space
            q.info.name = title.substr(0, title.find_last_not_of(L' ') + 1);
            q.info.role = ROLE_SYSTEM_TOOLBAR;
        }))
        return answer;
    if (msg == WM_SYSCOLORCHANGE)
        Recolour(true); // and on to the default handling
    if (msg == WM_DPICHANGED) {
        AdoptDpi(LOWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    }
    if (msg != 0 && msg == TestSetHoldMessage()) {
        m_app.SetHold(wp != 0);
        return 0;
    }
    if (msg != 0 && msg == TestQueryMessage())
        return AnswerTestQuery(wp);
    // A restarted taskbar has lost the icon; the message goes on to the default handling.
    // Before the start-up has added it (with its picture) there is none to add again.
    if (msg != 0 && msg == m_nTaskbarCreatedMsg && m_bStartUpFinished)
        AddTrayIcon();
    if (msg == bar::kTrayCallbackMessage)
        return OnTrayNotify(static_cast<UINT>(wp), static_cast<UINT>(lp));
    if (msg == WM_ENTERMENULOOP || msg == WM_EXITMENULOOP)
        ui::ToolTip::MenuLoop(msg == WM_ENTERMENULOOP); // and on to the default handling
    return CAppBar::OnMessage(msg, wp, lp);
}

bool CMainDlg::OnSetCursor(HWND, UINT, UINT) {
    // Children ask their parent first for the cursor: over the inner edge it is the sizing one.
    if (SetInnerEdgeCursor())
        return true;
    SetMsgHandled(false);
    return false;
}

// ---- commands -------------------------------------------------------------------------------

void CMainDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (const bar::SettingsCommand plan = bar::PlanSettingsCommand(id);
        plan.action != bar::SettingsCommand::None) {
        RunSettingsCommand(plan);
        return;
    }
    switch (id) {
    case ID_APP_EXIT:
        ::DestroyWindow(hwnd_);
        return;
    case ID_ADD_CATEGORY:
    case ID_REFRESH_CATEGORY:
        // The program button bar adds (and shows) or refreshes its categories; it holds the
        // bar while its dialogs show.
        ::SendMessageW(m_wndToolBar.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return;
    case ID_EXPORT_TREE:
        m_wndToolBar.ExportTree();
        return;
    case ID_IMPORT_TREE:
        m_wndToolBar.ImportTree();
        return;
    case ID_PREFERENCES:
        OnPreferences();
        return;
    case ID_AUTO_HIDE_TIME:
        OnAutoHideTime();
        return;
    default:
        break;
    }
    if (OnMenuCommand(id))
        return;
    CAppBar::OnCommand(id, code, control);
}

void CMainDlg::RunSettingsCommand(const bar::SettingsCommand& plan) {
    using Command = bar::SettingsCommand;
    Preferences& prefs = m_app.Prefs();
    switch (plan.action) {
    case Command::Position:
        prefs.TrayOnly = plan.trayOnly ? 1 : 0;
        ApplyStateOrTray(plan.state);
        break;
    case Command::AlwaysOnTop:
        SetAlwaysOnTop(!m_bAlwaysOnTop, true);
        break;
    case Command::AutoHide:
        SetAutoHide(!m_bAutoHide, true);
        break;
    case Command::ViewFlag:
        prefs.ViewGroupButtonMethod ^= plan.viewBits;
        if (plan.tabStripSizes) {
            int32_t sizes[4] = {m_DockSize[0], m_DockSize[1], m_DockSize[2], m_DockSize[3]};
            bar::ToggleTabStripDockSizes(sizes, (prefs.ViewGroupButtonMethod & VIEW_TAB_STRIP) != 0,
                                         m_metrics.tabStrip);
            SetDockSizes(sizes[0], sizes[1], sizes[2], sizes[3], true);
        }
        m_wndToolBar.SetViewFlags(prefs.ViewGroupButtonMethod);
        break;
    case Command::ButtonSize:
        prefs.ButtonSize = plan.value;
        break;
    case Command::Spacing:
        prefs.ButtonSpacing = plan.value;
        break;
    default:
        break;
    }
    if (plan.resetSizes) {
        ComputeMetrics(true);
        SetState(m_nState, true);
    }
    if (plan.layOutToolBar)
        m_wndToolBar.LayoutBar(true);
    if (plan.savePreferences)
        m_app.SavePreferences();
    if (plan.savePlacement)
        SavePlacement();
}

void CMainDlg::OnPreferences() {
    // One dialog of the bar at a time.
    ui::HoldScope hold(&m_app);
    if (!hold)
        return;
    const PreferencesSheetResult result =
        RunPreferencesSheet(hwnd_, m_app.Prefs(), m_app.Settings(), fw::ProgramPath());
    if (result.accepted) {
        // Icons and the grip strip are drawn in colour or grey.
        if (result.iconMonoChanged)
            ::RedrawWindow(hwnd_, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        ApplyHotKey();
        m_app.SavePreferences();
    }
}

void CMainDlg::OnAutoHideTime() {
    Preferences& prefs = m_app.Prefs();
    {
        // A second dialog would clear the hold of the first when it closes.
        ui::HoldScope hold(&m_app);
        if (!hold)
            return;
        CAutoHideTimeDlg dialog(prefs.UseAutoHideDelayTime, prefs.AutoHideDelayTime);
        if (dialog.DoModal(hwnd_) == IDOK) {
            prefs.UseAutoHideDelayTime = dialog.m_bUseDelay;
            prefs.AutoHideDelayTime = dialog.m_nDelay;
        }
    }
    m_app.SavePreferences();
}
