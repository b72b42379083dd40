#pragma once
// Writes real shortcut (.lnk) files through the shell's link object, for tests.
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace test {

struct ShortcutFields {
    std::wstring target;
    std::wstring arguments;
    std::wstring workDir;
    std::wstring iconFile;
    int iconIndex = 0;
    int showCmd = SW_SHOWNORMAL;
    LPCITEMIDLIST idList = nullptr; // used instead of `target` when set
};

bool WriteShortcut(const std::wstring& path, const ShortcutFields& fields);

} // namespace test
