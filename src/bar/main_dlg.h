#pragma once
// The desktop bar: the program's one top-level window. It sizes everything from the button
// size, lays out the grip strip's two small buttons and the program button bar, carries out
// the bar's commands and saves the settings when it goes away.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "bar/app_bar.h"
#include "bar/bar_finder.h"
#include "bar/bar_metrics.h"
#include "bar/menu_pictures.h"
#include "bar/settings_command.h"
#include "bar/toolbar_menu.h"
#include "bar/toolbar_menu_owner.h"
#include "framework/gdi.h"
#include "framework/registrations.h"
#include "model/placement.h"
#include "views/custom_button.h"
#include "ui/app_services.h"
#include "ui/tooltip.h"
#include "views/program_toolbar.h"

class CMainDlg : public CAppBar {
public:
    // Loads the placement and computes the metrics; the window is made by CreateModeless.
    // The program button bar opens `doc` when it is made.
    CMainDlg(ui::AppServices& app, document::TreeDocument& doc);
    ~CMainDlg() override;

    // Metrics for the current button size and resolution; with `reset` the dock sizes and
    // the floating rectangle become the defaults of that size (not applied to the window here).
    void ComputeMetrics(bool reset);
    // The bar moved to a monitor of another resolution (or came up on one): every size
    // follows, what is drawn at a size is made again, a docked bar docks again at its edge,
    // a floating one takes `suggested` (the system's rectangle) when given.
    void AdoptDpi(int dpi, const RECT* suggested);
    void LayOutChildren();
    // Hidden and floating while the bar lives in the tray only; else the state, shown.
    void ApplyStateOrTray(int32_t state);
    void SavePlacement() const;

    // The bar menu at a screen point, aligned by its top-left corner.
    void ShowBarMenu(POINT screen);
    // The menu of the whole tree at the cursor; the foreground goes back to `previous` (the
    // window in front before the bar took it to show the menu) once the menu is done.
    void ShowToolBarMenu(HWND previous);
    // Registers the hotkey of "TBHotKeyCode" again (after the preferences changed); zero or
    // a negative code removes it.
    void ApplyHotKey();
    // What the user does not see in the first moment, done once the bar has painted: the
    // tray icon, the hotkey and the buttons' tips. Runs once.
    void FinishStartUp();

    bool PreTranslateMessage(MSG& msg) override;

protected:
    void StateChanged(bool moving, int32_t state) override;
    void ShownChanged(bool shown) override;

    bool OnInitDialog(HWND focus) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroy() override;
    void OnEndSession(bool ending) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnEnterSizeMove() override;
    void OnSizing(UINT edge, RECT& rect) override;
    void OnGetMinMaxInfo(MINMAXINFO& info) override;
    LRESULT OnNcHitTest(POINT screen) override;
    void OnPaint() override;
    void OnActivate(UINT state, HWND other, bool minimized) override;
    void OnSetFocus(HWND previous) override;
    void OnDisplayChange(UINT bitsPerPixel, int cx, int cy) override;
    void OnDrawItem(UINT id, DRAWITEMSTRUCT& item) override;
    LRESULT OnPowerBroadcast(WPARAM event, LPARAM data) override;
    void OnSettingChange(UINT flag, const wchar_t* area) override;
    HICON OnQueryDragIcon() override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnSetCursor(HWND window, UINT hit, UINT mouseMessage) override;
    void OnContextMenu(HWND window, POINT screen) override;
    void OnHotKey(int id) override;
    void OnMeasureItem(UINT id, MEASUREITEMSTRUCT& item) override;
    void OnInitMenuPopup(HMENU popup, UINT index, bool windowMenu) override;
    // The bar is not closed by Enter or Escape.
    void OnOK() override {}
    void OnCancel() override {}

private:
    // Takes over the stored placement; false when its sizes are not usable.
    bool LoadPlacement();
    // Adds or removes the sizing frame and lets the system recompute the frame.
    void SetSizingFrame(bool on);
    void ShowChildren(bool show);
    // The sizing answer of the inner edge of a docked bar at a screen point, or HTNOWHERE.
    LRESULT InnerEdgeHit(POINT screen) const;
    // A press on a child over the inner edge sizes the bar.
    bool SizeFromInnerEdge(const MSG& msg);
    bool SetInnerEdgeCursor();
    void PaintGrip(HDC dc, const RECT& client);
    // The end of the program: first it lets go of all the user sees of the bar (the window,
    // the find box, the tray icon, the hotkeys, the reserved edge) and stores the placement,
    // then it writes the tree, which may take seconds, waiting up to `maxWaitMs` for a save
    // still being written.
    void LetGoThenSave(DWORD maxWaitMs);
    // Carries out a settings command's plan: the change, then the resets and saves it asks.
    void RunSettingsCommand(const bar::SettingsCommand& plan);
    void OnPreferences();
    void OnAutoHideTime();
    // Reads the high-contrast setting again and redraws the bar when it or the colours changed.
    void Recolour(bool coloursChanged);

