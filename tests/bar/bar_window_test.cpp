// The bar window of the real program: first start, the Position commands, the stored
// placement, the size commands, dragging and sizing with real mouse input, re-docking, the end.
#include "bar_process_fixture.h"
#include "model/voice_book.h"

namespace {

using namespace bartest;

TEST_F(BarWindowTest, FirstStartDocksAtTheBottomWithTheComputedThicknessOnTop) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    // Very large buttons (60) and the tab strip (24).
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(IsTopmost(bar));
    EXPECT_EQ(::GetWindowLongPtrW(bar, GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_TRUE(PlacementBecomes(L"State", 3));
    EXPECT_TRUE(PlacementBecomes(L"DockSizeBottom", 84));
    EXPECT_TRUE(PlacementBecomes(L"DockSizeLeft", 84));
    EXPECT_TRUE(PlacementBecomes(L"AlwaysOnTop", 1));
    EXPECT_TRUE(PlacementBecomes(L"FloatRectLeft", DefaultFloat().left));
    EXPECT_TRUE(PlacementBecomes(L"FloatRectBottom", DefaultFloat().bottom));

    // The children: the grip buttons and the program button bar beside them.
    HWND toolbar = ::GetDlgItem(bar, 6000);
    HWND exitButton = ::GetDlgItem(bar, kExit);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_NE(exitButton, nullptr);
    RECT r = WindowRect(toolbar);
    ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r, (RECT{19, 0, screen_.right - screen_.left, 84}));
    r = WindowRect(exitButton);
    ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r, (RECT{2, 72, 13, 83}));
    Exit(lark);
}

TEST_F(SharedBarTest, EachPositionCommandMovesTheBarAndWritesThePlacement) {
    HWND bar = Bar();
    const struct {
        UINT command;
        int32_t state;
        RECT rect;
    } steps[] = {{kLeft, 0, Docked(0, 84)},   {kTop, 1, Docked(1, 84)},
                 {kRight, 2, Docked(2, 84)},  {kCenter, -2, DefaultFloat()},
                 {kBottom, 3, Docked(3, 84)}, {kLeft, 0, Docked(0, 84)},
                 {kBottom, 3, Docked(3, 84)}};
    for (const auto& s : steps) {
        Command(bar, s.command);
        EXPECT_TRUE(WaitForRect(bar, s.rect))
            << s.command << " " << ::testing::PrintToString(WindowRect(bar));
        EXPECT_TRUE(test::WaitUntil([&] { return ReadPlacementValue(L"State") == s.state; },
                                    test::kPatientMs))
            << s.command;
        EXPECT_TRUE(test::WaitUntil([&] { return IsTopmost(bar); }, test::kPatientMs)) << s.command;
        // Only a floating bar has a sizing frame.
        EXPECT_TRUE(test::WaitUntil(
            [&] {
                const bool sizing = (::GetWindowLongPtrW(bar, GWL_STYLE) & WS_THICKFRAME) != 0;
                return sizing == (s.state == -2);
            },
            test::kPatientMs))
            << s.command;
    }
}

TEST_F(SharedBarTest, HideToTrayHidesTheWindowAndLeftBringsItBackDocked) {
    HWND bar = Bar();
    Command(bar, kTrayOnly);
    EXPECT_TRUE(test::WaitUntil([&] { return !::IsWindowVisible(bar); }, test::kPatientMs));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPreference(L"TrayOnly") == 1; }, test::kPatientMs));
    EXPECT_TRUE(PlacementBecomes(L"State", -2));

    Command(bar, kLeft);
    EXPECT_TRUE(test::WaitUntil([&] { return ::IsWindowVisible(bar) != FALSE; }, test::kPatientMs));
    EXPECT_TRUE(WaitForRect(bar, Docked(0, 84)));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPreference(L"TrayOnly") == 0; }, test::kPatientMs));
    EXPECT_TRUE(PlacementBecomes(L"State", 0));
    // Back where it started, for the next scenario.
    Command(bar, kBottom);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
}

