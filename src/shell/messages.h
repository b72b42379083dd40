#pragma once
// Message boxes of the launcher, captioned with the application title.
#include <windows.h>

#include <string>

namespace shell {

// A message box with the application title (string 100) as its caption.
int ShowMessage(HWND owner, const std::wstring& text, UINT type);

// "Can't find %s." with the button's display name.
std::wstring CantFindText(const std::wstring& buttonName);
// What every caller shows when running a button failed: the text above, information icon.
void ShowCantFind(HWND owner, const std::wstring& buttonName);

} // namespace shell
