#include "shell/messages.h"

#include "framework/resources.h"
#include "framework/text.h"
#include "resource.h"

namespace shell {

int ShowMessage(HWND owner, const std::wstring& text, UINT type) {
    const std::wstring title = fw::LoadResString(IDS_APP_TITLE);
    return ::MessageBoxW(owner, text.c_str(), title.c_str(), type);
}

std::wstring CantFindText(const std::wstring& buttonName) {
    return fw::FormatText(fw::LoadResString(IDS_CANT_FIND).c_str(), buttonName.c_str());
}

void ShowCantFind(HWND owner, const std::wstring& buttonName) {
    ShowMessage(owner, CantFindText(buttonName), MB_OK | MB_ICONINFORMATION);
}

} // namespace shell