TEST_F(BarWindowTest, ThePlacementSurvivesARestart) {
    {
        test::LarkProcess lark(exe_);
        HWND bar = Start(lark);
        Command(bar, kRight);
        ASSERT_TRUE(WaitForRect(bar, Docked(2, 84)));
        Command(bar, kAlwaysOnTop); // off
        ASSERT_TRUE(test::WaitUntil([&] { return !IsTopmost(bar); }, test::kPatientMs));
        Exit(lark);
    }
    EXPECT_TRUE(PlacementBecomes(L"AlwaysOnTop", 0));
    test::WriteRegDword(kAppBarInfo, L"DockSizeRight", 130);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    EXPECT_TRUE(WaitForRect(bar, Docked(2, 130))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_FALSE(IsTopmost(bar));
    Exit(lark);
    EXPECT_TRUE(PlacementBecomes(L"State", 2));
    EXPECT_TRUE(PlacementBecomes(L"DockSizeRight", 130));
}

TEST_F(BarWindowTest, AStoredMonitorThatNoLongerExistsDocksOnThePrimary) {
    test::WriteRegDword(kAppBarInfo, L"Monitor", 12345);
    test::WriteRegDword(kAppBarInfo, L"State", 1);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    EXPECT_TRUE(WaitForRect(bar, Docked(1, 84)));
    const HMONITOR primary = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    EXPECT_TRUE(
        PlacementBecomes(L"Monitor", static_cast<int32_t>(reinterpret_cast<intptr_t>(primary))));
    Exit(lark);
}

TEST_F(BarWindowTest, AButtonSizeChangeDiscardsTheUsersSizes) {
    // A placement of the user's own: a taller bottom bar and a small floating rectangle.
    test::WriteRegDword(kAppBarInfo, L"State", 3);
    for (const wchar_t* name : {L"DockSizeLeft", L"DockSizeTop", L"DockSizeRight"})
        test::WriteRegDword(kAppBarInfo, name, 100);
    test::WriteRegDword(kAppBarInfo, L"DockSizeBottom", 150);
    test::WriteRegDword(kAppBarInfo, L"FloatRectLeft", 10);
    test::WriteRegDword(kAppBarInfo, L"FloatRectTop", 20);
    test::WriteRegDword(kAppBarInfo, L"FloatRectRight", 310);
    test::WriteRegDword(kAppBarInfo, L"FloatRectBottom", 220);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 150))) << ::testing::PrintToString(WindowRect(bar));

    Command(bar, kSmallButtons);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 26 + 24))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(
        test::WaitUntil([] { return ReadPreference(L"ButtonSize") == 1; }, test::kPatientMs));
    EXPECT_TRUE(PlacementBecomes(L"DockSizeBottom", 50));
    EXPECT_TRUE(PlacementBecomes(L"DockSizeLeft", 50));
    const RECT f = DefaultFloat(233, 51);
    EXPECT_TRUE(PlacementBecomes(L"FloatRectLeft", f.left));
    EXPECT_TRUE(PlacementBecomes(L"FloatRectRight", f.right));
    Exit(lark);
}

TEST_F(SharedBarTest, TabViewOffThenOnRestoresTheThickness) {
    HWND bar = Bar();
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    Command(bar, kTabView); // the default view has the tab strip: this turns it off
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 60)));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPreference(L"ViewGroupButtonMethod") == 0x8001; },
                                test::kPatientMs));
    Command(bar, kTabView);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPreference(L"ViewGroupButtonMethod") == 0x8003; },
                                test::kPatientMs));
    EXPECT_TRUE(PlacementBecomes(L"DockSizeLeft", 84));
}

TEST_F(SharedBarTest, DraggingFromTheBottomToTheLeftEdgeDocksThere) {
    HWND bar = Bar();
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    // The grip strip between the two small buttons, where the bar is not sized.
    const LONG y = screen_.bottom - 42;
    PressToDrag(bar, POINT{5, y});
    for (LONG step = y - 40; step >= 500; step -= 40)
        MouseTo(POINT{5, step});
    MouseTo(POINT{6, 500});
    // While the button is held the bar already takes the shape of the edge it would dock to.
    EXPECT_TRUE(WaitForRect(bar, Docked(0, 84))) << ::testing::PrintToString(WindowRect(bar));
    ReleaseDrag(bar);
    EXPECT_TRUE(PlacementBecomes(L"State", 0));
    EXPECT_EQ(WindowRect(bar), Docked(0, 84));
    // Back where it started, for the next scenario.
    Command(bar, kBottom);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
}

