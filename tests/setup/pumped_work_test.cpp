// Long work beside the window thread: the thread's windows keep painting, and the end of
// the program or of the window does not wait for the work.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>

#include "framework/handle.h"
#include "setup/pumped_work.h"

namespace {

// Set by the test window's paint handler.
HANDLE g_painted = nullptr;

LRESULT CALLBACK PaintedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        ::BeginPaint(hwnd, &ps);
        ::EndPaint(hwnd, &ps);
        ::SetEvent(g_painted);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

class PumpedWorkTest : public ::testing::Test {
protected:
    void SetUp() override {
        painted_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(painted_) << ::GetLastError();
        g_painted = painted_.get();
        WNDCLASSW wc{};
        wc.lpfnWndProc = &PaintedProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LarkPumpedWorkTest";
        ::RegisterClassW(&wc);
        window_ = ::CreateWindowExW(0, wc.lpszClassName, L"work", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    50, 50, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window_, nullptr) << ::GetLastError();
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::ResetEvent(painted_.get());
    }
    void TearDown() override {
        if (::IsWindow(window_))
            ::DestroyWindow(window_);
        g_painted = nullptr;
    }

    // Work that waits (bounded) for an event; `done` is set when it ends either way.
    struct Waiting {
        fw::Handle release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        fw::Handle done{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        std::atomic<bool> released{false};
    };
    static std::function<void()> WaitFor(std::shared_ptr<Waiting> w, HANDLE event) {
        return [w, event] {
            w->released = ::WaitForSingleObject(event, 30000) == WAIT_OBJECT_0;
            ::SetEvent(w->done.get());
        };
    }

    fw::Handle painted_;
    HWND window_ = nullptr;
};

TEST_F(PumpedWorkTest, TheWindowsOfTheThreadArePaintedWhileTheWorkRuns) {
    auto w = std::make_shared<Waiting>();
    ::InvalidateRect(window_, nullptr, TRUE);
    // The work ends only once the window has been painted meanwhile.
    EXPECT_EQ(setup::RunWhilePumping(WaitFor(w, painted_.get()), window_),
              setup::PumpedWorkEnd::Done);
    EXPECT_TRUE(w->released) << "the window was not painted while the work ran";
}

TEST_F(PumpedWorkTest, QuitOrTheWindowsEndLeavesTheWorkToFinishOnItsOwn) {
    const struct {
        const char* what;
        void (*end)(HWND);
        setup::PumpedWorkEnd expected;
        bool watchWindow;
    } cases[] = {
        {"window closed", [](HWND h) { ::PostMessageW(h, WM_CLOSE, 0, 0); },
         setup::PumpedWorkEnd::WindowGone, true},
        {"quit", [](HWND) { ::PostQuitMessage(7); }, setup::PumpedWorkEnd::Quit, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto w = std::make_shared<Waiting>();
        c.end(window_);
        EXPECT_EQ(
            setup::RunWhilePumping(WaitFor(w, w->release.get()), c.watchWindow ? window_ : nullptr),
            c.expected);
        EXPECT_EQ(::WaitForSingleObject(w->done.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
            << "the caller waited for the work";
        ::SetEvent(w->release.get());
        EXPECT_EQ(::WaitForSingleObject(w->done.get(), 30000), static_cast<DWORD>(WAIT_OBJECT_0));
        EXPECT_TRUE(w->released);
    }
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u) << "the quit message is left for the main loop";
    EXPECT_FALSE(::IsWindow(window_));
}

} // namespace
