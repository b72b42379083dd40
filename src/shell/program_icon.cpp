#include "shell/program_icon.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <utility>

#include "model/voice_book.h"
#include "shell/launch.h"

namespace shell {
namespace {

// `source` is a path, or an identifier list when `flags` holds SHGFI_PIDL.
HICON SystemIcon(const wchar_t* source, UINT flags) {
    SHFILEINFOW info{};
    const auto list = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(source, 0, &info, sizeof(info), flags | SHGFI_SYSICONINDEX));
    if (!list)
        return nullptr;
    return ::ImageList_GetIcon(list, info.iIcon, ILD_NORMAL);
}

// The sizes with 0 as the system's; whether they are the system's own.
bool SystemSizes(IconSizes& sizes) {
    const int large = ::GetSystemMetrics(SM_CXICON);
    const int small = ::GetSystemMetrics(SM_CXSMICON);
    if (sizes.large <= 0)
        sizes.large = large;
    if (sizes.small <= 0)
        sizes.small = small;
    return sizes.large == large && sizes.small == small;
}

// Icon `index` of an icon file, program or library, read at `size` pixels.
HICON IconAt(const wchar_t* file, int index, int size) {
    HICON icon = nullptr;
    UINT id = 0;
    return ::PrivateExtractIconsW(file, index, size, size, &icon, &id, 1, 0) == 1 ? icon : nullptr;
}

// At the system's sizes the shell's own lists; at others the icon is read at the size from
// the file the shell names for it, and only where it names none (pictures made by a shell
// extension) taken from the shell's lists and scaled when drawn.
void Fill(const wchar_t* source, UINT flags, fw::Icon* large, fw::Icon* small, IconSizes sizes) {
    if (!SystemSizes(sizes)) {
        SHFILEINFOW info{};
        wchar_t file[MAX_PATH] = {};
        const bool named =
            ::SHGetFileInfoW(source, 0, &info, sizeof(info), flags | SHGFI_ICONLOCATION) &&
            info.szDisplayName[0];
        const DWORD length =
            named ? ::ExpandEnvironmentStringsW(info.szDisplayName, file, MAX_PATH) : 0;
        if (length > 0 && length <= MAX_PATH) {
            if (large)
                large->reset(IconAt(file, info.iIcon, sizes.large));
            if (small)
                small->reset(IconAt(file, info.iIcon, sizes.small));
        }
    }
    if (large && !*large)
        large->reset(SystemIcon(source, flags));
    if (small && !*small)
        small->reset(SystemIcon(source, flags | SHGFI_SMALLICON));
}

// A program's own first icon, which is what the shell shows for it; false (and nothing
// kept) when the file is not a program or has no icon in the sizes asked for.
bool OwnProgramIcon(const std::wstring& path, fw::Icon* large, fw::Icon* small, IconSizes sizes) {
    if (::lstrcmpiW(::PathFindExtensionW(path.c_str()), L".exe") != 0)
        return false;
    HICON l = nullptr;
    HICON s = nullptr;
    if (SystemSizes(sizes)) {
        ::ExtractIconExW(path.c_str(), 0, large ? &l : nullptr, small ? &s : nullptr, 1);
    } else {
        l = large ? IconAt(path.c_str(), 0, sizes.large) : nullptr;
        s = small ? IconAt(path.c_str(), 0, sizes.small) : nullptr;
    }
    fw::Icon ownedLarge(l), ownedSmall(s);
    if ((large && !ownedLarge) || (small && !ownedSmall))
        return false;
    if (large)
        *large = std::move(ownedLarge);
    if (small)
        *small = std::move(ownedSmall);
    return true;
}

} // namespace

void GetProgramIcon(const std::wstring& text, fw::Icon* large, fw::Icon* small, IconSizes sizes) {
    std::wstring path;
    ResolveProgramPath(text, path);
    // A file that is not there: a button whose target is gone keeps its own picture (some
    // shells answer any missing path with a generic one, slowly). Shell names, drive and
    // server roots have pictures of their own without being files.
    const bool shellName = path.compare(0, 2, L"::") == 0;
    if (!shellName && !::PathIsRootW(path.c_str()) && !::PathIsUNCServerW(path.c_str()) &&
        ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (large)
            large->reset();
        if (small)
            small->reset();
        return;
    }
    // Taken from the program itself first: some shells (Wine's) answer every program with
    // the generic picture of a file.
    if (OwnProgramIcon(path, large, small, sizes))
        return;
    Fill(path.c_str(), 0, large, small, sizes);
}

void GetItemIdListIcon(LPCITEMIDLIST list, fw::Icon* large, fw::Icon* small, IconSizes sizes) {
    if (large)
        large->reset();
    if (small)
        small->reset();
    if (list)
        Fill(reinterpret_cast<const wchar_t*>(list), SHGFI_PIDL, large, small, sizes);
}

bool GetNodeTargetIcons(const oVoiceBook& node, fw::Icon& large, fw::Icon& small, int largeSize,
                        int smallSize) {
    large.reset();
    small.reset();
    const IconSizes sizes{largeSize, smallSize};
    if (node.m_pidl)
        GetItemIdListIcon(node.m_pidl.get(), &large, &small, sizes);
    else if (!node.m_strCommand.empty())
        GetProgramIcon(node.m_strCommand, &large, &small, sizes);
    return large && small;
}

} // namespace shell
