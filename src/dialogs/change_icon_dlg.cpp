#include "dialogs/change_icon_dlg.h"

#include "dialogs/button_values.h"
#include "dialogs/file_open.h"
#include "resource.h"
#include "shell/launch.h"
#include "shell/messages.h"
#include "framework/resources.h"
#include "ui/window_dpi.h"

#include <commctrl.h>

namespace {
constexpr int kIconInset = 2;

// A grid without icons says why, in its own window text, where the icons would be.
LRESULT CALLBACK EmptyGridProcedure(HWND grid, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                    DWORD_PTR) {
    if ((msg == WM_PAINT || msg == WM_PRINTCLIENT) &&
        ::SendMessageW(grid, LB_GETCOUNT, 0, 0) == 0) {
        PAINTSTRUCT ps{};
        HDC dc = msg == WM_PAINT ? ::BeginPaint(grid, &ps) : reinterpret_cast<HDC>(wp);
        RECT client{};
        ::GetClientRect(grid, &client);
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
        wchar_t text[256] = {};
        if (::GetWindowTextW(grid, text, ARRAYSIZE(text)) > 0) {
            const HGDIOBJ font =
                ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(grid, WM_GETFONT, 0, 0)));
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
            ::InflateRect(&client, -kIconInset * 2, -kIconInset * 2);
            RECT measured = client;
            const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
            const int height = ::DrawTextW(dc, text, -1, &measured, format | DT_CALCRECT);
            ::OffsetRect(&client, 0, (client.bottom - client.top - height) / 2);
            ::DrawTextW(dc, text, -1, &client, format);
            ::SelectObject(dc, font);
        }
        if (msg == WM_PAINT)
            ::EndPaint(grid, &ps);
        return 0;
    }
    if (msg == WM_NCDESTROY)
        ::RemoveWindowSubclass(grid, &EmptyGridProcedure, id);
    return ::DefSubclassProc(grid, msg, wp, lp);
}
} // namespace

CChangeIconDlg::CChangeIconDlg(dialogs::RecentIconFiles& recent) : m_recent(recent) {}

INT_PTR CChangeIconDlg::DoModal(HWND owner) {
    return fw::Dialog::DoModal(IDD_CHANGE_ICON, owner);
}

bool CChangeIconDlg::OnInitDialog(HWND) {
    HWND grid = Item(IDC_ICON_GRID);
    // A cell holds an icon of the size this dialog's monitor shows icons at.
    m_nIconSize = ui::SystemMetricAt(SM_CXICON, ui::WindowDpi(hwnd_));
    const int cell = m_nIconSize + 2 * kIconInset;
    ::SendMessageW(grid, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(cell), 0);
    // The template's measuring happens before this object is attached; set the height here.
    ::SendMessageW(grid, LB_SETITEMHEIGHT, 0, cell);
    ::SetWindowSubclass(grid, &EmptyGridProcedure, 0, 0);
    if (m_recent.entries.empty())
        m_recent.entries = dialogs::SeedIconFiles();
    for (const std::wstring& entry : m_recent.entries)
        AddString(IDC_ICON_FILE, entry);

    if (!m_strFile.empty()) {
        std::wstring resolved;
        shell::ResolveProgramPath(m_strFile, resolved);
        m_strFile = dialogs::UpperCase(resolved);
        ShowFile(m_strFile);
    } else {
        Select(IDC_ICON_FILE, 0);
        m_strFile = StringAt(IDC_ICON_FILE, 0);
        m_nIndex = 0;
    }
    FillGrid();
    return true;
}

void CChangeIconDlg::ShowFile(const std::wstring& path) {
    m_bSettingText = true;
    SetItemText(IDC_ICON_FILE, path);
    m_bSettingText = false;
}

