#pragma once
// Starting targets through the shell: path resolution, shortcuts followed to their own
// target, shell items by identifier list.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class oVoiceBook;

namespace shell {

// A web address is any command with "://" in it; it is never resolved.
bool IsWebAddress(std::wstring_view command) noexcept;

// What RunNode does with a node, from its kind bits and whether it holds an identifier list.
enum class RunRoute {
    Fail,       // neither a category nor a button
    Nothing,    // a kind read from older data files: succeeds without doing anything
    ItemIdList, // a shell item, opened by its list with the normal show state
    Target,     // the command, resolved and opened
};
RunRoute ChooseRunRoute(int32_t kind, bool hasItemIdList) noexcept;
// Replacement arguments (a dropped file) win over the stored ones; passed as they are.
const std::wstring& ChooseArguments(const std::wstring& replacement,
                                    const std::wstring& stored) noexcept;

// The default value of an App Paths key as RegQueryValueExW left it in a buffer of
// kAppPathValueBytes: usable only when the query succeeded with a non-empty string value.
// Returns the value (terminator dropped), or empty when it does not count.
std::wstring AppPathFromValue(LONG status, DWORD type, const void* data, DWORD bytes);

// Environment variables expanded, the result cut to kPathUnits.
std::wstring ExpandEnvironment(const std::wstring& text);

// How a target goes to the shell's "open" (limits in shell/limits.h).
enum class ShellRoute {
    Refuse,       // longer than the shell takes: never handed over, the caller reports it
    Open,         // ShellExecute
    OpenByScheme, // ShellExecuteEx with the address's scheme as its class: under Wine the only
                  // way a web address longer than a path reaches its handler unharmed
};
// The route for `file`, `arguments` and `workDir` (lengths counted after the expansion of
// environment variables, as the shell expands them); `underWine` for Wine's shell.
ShellRoute ChooseShellRoute(const std::wstring& file, const std::wstring& arguments,
                            const std::wstring& workDir, bool underWine);

// Turns a button's target into a startable path: an existing path with a backslash, then
// the system's search order, then the App Paths registration under HKEY_LOCAL_MACHINE.
// `path` is always set: the resolved path, else `text` itself.
bool ResolveProgramPath(const std::wstring& text, std::wstring& path);

// Opens `path` with the "open" verb; a shortcut runs its own target with its own
// arguments, folder and show state instead of the ones given. False, without calling the
// shell, for a target longer than it takes.
bool RunTarget(const std::wstring& path, const std::wstring& arguments, const std::wstring& workDir,
               int showCmd);

// Opens a shell item: through its file-system path when it has one, else by the list
// itself with `verb` (null: the item's default verb), without the shell's error dialogs.
bool RunItemIdList(LPCITEMIDLIST list, const wchar_t* verb, int showCmd);

// Starts the node's target as its route says. `replacement`, when not empty, replaces the
// stored arguments.
bool RunNode(const oVoiceBook& node, const std::wstring& replacement = std::wstring());
// Told of every node RunNode started, whoever asked (the launch counts of the find box);
// an empty function stops the telling.
void SetLaunchObserver(std::function<void(const oVoiceBook&)> observer);

// The file-system path of a list (cut to kPathUnits); empty when it has none.
std::wstring PathFromItemIdList(LPCITEMIDLIST list);

} // namespace shell
