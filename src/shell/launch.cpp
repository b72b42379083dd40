#include "shell/launch.h"

#include <shellapi.h>

#include <vector>

#include "framework/handle.h"
#include "shell/limits.h"
#include "shell/shortcut.h"

namespace shell {
namespace {

constexpr wchar_t kAppPathsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
// A shortcut may name another shortcut; a chain that long is a loop, not a real target.
constexpr int kMaxShortcutHops = 8;
constexpr ULONG kItemIdListMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI; // 0x40C

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SearchOnPath(const std::wstring& text, std::wstring& found) {
    std::vector<wchar_t> buf(kPathUnits);
    DWORD n = ::SearchPathW(nullptr, text.c_str(), nullptr, static_cast<DWORD>(buf.size()),
                            buf.data(), nullptr);
    if (n >= buf.size()) {
        // Longer than our path buffer: take it whole, then cut it like every other path.
        buf.resize(n + 1);
        n = ::SearchPathW(nullptr, text.c_str(), nullptr, static_cast<DWORD>(buf.size()),
                          buf.data(), nullptr);
        if (n >= buf.size())
            return false;
    }
    if (n == 0)
        return false;
    found = ExpandEnvironment(std::wstring(buf.data(), n));
    return true;
}

bool LookUpAppPath(const std::wstring& text, std::wstring& found) {
    fw::RegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kAppPathsKey + text).c_str(), 0, KEY_QUERY_VALUE,
                        key.put()) != ERROR_SUCCESS)
        return false;
    wchar_t data[kAppPathValueBytes / sizeof(wchar_t)] = {};
    DWORD type = 0;
    DWORD bytes = sizeof(data);
    const LONG status = ::RegQueryValueExW(key.get(), nullptr, nullptr, &type,
                                           reinterpret_cast<BYTE*>(data), &bytes);
    const std::wstring value = AppPathFromValue(status, type, data, bytes);
    if (value.empty())
        return false;
    found = ExpandEnvironment(value);
    return true;
}

bool ShellOpen(const std::wstring& path, const std::wstring& arguments, const std::wstring& workDir,
               int showCmd) {
    const HINSTANCE result = ::ShellExecuteW(nullptr, L"open", path.c_str(),
                                             arguments.empty() ? nullptr : arguments.c_str(),
                                             workDir.empty() ? nullptr : workDir.c_str(), showCmd);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool RunTargetAt(const std::wstring& path, const std::wstring& arguments,
                 const std::wstring& workDir, int showCmd, int hops) {
    if (!IsShortcutFile(path))
        return ShellOpen(path, arguments, workDir, showCmd);
    if (hops >= kMaxShortcutHops)
        return false;
    ShortcutInfo link;
    if (ReadShortcut(path, link, kShortcutArguments | kShortcutWorkDir | kShortcutShow))
        return RunTargetAt(link.target, link.arguments, link.workDir, link.showCmd, hops + 1);
    fw::Pidl list;
    ShortcutInfo iconAndShow;
    if (!ReadShortcutIdList(path, list, &iconAndShow))
        return false;
    return RunItemIdList(list.get(), nullptr, iconAndShow.showCmd);
}

} // namespace

bool IsWebAddress(std::wstring_view command) noexcept {
    return command.find(L"://") != std::wstring_view::npos;
}

RunRoute ChooseRunRoute(int32_t kind, bool hasItemIdList) noexcept {
    switch (kind & 0xF0) {
    case 0x10:
        return hasItemIdList ? RunRoute::ItemIdList : RunRoute::Target;
    case 0x20:
        return RunRoute::Nothing;
    default:
        return RunRoute::Fail;
    }
}

const std::wstring& ChooseArguments(const std::wstring& replacement,
                                    const std::wstring& stored) noexcept {
    return replacement.empty() ? stored : replacement;
}

std::wstring AppPathFromValue(LONG status, DWORD type, const void* data, DWORD bytes) {
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || !data ||
        bytes > kAppPathValueBytes)
        return {};
    // Registry strings need not be terminated; stop at the first terminator or the end.
    const auto* text = static_cast<const wchar_t*>(data);
    const size_t units = bytes / sizeof(wchar_t);
    size_t len = 0;
    while (len < units && text[len] != L'\0')
        ++len;
    return std::wstring(text, len);
}

std::wstring ExpandEnvironment(const std::wstring& text) {
    const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0)
        return CutToBuffer(text, kPathUnits);
    std::vector<wchar_t> buf(needed + 1);
    const DWORD n =
        ::ExpandEnvironmentStringsW(text.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0 || n > buf.size())
        return CutToBuffer(text, kPathUnits);
    return CutToBuffer(std::wstring(buf.data()), kPathUnits);
}

bool ResolveProgramPath(const std::wstring& text, std::wstring& path) {
    path = text;
    if (text.empty())
        return false;
    if (text.find(L'\\') != std::wstring::npos && Exists(text))
        return true;
    std::wstring found;
    if (SearchOnPath(text, found) || LookUpAppPath(text, found)) {
        path = found;
        return true;
    }
    return false;
}

bool RunTarget(const std::wstring& path, const std::wstring& arguments, const std::wstring& workDir,
               int showCmd) {
    return RunTargetAt(path, arguments, workDir, showCmd, 0);
}

std::wstring PathFromItemIdList(LPCITEMIDLIST list) {
    if (!list)
        return {};
    std::vector<wchar_t> buf(kPathUnits);
    if (!::SHGetPathFromIDListEx(list, buf.data(), static_cast<DWORD>(buf.size()), GPFIDL_DEFAULT))
        return {};
    return std::wstring(buf.data());
}

bool RunItemIdList(LPCITEMIDLIST list, const wchar_t* verb, int showCmd) {
    if (!list)
        return false;
    const std::wstring path = PathFromItemIdList(list);
    if (!path.empty())
        return RunTarget(path, std::wstring(), std::wstring(), showCmd);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = kItemIdListMask;
    info.hwnd = ::GetDesktopWindow();
    info.lpVerb = verb;
    info.nShow = showCmd;
    info.lpIDList = const_cast<LPITEMIDLIST>(list);
    return ::ShellExecuteExW(&info) != FALSE;
}

} // namespace shell
