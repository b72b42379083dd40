// Long work beside the window thread: the thread's windows keep painting, and the end of
// the program or of the window does not wait for the work.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>

#include "framework/handle.h"
#include "setup/pumped_work.h"

namespace {

HANDLE g_painted = nullptr; // set by the test window's paint handler

LRESULT CALLBACK PaintedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT)
        ::SetEvent(g_painted); // the default handling below validates the window
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

// Work that waits (bounded) for an event; `done` is set when it has ended either way.
struct Waiting {
    fw::Handle event{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    fw::Handle done{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> signalled{false};
};
std::function<void()> WaitFor(std::shared_ptr<Waiting> w) {
    return [w] {
        w->signalled = ::WaitForSingleObject(w->event.get(), 30000) == WAIT_OBJECT_0;
        ::SetEvent(w->done.get());
    };
}

HWND MakeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &PaintedProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LarkPumpedWorkTest";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, wc.lpszClassName, L"work", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                             200, 100, nullptr, nullptr, wc.hInstance, nullptr);
}

TEST(PumpedWorkTest, TheWindowsOfTheThreadArePaintedWhileTheWorkRuns) {
    auto w = std::make_shared<Waiting>();
    g_painted = w->event.get();
    HWND window = MakeWindow();
    ASSERT_NE(window, nullptr) << ::GetLastError();
    // The work ends only once the window has been painted meanwhile.
    EXPECT_EQ(setup::RunWhilePumping(WaitFor(w), window), setup::PumpedWorkEnd::Done);
    EXPECT_TRUE(w->signalled) << "the window was not painted while the work ran";
    ::DestroyWindow(window);
}

TEST(PumpedWorkTest, QuitOrTheWindowsEndLeavesTheWorkToFinishOnItsOwn) {
    HWND window = MakeWindow();
    ASSERT_NE(window, nullptr) << ::GetLastError();
    g_painted = nullptr;
    const struct {
        HWND watched;
        void (*end)(HWND);
        setup::PumpedWorkEnd expected;
    } cases[] = {
        {window, [](HWND h) { ::PostMessageW(h, WM_CLOSE, 0, 0); },
         setup::PumpedWorkEnd::WindowGone},
        {nullptr, [](HWND) { ::PostQuitMessage(7); }, setup::PumpedWorkEnd::Quit},
    };
    for (const auto& c : cases) {
        auto w = std::make_shared<Waiting>();
        c.end(window);
        EXPECT_EQ(setup::RunWhilePumping(WaitFor(w), c.watched), c.expected);
        EXPECT_EQ(::WaitForSingleObject(w->done.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
            << "the caller waited for the work";
        ::SetEvent(w->event.get());
        EXPECT_EQ(::WaitForSingleObject(w->done.get(), 30000), static_cast<DWORD>(WAIT_OBJECT_0));
    }
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u) << "the quit message is left for the main loop";
}

} // namespace
