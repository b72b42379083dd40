#include "dialogs/icon_files.h"

#include <shellapi.h>

#include <climits>

#include "framework/resources.h"
#include "framework/text.h"

namespace dialogs {

int CountIcons(const std::wstring& file) {
    if (file.empty())
        return 0;
    const UINT count = ::ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0);
    // A file that is not one of icons may answer with an error value instead of 0.
    return count > static_cast<UINT>(SHRT_MAX) ? 0 : static_cast<int>(count);
}

fw::Icon ExtractSingleIcon(const std::wstring& file, int index, int size) {
    if (file.empty() || index < 0)
        return {};
    if (size > 0 && size != ::GetSystemMetrics(SM_CXICON)) {
        HICON icon = nullptr;
        UINT id = 0;
        if (::PrivateExtractIconsW(file.c_str(), index, size, size, &icon, &id, 1, 0) == 1)
            return fw::Icon(icon);
        return {};
    }
    HICON icon = ::ExtractIconW(fw::ProgramModule(), file.c_str(), static_cast<UINT>(index));
    // 1 stands for a file that is neither a program nor an icon file: nothing to destroy.
    if (icon == reinterpret_cast<HICON>(1))
        return {};
    return fw::Icon(icon);
}

RecentIconFiles& RecentIconFilesOfRun() {
    static RecentIconFiles files;
    return files;
}

std::wstring UpperCase(std::wstring text) {
    if (!text.empty())
        ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::vector<std::wstring> SeedIconFiles(const std::wstring& programFolder,
                                        const std::wstring& systemFolder,
                                        const std::wstring& windowsFolder,
                                        const std::function<bool(const std::wstring&)>& exists) {
    std::vector<std::wstring> seeds;
    for (const std::wstring& path :
         {programFolder + L"larkb.icl", systemFolder + L"\\Shell32.DLL",
          systemFolder + L"\\Cool.DLL", windowsFolder + L"\\Moricons.DLL"}) {
        if (exists(path))
            seeds.push_back(UpperCase(path));
    }
    return seeds;
}

std::vector<std::wstring> SeedIconFiles() {
    wchar_t system[MAX_PATH] = {}, windows[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return SeedIconFiles(fw::ProgramFolder(), system, windows, [](const std::wstring& path) {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    });
}

int FindIconFile(const std::vector<std::wstring>& entries, const std::wstring& path) {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (fw::EqualsNoCase(entries[i], path))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace dialogs
