#include "framework/app.h"

#include "framework/dialog.h"
#include "framework/message_filter.h"
#include "framework/window.h"

namespace fw {

App* App::current_ = nullptr;

App::App(const wchar_t* applicationName) {
    profile_.SetApplicationName(applicationName);
    current_ = this;
}

App::~App() {
    if (current_ == this)
        current_ = nullptr;
}

MessageTarget* TargetFromHandle(HWND hwnd) noexcept {
    if (Window* w = Window::FromHandle(hwnd))
        return w;
    return Dialog::FromHandle(hwnd);
}

bool App::PreTranslateMessage(MSG& msg) {
    // Offer the message to the target window and each of its ancestors, innermost first.
    for (HWND h = msg.hwnd; h; h = ::GetParent(h)) {
        if (MessageTarget* t = TargetFromHandle(h))
            if (t->PreTranslateMessage(msg))
                return true;
        if (!(::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD))
            break;
    }
    return false;
}

bool App::OfferMessage(MSG& msg) {
    const MSG* o = offering_;
    if (o && o->hwnd == msg.hwnd && o->message == msg.message && o->wParam == msg.wParam &&
        o->lParam == msg.lParam && o->time == msg.time)
        return false;
    struct Scope {
        const MSG*& current;
        const MSG* outer;
        ~Scope() { current = outer; }
    } scope{offering_, offering_};
    offering_ = &msg;
    return PreTranslateMessage(msg);
}

void App::WindowDestroyed(HWND hwnd) noexcept {
    if (current_ && current_->mainWindow_ == hwnd) {
        current_->mainWindow_ = nullptr;
        ::PostQuitMessage(0);
    }
}

int App::Main() {
    // Modal dialogs and menus run loops of their own; their messages come through here too.
    MessageFilter filter;
    if (!InitInstance()) {
        ExitInstance();
        return exitCode_ ? exitCode_ : 0;
    }
    MSG msg{};
    int idleRound = 0;
    bool idle = true;
    for (;;) {
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            idle = OnIdle(idleRound++);
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            exitCode_ = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1) {
            exitCode_ = 1;
            break;
        }
        if (!OfferMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

} // namespace fw
