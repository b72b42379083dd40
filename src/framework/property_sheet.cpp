#include "framework/property_sheet.h"

#include "framework/dialog_placement.h"
#include "framework/resources.h"

namespace fw {

LRESULT PropertyPage::OnNotify(int, NMHDR& hdr) {
    switch (hdr.code) {
    case PSN_APPLY:
        return OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
    case PSN_KILLACTIVE:
        return OnKillActive() ? FALSE : TRUE;
    case PSN_SETACTIVE:
        if (sheet_ && !sheet_->placed_) {
            sheet_->placed_ = true;
            PlaceOwnedDialog(::GetParent(hwnd_));
        }
        OnSetActive();
        return 0;
    default:
        SetMsgHandled(false);
        return 0;
    }
}

LRESULT PropertyPage::CallDefault(UINT msg, WPARAM wp, LPARAM lp) {
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

INT_PTR CALLBACK PropertyPage::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_INITDIALOG)
        AttachToDialog(
            hwnd, reinterpret_cast<PropertyPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lp)->lParam));
    auto* self = static_cast<PropertyPage*>(FromDialogWindow(hwnd));
    return self ? self->DialogMessage(msg, wp, lp) : FALSE;
}

INT_PTR PropertySheet::DoModal(HWND owner, DWORD extraFlags) {
    // The pages know their sheet while it runs, so that the first one shown places it.
    struct Link {
        std::vector<PropertyPage*>& pages;
        Link(std::vector<PropertyPage*>& p, PropertySheet* sheet) : pages(p) {
            for (PropertyPage* page : pages)
                page->sheet_ = sheet;
        }
        ~Link() {
            for (PropertyPage* page : pages)
                page->sheet_ = nullptr;
        }
    } link{pages_, this};
    placed_ = false;
    std::vector<HPROPSHEETPAGE> handles;
    for (PropertyPage* page : pages_) {
        PROPSHEETPAGEW psp{};
        psp.dwSize = sizeof(psp);
        psp.dwFlags = page->template_ ? PSP_DLGINDIRECT : PSP_DEFAULT;
        if (page->template_) {
            psp.hInstance = ResourceModule();
            psp.pResource = page->template_;
        } else {
            psp.hInstance = DialogModule(page->TemplateId());
            psp.pszTemplate = MAKEINTRESOURCEW(page->TemplateId());
        }
        psp.pfnDlgProc = &PropertyPage::Procedure;
        psp.lParam = reinterpret_cast<LPARAM>(page);
        HPROPSHEETPAGE h = ::CreatePropertySheetPageW(&psp);
        if (!h) {
            // The sheet owns its pages only once it runs.
            for (HPROPSHEETPAGE made : handles)
                ::DestroyPropertySheetPage(made);
            return -1;
        }
        handles.push_back(h);
    }
    if (handles.empty())
        return -1;
    PROPSHEETHEADERW psh{};
    psh.dwSize = sizeof(psh);
    psh.dwFlags = PSH_DEFAULT | extraFlags;
    psh.hwndParent = owner;
    psh.hInstance = ResourceModule();
    psh.pszCaption = caption_.c_str();
    psh.nPages = static_cast<UINT>(handles.size());
    psh.phpage = handles.data();
    const INT_PTR rc = ::PropertySheetW(&psh);
    if (rc < 0)
        return -1;
    return rc > 0 ? IDOK : IDCANCEL;
}

} // namespace fw
