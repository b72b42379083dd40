#include "shell/shortcut.h"

#include <shlobj.h>

#include "shell/limits.h"

namespace shell {
namespace {

constexpr DWORD kResolveQuietly = 0x1 | 0x2; // SLR_NO_UI | SLR_ANY_MATCH

// The link object with `file` loaded and resolved, or null.
fw::ComPtr<IShellLinkW> OpenLink(const std::wstring& file) {
    fw::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link.put_void())))
        return {};
    fw::ComPtr<IPersistFile> persist = link.As<IPersistFile>();
    if (!persist || FAILED(persist->Load(file.c_str(), STGM_READ)))
        return {};
    if (FAILED(link->Resolve(::GetDesktopWindow(), kResolveQuietly)))
        return {};
    return link;
}

bool ReadIconAndShow(IShellLinkW& link, ShortcutInfo& out, bool icon, bool show) {
    if (icon) {
        wchar_t buf[kShortcutFieldUnits] = {};
        int index = 0;
        if (FAILED(link.GetIconLocation(buf, kShortcutFieldUnits, &index)))
            return false;
        buf[kShortcutFieldUnits - 1] = L'\0';
        out.iconFile = buf;
        out.iconIndex = index;
    }
    if (show) {
        int showCmd = 0;
        if (FAILED(link.GetShowCmd(&showCmd)))
            return false;
        out.showCmd = showCmd;
    }
    return true;
}

// Reads one text field into a buffer of the shortcut limit.
template <class Getter> bool ReadField(Getter get, std::wstring& out) {
    wchar_t buf[kShortcutFieldUnits] = {};
    if (FAILED(get(buf, static_cast<int>(kShortcutFieldUnits))))
        return false;
    buf[kShortcutFieldUnits - 1] = L'\0';
    out = buf;
    return true;
}

} // namespace

bool IsShortcutFile(const std::wstring& path) {
    SHFILEINFOW info{};
    if (!::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ATTRIBUTES))
        return false;
    return (info.dwAttributes & SFGAO_LINK) != 0;
}

bool ReadShortcut(const std::wstring& file, ShortcutInfo& out, unsigned fields) {
    out = ShortcutInfo();
    fw::ComInit com;
    fw::ComPtr<IShellLinkW> link = OpenLink(file);
    if (!link)
        return false;
    WIN32_FIND_DATAW find{};
    if (!ReadField([&](wchar_t* b, int n) { return link->GetPath(b, n, &find, 0); }, out.target))
        return false;
    if ((fields & kShortcutArguments) &&
        !ReadField([&](wchar_t* b, int n) { return link->GetArguments(b, n); }, out.arguments))
        return false;
    if ((fields & kShortcutWorkDir) &&
        !ReadField([&](wchar_t* b, int n) { return link->GetWorkingDirectory(b, n); }, out.workDir))
        return false;
    if (!ReadIconAndShow(*link.get(), out, (fields & kShortcutIcon) != 0,
                         (fields & kShortcutShow) != 0))
        return false;
    return !out.target.empty();
}

bool ReadShortcutIdList(const std::wstring& file, fw::Pidl& list, ShortcutInfo* iconAndShow) {
    list.reset();
    if (iconAndShow)
        *iconAndShow = ShortcutInfo();
    fw::ComInit com;
    fw::ComPtr<IShellLinkW> link = OpenLink(file);
    if (!link)
        return false;
    fw::Pidl read;
    if (FAILED(link->GetIDList(read.put())) || !read)
        return false;
    if (iconAndShow && !ReadIconAndShow(*link.get(), *iconAndShow, true, true))
        return false;
    list = std::move(read);
    return true;
}

} // namespace shell
