#include "shell/program_icon.h"

#include <shellapi.h>

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

} // namespace

void GetProgramIcon(const std::wstring& text, fw::Icon* large, fw::Icon* small) {
    std::wstring path;
    ResolveProgramPath(text, path);
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
        GetItemIdListIcon(node.m_pidl, &large, &small);
    else if (!node.m_strCommand.empty())
        GetProgramIcon(node.m_strCommand, &large, &small);
    return large && small;
}

} // namespace shell
