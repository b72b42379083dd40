#include "dialogs/icon_preview.h"

#include "dialogs/change_icon_dlg.h"
#include "framework/resources.h"
#include "resource.h"
#include "shell/messages.h"

namespace dialogs {

void IconPreview::Show(fw::Icon icon) noexcept {
    if (control_)
        ::SendMessageW(control_, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    icon_ = std::move(icon);
}

void IconPreview::Release() noexcept {
    if (control_ && ::IsWindow(control_))
        ::SendMessageW(control_, STM_SETICON, 0, 0);
    icon_.reset();
}

bool ChooseIcon(HWND owner, RecentIconFiles& recent, std::wstring& file, int& index,
                fw::Icon& icon) {
    CChangeIconDlg picker(recent);
    if (!file.empty())
        picker.SetIcon(file, index);
    if (picker.DoModal(owner) != IDOK)
        return false;
    fw::Icon chosen = ExtractSingleIcon(picker.File(), picker.Index());
    if (!chosen) {
        shell::ShowMessage(owner, fw::LoadResString(IDS_NO_ICON_IN_FILE),
                           MB_OK | MB_ICONINFORMATION);
        return false;
    }
    file = picker.File();
    index = picker.Index();
    icon = std::move(chosen);
    return true;
}

} // namespace dialogs
