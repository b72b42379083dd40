#pragma once
// Reading shortcut (.lnk) files through the shell's link object.
#include <windows.h>

#include <string>

#include "framework/com.h"

namespace shell {

// What a shortcut holds; every text at most kShortcutFieldUnits - 1 characters.
struct ShortcutInfo {
    std::wstring target;
    std::wstring arguments;
    std::wstring workDir;
    std::wstring iconFile;
    int iconIndex = 0;
    int showCmd = 0;
};

// The fields besides the target that a read asks for; a field that is asked for and
// cannot be read fails the whole read.
enum : unsigned {
    kShortcutArguments = 0x1,
    kShortcutWorkDir = 0x2,
    kShortcutShow = 0x4,
    kShortcutIcon = 0x8,
    kShortcutAll = 0xF,
};

// True when the shell reports `path` as a shortcut (link attribute).
bool IsShortcutFile(const std::wstring& path);

// A shortcut to a file: succeeds only with a non-empty target path.
bool ReadShortcut(const std::wstring& file, ShortcutInfo& out, unsigned fields = kShortcutAll);

// A shortcut by its identifier list (also shell items without a path). `iconAndShow`, when
// given, receives the icon location and the show state. The caller owns `list`.
bool ReadShortcutIdList(const std::wstring& file, fw::Pidl& list,
                        ShortcutInfo* iconAndShow = nullptr);

} // namespace shell
