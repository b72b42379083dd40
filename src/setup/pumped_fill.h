#pragma once
// Filling a category from a folder without freezing the windows: the folder is read into a
// scratch category of its own beside the window thread, which keeps handling its messages;
// the live tree is changed only afterwards, on the window thread.
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>

class oVoiceBook;

namespace setup {

// Runs `fill` on a scratch category on a worker thread while this thread handles its
// messages (see RunWhilePumping). Returns the scratch with what was read, or null when the
// program quits or `window` is destroyed meanwhile. `fill` must own everything it reads
// (copies, not references to the caller's nodes): it may outlive the caller's wait.
std::shared_ptr<oVoiceBook> FillWhilePumping(std::function<void(oVoiceBook&)> fill, HWND window);

// Moves every child of `from` to the end of `to`'s children, keeping their order.
void AdoptChildren(oVoiceBook& from, oVoiceBook& to);

// The two folder fills of folder_fill.h in that form, for a category linked to a folder
// (`command`, with its sub-folder choice) or to a shell folder (`list`, copied).
std::shared_ptr<oVoiceBook> FillFromFolderWhilePumping(const std::wstring& folder,
                                                       bool takeSubFolders, HWND window);
std::shared_ptr<oVoiceBook> FillFromShellFolderWhilePumping(LPCITEMIDLIST list, HWND window);

} // namespace setup
