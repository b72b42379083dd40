#pragma once
// Keys pressed on the bar's children go to the bar, which decides what they do
// (bar_keyboard.h). The children ask for every key, so the dialog manager of the main
// window neither moves the focus by Tab and arrows nor turns Escape into a Cancel.
#include <windows.h>

namespace views {

// Sent to the bar for each key pressed on one of its children (wParam: the virtual key); a
// nonzero answer took the key.
constexpr UINT WM_LARK_BAR_KEY = 0x8353;
// Sent to the bar when one of its buttons gains the keyboard focus (lParam: the button).
constexpr UINT WM_LARK_BUTTON_FOCUS = 0x8354;

// What a child answers the dialog manager's WM_GETDLGCODE.
constexpr UINT kBarKeysDlgCode = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB;
// Hands a key-down of `child` to its parent; true when the bar took it.
bool PassKeyToBar(HWND child, UINT vk);
// Shift+F10 and the menu key open a context menu on their way down; their way up must not
// open another one (or the menu bar).
bool IsMenuKeyUp(UINT msg, WPARAM vk);
// For the key messages of a child the framework hands on uncracked (WM_SYSKEYDOWN, for F10,
// and WM_SYSKEYUP): true when taken.
bool ForwardSystemKey(HWND child, UINT msg, WPARAM wp);

// Whether the focus rectangle is hidden until the keyboard is used (the main window's state).
bool FocusCuesHidden(HWND window);
// The keyboard is in use: focus rectangles show from now on.
void ShowFocusCues(HWND window);
// A new window starts with them hidden unless the user asked to always see them.
void InitFocusCues(HWND window);

} // namespace views
