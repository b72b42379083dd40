// What each settings command of the bar changes and which resets and saves follow it.
#include <gtest/gtest.h>

#include <vector>

#include "bar/settings_command.h"
#include "model/placement.h"
#include "model/preferences.h"
#include "resource.h"

namespace {

using bar::SettingsCommand;

TEST(SettingsCommandTest, EachCommandsChangeResetsAndSaves) {
    const struct {
        UINT id;
        SettingsCommand::Action action;
        int32_t state, viewBits, value;
        bool trayOnly, tabStripSizes, resetSizes, layOut, savePrefs, savePlacement;
    } cases[] = {
        {ID_POSITION_LEFT, SettingsCommand::Position, STATE_LEFT, 0, 0, 0, 0, 0, 0, 1, 0},
        {ID_POSITION_BOTTOM, SettingsCommand::Position, STATE_BOTTOM, 0, 0, 0, 0, 0, 0, 1, 0},
        {ID_POSITION_CENTER, SettingsCommand::Position, STATE_FLOAT, 0, 0, 0, 0, 0, 0, 1, 0},
        {ID_POSITION_TRAY_ONLY, SettingsCommand::Position, STATE_FLOAT, 0, 0, 1, 0, 0, 0, 1, 0},
        {ID_ALWAYS_ON_TOP, SettingsCommand::AlwaysOnTop, 0, 0, 0, 0, 0, 0, 0, 1, 1},
        {ID_AUTO_HIDE, SettingsCommand::AutoHide, 0, 0, 0, 0, 0, 0, 0, 1, 0},
        {ID_VIEW_ICON, SettingsCommand::ViewFlag, 0, VIEW_ICON_BUTTONS, 0, 0, 0, 0, 0, 1, 0},
        {ID_VIEW_TAB, SettingsCommand::ViewFlag, 0, VIEW_TAB_STRIP, 0, 0, 1, 0, 0, 1, 0},
        {ID_VIEW_TAB_ICON, SettingsCommand::ViewFlag, 0, VIEW_TAB_ICONS, 0, 0, 0, 0, 0, 1, 0},
        {ID_VIEW_CATEGORY_ONLY, SettingsCommand::ViewFlag, 0, VIEW_CATEGORY_ONLY, 0, 0, 0, 1, 0, 1,
         0},
        {1500, SettingsCommand::ButtonSize, 0, 0, 1, 0, 0, 1, 1, 1, 0}, // small
        {1502, SettingsCommand::ButtonSize, 0, 0, 0, 0, 0, 1, 1, 1, 0}, // large
        {1506, SettingsCommand::ButtonSize, 0, 0, 6, 0, 0, 1, 1, 1, 0},
#ifndef LARK_SINGLE_BYTE
        {ID_BUTTON_SPACING_FIRST + 2, SettingsCommand::Spacing, 0, 0, 2, 0, 0, 1, 1, 1, 0},
#endif
        {5004, SettingsCommand::Ignore, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // reserved
        {ID_APP_EXIT, SettingsCommand::None, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {ID_PREFERENCES, SettingsCommand::None, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const SettingsCommand p = bar::PlanSettingsCommand(c.id);
        EXPECT_EQ(
            (std::vector<int>{p.action, p.state, p.viewBits, p.value, p.trayOnly, p.tabStripSizes,
                              p.resetSizes, p.layOutToolBar, p.savePreferences, p.savePlacement}),
            (std::vector<int>{c.action, c.state, c.viewBits, c.value, c.trayOnly, c.tabStripSizes,
                              c.resetSizes, c.layOut, c.savePrefs, c.savePlacement}))
            << "command " << c.id;
    }
}

} // namespace