void CChangeIconDlg::FillGrid() {
    HWND grid = Item(IDC_ICON_GRID);
    ::SendMessageW(grid, WM_SETREDRAW, FALSE, 0);
    ResetContent(IDC_ICON_GRID);
    const int count = dialogs::CountIcons(m_strFile);
    for (int i = 0; i < count; ++i)
        ::SendMessageW(grid, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
    ::SendMessageW(grid, LB_SETCURSEL, static_cast<WPARAM>(m_nIndex < count ? m_nIndex : -1), 0);
    const bool saySo = count == 0 && !m_strFile.empty();
    ::SetWindowTextW(grid, saySo ? fw::LoadResString(IDS_NO_ICONS_IN_GRID).c_str() : L"");
    ::SendMessageW(grid, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(grid, nullptr, TRUE);
}

void CChangeIconDlg::SelectFile(const std::wstring& path) {
    std::vector<std::wstring> entries;
    for (int i = 0, n = ItemCount(IDC_ICON_FILE); i < n; ++i)
        entries.push_back(StringAt(IDC_ICON_FILE, i));
    int at = dialogs::FindIconFile(entries, path);
    if (at < 0)
        at = InsertString(IDC_ICON_FILE, 0, path);
    m_bSettingText = true;
    Select(IDC_ICON_FILE, at);
    m_bSettingText = false;
    m_strFile = path;
    m_nIndex = 0;
    FillGrid();
}

void CChangeIconDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDC_ICON_FILE) {
        if (code == CBN_EDITCHANGE && !m_bSettingText) {
            m_bEdited = true;
        } else if (code == CBN_SELENDOK) {
            const int at = Selection(IDC_ICON_FILE);
            if (at >= 0) {
                m_strFile = StringAt(IDC_ICON_FILE, at);
                m_nIndex = 0;
                FillGrid();
            }
        }
        return;
    }
    if (id == IDC_BROWSE && code == BN_CLICKED) {
        std::wstring path;
        if (dialogs::ChooseFileToOpen(hwnd_, IDS_ICON_FILTER, path))
            SelectFile(path);
        return;
    }
    fw::Dialog::OnCommand(id, code, control);
}

void CChangeIconDlg::OnOK() {
    if (m_bEdited) {
        // The typed file's icons are shown first; the user confirms with a second OK.
        m_bEdited = false;
        const std::wstring typed = dialogs::TrimBlanks(ItemText(IDC_ICON_FILE));
        if (!typed.empty()) {
            SelectFile(typed);
        } else { // an emptied field is no file to remember
            m_strFile.clear();
            FillGrid();
        }
        return;
    }
    const int at = static_cast<int>(::SendMessageW(Item(IDC_ICON_GRID), LB_GETCURSEL, 0, 0));
    const int index = at >= 0 ? static_cast<int>(DataAt(IDC_ICON_GRID, at)) : -1;
    if (!dialogs::ExtractSingleIcon(m_strFile, index)) {
        shell::ShowMessage(hwnd_, fw::LoadResString(IDS_NO_ICON_IN_FILE),
                           MB_OK | MB_ICONINFORMATION);
        return;
    }
    m_nIndex = index;
    m_recent.entries.clear();
    for (int i = 0, n = ItemCount(IDC_ICON_FILE); i < n; ++i)
        m_recent.entries.push_back(StringAt(IDC_ICON_FILE, i));
    EndDialog(IDOK);
}

void CChangeIconDlg::OnDrawItem(UINT id, DRAWITEMSTRUCT& item) {
    if (id != IDC_ICON_GRID) {
        SetMsgHandled(false);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &item.rcItem,
               ::GetSysColorBrush(selected ? COLOR_ACTIVECAPTION : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const fw::Icon icon =
        dialogs::ExtractSingleIcon(m_strFile, static_cast<int>(item.itemData), m_nIconSize);
    if (icon) {
        ::DrawIconEx(item.hDC, item.rcItem.left + kIconInset, item.rcItem.top + kIconInset,
                     icon.get(), m_nIconSize, m_nIconSize, 0, nullptr, DI_NORMAL);
    }
}
