#pragma once
// While a modal dialog or a menu runs its own message loop, the application's pre-translation
// (keys a window takes for itself, tooltip relays) would not see the thread's messages. This
// hook offers them to App::PreTranslateMessage as the application's own loop does; of a
// menu's loop, all but the keys, which the menu needs for itself.
#include <windows.h>

namespace fw {

class MessageFilter {
public:
    // Installs the hook for the calling thread; Installed() tells whether it took.
    MessageFilter() noexcept;
    ~MessageFilter();
    MessageFilter(const MessageFilter&) = delete;
    MessageFilter& operator=(const MessageFilter&) = delete;

    bool Installed() const noexcept { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK Procedure(int code, WPARAM wp, LPARAM lp) noexcept;
    HHOOK hook_ = nullptr;
};

} // namespace fw
