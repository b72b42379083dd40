#pragma once
// Dialog base for modeless and modal dialogs made from templates of the resource module.
#include "framework/message_target.h"

namespace fw {

class Dialog : public MessageTarget {
public:
    Dialog() = default;
    ~Dialog() override;

    // Modeless: returns the window, or null when the template cannot be made.
    HWND CreateModeless(UINT templateId, HWND owner);
    // Modal: returns the value given to EndDialog, or -1 on failure.
    INT_PTR DoModal(UINT templateId, HWND owner);
    void EndDialog(INT_PTR result) noexcept;
    void Destroy() noexcept;

    HWND Item(int id) const noexcept { return ::GetDlgItem(hwnd_, id); }
    static Dialog* FromHandle(HWND hwnd) noexcept;

    bool PreTranslateMessage(MSG& msg) override;

protected:
    // Enter and Escape; the defaults end a modal dialog with IDOK or IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();
    bool OnCommand(UINT id, UINT code, HWND control) override;
    virtual void OnFinalMessage() {}
    void OnDialogDetached(HWND hwnd) override;

    bool modal_ = false;

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp) override;
};

} // namespace fw
