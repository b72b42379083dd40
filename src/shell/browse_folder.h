#pragma once
// The shell's folder chooser.
#include <windows.h>

#include <string>

namespace shell {

// Lets the user choose a folder below the special folder `rootCsidl`. True only when a
// folder with a file-system path was chosen; a chosen item without one is reported to the
// user ("Can't find folder.") and gives false. `displayName` is the chosen item's name.
bool BrowseForFolder(HWND owner, int rootCsidl, std::wstring& displayName, std::wstring& path);

// The same, telling a cancelled chooser apart from a chosen item without a path (which is
// reported as above).
enum class FolderChoice { Cancelled, WithoutPath, Chosen };
FolderChoice ChooseFolder(HWND owner, int rootCsidl, std::wstring& displayName, std::wstring& path);

} // namespace shell
