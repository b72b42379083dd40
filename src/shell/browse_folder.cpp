#include "shell/browse_folder.h"

#include <shlobj.h>

#include "framework/com.h"
#include "framework/resources.h"
#include "framework/text.h"
#include "resource.h"
#include "shell/launch.h"
#include "shell/messages.h"

namespace shell {
namespace {
constexpr size_t kDisplayNameBytes = 520; // what the folder browser writes at most
}

bool BrowseForFolder(HWND owner, int rootCsidl, std::wstring& displayName, std::wstring& path) {
    return ChooseFolder(owner, rootCsidl, displayName, path) == FolderChoice::Chosen;
}

FolderChoice ChooseFolder(HWND owner, int rootCsidl, std::wstring& displayName,
                          std::wstring& path) {
    displayName.clear();
    path.clear();
    fw::CoTaskMem<wchar_t> name(static_cast<wchar_t*>(::CoTaskMemAlloc(kDisplayNameBytes)));
    if (!name)
        return FolderChoice::Cancelled;
    name.get()[0] = L'\0';
    fw::Pidl root;
    if (FAILED(::SHGetSpecialFolderLocation(owner, rootCsidl, root.put())))
        return FolderChoice::Cancelled;
    const std::wstring title = fw::LoadResString(IDS_SELECT_FOLDER);

    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = name.get();
    info.lpszTitle = title.c_str();
    fw::Pidl chosen(::SHBrowseForFolderW(&info));
    if (!chosen)
        return FolderChoice::Cancelled;
    name.get()[kDisplayNameBytes / sizeof(wchar_t) - 1] = L'\0';
    displayName = name.get();
    path = PathFromItemIdList(chosen.get());
    if (!path.empty())
        return FolderChoice::Chosen;
    ShowMessage(
        owner, fw::FormatText(fw::LoadResString(IDS_CANT_FIND_FOLDER).c_str(), displayName.c_str()),
        MB_OK | MB_ICONINFORMATION);
    return FolderChoice::WithoutPath;
}

} // namespace shell
