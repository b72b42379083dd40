// Long work beside the window thread: the thread's windows keep painting, and the end of
// the program or of the window does not wait for the work.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "framework/handle.h"
#include "model/voice_book.h"
#include "setup/pumped_fill.h"
#include "setup/pumped_work.h"
#include "support/test_util.h"

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

TEST(PumpedWorkTest, AFolderReadBesideIsHandedOverInOrderBelowTheCategory) {
    test::TempDir dir;
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
        ASSERT_TRUE(test::WriteFileBytes(dir / name, {'x'}));
    std::shared_ptr<oVoiceBook> fresh =
        setup::FillFromFolderWhilePumping(dir.path(), false, nullptr);
    ASSERT_NE(fresh, nullptr);
    oVoiceBook root;
    oVoiceBook* category = root.AddChild(NewNodeFields(L"cat", KIND_BOOK, 0));
    category->AddChild(NewNodeFields(L"kept", 0, 0));
    setup::AdoptChildren(*fresh, *category);
    EXPECT_FALSE(fresh->HasChildren());
    std::vector<std::wstring> names;
    category->ForEachChildF([&](oTreeNode& node) {
        names.push_back(node.m_strName);
        EXPECT_EQ(node.m_nDepth, category->m_nDepth + 1);
        return int{WALK_DESCEND};
    });
    // The folder lists its files in its own order; all three follow what was there.
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], L"kept");
    std::sort(names.begin() + 1, names.end());
    for (size_t i = 1; i < names.size(); ++i)
        EXPECT_EQ(names[i].substr(0, 1), std::wstring(1, static_cast<wchar_t>(L'a' + i - 1)));
}

} // namespace
