// The bar's menus, its tray icon and its hotkey: opening them and carrying out their
// commands.
#include "bar/main_dlg.h"

#include <shellapi.h>

#include "bar/about_dlg.h"
#include "bar/bar_menu.h"
#include "bar/home_page.h"
#include "bar/hotkey.h"
#include "bar/monitor_menu.h"
#include "bar/monitors.h"
#include "bar/test_hooks.h"
#include "ui/image_lists.h"
#include "bar/tray_icon.h"
#include "framework/resources.h"
#include "model/voice_book.h"
#include "resource.h"
#include "shell/launch.h"
#include "shell/messages.h"

// ---- showing the menus ----------------------------------------------------------------------

void CMainDlg::ShowBarMenu(POINT screen) {
    const Preferences& prefs = m_app.Prefs();
    bar::BarMenuInput in;
    in.held = m_app.IsHeld();
    in.trayOnly = prefs.TrayOnly != 0;
    in.state = EffectiveState();
    in.alwaysOnTop = m_bAlwaysOnTop != 0;
    in.autoHide = m_bAutoHide != 0;
    in.viewFlags = prefs.ViewGroupButtonMethod;
    in.buttonSize = prefs.ButtonSize;
    in.buttonSpacing = prefs.ButtonSpacing;
    const bar::MonitorMenu monitors = bar::BuildMonitorMenu(
        bar::BuildMonitorList(), ::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), in.trayOnly,
        fw::LoadResString(IDS_PRIMARY_MONITOR), fw::LoadResString(IDS_SUB_MONITOR));
    m_menuPictures.SetSize(icons::SmallPictureSize());
    const bar::BarMenu menu(in, monitors, &m_menuPictures);
    bar::InsertFindItem(menu.Popup());
    menu.Track(hwnd_, screen);
}

void CMainDlg::ShowToolBarMenu(HWND previous) {
    UINT chosen = 0;
    {
        const fw::Menu menu = m_toolBarMenu.Build(m_doc.Root());
        bar::InsertFindItem(menu.get());
        if (menu)
            chosen = m_toolBarMenuOwner.TrackAtCursor(menu.get(), hwnd_);
    }
    m_toolBarMenu.Closed();
    if (chosen == ID_FIND) {
        OpenFind(previous);
        return;
    }
    if (chosen)
        OnToolBarMenuCommand(chosen);
    // The bar took the foreground only to show the menu: the user goes on where they were,
    // unless what was chosen (or clicked) has taken the foreground since.
    if (previous && previous != hwnd_ && ::IsWindow(previous) && ::GetForegroundWindow() == hwnd_)
        ::SetForegroundWindow(previous);
}

void CMainDlg::OnInitMenuPopup(HMENU popup, UINT, bool) {
    // The ToolBar menu's submenus are filled and numbered as they open.
    if (!m_toolBarMenu.Open(popup, m_doc.Root()))
        SetMsgHandled(false);
}

void CMainDlg::OnContextMenu(HWND, POINT screen) {
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: the bar's own corner.
        RECT r{};
        ::GetWindowRect(hwnd_, &r);
        screen = POINT{r.left, r.top};
    }
    ShowBarMenu(screen);
}

void CMainDlg::OnMeasureItem(UINT, MEASUREITEMSTRUCT& item) {
    if (!bar::ToolBarMenu::MeasurePicture(item) && !m_menuPictures.Measure(item))
        SetMsgHandled(false);
}

// ---- tray icon and hotkey -------------------------------------------------------------------

void CMainDlg::AddTrayIcon() {
    if (m_trayIcon.Add(hwnd_, bar::kTrayIconId, bar::kTrayCallbackMessage, m_hSmallIcon.get(),
                       m_app.Title()))
        ++m_nTrayIconsAdded;
}

LRESULT CMainDlg::OnTrayNotify(UINT iconId, UINT mouseMessage) {
    const bar::TrayAction action =
        bar::TrayActionFor(iconId, mouseMessage, m_app.Prefs().IconAction);
    if (action == bar::TrayAction::NotHandled) {
        SetMsgHandled(false);
        return 0;
    }
    if (action == bar::TrayAction::Nothing)
        return 0;
    POINT cursor{};
    ::GetCursorPos(&cursor); // where the click was, before anything moves
    const HWND previous = ::GetForegroundWindow();
    ::SetForegroundWindow(hwnd_);
    if (action == bar::TrayAction::Foreground)
        return 0;
    ::UpdateWindow(hwnd_);
    // Once the menu's loop has ended, this message makes the system notice the menu is gone
    // when the user clicks elsewhere on the taskbar.
    ::PostMessageW(hwnd_, WM_USER, 0, 0);
    if (action == bar::TrayAction::ToolBarMenu)
        ShowToolBarMenu(previous);
    else
        ShowBarMenu(cursor);
    return 0;
}

