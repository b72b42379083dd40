#pragma once
// Icons of programs and shell items from the system image list; the caller owns them.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "framework/gdi.h"

class oVoiceBook;

namespace shell {

// The icons of a program text (resolved like a button's target first). Either output may
// be null; an output stays empty when the shell has no icon for it.
void GetProgramIcon(const std::wstring& text, fw::Icon* large, fw::Icon* small);
// The same for a shell item given by its absolute identifier list.
void GetItemIdListIcon(LPCITEMIDLIST list, fw::Icon* large, fw::Icon* small);
// The icons of a node's target: its identifier list when it has one, else its command.
// True when both came. The image lists take their pictures of targets from here.
bool GetNodeTargetIcons(const oVoiceBook& node, fw::Icon& large, fw::Icon& small);

} // namespace shell
