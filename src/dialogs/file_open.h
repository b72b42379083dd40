#pragma once
// The system's file-open dialog with a filter written as one string-table text.
#include <windows.h>

#include <string>

namespace dialogs {

// "Text|*.txt|All|*.*||" as the file dialog wants it: '|' becomes the terminator.
std::wstring FilterFromText(const std::wstring& text);
// True and the chosen path when the user chose an existing file.
bool ChooseFileToOpen(HWND owner, UINT filterStringId, std::wstring& path);

} // namespace dialogs
