#include "views/bar_keys.h"

namespace views {

bool IsMenuKeyUp(UINT msg, WPARAM vk) {
    return (msg == WM_KEYUP || msg == WM_SYSKEYUP) &&
           (vk == VK_APPS || (vk == VK_F10 && ::GetKeyState(VK_SHIFT) < 0));
}

bool PassKeyToBar(HWND child, UINT vk) {
    return ::SendMessageW(::GetParent(child), WM_LARK_BAR_KEY, vk, 0) != 0;
}

bool ForwardSystemKey(HWND child, UINT msg, WPARAM wp) {
    if (msg == WM_SYSKEYDOWN)
        return PassKeyToBar(child, static_cast<UINT>(wp));
    return IsMenuKeyUp(msg, wp);
}

bool FocusCuesHidden(HWND window) {
    const HWND root = ::GetAncestor(window, GA_ROOT);
    return (::SendMessageW(root ? root : window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
}

void ShowFocusCues(HWND window) {
    const HWND root = ::GetAncestor(window, GA_ROOT);
    ::SendMessageW(root ? root : window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS),
                   0);
}

void InitFocusCues(HWND window) {
    BOOL always = FALSE;
    ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0);
    const HWND root = ::GetAncestor(window, GA_ROOT);
    ::SendMessageW(root ? root : window, WM_CHANGEUISTATE,
                   MAKEWPARAM(always ? UIS_CLEAR : UIS_SET, UISF_HIDEFOCUS), 0);
}

} // namespace views
