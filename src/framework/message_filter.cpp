#include "framework/message_filter.h"

#include <string>

#include "framework/app.h"
#include "framework/debug_log.h"

namespace fw {
namespace {
// One hook per thread; the program has one user-interface thread.
thread_local HHOOK t_hook = nullptr;
} // namespace

MessageFilter::MessageFilter() noexcept {
    if (t_hook)
        return;
    hook_ = ::SetWindowsHookExW(WH_MSGFILTER, &MessageFilter::Procedure, nullptr,
                                ::GetCurrentThreadId());
    if (!hook_)
        DebugLog(L"message filter hook refused, error " + std::to_wstring(::GetLastError()));
    t_hook = hook_;
}

MessageFilter::~MessageFilter() {
    if (!hook_)
        return;
    ::UnhookWindowsHookEx(hook_);
    t_hook = nullptr;
}

LRESULT CALLBACK MessageFilter::Procedure(int code, WPARAM wp, LPARAM lp) noexcept {
    if ((code == MSGF_DIALOGBOX || code == MSGF_MENU) && lp) {
        try {
            if (App* app = App::Current())
                if (app->PreTranslateMessage(*reinterpret_cast<MSG*>(lp)))
                    return TRUE;
        } catch (...) {
            LogHandlerException(L"message filter", reinterpret_cast<MSG*>(lp)->message);
        }
    }
    return ::CallNextHookEx(t_hook, code, wp, lp);
}

} // namespace fw
