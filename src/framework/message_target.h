#pragma once
// Message cracking shared by windows and dialogs: every message reaches a typed handler.
// A handler that is not overridden marks the message unhandled, so default processing runs;
// an override may call SetMsgHandled(false) to ask for it too.
#include <windows.h>

namespace fw {

class MessageTarget {
public:
    MessageTarget() = default;
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;
    virtual ~MessageTarget() = default;

    HWND hwnd() const noexcept { return hwnd_; }

    // Called by the message loop before dispatch; true when the message was consumed.
    virtual bool PreTranslateMessage(MSG& msg);

protected:
    // Cracks the message and calls the handler; false when default processing should run.
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void SetMsgHandled(bool handled) noexcept { handled_ = handled; }
    // Runs the system's default processing for the message being handled.
    LRESULT DefaultProcessing();
    // The message being handled (for handlers that need its raw parameters).
    const MSG& CurrentMessage() const noexcept { return current_; }

    virtual bool OnCreate(const CREATESTRUCTW& cs);
    virtual void OnDestroy();
    virtual void OnClose();
    virtual void OnTimer(UINT_PTR id);
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    virtual LRESULT OnNotify(int id, NMHDR& hdr);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnSizing(UINT edge, RECT& rect);
    virtual void OnMoving(UINT edge, RECT& rect);
    virtual void OnEnterSizeMove();
    virtual void OnExitSizeMove();
    virtual void OnGetMinMaxInfo(MINMAXINFO& info);
    virtual void OnWindowPosChanged(const WINDOWPOS& pos);
    virtual void OnPaint();
    virtual bool OnEraseBackground(HDC dc);
    virtual LRESULT OnNcHitTest(POINT screen);
    virtual void OnActivate(UINT state, HWND other, bool minimized);
    virtual void OnSetFocus(HWND previous);
    virtual void OnDisplayChange(UINT bitsPerPixel, int cx, int cy);
    virtual void OnEndSession(bool ending);
    virtual void OnMouseMove(UINT keys, POINT client);
    virtual void OnNcMouseMove(UINT hit, POINT screen);
    virtual void OnMouseHover(UINT keys, POINT client);
    virtual void OnNcMouseHover(UINT hit, POINT screen);
    virtual void OnMouseLeave();
    virtual void OnLButtonDown(UINT keys, POINT client);
    virtual void OnLButtonUp(UINT keys, POINT client);
    virtual void OnRButtonUp(UINT keys, POINT client);
    virtual bool OnMouseWheel(UINT keys, short delta, POINT screen);
    virtual void OnContextMenu(HWND window, POINT screen);
    virtual void OnHotKey(int id);
    virtual bool OnDrawItem(UINT id, DRAWITEMSTRUCT& item);
    virtual bool OnMeasureItem(UINT id, MEASUREITEMSTRUCT& item);
    virtual LRESULT OnPowerBroadcast(WPARAM event, LPARAM data);
    virtual void OnSettingChange(UINT flag, const wchar_t* area);
    virtual HICON OnQueryDragIcon();
    virtual bool OnInitDialog(HWND focus);
    // Everything without a typed handler: private and registered messages among them.
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

    // For classes built on a dialog procedure: attach at WM_INITDIALOG, find the object
    // for later messages, and turn a handler's answer into a dialog procedure's return.
    static void AttachToDialog(HWND hwnd, MessageTarget* self) noexcept;
    static MessageTarget* FromDialogWindow(HWND hwnd) noexcept;
    INT_PTR DialogMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;
    // After the last message of a dialog window, once the object is detached from it.
    virtual void OnDialogDetached(HWND) {}

    HWND hwnd_ = nullptr;

private:
    virtual LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp) = 0;

    bool handled_ = true;
    MSG current_{};
};

} // namespace fw
