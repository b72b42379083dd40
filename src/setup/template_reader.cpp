#include "setup/template_reader.h"

#include <shlobj.h>

#include <optional>
#include <vector>

#include "framework/com.h"
#include "model/voice_book.h"
#include "setup/bookmark_question.h"
#include "setup/folder_fill.h"
#include "setup/node_values.h"
#include "setup/program_index.h"
#include "setup/template_rules.h"
#include "shell/launch.h"

namespace setup {
namespace {
// Sub-sections nested deeper than this are not read (each level costs stack).
constexpr int kMaxSectionDepth = 64;
} // namespace

bool FillShellFolderInPlace(oVoiceBook& category, LPCITEMIDLIST list) {
    FillFromShellFolder(category, list);
    return true;
}

TemplateReader::TemplateReader(std::wstring iniPath, DWORD osMajor, const ProgramIndex& index,
                               BookmarkQuestion& question, ShellFolderFill fill)
    : iniPath_(std::move(iniPath)), osMajor_(osMajor), index_(index), question_(question),
      fill_(std::move(fill)) {}

void TemplateReader::ReadSection(const std::wstring& section, oVoiceBook& parent) {
    ReadSectionAt(section, parent, 0);
}

void TemplateReader::ReadSectionAt(const std::wstring& section, oVoiceBook& parent, int depth) {
    if (depth > kMaxSectionDepth || stopped_)
        return;
    if (ReadSubBooks(section, parent, depth))
        ReadCommands(section, parent);
}

bool TemplateReader::ReadSubBooks(const std::wstring& section, oVoiceBook& parent, int depth) {
    const int count = ReadCount(section, L"NumSubBooks");
    for (int d = 1; d <= count; ++d) {
        const std::optional<SubBookEntry> entry =
            ParseSubBook(ReadValue(section, EntryKey(L"SubBook", d)));
        if (!entry)
            continue;
        // The template keeps its bookmarks in the last sub-book: ask before it, once a run.
        if (IsBookmarkSubBook(d, count, entry->name) && !bookmarksAccepted_) {
            if (!question_.AskCreateBookmarks())
                return false;
            bookmarksAccepted_ = true;
        }
        const SubBookPlan plan = PlanSubBook(entry->id, osMajor_);
        if (plan.kind == SubBookKind::Skip)
            continue;
        oVoiceBook* category = AddTemplateCategory(parent, entry->name);
        if (plan.kind == SubBookKind::Plain) {
            category->m_nDefaultImage = plan.defaultImage;
        } else {
            // A special folder this system does not know leaves an empty plain category.
            fw::Pidl list;
            if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, plan.specialFolder, list.put())) &&
                list) {
                category->SetPidl(std::move(list));
                if (!fill_(*category, category->m_pidl.get())) {
                    stopped_ = true;
                    return false;
                }
            }
        }
        ReadSectionAt(SubSectionName(section, entry->name), *category, depth + 1);
    }
    return true;
}

void TemplateReader::ReadCommands(const std::wstring& section, oVoiceBook& parent) {
    const int count = ReadCount(section, L"NumCommands");
    for (int d = 1; d <= count; ++d) {
        const std::optional<CommandEntry> entry =
            ParseCommand(ReadValue(section, EntryKey(L"Command", d)));
        if (!entry)
            continue;
        if (shell::IsWebAddress(entry->target)) {
            AddTemplateButton(parent, entry->name, entry->target, std::wstring())->m_nDefaultImage =
                entry->image;
            continue;
        }
        std::wstring path;
        if (shell::ResolveProgramPath(entry->target, path)) {
            AddTemplateButton(parent, entry->name, path, entry->arguments);
        } else if (const std::wstring* indexed = index_.Find(entry->target)) {
            AddTemplateButton(parent, entry->name, *indexed, entry->arguments);
        }
        // Otherwise the program is not installed here: no button.
    }
}

int TemplateReader::ReadCount(const std::wstring& section, const wchar_t* key) const {
    const UINT raw = ::GetPrivateProfileIntW(section.c_str(), key, 0, iniPath_.c_str());
    return ClampEntryCount(static_cast<int>(raw));
}

std::wstring TemplateReader::ReadValue(const std::wstring& section, const std::wstring& key) const {
    std::vector<wchar_t> buf(kTemplateValueUnits);
    const DWORD n = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buf.data(),
                                               static_cast<DWORD>(buf.size()), iniPath_.c_str());
    return KeptTemplateValue(std::wstring(buf.data(), n < buf.size() ? n : buf.size() - 1));
}

bool ReadTemplate(oVoiceBook& root, const std::wstring& templatePath, DWORD osMajor,
                  const ProgramIndex& index, BookmarkQuestion& question, ShellFolderFill fill) {
    if (::GetFileAttributesW(templatePath.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true;
    TemplateReader reader(templatePath, osMajor, index, question, std::move(fill));
    reader.ReadSection(kRootSection, root);
    return !reader.Stopped();
}

} // namespace setup
