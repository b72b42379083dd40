#include "framework/message_target.h"

#include <windowsx.h>

#include "framework/debug_log.h"

namespace fw {
namespace {
POINT PointFromLParam(LPARAM lp) {
    return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
}
UINT CtlColorType(UINT msg) {
    return msg - WM_CTLCOLORMSGBOX + CTLCOLOR_MSGBOX;
}
} // namespace

bool MessageTarget::PreTranslateMessage(MSG&) {
    return false;
}

void MessageTarget::AttachToDialog(HWND hwnd, MessageTarget* self) noexcept {
    if (!self)
        return;
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
}

MessageTarget* MessageTarget::FromDialogWindow(HWND hwnd) noexcept {
    return reinterpret_cast<MessageTarget*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
}

void MessageTarget::DetachFromDialog() noexcept {
    if (hwnd_ && FromDialogWindow(hwnd_) == this)
        ::SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    hwnd_ = nullptr;
}

INT_PTR MessageTarget::DialogMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    const HWND hwnd = hwnd_;
    LRESULT result = 0;
    bool handled = false;
    try {
        handled = Dispatch(msg, wp, lp, result);
    } catch (...) {
        // An exception must not cross the system's dialog procedure.
        LogHandlerException(L"dialog", msg);
        if (msg == WM_INITDIALOG) {
            OnInitDialogFailed();
            return FALSE;
        }
        handled = false;
    }
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        hwnd_ = nullptr;
        OnDialogDetached(hwnd);
        return FALSE;
    }
    if (!handled)
        return FALSE;
    switch (msg) {
    // These return their answer directly instead of through DWLP_MSGRESULT.
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

LRESULT MessageTarget::DefaultProcessing() {
    return CallDefault(current_.message, current_.wParam, current_.lParam);
}

bool MessageTarget::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    // Save the outer state: handlers may send messages to their own window.
    struct Restore {
        MessageTarget& self;
        MSG saved;
        bool savedHandled;
        ~Restore() {
            self.current_ = saved;
            self.handled_ = savedHandled;
        }
    } restore{*this, current_, handled_};
    current_ = MSG{hwnd_, msg, wp, lp, 0, {0, 0}};
    handled_ = true;
    result = 0;

    switch (msg) {
    case WM_CREATE:
        result = OnCreate(*reinterpret_cast<CREATESTRUCTW*>(lp)) ? 0 : -1;
        break;
    case WM_INITDIALOG:
        result = OnInitDialog(reinterpret_cast<HWND>(wp)) ? TRUE : FALSE;
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_ENDSESSION:
        OnEndSession(wp != 0);
        break;
    case WM_POWERBROADCAST:
        result = OnPowerBroadcast(wp, lp);
        break;
    case WM_SETTINGCHANGE:
        OnSettingChange(static_cast<UINT>(wp), reinterpret_cast<const wchar_t*>(lp));
        break;
    case WM_DISPLAYCHANGE:
        OnDisplayChange(static_cast<UINT>(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        break;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wp));
        break;
    case WM_HOTKEY:
        OnHotKey(static_cast<int>(wp));
        break;

    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        break;
    case WM_NOTIFY:
        result = OnNotify(static_cast<int>(wp), *reinterpret_cast<NMHDR*>(lp));
        break;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wp), PointFromLParam(lp));
        break;
    case WM_INITMENU:
        OnInitMenu(reinterpret_cast<HMENU>(wp));
        break;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wp), LOWORD(lp), HIWORD(lp) != 0);
        break;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
        break;
    case WM_MENUCHAR:
        result =
            OnMenuChar(static_cast<wchar_t>(LOWORD(wp)), HIWORD(wp), reinterpret_cast<HMENU>(lp));
        break;
    case WM_MEASUREITEM:
        result = TRUE;
        OnMeasureItem(static_cast<UINT>(wp), *reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
        break;
    case WM_DRAWITEM:
        result = TRUE;
        OnDrawItem(static_cast<UINT>(wp), *reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        break;

    case WM_SIZE:
        OnSize(static_cast<UINT>(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        break;
    case WM_SIZING:
        OnSizing(static_cast<UINT>(wp), *reinterpret_cast<RECT*>(lp));
        result = TRUE;
        break;
    case WM_MOVING:
        OnMoving(static_cast<UINT>(wp), *reinterpret_cast<RECT*>(lp));
        result = TRUE;
        break;
    case WM_ENTERSIZEMOVE:
        OnEnterSizeMove();
        break;
    case WM_EXITSIZEMOVE:
        OnExitSizeMove();
        break;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lp));
        break;
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lp));
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_ERASEBKGND:
        result = OnEraseBackground(reinterpret_cast<HDC>(wp)) ? TRUE : FALSE;
        break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        result = reinterpret_cast<LRESULT>(
            OnCtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), CtlColorType(msg)));
        break;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wp), static_cast<short>(HIWORD(wp)), reinterpret_cast<HWND>(lp));
        break;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wp), static_cast<short>(HIWORD(wp)), reinterpret_cast<HWND>(lp));
        break;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
        break;

    case WM_ACTIVATE:
        OnActivate(LOWORD(wp), reinterpret_cast<HWND>(lp), HIWORD(wp) != 0);
        break;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wp));
        break;
    case WM_KILLFOCUS:
        OnKillFocus(reinterpret_cast<HWND>(wp));
        break;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
        break;
    case WM_KEYUP:
        OnKeyUp(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
        break;
    case WM_CHAR:
        OnChar(static_cast<wchar_t>(wp), LOWORD(lp), HIWORD(lp));
        break;
    case WM_GETDLGCODE:
        result = OnGetDlgCode(reinterpret_cast<const MSG*>(lp));
        break;

    case WM_NCHITTEST:
        result = OnNcHitTest(PointFromLParam(lp));
        break;
    case WM_SETCURSOR:
        result = OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp), HIWORD(lp)) ? TRUE : FALSE;
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wp), PointFromLParam(lp));
        break;
    case WM_NCMOUSEMOVE:
        OnNcMouseMove(static_cast<UINT>(wp), PointFromLParam(lp));
        break;
    case WM_MOUSEHOVER:
        OnMouseHover(static_cast<UINT>(wp), PointFromLParam(lp));
        break;
    case WM_NCMOUSEHOVER:
        OnNcMouseHover(static_cast<UINT>(wp), PointFromLParam(lp));
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        break;
    case WM_NCMOUSELEAVE:
        OnNcMouseLeave();
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wp), PointFromLParam(lp));
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wp), PointFromLParam(lp));
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wp), PointFromLParam(lp));
        break;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<UINT>(wp), PointFromLParam(lp));
        break;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<UINT>(wp), PointFromLParam(lp));
        break;
    case WM_RBUTTONDBLCLK:
        OnRButtonDblClk(static_cast<UINT>(wp), PointFromLParam(lp));
        break;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_KEYSTATE_WPARAM(wp), GET_WHEEL_DELTA_WPARAM(wp), PointFromLParam(lp));
        break;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lp));
        break;

    default:
        result = OnMessage(msg, wp, lp);
        break;
    }
    return handled_;
}

