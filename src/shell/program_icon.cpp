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

void Fill(const wchar_t* source, UINT flags, fw::Icon* large, fw::Icon* small) {
    if (large)
        large->reset(SystemIcon(source, flags));
    if (small)
        small->reset(SystemIcon(source, flags | SHGFI_SMALLICON));
}

// A program's own first icon, which is what the shell shows for it; false (and nothing
// kept) when the file is not a program or has no icon in the sizes asked for.
bool OwnProgramIcon(const std::wstring& path, fw::Icon* large, fw::Icon* small) {
    if (::lstrcmpiW(::PathFindExtensionW(path.c_str()), L".exe") != 0)
        return false;
    HICON l = nullptr;
    HICON s = nullptr;
    ::ExtractIconExW(path.c_str(), 0, large ? &l : nullptr, small ? &s : nullptr, 1);
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

void GetProgramIcon(const std::wstring& text, fw::Icon* large, fw::Icon* small) {
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
    if (OwnProgramIcon(path, large, small))
        return;
    Fill(path.c_str(), 0, large, small);
}

void GetItemIdListIcon(LPCITEMIDLIST list, fw::Icon* large, fw::Icon* small) {
    if (large)
        large->reset();
    if (small)
        small->reset();
    if (list)
        Fill(reinterpret_cast<const wchar_t*>(list), SHGFI_PIDL, large, small);
}

bool GetNodeTargetIcons(const oVoiceBook& node, fw::Icon& large, fw::Icon& small) {
    large.reset();
    small.reset();
    if (node.m_pidl)
        GetItemIdListIcon(node.m_pidl.get(), &large, &small);
    else if (!node.m_strCommand.empty())
        GetProgramIcon(node.m_strCommand, &large, &small);
    return large && small;
}

} // namespace shell
