#pragma once
// Dialog base for modeless and modal dialogs made from templates of the resource module.
#include "framework/dialog_controls.h"

namespace fw {

class Dialog : public DialogControls {
public:
    Dialog() = default;
    // The window must be gone by now: the most derived class destroys it (Destroy) in its own
    // destructor, so that its OnDestroy still runs. A window left over is cut loose from the
    // object and destroyed without reaching it.
    ~Dialog() override;

    // Modeless: returns the window, or null when the template cannot be made or its
    // OnInitDialog failed.
    HWND CreateModeless(UINT templateId, HWND owner);
    HWND CreateModeless(const DLGTEMPLATE& dialogTemplate, HWND owner);
    // Modal: returns the value given to EndDialog, or -1 on failure.
    INT_PTR DoModal(UINT templateId, HWND owner);
    INT_PTR DoModal(const DLGTEMPLATE& dialogTemplate, HWND owner);
    void EndDialog(INT_PTR result) noexcept;
    void Destroy() noexcept;

    static Dialog* FromHandle(HWND hwnd) noexcept;

    bool PreTranslateMessage(MSG& msg) override;

protected:
    // Enter and Escape; the defaults end a modal dialog with IDOK or IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();
    void OnCommand(UINT id, UINT code, HWND control) override;
    virtual void OnFinalMessage() {}
    void OnDialogDetached(HWND hwnd) override;
    void OnInitDialogFailed() noexcept override;

    bool modal_ = false;

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp) override;
};

} // namespace fw
