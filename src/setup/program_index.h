#pragma once
// The programs the user's Start Menu links to, by file name; lives for one first run.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

class ProgramIndex {
public:
    // Adds every program below `folder`: plain files as they are, shortcuts by the file
    // their target names. Hidden, system and temporary entries are left out.
    void Build(const std::wstring& folder);
    // Build on the user's own Start Menu.
    void BuildFromStartMenu();

    void Add(std::wstring fullPath, std::wstring fileName);
    // The full path of the first entry whose file name equals `fileName` ignoring case.
    const std::wstring* Find(std::wstring_view fileName) const;
    void Clear() noexcept;
    size_t size() const noexcept { return paths_.size(); }

    // The part of a path after its last backslash.
    static std::wstring FileNameOf(const std::wstring& path);

private:
    std::vector<std::wstring> paths_;
    std::vector<std::wstring> names_;
};

// Entries that scans of folders leave out: hidden, system or temporary ones.
bool IsSkippedEntry(DWORD attributes) noexcept;
// A sub-folder a scan descends into: not "." or "..", and not a link to elsewhere (a
// junction can point back up the tree and make a scan endless).
bool IsScannableSubFolder(const WIN32_FIND_DATAW& entry) noexcept;

// Calls `file(fullPath, entry)` for each file and `subFolder(fullPath, entry)` for each
// scannable sub-folder of `folder`, leaving out skipped entries. A folder that cannot be
// listed gives nothing.
void ForEachFolderEntry(
    const std::wstring& folder,
    const std::function<void(const std::wstring&, const WIN32_FIND_DATAW&)>& file,
    const std::function<void(const std::wstring&, const WIN32_FIND_DATAW&)>& subFolder);

} // namespace setup
