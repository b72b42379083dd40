#pragma once
// The icon picture of the button and category dialogs and the "Change Icon..." step they
// share.
#include <windows.h>

#include <string>

#include "dialogs/icon_files.h"
#include "framework/gdi.h"

namespace dialogs {

// Owns the icon an icon picture control shows; the control itself never destroys it.
class IconPreview {
public:
    IconPreview() = default;
    IconPreview(const IconPreview&) = delete;
    IconPreview& operator=(const IconPreview&) = delete;
    ~IconPreview() { Release(); }

    void Attach(HWND control) noexcept { control_ = control; }
    // Shows `icon` and destroys the one shown before.
    void Show(fw::Icon icon) noexcept;
    // Takes the icon off the control and destroys it (when the dialog goes away).
    void Release() noexcept;
    HICON Current() const noexcept { return icon_.get(); }

private:
    HWND control_ = nullptr;
    fw::Icon icon_;
};

// Runs the icon picker starting at `file` and `index` (or at the first recent file when
// `file` is empty). True when the user chose a file's icon that the system can extract:
// `file`, `index` and `icon` are then the choice. A choice without an icon is refused with
// "There is no icon in this file." and gives false.
bool ChooseIcon(HWND owner, RecentIconFiles& recent, std::wstring& file, int& index,
                fw::Icon& icon);

} // namespace dialogs
