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
    // A menu's keys belong to the menu: only its other messages (the mouse's, for tooltips)
    // are offered.
    MSG* msg = reinterpret_cast<MSG*>(lp);
    const bool offered =
        msg && (code == MSGF_DIALOGBOX ||
                (code == MSGF_MENU && (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)));
    if (offered) {
        try {
            if (App* app = App::Current())
                if (app->OfferMessage(*msg))
                    return TRUE;
        } catch (...) {
            LogHandlerException(L"message filter", msg->message);
        }
    }
    return ::CallNextHookEx(t_hook, code, wp, lp);
}

} // namespace fw
