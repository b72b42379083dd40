#pragma once
// A hook for the window-level tests: with LARK_TEST_HOOKS set in the environment the bar
// answers the registered message "LarkRunBar.TestSetHold" (wParam 0 or 1) by setting the
// application's hold flag, which otherwise only the program's own dialogs and drags set.
// Without the variable the message is not registered and nothing answers it.
#include <windows.h>

// The hold message, or 0 when the hooks are off.
UINT TestSetHoldMessage();
