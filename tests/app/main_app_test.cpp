// Services of the application object that the bar uses all the time.
#include <gtest/gtest.h>

#include "app/main_app.h"

namespace {

struct Listener : ui::HoldListener {
    int calls = 0;
    bool last = false;
    void OnHoldChanged(bool held) override {
        ++calls;
        last = held;
    }
};

TEST(MainAppTest, HoldFlagTellsTheListener) {
    CMainApp app;
    Listener listener;
    app.SetHoldListener(&listener);
    EXPECT_FALSE(app.IsHeld());
    app.SetHold(true);
    EXPECT_TRUE(app.IsHeld());
    EXPECT_EQ(listener.calls, 1);
    EXPECT_TRUE(listener.last);
    app.SetHold(false);
    EXPECT_FALSE(app.IsHeld());
    EXPECT_FALSE(listener.last);
    app.SetHoldListener(nullptr);
}

TEST(MainAppTest, NonClientTrackingIsRefusedOutsideTheSystemsWhereItWorks) {
    CMainApp app;
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    ASSERT_NE(app.OsVersion(), 2);
    ASSERT_NE(app.OsVersion(), 5);
    EXPECT_EQ(app.TrackMouse(hwnd, TME_HOVER | TME_NONCLIENT, 100), FALSE);
    EXPECT_NE(app.TrackMouse(hwnd, TME_HOVER | TME_LEAVE, 100), FALSE);
    ::DestroyWindow(hwnd);
}

TEST(MainAppTest, FindsOnlyExactTitles) {
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"Exact Title ", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    EXPECT_EQ(CMainApp::FindWindowWithExactTitle(L"Exact Title "), hwnd);
    EXPECT_EQ(CMainApp::FindWindowWithExactTitle(L"exact title "), nullptr);
    EXPECT_EQ(CMainApp::FindWindowWithExactTitle(L"Exact Title"), nullptr);
    ::DestroyWindow(hwnd);
}

} // namespace
