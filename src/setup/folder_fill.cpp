#include "setup/folder_fill.h"

#include <commdlg.h>
#include <shlwapi.h>

#include <utility>
#include <vector>

#include "framework/com.h"
#include "framework/handle.h"
#include "framework/wait_cursor.h"
#include "model/pidl.h"
#include "model/voice_book.h"
#include "setup/node_values.h"
#include "setup/program_index.h"
#include "shell/launch.h"
#include "shell/limits.h"
#include "shell/shortcut.h"

namespace setup {
namespace {

constexpr SHCONTF kFoldersAndFiles = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS; // 0x60

std::wstring DisplayName(IShellFolder& folder, LPCITEMIDLIST item) {
    STRRET ret{};
    if (FAILED(folder.GetDisplayNameOf(item, SHGDN_NORMAL, &ret)))
        return {};
    std::vector<wchar_t> buf(shell::kPathUnits);
    // StrRetToBufW frees a string the shell allocated for the answer, also on failure.
    if (FAILED(::StrRetToBufW(&ret, item, buf.data(), static_cast<UINT>(buf.size()))))
        return {};
    return buf.data();
}

fw::ComPtr<IShellFolder> BindFolder(IShellFolder& desktop, LPCITEMIDLIST list) {
    if (model::PidlIsEmpty(list))
        return fw::ComPtr<IShellFolder>(&desktop);
    fw::ComPtr<IShellFolder> folder;
    desktop.BindToObject(list, nullptr, IID_IShellFolder, folder.put_void());
    return folder;
}

} // namespace

std::wstring FileTitle(const std::wstring& path) {
    std::vector<wchar_t> buf(shell::kPathUnits);
    if (::GetFileTitleW(path.c_str(), buf.data(), static_cast<WORD>(buf.size())) != 0 || !buf[0])
        return path;
    return buf.data();
}

oVoiceBook* AddFileAsButton(oVoiceBook& category, const std::wstring& path) {
    const std::wstring name = FileTitle(path);
    if (!shell::IsShortcutFile(path))
        return AddPlainFileButton(category, name, path);
    shell::ShortcutInfo link;
    if (shell::ReadShortcut(path, link))
        return AddShortcutButton(category, name, link);
    fw::Pidl list;
    if (shell::ReadShortcutIdList(path, list, &link))
        return AddShellItemButton(category, name, std::move(list), &link);
    return nullptr;
}

void FillFromFolder(oVoiceBook& category, const std::wstring& folder, bool takeSubFolders) {
    fw::WaitCursor wait;
    ForEachFolderEntry(
        folder,
        [&](const std::wstring& full, const WIN32_FIND_DATAW&) { AddFileAsButton(category, full); },
        [&](const std::wstring& full, const WIN32_FIND_DATAW&) {
            if (!takeSubFolders)
                return;
            oVoiceBook* sub = AddSubFolderCategory(category, FileTitle(full));
            FillFromFolder(*sub, full, true);
        });
}

void FillFromShellFolder(oVoiceBook& category, LPCITEMIDLIST list) {
    if (!list)
        return;
    fw::ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.put())))
        return;
    fw::ComPtr<IShellFolder> folder = BindFolder(*desktop.get(), list);
    if (!folder)
        return;
    fw::ComPtr<IEnumIDList> items;
    // S_FALSE means nothing to enumerate and may leave no enumerator.
    if (folder->EnumObjects(::GetDesktopWindow(), kFoldersAndFiles, items.put()) != S_OK || !items)
        return;
    for (;;) {
        fw::Pidl item;
        ULONG fetched = 0;
        if (items->Next(1, item.put(), &fetched) != S_OK || fetched != 1 || !item)
            break;
        fw::Pidl absolute(::ILCombine(list, item.get()));
        if (!absolute)
            continue;
        const std::wstring path = shell::PathFromItemIdList(absolute.get());
        if (!path.empty()) {
            AddFileAsButton(category, path);
            continue;
        }
        AddShellItemButton(category, DisplayName(*folder.get(), item.get()), std::move(absolute),
                           nullptr);
    }
}

} // namespace setup