    // ---- menus, tray icon and hotkey (main_dlg_menus.cpp) ----
    // The tray icon with the small icon and the title (again after the taskbar restarted).
    void AddTrayIcon();
    LRESULT OnTrayNotify(UINT iconId, UINT mouseMessage);
    // The bar's commands that open menus, dialogs and pages; false when `id` is not one.
    bool OnMenuCommand(UINT id);
    void OnToolBarMenuCommand(UINT id);
    void OnMonitorCommand(UINT id);
    void ShowAbout();
    // Answers the test hooks' questions about what the bar holds (see test_hooks.h).
    LRESULT AnswerTestQuery(WPARAM what) const;

    // ---- the find box (main_dlg_find.cpp) ----
    // Opens it with `text` typed; Escape gives the foreground back to `previous`.
    void OpenFind(HWND previous, const std::wstring& text = std::wstring());
    void OnFindChosen(bar::FindAction action, uint64_t serial, HWND previous);
    // A character typed on the bar opens the box with it.
    bool FindFromTyping(const MSG& msg);

    ui::ToolTip m_tooltip;
    fw::Icon m_hIcon;
    document::TreeDocument& m_doc;
    CProgramToolBar m_wndToolBar;
    CCustomButton m_btnMenu;
    CCustomButton m_btnExit;
    fw::Icon m_hSmallIcon;
    int m_bConstructed = 0;
    // The placement as the registry held it, while the start applies it.
    std::optional<PlacementValues> m_startPlacement;
    bool m_bVertical = false;
    bool m_bStartUpFinished = false;
    // FinishStartUp has returned: it answers other programs' messages on its way.
    bool m_bStartUpDone = false;
    bool m_bLetGo = false;        // LetGoThenSave has run
    bar::BarMetrics m_metrics;    // for the current button size and resolution
    int m_nDpi = model::kBaseDpi; // the resolution the sizes below are in
    bar::FrameAllowance m_frame;
    // Where a sizing by the mouse began: the window and the cursor.
    RECT m_rcSizingStart{};
    POINT m_ptSizingStart{};

    fw::TrayIcon m_trayIcon;
    UINT m_nTaskbarCreatedMsg = 0;
    int m_nTrayIconsAdded = 0; // successful additions, for the test hooks
    fw::HotKey m_hotKey;
    fw::DropTargetRegistration m_dropTarget;
    // Held while something is dragged over the bar; a hold a dialog already has stays its own.
    std::optional<ui::HoldScope> m_dragHold;
    bar::ToolBarMenu m_toolBarMenu;
    bar::ToolBarMenuOwner m_toolBarMenuOwner{m_toolBarMenu,
                                             [this]() -> oVoiceBook& { return m_doc.Root(); }};
    bar::MenuPictures m_menuPictures;
    bar::BarFinder m_finder{[this](bar::FindAction a, uint64_t serial, HWND previous) {
        OnFindChosen(a, serial, previous);
    }};
};
