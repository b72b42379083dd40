#pragma once
// Message cracking shared by windows and dialogs: every message reaches a typed handler.
//
// One convention for "handled": a handler that runs has handled its message, and the default
// processing is skipped. An override declines with SetMsgHandled(false) (the default
// processing then runs after it), or runs the default at once with DefaultProcessing(). The
// handlers of this class decline everything. A handler's return value is the message's
// answer, never a "handled" flag.
#include <windows.h>

namespace fw {

class MessageTarget {
public:
    MessageTarget() = default;
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;
    virtual ~MessageTarget() = default;

    HWND hwnd() const noexcept { return hwnd_; }

    // Called by the message loop before dispatch, and for messages of modal dialog and menu
    // loops; true when the message was consumed.
    virtual bool PreTranslateMessage(MSG& msg);

protected:
    // Cracks the message and calls the handler; false when default processing should run.
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void SetMsgHandled(bool handled) noexcept { handled_ = handled; }
    // Runs the system's default processing for the message being handled.
    LRESULT DefaultProcessing();

    // Creation and life.
    virtual bool OnCreate(const CREATESTRUCTW& cs); // false fails the creation
    virtual bool OnInitDialog(HWND focus);          // true: the system sets the focus
    virtual void OnDestroy();
    virtual void OnClose();
    virtual void OnEndSession(bool ending);
    virtual LRESULT OnPowerBroadcast(WPARAM event, LPARAM data);
    virtual void OnSettingChange(UINT flag, const wchar_t* area);
    virtual void OnDisplayChange(UINT bitsPerPixel, int cx, int cy);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnHotKey(int id);

    // Commands, notifications and menus.
    virtual void OnCommand(UINT id, UINT code, HWND control);
    virtual LRESULT OnNotify(int id, NMHDR& hdr);
    virtual void OnContextMenu(HWND window, POINT screen);
    virtual void OnInitMenu(HMENU menu);
    virtual void OnInitMenuPopup(HMENU popup, UINT index, bool windowMenu);
    virtual void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    // Answer as WM_MENUCHAR wants it (MAKELRESULT(index, MNC_EXECUTE), ...).
    virtual LRESULT OnMenuChar(wchar_t ch, UINT menuType, HMENU menu);
    virtual void OnMeasureItem(UINT id, MEASUREITEMSTRUCT& item);
    virtual void OnDrawItem(UINT id, DRAWITEMSTRUCT& item);

    // Size, position and painting.
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnSizing(UINT edge, RECT& rect);
    virtual void OnMoving(UINT edge, RECT& rect);
    virtual void OnEnterSizeMove();
    virtual void OnExitSizeMove();
    virtual void OnGetMinMaxInfo(MINMAXINFO& info);
    virtual void OnWindowPosChanged(const WINDOWPOS& pos);
    virtual void OnPaint();
    virtual bool OnEraseBackground(HDC dc); // true: erased
    // The brush a child control paints its background with; `type` is a CTLCOLOR_ value.
    virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT type);
    virtual void OnHScroll(UINT code, int position, HWND scrollBar);
    virtual void OnVScroll(UINT code, int position, HWND scrollBar);
    virtual HICON OnQueryDragIcon();

    // Activation, focus and keyboard.
    virtual void OnActivate(UINT state, HWND other, bool minimized);
    virtual void OnSetFocus(HWND previous);
    virtual void OnKillFocus(HWND next);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);
    virtual void OnChar(wchar_t ch, UINT repeat, UINT flags);
    virtual UINT OnGetDlgCode(const MSG* msg); // DLGC_ bits

    // Mouse.
    virtual LRESULT OnNcHitTest(POINT screen);
    virtual bool OnSetCursor(HWND window, UINT hit, UINT mouseMessage); // true: cursor set
    virtual void OnMouseMove(UINT keys, POINT client);
    virtual void OnNcMouseMove(UINT hit, POINT screen);
    virtual void OnMouseHover(UINT keys, POINT client);
    virtual void OnNcMouseHover(UINT hit, POINT screen);
    virtual void OnMouseLeave();
    virtual void OnNcMouseLeave();
    virtual void OnLButtonDown(UINT keys, POINT client);
    virtual void OnLButtonUp(UINT keys, POINT client);
    virtual void OnLButtonDblClk(UINT keys, POINT client);
    virtual void OnRButtonDown(UINT keys, POINT client);
    virtual void OnRButtonUp(UINT keys, POINT client);
    virtual void OnRButtonDblClk(UINT keys, POINT client);
    virtual void OnMouseWheel(UINT keys, short delta, POINT screen);
    virtual void OnCaptureChanged(HWND gaining);

    // Everything without a typed handler: private and registered messages among them.
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

    // For classes built on a dialog procedure: attach at WM_INITDIALOG, find the object
    // for later messages, and turn a handler's answer into a dialog procedure's return.
    static void AttachToDialog(HWND hwnd, MessageTarget* self) noexcept;
    static MessageTarget* FromDialogWindow(HWND hwnd) noexcept;
    INT_PTR DialogMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;
    // Cuts the object loose from its dialog window: later messages get default processing.
    void DetachFromDialog() noexcept;
    // After the last message of a dialog window, once the object is detached from it.
    virtual void OnDialogDetached(HWND) {}
    // OnInitDialog threw: the dialog must not be left half built.
    virtual void OnInitDialogFailed() noexcept {}

    HWND hwnd_ = nullptr;

private:
    virtual LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp) = 0;

    bool handled_ = true;
    MSG current_{};
};

} // namespace fw