void CMainDlg::ApplyHotKey() {
    const bar::HotKeyChord chord = bar::HotKeyFromCode(m_app.Prefs().TBHotKeyCode);
    m_finder.ApplyHotKey(hwnd_, m_app.Prefs().FindHotKeyCode);
    if (!chord.active) {
        m_hotKey.Unregister();
        return;
    }
    // A chord that another program holds gives no hotkey; nothing is said.
    m_hotKey.Register(hwnd_, bar::kHotKeyId, chord.modifiers, chord.key);
}

void CMainDlg::OnHotKey(int id) {
    if (id == bar::kFindHotKeyId) {
        OpenFind(::GetForegroundWindow());
        return;
    }
    if (id != bar::kHotKeyId)
        return;
    const HWND previous = ::GetForegroundWindow();
    ::SetForegroundWindow(hwnd_);
    ShowToolBarMenu(previous);
}

// ---- commands -------------------------------------------------------------------------------

bool CMainDlg::OnMenuCommand(UINT id) {
    if (id == IDC_MENU_BUTTON) {
        RECT r{};
        ::GetWindowRect(m_btnMenu.hwnd(), &r);
        ShowBarMenu(POINT{r.right, r.top});
        return true;
    }
    if (id == ID_FIND) {
        OpenFind(::GetForegroundWindow());
        return true;
    }
    if (id == ID_APP_ABOUT) {
        ShowAbout();
        return true;
    }
    if (id == ID_HOMEPAGE) {
        ::ShellExecuteW(hwnd_, L"open", bar::kHomePage, nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    }
    if (bar::IsRoutedMonitorCommand(id)) {
        OnMonitorCommand(id);
        return true;
    }
    if (id >= ID_TOOLBAR_MENU_FIRST && id <= ID_TOOLBAR_MENU_LAST) {
        OnToolBarMenuCommand(id);
        return true;
    }
    return false;
}

void CMainDlg::ShowAbout() {
    // One dialog of the bar at a time.
    ui::HoldScope hold(&m_app);
    if (!hold)
        return;
    CAboutDlg about;
    about.DoModal(IDD_ABOUT, hwnd_);
}

void CMainDlg::OnToolBarMenuCommand(UINT id) {
    // The numbers outlive the menu: a command for a button deleted since finds nothing.
    oVoiceBook* node = m_toolBarMenu.NodeForCommand(id, m_doc.Root());
    if (!node)
        return;
    if (!shell::RunNode(*node))
        shell::ShowCantFind(hwnd_, node->m_strName);
}

void CMainDlg::OnMonitorCommand(UINT id) {
    const std::vector<bar::oMonitorInfo> monitors = bar::BuildMonitorList();
    HMONITOR target = bar::MonitorForCommand(monitors, id);
    if (!target)
        return; // a monitor removed while the menu was open
    if (m_nState == STATE_FLOAT &&
        ::MonitorFromRect(&m_rcFloat, MONITOR_DEFAULTTONEAREST) != target) {
        // A floating bar keeps its place relative to the monitor it moves to.
        const RECT from =
            bar::MonitorArea(::MonitorFromRect(&m_rcFloat, MONITOR_DEFAULTTONEAREST), true);
        const RECT to = bar::MonitorArea(target, true);
        RECT moved = m_rcFloat;
        ::OffsetRect(&moved, to.left - from.left, to.top - from.top);
        m_rcFloat = bar::FitRect(to, moved);
    }
    SetMonitor(target, true);
    m_app.SavePreferences();
    SavePlacement();
}

LRESULT CMainDlg::AnswerTestQuery(WPARAM what) const {
    switch (what) {
    case TEST_QUERY_TRAY_ICONS_ADDED:
        return m_nTrayIconsAdded;
    case TEST_QUERY_HOTKEY:
        return m_hotKey.Registered() ? 1 : 0;
    case TEST_QUERY_TOOLBAR_MENU:
        return static_cast<LRESULT>(m_toolBarMenu.Numbered());
    case TEST_QUERY_FIND_HOTKEY:
        return m_finder.HotKeyRegistered() ? 1 : 0;
    case TEST_QUERY_FIND_ROWS:
        return m_finder.Box().IsOpen() ? static_cast<LRESULT>(m_finder.Box().Rows().size()) + 1 : 0;
    case TEST_QUERY_FIND_SELECTED:
        return m_finder.Box().IsOpen() ? m_finder.Box().SelectedRow() + 1 : 0;
    case TEST_QUERY_CATEGORIES: {
        LRESULT n = 0;
        for (const oVoiceBook* c = m_doc.Root().FirstChild(); c; c = c->Next())
            n += c->IsButton() ? 0 : 1;
        return n;
    }
    case TEST_QUERY_LARGE_PICTURE:
        return icons::LargePictureSize();
    case TEST_QUERY_TAB_NAME_HEIGHT:
        return m_wndToolBar.Tabs().NameHeight();
    case TEST_QUERY_STARTED:
        return m_bStartUpDone ? 1 : 0;
    default:
        return 0;
    }
}
