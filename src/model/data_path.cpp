#include "model/data_path.h"

#include <windows.h>

#include <mutex>

#include "framework/handle.h"
#include "framework/resources.h"

namespace model {
namespace {

constexpr int kAppDataCreate = 0x801A; // CSIDL_APPDATA | CSIDL_FLAG_CREATE

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// shfolder.dll is loaded by name the first time and kept for the life of the process.
GetFolderPathFn FolderPathFunction() {
    static fw::Module module(::LoadLibraryW(L"shfolder.dll"));
    static GetFolderPathFn function =
        module ? reinterpret_cast<GetFolderPathFn>(
                     reinterpret_cast<void*>(::GetProcAddress(module.get(), "SHGetFolderPathW")))
               : nullptr;
    return function;
}

// The folder a portable program chose; empty for the user's application data.
std::wstring& ChosenFolder() {
    static std::wstring folder;
    return folder;
}

std::optional<std::wstring> AppDataFolder() {
    // The folder does not move while the program runs, and asking the shell costs nearly a
    // millisecond under Wine (the data file's path is made several times at start): the
    // answer is kept once there is one.
    static std::mutex lock;
    static std::wstring kept;
    const std::lock_guard<std::mutex> hold(lock);
    if (!kept.empty())
        return kept;
    GetFolderPathFn function = FolderPathFunction();
    if (!function)
        return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    if (FAILED(function(nullptr, kAppDataCreate, nullptr, 0, path)) || path[0] == 0)
        return std::nullopt;
    kept = path;
    return kept;
}

} // namespace

std::wstring JoinPath(const std::wstring& left, const std::wstring& right) {
    if (left.empty())
        return right;
    const bool leftHas = IsSeparator(left.back());
    const bool rightHas = !right.empty() && IsSeparator(right.front());
    if (leftHas && rightHas)
        return left + right.substr(1);
    if (leftHas || rightHas)
        return left + right;
    // The separator the path already uses: the last one in the left part, else backslash.
    const size_t last = left.find_last_of(L"\\/");
    const wchar_t separator = last != std::wstring::npos ? left[last] : L'\\';
    return left + separator + right;
}

std::wstring ComposeDataFilePath(const std::optional<std::wstring>& appData,
                                 const std::wstring& programFolder, const std::wstring& fileName,
                                 bool createFolders) {
    if (!appData)
        return JoinPath(programFolder, fileName);
    std::wstring folder = JoinPath(*appData, L"Tarvo");
    if (createFolders)
        ::CreateDirectoryW(folder.c_str(), nullptr); // an existing folder is no error
    folder = JoinPath(folder, L"LarkRunBar");
    if (createFolders)
        ::CreateDirectoryW(folder.c_str(), nullptr);
    return JoinPath(folder, fileName);
}

void SetDataFolder(std::wstring folder) {
    ChosenFolder() = std::move(folder);
}

std::wstring DataFilePath(const std::wstring& fileName) {
    if (!ChosenFolder().empty())
        return JoinPath(ChosenFolder(), fileName);
    const std::optional<std::wstring> appData = AppDataFolder();
    return ComposeDataFilePath(appData, appData ? std::wstring() : fw::ProgramFolder(), fileName,
                               true);
}

} // namespace model