TEST_F(SharedBarTest, LeavingAnEdgeHangsTheFloatingBarFromTheCursor) {
    HWND bar = Bar();
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    PressToDrag(bar, POINT{5, screen_.bottom - 42});
    MouseTo(POINT{300, 600}); // inside the work area: the bar floats
    const RECT f = DefaultFloat();
    const RECT expected{290, 600, 290 + (f.right - f.left), 600 + (f.bottom - f.top)};
    EXPECT_TRUE(WaitForRect(bar, expected)) << ::testing::PrintToString(WindowRect(bar));
    ReleaseDrag(bar);
    EXPECT_TRUE(PlacementBecomes(L"State", -2));
    EXPECT_EQ(WindowRect(bar), expected);
    EXPECT_TRUE(PlacementBecomes(L"FloatRectLeft", 290));
    EXPECT_TRUE(PlacementBecomes(L"FloatRectTop", 600));
    EXPECT_TRUE(
        test::WaitUntil([&] { return (::GetWindowLongPtrW(bar, GWL_STYLE) & WS_THICKFRAME) != 0; },
                        test::kPatientMs));
}

TEST_F(SharedBarTest, SizingADockedBarByItsGripStoresThatEdgesThicknessOnly) {
    HWND bar = Bar();
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    // The inner half of the grip strip beside the menu button sizes a bottom bar.
    const POINT start{16, screen_.bottom - 84 + 10};
    PressToDrag(bar, start);
    MouseTo(POINT{start.x, start.y - 70}); // 70 pixels: one step of 58
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84 + 58))) << ::testing::PrintToString(WindowRect(bar));
    ReleaseDrag(bar);
    EXPECT_TRUE(PlacementBecomes(L"DockSizeBottom", 142));
    EXPECT_EQ(WindowRect(bar), Docked(3, 84 + 58));
    EXPECT_TRUE(PlacementBecomes(L"DockSizeTop", 84));
    EXPECT_TRUE(PlacementBecomes(L"DockSizeLeft", 84));
    EXPECT_TRUE(PlacementBecomes(L"DockSizeRight", 84));
}

TEST_F(SharedBarTest, ADisplayChangeOrAShellNoticeDocksTheBarAgain) {
    HWND bar = Bar();
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    // Pushed out of place behind the program's back.
    ::SetWindowPos(bar, nullptr, 100, 100, 300, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitForRect(bar, RECT{100, 100, 400, 150}));
    ::PostMessageW(bar, WM_DISPLAYCHANGE, 32, MAKELPARAM(screen_.right, screen_.bottom));
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84))) << ::testing::PrintToString(WindowRect(bar));

    ::SetWindowPos(bar, nullptr, 100, 100, 300, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitForRect(bar, RECT{100, 100, 400, 150}));
    ::PostMessageW(bar, ::RegisterWindowMessageW(L"AppBarNotify"), ABN_POSCHANGED, 0);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84))) << ::testing::PrintToString(WindowRect(bar));
}

struct TipSearch {
    DWORD pid;
    std::wstring text;
};

BOOL CALLBACK FindVisibleTip(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<TipSearch*>(lp);
    wchar_t cls[128] = {};
    ::GetClassNameW(hwnd, cls, 128);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    // The class name may carry the common controls' version in front.
    const std::wstring name(cls);
    const std::wstring tail = L"tooltips_class32";
    const bool isTip = name.size() >= tail.size() &&
                       _wcsicmp(name.c_str() + name.size() - tail.size(), tail.c_str()) == 0;
    if (pid != search->pid || !isTip || !::IsWindowVisible(hwnd))
        return TRUE;
    // GetWindowText does not ask a window of another process; the message does.
    wchar_t text[64] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          1000, &copied);
    search->text = text;
    return FALSE;
}

