#pragma once
// The system's file-open and file-save dialogs with a filter written as one string-table text.
#include <windows.h>

#include <string>

namespace dialogs {

// "Text|*.txt|All|*.*||" as the file dialog wants it: '|' becomes the terminator.
std::wstring FilterFromText(const std::wstring& text);
// True and the chosen path when the user chose an existing file.
bool ChooseFileToOpen(HWND owner, UINT filterStringId, std::wstring& path);
// True and the chosen path when the user chose where to save; `path` comes in as the name
// proposed. The first type of the filter gives a name typed without one its extension, and
// a file that exists is written over only when the user agrees.
bool ChooseFileToSave(HWND owner, UINT filterStringId, std::wstring& path);

} // namespace dialogs
