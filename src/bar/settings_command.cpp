#include "bar/settings_command.h"

#include "bar/bar_metrics.h"
#include "model/placement.h"
#include "model/preferences.h"
#include "resource.h"

namespace bar {

namespace {
SettingsCommand Plan(SettingsCommand::Action action) noexcept {
    SettingsCommand c;
    c.action = action;
    c.savePreferences = true;
    return c;
}

SettingsCommand ViewFlag(int32_t bits) noexcept {
    SettingsCommand c = Plan(SettingsCommand::ViewFlag);
    c.viewBits = bits;
    return c;
}

SettingsCommand Position(int32_t state, bool trayOnly) noexcept {
    SettingsCommand c = Plan(SettingsCommand::Position);
    c.state = state;
    c.trayOnly = trayOnly;
    return c;
}

SettingsCommand Resized(SettingsCommand::Action action, int32_t value) noexcept {
    SettingsCommand c = Plan(action);
    c.value = value;
    c.resetSizes = true;
    c.layOutToolBar = true;
    return c;
}
} // namespace

SettingsCommand PlanSettingsCommand(UINT id) noexcept {
    switch (id) {
    case ID_POSITION_LEFT:
    case ID_POSITION_TOP:
    case ID_POSITION_RIGHT:
    case ID_POSITION_BOTTOM:
        return Position(static_cast<int32_t>(id - ID_POSITION_LEFT), false);
    case ID_POSITION_CENTER:
        return Position(STATE_FLOAT, false);
    case ID_POSITION_TRAY_ONLY:
        return Position(STATE_FLOAT, true);
    case ID_ALWAYS_ON_TOP: {
        SettingsCommand c = Plan(SettingsCommand::AlwaysOnTop);
        c.savePlacement = true;
        return c;
    }
    case ID_AUTO_HIDE:
        return Plan(SettingsCommand::AutoHide);
    case ID_VIEW_ICON:
        return ViewFlag(VIEW_ICON_BUTTONS);
    case ID_VIEW_TAB: {
        SettingsCommand c = ViewFlag(VIEW_TAB_STRIP);
        c.tabStripSizes = true;
        return c;
    }
    case ID_VIEW_TAB_ICON:
        return ViewFlag(VIEW_TAB_ICONS);
    case ID_VIEW_CATEGORY_ONLY: {
        SettingsCommand c = ViewFlag(VIEW_CATEGORY_ONLY);
        c.resetSizes = true;
        return c;
    }
    default:
        break;
    }
    if (const int32_t size = ButtonSizeForCommand(id); size >= 0)
        return Resized(SettingsCommand::ButtonSize, size);
#ifndef LARK_SINGLE_BYTE
    if (id >= ID_BUTTON_SPACING_FIRST && id <= ID_BUTTON_SPACING_LAST)
        return Resized(SettingsCommand::Spacing,
                       static_cast<int32_t>(id - ID_BUTTON_SPACING_FIRST));
#endif
    if (id >= 5004 && id <= 5010) {
        SettingsCommand c;
        c.action = SettingsCommand::Ignore; // reserved identifiers
        return c;
    }
    return SettingsCommand{};
}

} // namespace bar
