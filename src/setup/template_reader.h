#pragma once
// Reads the first-run template (LarkB.ini) into the tree.
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <optional>
#include <string>

#include "setup/template_rules.h"

class oVoiceBook;

namespace setup {

class BookmarkQuestion;
class ProgramIndex;

// Fills a category linked to a shell folder; false when the program is ending, which stops
// the reading. The plain form fills in place.
using ShellFolderFill = std::function<bool(oVoiceBook& category, LPCITEMIDLIST list)>;
bool FillShellFolderInPlace(oVoiceBook& category, LPCITEMIDLIST list);

// Handles what the windows have been sent meanwhile; false when the program is ending,
// which stops the reading.
using KeepAnswering = std::function<bool()>;

struct TemplateOptions {
    ShellFolderFill fill = FillShellFolderInPlace;
    KeepAnswering keepAnswering; // none: no windows to answer for
    TemplateLimits limits;
};

enum class TemplateEnd {
    Whole,   // everything the template asks for was read
    Cut,     // a bound of TemplateLimits left the rest out
    Stopped, // the program is ending: what was read is not to be kept
};

class TemplateReader {
public:
    // `osMajor`: the running system's major version. `index`: the Start Menu's programs,
    // the last place a command's program is looked for.
    TemplateReader(std::wstring iniPath, DWORD osMajor, const ProgramIndex& index,
                   BookmarkQuestion& question, TemplateOptions options = {});

    // Reads `section` (and, through its sub-books, its sub-sections) into `parent`.
    void ReadSection(const std::wstring& section, oVoiceBook& parent);

    TemplateEnd End() const noexcept;

private:
    void ReadSectionAt(const std::wstring& section, oVoiceBook& parent, int depth);
    // False when the user declined the bookmarks: the rest of the section is not read.
    bool ReadSubBooks(const std::wstring& section, oVoiceBook& parent, int depth);
    void ReadCommands(const std::wstring& section, oVoiceBook& parent);
    bool AcceptBookmarks();
    void FillShellFolder(oVoiceBook& category, int specialFolder);

    // Whether one more value may be looked at (and a node made of it): false once the
    // reading has to end. Keeps the windows answering on the way.
    bool MayGoOn();
    bool MayAddNodes(int count);

    int ReadCount(const std::wstring& section, const wchar_t* key) const;
    std::wstring ReadValue(const std::wstring& section, const std::wstring& key) const;

    std::wstring iniPath_;
    DWORD osMajor_;
    const ProgramIndex& index_;
    BookmarkQuestion& question_;
    TemplateOptions options_;
    // The user's answer to the bookmark question, asked once a run.
    std::optional<bool> bookmarks_;
    int entries_ = 0;
    int nodes_ = 0;
    int shellFolders_ = 0;
    ULONGLONG nextAnswer_ = 0;
    bool cut_ = false;  // something was left out
    bool full_ = false; // ... and nothing more is read
    bool stopped_ = false;
};

// The tree-building part of the first run: section "Root" of `templatePath` read into
// `root` when the file exists; a missing template leaves the root as it is.
TemplateEnd ReadTemplate(oVoiceBook& root, const std::wstring& templatePath, DWORD osMajor,
                         const ProgramIndex& index, BookmarkQuestion& question,
                         TemplateOptions options = {});

} // namespace setup
