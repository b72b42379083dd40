#include "dialogs/file_open.h"

#include <commdlg.h>

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

bool ChooseFileToOpen(HWND owner, UINT filterStringId, std::wstring& path) {
    const std::wstring filter = FilterFromText(fw::LoadResString(filterStringId));
    std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags =
        OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&ofn))
        return false;
    file.back() = L'\0';
    path = file.data();
    return !path.empty();
}

} // namespace dialogs
