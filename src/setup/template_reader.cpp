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

// How often a long reading lets the windows handle what they have been sent.
constexpr ULONGLONG kAnswerEveryMs = 50;

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A program named by a path with environment variables (%ProgramFiles%\...) is taken from
// there when it is there, else looked for by its plain name; any other name is looked for
// as written, on the search path, under App Paths, then in the Start Menu.
bool FindProgram(const std::wstring& target, const ProgramIndex& index, std::wstring& path) {
    std::wstring name = target;
    if (target.find(L'%') != std::wstring::npos) {
        path = shell::ExpandEnvironment(target);
        if (Exists(path))
            return true;
        name = ProgramIndex::FileNameOf(target);
    }
    if (shell::ResolveProgramPath(name, path))
        return true;
    if (const std::wstring* indexed = index.Find(name)) {
        path = *indexed;
        return true;
    }
    return false;
}

int CountChildren(const oVoiceBook& category) {
    int count = 0;
    for (const oVoiceBook* c = category.FirstChild(); c; c = c->Next())
        ++count;
    return count;
}

} // namespace

bool FillShellFolderInPlace(oVoiceBook& category, LPCITEMIDLIST list) {
    FillFromShellFolder(category, list);
    return true;
}

TemplateReader::TemplateReader(std::wstring iniPath, DWORD osMajor, const ProgramIndex& index,
                               BookmarkQuestion& question, TemplateOptions options)
    : iniPath_(std::move(iniPath)), osMajor_(osMajor), index_(index), question_(question),
      options_(std::move(options)) {}

void TemplateReader::ReadSection(const std::wstring& section, oVoiceBook& parent) {
    ReadSectionAt(section, parent, 0);
}

TemplateEnd TemplateReader::End() const noexcept {
    if (stopped_)
        return TemplateEnd::Stopped;
    return cut_ ? TemplateEnd::Cut : TemplateEnd::Whole;
}

void TemplateReader::ReadSectionAt(const std::wstring& section, oVoiceBook& parent, int depth) {
    if (ReadSubBooks(section, parent, depth))
        ReadCommands(section, parent);
}

bool TemplateReader::ReadSubBooks(const std::wstring& section, oVoiceBook& parent, int depth) {
    const int count = ReadCount(section, L"NumSubBooks");
    for (int d = 1; d <= count; ++d) {
        if (!MayGoOn())
            return false;
        const std::optional<SubBookEntry> entry =
            ParseSubBook(ReadValue(section, EntryKey(L"SubBook", d)));
        if (!entry)
            continue;
        // The template keeps its bookmarks in the last sub-book: ask before it.
        if (IsBookmarkSubBook(d, count, entry->name) && !AcceptBookmarks())
            return false;
        const SubBookPlan plan = PlanSubBook(entry->id, osMajor_);
        if (plan.kind == SubBookKind::Skip)
            continue;
        const bool shellFolder = plan.kind == SubBookKind::ShellFolder;
        if (depth >= options_.limits.depth ||
            (shellFolder && shellFolders_ >= options_.limits.shellFolders)) {
            cut_ = true;
            continue;
        }
        if (!MayAddNodes(1))
            return false;
        oVoiceBook* category = AddTemplateCategory(parent, entry->name);
        if (shellFolder) {
            ++shellFolders_;
            FillShellFolder(*category, plan.specialFolder);
            if (stopped_)
                return false;
        } else {
            category->m_nDefaultImage = plan.defaultImage;
        }
        ReadSectionAt(SubSectionName(section, entry->name), *category, depth + 1);
    }
    return true;
}

void TemplateReader::FillShellFolder(oVoiceBook& category, int specialFolder) {
    // A special folder this system does not know leaves an empty plain category.
    fw::Pidl list;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, specialFolder, list.put())) || !list)
        return;
    category.SetPidl(std::move(list));
    if (!options_.fill(category, category.m_pidl.get())) {
        stopped_ = true;
        return;
    }
    // What the folder holds counts too; past the bound the rest of the template is left out.
    MayAddNodes(CountChildren(category));
}

bool TemplateReader::AcceptBookmarks() {
    // One answer for the run: a No is not asked again for every section further down.
    if (!bookmarks_)
        bookmarks_ = question_.AskCreateBookmarks();
    return *bookmarks_;
}

void TemplateReader::ReadCommands(const std::wstring& section, oVoiceBook& parent) {
    const int count = ReadCount(section, L"NumCommands");
    for (int d = 1; d <= count; ++d) {
        if (!MayGoOn())
            return;
        const std::optional<CommandEntry> entry =
            ParseCommand(ReadValue(section, EntryKey(L"Command", d)));
        if (!entry)
            continue;
        std::wstring path;
        if (shell::IsWebAddress(entry->target)) {
            if (!MayAddNodes(1))
                return;
            AddTemplateButton(parent, entry->name, entry->target, std::wstring())->m_nDefaultImage =
                entry->image;
        } else if (FindProgram(entry->target, index_, path)) {
            if (!MayAddNodes(1))
                return;
            AddTemplateButton(parent, entry->name, path, entry->arguments);
        }
        // Otherwise the program is not installed here: no button.
    }
}

bool TemplateReader::MayGoOn() {
    if (stopped_ || full_)
        return false;
    if (++entries_ > options_.limits.entries) {
        full_ = cut_ = true;
        return false;
    }
    if (options_.keepAnswering && ::GetTickCount64() >= nextAnswer_) {
        if (!options_.keepAnswering()) {
            stopped_ = true;
            return false;
        }
        nextAnswer_ = ::GetTickCount64() + kAnswerEveryMs;
    }
    return true;
}

bool TemplateReader::MayAddNodes(int count) {
    if (nodes_ + count > options_.limits.nodes)
        full_ = cut_ = true;
    nodes_ += count;
    return !full_;
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

TemplateEnd ReadTemplate(oVoiceBook& root, const std::wstring& templatePath, DWORD osMajor,
                         const ProgramIndex& index, BookmarkQuestion& question,
                         TemplateOptions options) {
    if (!Exists(templatePath))
        return TemplateEnd::Whole;
    TemplateReader reader(templatePath, osMajor, index, question, std::move(options));
    reader.ReadSection(kRootSection, root);
    return reader.End();
}

} // namespace setup
