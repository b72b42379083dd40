#include "views/custom_button.h"

namespace {
// The window property that leads from a button window to its object.
constexpr wchar_t kProperty[] = L"LarkCustomButton";
} // namespace

CCustomButton::~CCustomButton() {
    // The window may have gone with its parent; a recycled handle carries no mark of ours.
    if (hwnd_ && ::IsWindow(hwnd_) && ::GetPropW(hwnd_, kProperty) == this) {
        ::RemovePropW(hwnd_, kProperty);
        ::DestroyWindow(hwnd_);
    }
}

HWND CCustomButton::Create(DWORD extraStyle, const RECT& rect, HWND parent, UINT id,
                           DrawRoutine draw) {
    draw_ = draw;
    hwnd_ = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | extraStyle,
                              rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                              parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                              ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd_)
        ::SetPropW(hwnd_, kProperty, this);
    return hwnd_;
}

bool CCustomButton::DrawReflected(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON || !item.hwndItem)
        return false;
    auto* button = static_cast<CCustomButton*>(::GetPropW(item.hwndItem, kProperty));
    if (!button || button->hwnd_ != item.hwndItem || !button->draw_)
        return false;
    button->draw_(item.hDC, (item.itemState & ODS_SELECTED) != 0, item);
    return true;
}
