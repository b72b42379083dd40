#include "setup/program_index.h"

#include <shlobj.h>

#include "framework/handle.h"
#include "framework/text.h"
#include "shell/shortcut.h"

namespace setup {

bool IsSkippedEntry(DWORD attributes) noexcept {
    return (attributes &
            (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY)) != 0;
}

bool IsScannableSubFolder(const WIN32_FIND_DATAW& entry) noexcept {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    const std::wstring_view name = entry.cFileName;
    return name != L"." && name != L"..";
}

void ForEachFolderEntry(
    const std::wstring& folder,
    const std::function<void(const std::wstring&, const WIN32_FIND_DATAW&)>& file,
    const std::function<void(const std::wstring&, const WIN32_FIND_DATAW&)>& subFolder) {
    WIN32_FIND_DATAW entry{};
    fw::FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find)
        return;
    do {
        if (IsSkippedEntry(entry.dwFileAttributes))
            continue;
        const std::wstring full = folder + L"\\" + entry.cFileName;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            file(full, entry);
        else if (IsScannableSubFolder(entry))
            subFolder(full, entry);
    } while (::FindNextFileW(find.get(), &entry));
}

void ProgramIndex::Build(const std::wstring& folder) {
    ForEachFolderEntry(
        folder,
        [this](const std::wstring& full, const WIN32_FIND_DATAW& entry) {
            if (!shell::IsShortcutFile(full)) {
                Add(full, entry.cFileName);
                return;
            }
            shell::ShortcutInfo link;
            if (shell::ReadShortcut(full, link, 0) && link.target.find(L'\\') != std::wstring::npos)
                Add(link.target, FileNameOf(link.target));
        },
        [this](const std::wstring& full, const WIN32_FIND_DATAW&) { Build(full); });
}

void ProgramIndex::BuildFromStartMenu() {
    wchar_t folder[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_STARTMENU, nullptr, 0, folder)) && folder[0])
        Build(folder);
}

void ProgramIndex::Add(std::wstring fullPath, std::wstring fileName) {
    paths_.push_back(std::move(fullPath));
    names_.push_back(std::move(fileName));
}

const std::wstring* ProgramIndex::Find(std::wstring_view fileName) const {
    for (size_t i = 0; i < names_.size(); ++i) {
        if (fw::EqualsNoCase(names_[i], fileName))
            return &paths_[i];
    }
    return nullptr;
}

void ProgramIndex::Clear() noexcept {
    paths_.clear();
    names_.clear();
}

std::wstring ProgramIndex::FileNameOf(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace setup
