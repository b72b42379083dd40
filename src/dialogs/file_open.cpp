#include "dialogs/file_open.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "framework/resources.h"

namespace dialogs {

std::wstring FilterFromText(const std::wstring& text) {
    std::wstring filter = text;
    for (wchar_t& c : filter) {
        if (c == L'|')
            c = L'\0';
    }
    // Two terminators end the list even when the text forgot its closing bars.
    filter.push_back(L'\0');
    return filter;
}

namespace {

bool ChooseFile(HWND owner, UINT filterStringId, std::wstring& path, bool save) {
    const std::wstring filter = FilterFromText(fw::LoadResString(filterStringId));
    std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
    if (save)
        path.copy(file.data(), std::min(path.size(), file.size() - 1));
    // The extension of the first type ("*.txt" after its description), for names typed
    // without one.
    const std::wstring first = filter.substr(filter.find(L'\0') + 1).c_str();
    const std::wstring extension = first.size() > 2 && first.compare(0, 2, L"*.") == 0 &&
                                           first.find_first_of(L"*?;", 2) == std::wstring::npos
                                       ? first.substr(2)
                                       : std::wstring();
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = save && !extension.empty() ? extension.c_str() : nullptr;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn)))
        return false;
    file.back() = L'\0';
    path = file.data();
    return !path.empty();
}

} // namespace

bool ChooseFileToOpen(HWND owner, UINT filterStringId, std::wstring& path) {
    return ChooseFile(owner, filterStringId, path, false);
}

bool ChooseFileToSave(HWND owner, UINT filterStringId, std::wstring& path) {
    return ChooseFile(owner, filterStringId, path, true);
}

} // namespace dialogs
