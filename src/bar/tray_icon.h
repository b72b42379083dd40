#pragma once
// The bar's notification-area icon: its identifiers and what each mouse message on it does.
#include <windows.h>

#include <cstdint>

namespace bar {

constexpr UINT kTrayIconId = 100;
constexpr UINT kTrayCallbackMessage = 0x8063;

enum class TrayAction {
    NotHandled,  // default processing
    Nothing,     // handled, nothing to do
    Foreground,  // the bar to the foreground, nothing more
    ToolBarMenu, // the bar to the foreground, then the ToolBar menu
    BarMenu,     // the bar to the foreground, then the bar menu at the cursor
};

// The answer to the icon's callback (`iconId` the icon, `mouseMessage` what happened on it);
// `iconAction` is the preference of that name.
TrayAction TrayActionFor(UINT iconId, UINT mouseMessage, int32_t iconAction) noexcept;

} // namespace bar
