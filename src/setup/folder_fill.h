#pragma once
// Filling a category with buttons from a folder or a shell folder. New nodes are appended
// as the category's last children, in the order the file system or the shell lists them.
#include <windows.h>
#include <shlobj.h>

#include <string>

class oVoiceBook;

namespace setup {

// A button for one file: a plain file is started as it is; a shortcut gives its own
// target, arguments, folder, icon and show state, or its item when it has no path.
// Returns the new button, or null when the file is a shortcut that cannot be read.
oVoiceBook* AddFileAsButton(oVoiceBook& category, const std::wstring& path);

// A button per file of `folder`; sub-folders become sub-categories filled the same way
// when `takeSubFolders` is set, and are ignored otherwise.
void FillFromFolder(oVoiceBook& category, const std::wstring& folder, bool takeSubFolders);

// A button per item of the shell folder `list` (the empty list is the desktop). Items
// with a file-system path become file buttons; the others keep their absolute list.
void FillFromShellFolder(oVoiceBook& category, LPCITEMIDLIST list);

// The file's display title as the system's file-title function gives it; else the path.
std::wstring FileTitle(const std::wstring& path);

} // namespace setup
