#include "setup/pumped_work.h"

#include <memory>

#include "framework/app.h"
#include "framework/com.h"
#include "framework/handle.h"

namespace setup {
namespace {

DWORD WINAPI WorkThread(void* parameter) {
    // The thread owns its copy of the work: it may outlive the caller's wait.
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    fw::ComInit com;
    try {
        (*work)();
    } catch (...) {
        // A failed step leaves its results incomplete; the caller sees what was produced.
    }
    return 0;
}

bool WindowGone(HWND window) {
    return window && !::IsWindow(window);
}

// One message the way the main loop handles it. False for the quit message, which is put
// back for the main loop to see.
bool Dispatch(MSG& msg) {
    if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    fw::App* app = fw::App::Current();
    if (!app || !app->PreTranslateMessage(msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

} // namespace

PumpedWorkEnd RunWhilePumping(std::function<void()> work, HWND window) {
    auto* owned = new std::function<void()>(std::move(work));
    fw::Handle thread(::CreateThread(nullptr, 0, &WorkThread, owned, 0, nullptr));
    if (!thread) {
        // No thread to be had: the work is done here, without pumping.
        std::unique_ptr<std::function<void()>> here(owned);
        (*here)();
        return WindowGone(window) ? PumpedWorkEnd::WindowGone : PumpedWorkEnd::Done;
    }
    HANDLE handles[] = {thread.get()};
    for (;;) {
        const DWORD wait =
            ::MsgWaitForMultipleObjectsEx(1, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (wait == WAIT_OBJECT_0)
            return PumpedWorkEnd::Done;
        if (wait == WAIT_FAILED) {
            // Waiting with messages failed: wait for the thread alone.
            ::WaitForSingleObject(thread.get(), INFINITE);
            return PumpedWorkEnd::Done;
        }
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!Dispatch(msg))
                return PumpedWorkEnd::Quit;
            if (WindowGone(window))
                return PumpedWorkEnd::WindowGone;
            if (::WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0)
                return PumpedWorkEnd::Done;
        }
        if (WindowGone(window))
            return PumpedWorkEnd::WindowGone;
    }
}

bool PumpWaitingMessages(HWND window) {
    // Bounded: a window that keeps asking to be painted must not hold the caller here.
    constexpr ULONGLONG kLimitMs = 250;
    const ULONGLONG end = ::GetTickCount64() + kLimitMs;
    MSG msg{};
    while (::GetTickCount64() < end && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!Dispatch(msg))
            return false;
        if (WindowGone(window))
            return false;
    }
    return !WindowGone(window);
}

} // namespace setup
