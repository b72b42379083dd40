#pragma once
// Modal property sheets whose pages are dialog templates with typed handlers.
#include <windows.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "framework/dialog_controls.h"

namespace fw {

class PropertySheet;

class PropertyPage : public DialogControls {
public:
    explicit PropertyPage(UINT templateId) : templateId_(templateId) {}
    // A page from a template in memory, which must outlive the sheet.
    explicit PropertyPage(const DLGTEMPLATE& dialogTemplate) : template_(&dialogTemplate) {}
    UINT TemplateId() const noexcept { return templateId_; }

    // PSN_APPLY: return false to keep the sheet open.
    virtual bool OnApply() { return true; }
    // PSN_KILLACTIVE: return false to keep this page active (invalid input).
    virtual bool OnKillActive() { return true; }
    virtual void OnSetActive() {}

protected:
    LRESULT OnNotify(int id, NMHDR& hdr) override;

private:
    friend class PropertySheet;
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp) override;

    UINT templateId_ = 0;
    const DLGTEMPLATE* template_ = nullptr;
    PropertySheet* sheet_ = nullptr; // while the sheet runs
};

class PropertySheet {
public:
    explicit PropertySheet(std::wstring caption) : caption_(std::move(caption)) {}
    void AddPage(PropertyPage& page) { pages_.push_back(&page); }
    // Returns IDOK when accepted, IDCANCEL otherwise, -1 when the sheet cannot be made.
    INT_PTR DoModal(HWND owner, DWORD extraFlags = PSH_NOAPPLYNOW);

private:
    friend class PropertyPage;
    std::wstring caption_;
    std::vector<PropertyPage*> pages_;
    bool placed_ = false; // by the first page shown, once the sheet has its size
};

} // namespace fw
