#pragma once
// The application-bar base of the main window: docks the dialog to a monitor edge through
// the shell's application-bar service or lets it float, follows the user's drags between
// edges, auto-hides to a thin strip and keeps the bar on top.
#include <windows.h>

#include <cstdint>

#include "bar/docking_geometry.h"
#include "ui/app_services.h"
#include "model/placement.h"
#include "framework/dialog.h"
#include "framework/registrations.h"
#ifndef LARK_SINGLE_BYTE
#include "bar/dpi_scale_wnd.h"
#endif

// The message the shell's application-bar notifications arrive with ("AppBarNotify").
UINT AppBarNotifyMessage();

class CAppBar : public fw::Dialog, public ui::HoldListener {
public:
    explicit CAppBar(ui::AppServices& app);
    ~CAppBar() override;

    // The drag's proposal while a drag is in progress, else the stored state.
    int32_t EffectiveState() const noexcept {
        return m_nDragState != STATE_NONE ? m_nDragState : m_nState;
    }
    // A docked auto-hide bar showing only its strip.
    bool IsCollapsed() const noexcept;

    // Each setter stores its value; with `apply` it takes effect at once.
    void SetState(int32_t state, bool apply);
    void SetAutoHide(bool on, bool apply);
    void SetAlwaysOnTop(bool on, bool apply);
    void SetDockSizes(int32_t left, int32_t top, int32_t right, int32_t bottom, bool apply);
    void SetMonitor(HMONITOR monitor, bool apply);
    // Expands (true) or collapses a docked auto-hide bar.
    void SetShown(bool shown);
    // Reserves the strip at the edge of `state` and moves the window there.
    void Dock(int32_t state);

    // The placement a screen point proposes during a drag; the bar's monitor follows it.
    int32_t ProposedState(POINT pt);
    // The rectangle for a state: a docked one from the shell's answer, a floating one as is.
    void ProposedRect(int32_t state, RECT& rect);

protected:
    // Hooks the main window overrides.
    virtual void StateChanged(bool moving, int32_t state);
    virtual void ShownChanged(bool shown);
    virtual void FullScreenApp(bool opened);
    virtual void PositionChanged();
    virtual void WindowsArranged(bool starting);

    // The rectangle a drag or sizing step leaves for the system to apply. With outline
    // dragging the system moves the window only after the loop ends, so the end of the drag
    // takes its sizes from here rather than from the window.
    void NoteDragRect(const RECT& rect) noexcept;

    // Shell exchange: fills the record, sends it, copies an answered rectangle back.
    UINT_PTR AppBarMessage(DWORD message, int32_t edge, RECT* rect = nullptr);
    // Gives the bar's edge back to the shell (ABM_REMOVE) once: the end of the program does
    // it before its slow part, and OnDestroy then has nothing left to remove.
    void RemoveAppBar();

    bool OnInitDialog(HWND focus) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;
    void OnWindowPosChanged(const WINDOWPOS& pos) override;
    void OnActivate(UINT state, HWND other, bool minimized) override;
    LRESULT OnNcHitTest(POINT screen) override;
    void OnEnterSizeMove() override;
    void OnMoving(UINT edge, RECT& rect) override;
    void OnExitSizeMove() override;
    void OnMouseMove(UINT keys, POINT client) override;
    void OnNcMouseMove(UINT hit, POINT screen) override;
    void OnMouseHover(UINT keys, POINT client) override;
    void OnNcMouseHover(UINT hit, POINT screen) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // The hold flag stops the auto-hide check while a dialog or a drag holds the bar.
    void OnHoldChanged(bool held) override;

    ui::AppServices& m_app;

    int32_t m_nState = STATE_BOTTOM;
    int32_t m_bAutoHide = 0;
    int32_t m_bAlwaysOnTop = 1;
    int32_t m_DockSize[4] = {50, 50, 50, 50}; // left, top, right, bottom
    RECT m_rcFloat{0, 0, 100, 100};
    HMONITOR m_hMonitor = nullptr;
    int32_t m_nAllowed = 0;
    int32_t m_cxIncrement = 0;
    int32_t m_cyIncrement = 0;
    int32_t m_nDragState = STATE_NONE;
    // What an auto-hide bar reserves and shows collapsed, at the bar's resolution.
    int m_nCollapsedThickness = bar::kCollapsedThickness;
    int32_t m_bLoweredForFullScreen = 0;
    int32_t m_bShown = 0;
    int32_t m_bDelayTimerPending = 0;
    fw::Timer m_autoHideTimer;
    fw::Timer m_delayTimer;
#ifndef LARK_SINGLE_BYTE
    CDpiScaleWnd m_wndDpiScale;
    float m_fScale = 1.0f;
#endif

private:
    // Rectangles cross to the shell scaled and come back unscaled.
    UINT_PTR AppBarRectMessage(DWORD message, int32_t edge, RECT& rect);
    // The taskbar's rectangle as the shell and its window give it, in the bar's coordinates
    // (empty when the shell does not say), and its edge.
    RECT TaskbarRect(UINT& edge);
    void MeasureScaleAt(POINT pt);
    // Moves the window without activating it or changing its z-order, then repaints it.
    void MoveWindowNow(const RECT& rect);
    void ExpandOnMouse(bool nonClient);
    RECT m_rcDragEnd{};
    bool m_bDragEndKnown = false;
    bool m_bAppBarRemoved = false;
    void AutoHideCheck();
    void DelayTimerFired();
};