// The defaults decline, so the system's default processing runs.
bool MessageTarget::OnCreate(const CREATESTRUCTW&) {
    handled_ = false;
    return true;
}
bool MessageTarget::OnInitDialog(HWND) {
    // Dialogs get focus on their first control by default.
    return true;
}
void MessageTarget::OnDestroy() {
    handled_ = false;
}
void MessageTarget::OnClose() {
    handled_ = false;
}
void MessageTarget::OnEndSession(bool) {
    handled_ = false;
}
LRESULT MessageTarget::OnPowerBroadcast(WPARAM, LPARAM) {
    handled_ = false;
    return TRUE;
}
void MessageTarget::OnSettingChange(UINT, const wchar_t*) {
    handled_ = false;
}
void MessageTarget::OnDisplayChange(UINT, int, int) {
    handled_ = false;
}
void MessageTarget::OnTimer(UINT_PTR) {
    handled_ = false;
}
void MessageTarget::OnHotKey(int) {
    handled_ = false;
}
void MessageTarget::OnCommand(UINT, UINT, HWND) {
    handled_ = false;
}
LRESULT MessageTarget::OnNotify(int, NMHDR&) {
    handled_ = false;
    return 0;
}
void MessageTarget::OnContextMenu(HWND, POINT) {
    handled_ = false;
}
void MessageTarget::OnInitMenu(HMENU) {
    handled_ = false;
}
void MessageTarget::OnInitMenuPopup(HMENU, UINT, bool) {
    handled_ = false;
}
void MessageTarget::OnMenuSelect(UINT, UINT, HMENU) {
    handled_ = false;
}
LRESULT MessageTarget::OnMenuChar(wchar_t, UINT, HMENU) {
    handled_ = false;
    return 0;
}
void MessageTarget::OnMeasureItem(UINT, MEASUREITEMSTRUCT&) {
    handled_ = false;
}
void MessageTarget::OnDrawItem(UINT, DRAWITEMSTRUCT&) {
    handled_ = false;
}
void MessageTarget::OnSize(UINT, int, int) {
    handled_ = false;
}
void MessageTarget::OnSizing(UINT, RECT&) {
    handled_ = false;
}
void MessageTarget::OnMoving(UINT, RECT&) {
    handled_ = false;
}
void MessageTarget::OnEnterSizeMove() {
    handled_ = false;
}
void MessageTarget::OnExitSizeMove() {
    handled_ = false;
}
void MessageTarget::OnGetMinMaxInfo(MINMAXINFO&) {
    handled_ = false;
}
void MessageTarget::OnWindowPosChanged(const WINDOWPOS&) {
    handled_ = false;
}
void MessageTarget::OnPaint() {
    handled_ = false;
}
bool MessageTarget::OnEraseBackground(HDC) {
    handled_ = false;
    return false;
}
HBRUSH MessageTarget::OnCtlColor(HDC, HWND, UINT) {
    handled_ = false;
    return nullptr;
}
void MessageTarget::OnHScroll(UINT, int, HWND) {
    handled_ = false;
}
void MessageTarget::OnVScroll(UINT, int, HWND) {
    handled_ = false;
}
HICON MessageTarget::OnQueryDragIcon() {
    handled_ = false;
    return nullptr;
}
void MessageTarget::OnActivate(UINT, HWND, bool) {
    handled_ = false;
}
void MessageTarget::OnSetFocus(HWND) {
    handled_ = false;
}
void MessageTarget::OnKillFocus(HWND) {
    handled_ = false;
}
void MessageTarget::OnKeyDown(UINT, UINT, UINT) {
    handled_ = false;
}
void MessageTarget::OnKeyUp(UINT, UINT, UINT) {
    handled_ = false;
}
void MessageTarget::OnChar(wchar_t, UINT, UINT) {
    handled_ = false;
}
UINT MessageTarget::OnGetDlgCode(const MSG*) {
    handled_ = false;
    return 0;
}
LRESULT MessageTarget::OnNcHitTest(POINT) {
    handled_ = false;
    return HTNOWHERE;
}
bool MessageTarget::OnSetCursor(HWND, UINT, UINT) {
    handled_ = false;
    return false;
}
void MessageTarget::OnMouseMove(UINT, POINT) {
    handled_ = false;
}
void MessageTarget::OnNcMouseMove(UINT, POINT) {
    handled_ = false;
}
void MessageTarget::OnMouseHover(UINT, POINT) {
    handled_ = false;
}
void MessageTarget::OnNcMouseHover(UINT, POINT) {
    handled_ = false;
}
void MessageTarget::OnMouseLeave() {
    handled_ = false;
}
void MessageTarget::OnNcMouseLeave() {
    handled_ = false;
}
void MessageTarget::OnLButtonDown(UINT, POINT) {
    handled_ = false;
}
void MessageTarget::OnLButtonUp(UINT, POINT) {
    handled_ = false;
}
void MessageTarget::OnLButtonDblClk(UINT, POINT) {
    handled_ = false;
}
void MessageTarget::OnRButtonDown(UINT, POINT) {
    handled_ = false;
}
void MessageTarget::OnRButtonUp(UINT, POINT) {
    handled_ = false;
}
void MessageTarget::OnRButtonDblClk(UINT, POINT) {
    handled_ = false;
}
void MessageTarget::OnMouseWheel(UINT, short, POINT) {
    handled_ = false;
}
void MessageTarget::OnCaptureChanged(HWND) {
    handled_ = false;
}
LRESULT MessageTarget::OnMessage(UINT, WPARAM, LPARAM) {
    handled_ = false;
    return 0;
}

} // namespace fw
