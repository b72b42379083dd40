// The find box of the bar: opening it and carrying out what was chosen in it.
#include "bar/main_dlg.h"

#include "model/voice_book.h"
#include "shell/launch.h"
#include "shell/messages.h"

namespace {
// Characters that start a search; space and control keys keep their meaning on the bar.
bool StartsSearch(WPARAM ch) {
    return ch > L' ' && ch != 0x7F;
}
} // namespace

void CMainDlg::OpenFind(HWND previous, const std::wstring& text) {
    // The one place the find box reaches the tree.
    if (m_app.IsHeld())
        return;
    m_finder.Open(hwnd_, m_doc.Root(), m_nDpi, previous, text);
}

bool CMainDlg::FindFromTyping(const MSG& msg) {
    if (msg.message != WM_CHAR || !StartsSearch(msg.wParam) ||
        (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd)))
        return false;
    OpenFind(hwnd_, std::wstring(1, static_cast<wchar_t>(msg.wParam)));
    return true;
}

void CMainDlg::OnFindChosen(bar::FindAction action, uint64_t serial, HWND previous) {
    // The tree may have changed while the box was open: the node is looked up again.
    oVoiceBook* node = m_doc.Find(serial);
    if (!node)
        return;
    switch (action) {
    case bar::FindAction::Launch:
        if (!shell::RunNode(*node))
            shell::ShowCantFind(hwnd_, node->m_strName);
        break;
    case bar::FindAction::ShowCategory:
        m_wndToolBar.ShowCategory(node, true);
        ::SetForegroundWindow(hwnd_);
        // The user is on the keyboard: it goes on on the bar, and Escape goes back.
        m_wndToolBar.TakeKeyboardFocus(previous);
        break;
    case bar::FindAction::Properties:
        ::SetForegroundWindow(hwnd_);
        m_wndToolBar.EditPropertiesOf(node);
        break;
    }
}
