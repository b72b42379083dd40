#include "shell/launch.h"

#include <shellapi.h>

#include <cwchar>
#include <cwctype>
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

// `text` with its environment variables expanded, whole, as the shell expands it.
std::wstring ExpandedWhole(const std::wstring& text) {
    std::vector<wchar_t> buf(::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0) + 1);
    const DWORD n =
        ::ExpandEnvironmentStringsW(text.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    return n > 0 && n <= buf.size() ? std::wstring(buf.data()) : text;
}

// The scheme of a web address ("http" of "http://..."), when it is one a class can be named
// by: a letter, then letters, digits, '+', '-' and '.', at most 32 of them.
std::wstring SchemeOf(const std::wstring& address) {
    const size_t colon = address.find(L':');
    if (colon == 0 || colon == std::wstring::npos || colon > 32 || !::iswalpha(address[0]))
        return {};
    for (size_t i = 0; i < colon; ++i)
        if (!::iswalnum(address[i]) && !std::wcschr(L"+-.", address[i]))
            return {};
    return address.substr(0, colon);
}

bool UnderWine() {
    static const bool wine = [] {
        const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
    }();
    return wine;
}

bool ShellOpen(const std::wstring& path, const std::wstring& arguments, const std::wstring& workDir,
               int showCmd) {
    const wchar_t* args = arguments.empty() ? nullptr : arguments.c_str();
    const wchar_t* folder = workDir.empty() ? nullptr : workDir.c_str();
    switch (ChooseShellRoute(path, arguments, workDir, UnderWine())) {
    case ShellRoute::Refuse:
        return false;
    case ShellRoute::Open:
        break;
    case ShellRoute::OpenByScheme: {
        // Expanded here: by this way the shell expands nothing.
        const std::wstring address = ExpandedWhole(path);
        const std::wstring scheme = SchemeOf(address);
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
        info.lpVerb = L"open";
        info.lpFile = address.c_str();
        info.lpParameters = args;
        info.lpDirectory = folder;
        info.nShow = showCmd;
        info.lpClass = scheme.c_str();
        return ::ShellExecuteExW(&info) != FALSE;
    }
    }
    const HINSTANCE result = ::ShellExecuteW(nullptr, L"open", path.c_str(), args, folder, showCmd);
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

ShellRoute ChooseShellRoute(const std::wstring& file, const std::wstring& arguments,
                            const std::wstring& workDir, bool underWine) {
    if (arguments.size() > kShellArgumentsMax)
        return ShellRoute::Refuse;
    if (!workDir.empty()) {
        const std::wstring folder = ExpandedWhole(workDir);
        const bool closed = !folder.empty() && folder.back() == L'\\';
        if (folder.size() > kShellFolderMax + (closed ? 1 : 0))
            return ShellRoute::Refuse;
    }
    const std::wstring target = ExpandedWhole(file);
    if (IsWebAddress(target)) {
        if (target.size() > (underWine ? kWineWebAddressMax : kShellWebAddressMax))
            return ShellRoute::Refuse;
        if (!underWine || target.size() <= kShellPathMax)
            return ShellRoute::Open;
        return SchemeOf(target).empty() ? ShellRoute::Refuse : ShellRoute::OpenByScheme;
    }
    if (target.size() > kShellPathMax)
        return ShellRoute::Refuse;
    if (underWine && target.size() > kWineWwwNameMax && ::_wcsnicmp(target.c_str(), L"www", 3) == 0)
        return ShellRoute::Refuse;
    return ShellRoute::Open;
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
