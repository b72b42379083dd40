#pragma once
// Icons inside files (programs, libraries, icon files) and the run's list of recently used
// icon files.
#include <functional>
#include <string>
#include <vector>

#include "framework/gdi.h"

namespace dialogs {

// How many icons the file holds (0 for none, or for a file that is not one of icons).
int CountIcons(const std::wstring& file);
// The large icon at `index` by the system's single-icon extraction; empty when there is none
// (also for a file that is neither a program nor an icon file). With `size` the icon is read
// at that size rather than the system's.
fw::Icon ExtractSingleIcon(const std::wstring& file, int index, int size = 0);

// Icon files used lately, shared by every opening of the icon picker during one run and
// never saved.
struct RecentIconFiles {
    std::vector<std::wstring> entries;
};
// The list of this run.
RecentIconFiles& RecentIconFilesOfRun();
// The entries an empty list starts with, upper case: the program's own icon library (in
// `programFolder`, which ends with a separator) first, then the system's icon files; only those
// that `exists` finds, so none is offered that shows nothing.
std::vector<std::wstring> SeedIconFiles(const std::wstring& programFolder,
                                        const std::wstring& systemFolder,
                                        const std::wstring& windowsFolder,
                                        const std::function<bool(const std::wstring&)>& exists);
// The same from the program's and the system's folders, for the files on the disk.
std::vector<std::wstring> SeedIconFiles();
// Index of `path` among `entries` ignoring letter case; -1 when absent.
int FindIconFile(const std::vector<std::wstring>& entries, const std::wstring& path);
std::wstring UpperCase(std::wstring text);

} // namespace dialogs
