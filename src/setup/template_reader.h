#pragma once
// Reads the first-run template (LarkB.ini) into the tree.
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

class oVoiceBook;

namespace setup {

class BookmarkQuestion;
class ProgramIndex;

// Fills a category linked to a shell folder; false when the program is ending, which stops
// the reading. The plain form fills in place.
using ShellFolderFill = std::function<bool(oVoiceBook& category, LPCITEMIDLIST list)>;
bool FillShellFolderInPlace(oVoiceBook& category, LPCITEMIDLIST list);

class TemplateReader {
public:
    // `osMajor`: the running system's major version. `index`: the Start Menu's programs,
    // the last place a command's program is looked for.
    TemplateReader(std::wstring iniPath, DWORD osMajor, const ProgramIndex& index,
                   BookmarkQuestion& question, ShellFolderFill fill = FillShellFolderInPlace);

    // Reads `section` (and, through its sub-books, its sub-sections) into `parent`.
    void ReadSection(const std::wstring& section, oVoiceBook& parent);

    // Whether the bookmark question was answered Yes in this run.
    // Whether a fill reported the end of the program, so the reading stopped short.
    bool Stopped() const noexcept { return stopped_; }

private:
    void ReadSectionAt(const std::wstring& section, oVoiceBook& parent, int depth);
    // False when the user declined the bookmarks: the rest of the section is not read.
    bool ReadSubBooks(const std::wstring& section, oVoiceBook& parent, int depth);
    void ReadCommands(const std::wstring& section, oVoiceBook& parent);

    int ReadCount(const std::wstring& section, const wchar_t* key) const;
    std::wstring ReadValue(const std::wstring& section, const std::wstring& key) const;

    std::wstring iniPath_;
    DWORD osMajor_;
    const ProgramIndex& index_;
    BookmarkQuestion& question_;
    ShellFolderFill fill_;
    bool bookmarksAccepted_ = false;
    bool stopped_ = false;
};

// The tree-building part of the first run: section "Root" of `templatePath` read into
// `root` when the file exists; a missing template leaves the root as it is. False when a
// fill reported the end of the program.
bool ReadTemplate(oVoiceBook& root, const std::wstring& templatePath, DWORD osMajor,
                  const ProgramIndex& index, BookmarkQuestion& question,
                  ShellFolderFill fill = FillShellFolderInPlace);

} // namespace setup
