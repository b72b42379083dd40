#pragma once
// Hooks for the window-level tests: with LARK_TEST_HOOKS set in the environment the bar
// answers the registered message "LarkRunBar.TestSetHold" (wParam 0 or 1) by setting the
// application's hold flag, which otherwise only the program's own dialogs and drags set.
// Without the variable the message is not registered and nothing answers it.
#include <windows.h>

// The hold message, or 0 when the hooks are off.
UINT TestSetHoldMessage();

// With the hooks on, "LarkRunBar.TestQuery" asks the bar what it holds: wParam one of the
// questions below, the answer as the result. 0 when the hooks are off.
UINT TestQueryMessage();
enum TestQuery : WPARAM {
    TEST_QUERY_TRAY_ICONS_ADDED = 1, // how often the tray icon was added successfully
    TEST_QUERY_HOTKEY = 2,           // 1 while a hotkey is registered
    TEST_QUERY_TOOLBAR_MENU = 3,     // ToolBar-menu identifiers the menus opened last use
    TEST_QUERY_FIND_HOTKEY = 4,      // 1 while the find box's hotkey is registered
    TEST_QUERY_FIND_ROWS = 5,        // 0 while the find box is closed, else 1 + its rows
    TEST_QUERY_FIND_SELECTED = 6,    // 1 + the find box's selected row; 0 when none or closed
    TEST_QUERY_CATEGORIES = 7,       // the tree's top-level categories
    TEST_QUERY_LARGE_PICTURE = 8,    // the size of the large list's pictures
    TEST_QUERY_TAB_NAME_HEIGHT = 9,  // the height of the tab strip's font
    TEST_QUERY_STARTED = 10,         // 1 once the set-up of the first idle moment is done
};

// With the hooks on and the named event "LarkRunBar.TestHoldSave.<process id>.release" made
// by a test, the end of the program stops right before it writes the tree: it sets the event
// "LarkRunBar.TestHoldSave.<process id>" and waits for the release (a minute at most), so that
// the test can look at what the program has let go of by then.
void TestHoldBeforeFinalSave();