TEST_F(SharedBarTest, TheGripButtonsShowTheirTipsAndTheExitButtonEndsTheProgram) {
    HWND bar = Bar();
    test::LarkProcess& lark = Process();
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    const LONG top = screen_.bottom - 84;
    MouseTo(POINT{7, top + 6}); // the menu button
    MouseTo(POINT{8, top + 7});
    TipSearch search{lark.Id(), L""};
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            ::EnumWindows(&FindVisibleTip, reinterpret_cast<LPARAM>(&search));
            return search.text == L"Menu";
        },
        test::kPatientMs))
        << "tip: " << std::string(search.text.begin(), search.text.end());

    MouseTo(POINT{7, top + 77}); // the exit button
    MouseTo(POINT{8, top + 78});
    LeftButton(true);
    LeftButton(false);
    EXPECT_TRUE(lark.WaitForExit(test::kPatientMs));
    EXPECT_EQ(lark.ExitCode(), 0u);
    EXPECT_TRUE(PlacementBecomes(L"State", 3));
}

// A test whose bar had to be killed must not leave its edge reserved for the next test's bar.
TEST_F(BarWindowTest, AKilledBarLeavesNoEdgeReservedForTheNext) {
    {
        test::LarkProcess lark(exe_);
        HWND bar = Start(lark);
        EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
        lark.Kill();
    }
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84))) << ::testing::PrintToString(WindowRect(bar));
    Exit(lark);
}

// Both ends of the program let go of all the user sees of the bar before they write the
// tree, which takes seconds for a big one: the test hooks hold the end right before the save.
// Wine's shell answers ABM_QUERYPOS for any window: the bar's reserved edge shows there.
TEST_F(BarWindowTest, TheEndLetsGoOfWhatTheUserSeesBeforeItWritesTheTree) {
    const auto seen = [&](HWND bar) {
        NOTIFYICONDATAW icon{}; // modified with nothing to change: true while it is there
        icon.cbSize = sizeof(icon);
        icon.hWnd = bar;
        icon.uID = 100;
        const bool hotKeyFree = ::RegisterHotKey(nullptr, 0x77, MOD_CONTROL | MOD_ALT, 'A');
        ::UnregisterHotKey(nullptr, 0x77);
        APPBARDATA edge{};
        edge.cbSize = sizeof(edge);
        edge.uEdge = ABE_BOTTOM;
        edge.rc = screen_;
        ::SHAppBarMessage(ABM_QUERYPOS, &edge);
        return std::string(::IsWindowVisible(bar) ? "window " : "") +
               (::Shell_NotifyIconW(NIM_MODIFY, &icon) ? "tray icon " : "") +
               (hotKeyFree ? "" : "hotkey ") + (edge.rc.bottom < screen_.bottom ? "edge" : "");
    };
    for (const UINT end : {UINT{WM_COMMAND}, UINT{WM_ENDSESSION}}) {
        ASSERT_FALSE(test::PrepareDataFile().empty());
        test::WriteRegDword(kPreferences, L"TBHotKeyCode", 0x60041); // Ctrl+Alt+A
        test::LarkProcess lark(exe_);
        HWND bar = Start(lark);
        EXPECT_EQ(seen(bar), "window tray icon hotkey edge");
        SendNow(::GetDlgItem(bar, 6000), WM_COMMAND, 11001, 0); // "Web" shown: a change
        const std::wstring hold = L"LarkRunBar.TestHoldSave." + std::to_wstring(lark.Id());
        const fw::Handle held(::CreateEventW(nullptr, TRUE, FALSE, hold.c_str()));
        const fw::Handle release(
            ::CreateEventW(nullptr, TRUE, FALSE, (hold + L".release").c_str()));
        ASSERT_TRUE(::PostMessageW(bar, end, end == WM_COMMAND ? WPARAM{kExit} : TRUE, 0)) << end;
        ASSERT_EQ(::WaitForSingleObject(held.get(), test::kPatientMs), WAIT_OBJECT_0) << end;
        EXPECT_EQ(seen(bar), "") << end;
        ::SetEvent(release.get());
        ASSERT_TRUE(lark.WaitForExit(test::kPatientMs)) << lark.Problem();
        oVoiceBook tree;
        ASSERT_TRUE(tree.LoadFile(test::DataFolder() + L"\\" + model::kDataFileName)) << end;
        EXPECT_EQ(tree.m_strCommand.str(), L"Web") << end;
    }
}

} // namespace
