#include "bar/test_hooks.h"

UINT TestSetHoldMessage() {
    static const UINT message = [] {
        wchar_t value[8] = {};
        if (::GetEnvironmentVariableW(L"LARK_TEST_HOOKS", value, 8) == 0)
            return 0u;
        return ::RegisterWindowMessageW(L"LarkRunBar.TestSetHold");
    }();
    return message;
}
