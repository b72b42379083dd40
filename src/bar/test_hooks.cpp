#include "bar/test_hooks.h"

#include <string>

#include "framework/handle.h"

namespace {
constexpr DWORD kSaveHoldLimitMs = 60000;

bool HooksOn() {
    wchar_t value[8] = {};
    return ::GetEnvironmentVariableW(L"LARK_TEST_HOOKS", value, 8) != 0;
}

UINT HookMessage(const wchar_t* name) {
    return HooksOn() ? ::RegisterWindowMessageW(name) : 0u;
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

void TestHoldBeforeFinalSave() {
    if (!HooksOn())
        return;
    const std::wstring name =
        L"LarkRunBar.TestHoldSave." + std::to_wstring(::GetCurrentProcessId());
    const fw::Handle held(::OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str()));
    const fw::Handle release(::OpenEventW(SYNCHRONIZE, FALSE, (name + L".release").c_str()));
    if (!held || !release)
        return;
    ::SetEvent(held.get());
    ::WaitForSingleObject(release.get(), kSaveHoldLimitMs);
}
