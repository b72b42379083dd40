#pragma once
// Icons of programs and shell items from the system image list; the caller owns them.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "framework/gdi.h"

class oVoiceBook;

namespace shell {

// The sizes icons are asked for; 0 is the system's large or small icon size.
struct IconSizes {
    int large = 0;
    int small = 0;
};

// The icons of a program text (resolved like a button's target first). Either output may
// be null; an output stays empty when the shell has no icon for it. Sizes other than the
// system's are read from the icon's file at that size where the shell names the file.
void GetProgramIcon(const std::wstring& text, fw::Icon* large, fw::Icon* small,
                    IconSizes sizes = IconSizes{});
// The same for a shell item given by its absolute identifier list.
void GetItemIdListIcon(LPCITEMIDLIST list, fw::Icon* large, fw::Icon* small,
                       IconSizes sizes = IconSizes{});
// The icons of a node's target at the sizes asked for: its identifier list when it has one,
// else its command. True when both came. The image lists take their pictures of targets
// from here.
bool GetNodeTargetIcons(const oVoiceBook& node, fw::Icon& large, fw::Icon& small, int largeSize,
                        int smallSize);

} // namespace shell
