#include "framework/dialog.h"

#include "framework/app.h"
#include "framework/debug_log.h"
#include "framework/resources.h"

namespace fw {

Dialog::~Dialog() {
    if (!hwnd_ || !::IsWindow(hwnd_))
        return;
    // Too late for the derived class's OnDestroy: make sure nothing reaches this object.
    const HWND hwnd = hwnd_;
    DebugLog(L"a dialog object went away before its window");
    DetachFromDialog();
    if (!modal_) // a modal one cannot outlive DoModal's frame
        ::DestroyWindow(hwnd);
    App::WindowDestroyed(hwnd);
}

HWND Dialog::CreateModeless(UINT templateId, HWND owner) {
    modal_ = false;
    HWND hwnd = ::CreateDialogParamW(DialogModule(templateId), MAKEINTRESOURCEW(templateId), owner,
                                     &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
    return hwnd && ::IsWindow(hwnd) ? hwnd : nullptr;
}

HWND Dialog::CreateModeless(const DLGTEMPLATE& dialogTemplate, HWND owner) {
    modal_ = false;
    HWND hwnd = ::CreateDialogIndirectParamW(ResourceModule(), &dialogTemplate, owner,
                                             &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
    return hwnd && ::IsWindow(hwnd) ? hwnd : nullptr;
}

INT_PTR Dialog::DoModal(UINT templateId, HWND owner) {
    modal_ = true;
    return ::DialogBoxParamW(DialogModule(templateId), MAKEINTRESOURCEW(templateId), owner,
                             &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::DoModal(const DLGTEMPLATE& dialogTemplate, HWND owner) {
    modal_ = true;
    return ::DialogBoxIndirectParamW(ResourceModule(), &dialogTemplate, owner, &Dialog::Procedure,
                                     reinterpret_cast<LPARAM>(this));
}

void Dialog::EndDialog(INT_PTR result) noexcept {
    if (!hwnd_)
        return;
    if (modal_)
        ::EndDialog(hwnd_, result);
    else
        ::DestroyWindow(hwnd_);
}

void Dialog::Destroy() noexcept {
    if (hwnd_ && !modal_ && ::IsWindow(hwnd_))
        ::DestroyWindow(hwnd_);
}

void Dialog::OnInitDialogFailed() noexcept {
    // A modal dialog ends with -1 as if it could not be made; a modeless one is destroyed,
    // and its creation answers null.
    if (modal_)
        ::EndDialog(hwnd_, -1);
    else
        ::DestroyWindow(hwnd_);
}

Dialog* Dialog::FromHandle(HWND hwnd) noexcept {
    if (!hwnd ||
        ::GetWindowLongPtrW(hwnd, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&Dialog::Procedure))
        return nullptr;
    return static_cast<Dialog*>(FromDialogWindow(hwnd));
}

bool Dialog::PreTranslateMessage(MSG& msg) {
    // Keyboard navigation of modeless dialogs.
    if (!modal_ && hwnd_ && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)
        return ::IsDialogMessageW(hwnd_, &msg) != FALSE;
    return false;
}

void Dialog::OnOK() {
    EndDialog(IDOK);
}
void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void Dialog::OnCommand(UINT id, UINT, HWND) {
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
    else
        SetMsgHandled(false);
}

LRESULT Dialog::CallDefault(UINT msg, WPARAM wp, LPARAM lp) {
    // The dialog manager's own handling is what runs after an unhandled message;
    // calling it from inside a handler would recurse, so the plain default is used.
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_INITDIALOG)
        AttachToDialog(hwnd, reinterpret_cast<Dialog*>(lp));
    auto* self = static_cast<Dialog*>(FromDialogWindow(hwnd));
    return self ? self->DialogMessage(msg, wp, lp) : FALSE;
}

void Dialog::OnDialogDetached(HWND hwnd) {
    App::WindowDestroyed(hwnd);
    OnFinalMessage();
}

} // namespace fw
