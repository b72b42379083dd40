#include "bar/test_hooks.h"

namespace {
UINT HookMessage(const wchar_t* name) {
    wchar_t value[8] = {};
    if (::GetEnvironmentVariableW(L"LARK_TEST_HOOKS", value, 8) == 0)
        return 0u;
    return ::RegisterWindowMessageW(name);
}
} // namespace

UINT TestSetHoldMessage() {
    static const UINT message = HookMessage(L"LarkRunBar.TestSetHold");
    return message;
}

UINT TestQueryMessage() {
    static const UINT message = HookMessage(L"LarkRunBar.TestQuery");
    return message;
}
