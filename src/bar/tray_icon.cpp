#include "bar/tray_icon.h"

namespace bar {

TrayAction TrayActionFor(UINT iconId, UINT mouseMessage, int32_t iconAction) noexcept {
    if (iconId != kTrayIconId)
        return TrayAction::Nothing;
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return TrayAction::Nothing;
    case WM_LBUTTONUP:
        return iconAction == 1 ? TrayAction::ToolBarMenu : TrayAction::Foreground;
    case WM_RBUTTONUP:
        return TrayAction::BarMenu;
    default:
        return TrayAction::NotHandled;
    }
}

} // namespace bar
