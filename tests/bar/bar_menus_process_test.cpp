// The menus, tray icon and hotkey of the real LarkB.exe on a prepared tree: the hotkey opens
// the ToolBar menu, its commands run buttons (and stale ones nothing), the taskbar's restart
// brings the icon back, a monitor of an earlier run gives way to the primary.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include "../shell/start_record.h"
#include "bar/monitors.h"
#include "bar/test_hooks.h"
#include "framework/com.h"
#include "model/data_path.h"
#include "model/launch_stats.h"
#include "model/voice_book.h"
#include "resource.h"
#include "support/dialog_answer.h"
#include "support/lark_process.h"
#include "support/test_util.h"

namespace {

const std::wstring kPreferences = std::wstring(test::kProductKey) + L"\\Preferences";
const std::wstring kAppBarInfo = std::wstring(test::kProductKey) + L"\\AppBarInfo";

struct MenuSearch {
    DWORD pid;
    HWND found;
};

// The visible popup menu of process `pid`, or null.
HWND OpenMenuOf(DWORD pid) {
    MenuSearch search{pid, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<MenuSearch*>(lp);
            wchar_t cls[16] = {};
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid && ::IsWindowVisible(hwnd) && ::GetClassNameW(hwnd, cls, 16) &&
                std::wstring(cls) == L"#32768") {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Keys(std::initializer_list<std::pair<WORD, bool>> keys) {
    for (const auto& [vk, down] : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        ASSERT_EQ(::SendInput(1, &in, sizeof(in)), 1u) << ::GetLastError();
        test::PumpMessages(30);
    }
}

// Each key pressed and released in turn.
void Tap(std::initializer_list<WORD> keys) {
    for (WORD vk : keys)
        Keys({{vk, true}, {vk, false}});
}

class BarMenusProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::KillAllLarkProcesses();
        test::DeleteProductKey();
        ::SetEnvironmentVariableW(L"LARK_TEST_HOOKS", L"1");
        test::RemoveTree(test::DataFolder());
        model::DataFilePath(model::kDataFileName); // the folders exist again
    }
    void TearDown() override {
        if (window_)
            ::DestroyWindow(window_);
        test::KillAllLarkProcesses();
        test::RemoveTree(test::DataFolder());
        ::SetEnvironmentVariableW(L"LARK_TEST_HOOKS", nullptr);
        ::SetEnvironmentVariableW(L"LARK_RECORD_FILE", nullptr);
    }

    // Two categories of three buttons whose targets do not exist, "Work" (shown first) linked
    // to `workFolder` when one is given; then `hundreds` categories of 100 such buttons, the
    // very last of which starts the recording helper.
    void Start(const std::wstring& workFolder = L"", int hundreds = 0) {
        oVoiceBook tree;
        tree.ResetAll(L"ToolBar");
        const auto category = [&](const std::wstring& name, int buttons, const wchar_t* folder) {
            NodeRecordFields fields = CategoryFields(name);
            fields.command = folder;
            oVoiceBook* c = tree.AddChild(fields);
            oVoiceBook* last = nullptr;
            for (int i = 0; i < buttons; ++i)
                last = c->AddChild(
                    ButtonFields(name + std::to_wstring(i), L"C:\\nowhere\\missing.exe"));
            return last;
        };
        category(L"Work", 3, workFolder.c_str());
        category(L"Play", 3, L"");
        for (int c = 0; c < hundreds; ++c) {
            oVoiceBook* last = category(L"C" + std::to_wstring(c), 100, L"");
            if (c == hundreds - 1)
                last->SetCommand(shelltest::HelperPath().c_str());
        }
        ASSERT_TRUE(tree.SaveFile(test::DataFolder() + L"\\" + model::kCurrentDataFile));
        ASSERT_TRUE(lark_.Start());
        bar_ = lark_.WaitForBar();
        ASSERT_NE(bar_, nullptr);
        DWORD_PTR answer = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(bar_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer))
            << ::GetLastError();
    }

    LRESULT Query(WPARAM what) const {
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(bar_, ::RegisterWindowMessageW(L"LarkRunBar.TestQuery"), what, 0,
                              SMTO_NORMAL, 10000, &answer);
        return static_cast<LRESULT>(answer);
    }

    bool WaitForMenu(bool open) const {
        return test::WaitUntil([&] { return (OpenMenuOf(lark_.Id()) != nullptr) == open; },
                               test::kPatientMs);
    }

    // A window of the test has the focus: global hotkeys reach Wine only then.
    void FocusOwnWindow() {
        window_ = ::CreateWindowExW(0, L"STATIC", L"test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200,
                                    200, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr) << ::GetLastError();
        ::SetForegroundWindow(window_);
        ASSERT_TRUE(
            test::WaitUntil([&] { return ::GetForegroundWindow() == window_; }, test::kPatientMs));
        // Keys reach this thread: a Shift press shows in its key state (the first keys of a
        // fresh display can be lost, and with them a chord).
        const auto shiftDown = [] { return (::GetKeyState(VK_SHIFT) & 0x8000) != 0; };
        ASSERT_TRUE(test::WaitUntil(
            [&] {
                Keys({{VK_SHIFT, true}});
                const bool down = shiftDown();
                Keys({{VK_SHIFT, false}});
                return down;
            },
            test::kPatientMs));
        ASSERT_TRUE(test::WaitUntil([&] { return !shiftDown(); }, test::kPatientMs));
    }

    // The chord of "TBHotKeyCode" 0x60041, pressed for real.
    static void CtrlAltA() {
        for (WORD vk : std::initializer_list<WORD>{VK_CONTROL, VK_MENU, 'A'})
            Keys({{vk, true}});
        for (WORD vk : std::initializer_list<WORD>{'A', VK_MENU, VK_CONTROL})
            Keys({{vk, false}});
    }

    // The foreground window with its class and process, for a failure message.
    static std::string Foreground() {
        const HWND fg = ::GetForegroundWindow();
        DWORD pid = 0;
        ::GetWindowThreadProcessId(fg, &pid);
        wchar_t cls[64] = {};
        ::GetClassNameW(fg, cls, 64);
        return "foreground " + std::to_string(reinterpret_cast<uintptr_t>(fg)) + " (" +
               test::Narrow(cls) + ", process " + std::to_string(pid) + ")";
    }

    bool FocusComesBack() const {
        return test::WaitUntil(
            [&] { return ::GetForegroundWindow() == window_ && ::GetFocus() == window_; },
            test::kPatientMs);
    }

    test::LarkProcess lark_;
    HWND bar_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(BarMenusProcessTest, CtrlAltAOpensTheToolBarMenuAndGoesWithTheBar) {
    test::WriteRegDword(kPreferences, L"TBHotKeyCode", 0x60041);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(test::WaitUntil([&] { return Query(TEST_QUERY_HOTKEY) == 1; }, test::kPatientMs));
    // The chord is taken: a second registration of it fails.
    EXPECT_FALSE(::RegisterHotKey(nullptr, 0x77, MOD_CONTROL | MOD_ALT, 'A'));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));

    ASSERT_NO_FATAL_FAILURE(FocusOwnWindow());
    CtrlAltA();
    ASSERT_TRUE(WaitForMenu(true));
    Tap({VK_ESCAPE});
    EXPECT_TRUE(WaitForMenu(false));
    EXPECT_TRUE(FocusComesBack()) << Foreground();

    ASSERT_TRUE(lark_.Exit());
    EXPECT_TRUE(::RegisterHotKey(nullptr, 0x77, MOD_CONTROL | MOD_ALT, 'A')) << ::GetLastError();
    ::UnregisterHotKey(nullptr, 0x77);
}

TEST_F(BarMenusProcessTest, AToolBarMenuCommandRunsItsButtonOnlyWhileItIsInTheList) {
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(Query(TEST_QUERY_HOTKEY), 0); // "TBHotKeyCode" 0: none
    ::PostMessageW(bar_, WM_HOTKEY, 1, 0);
    ASSERT_TRUE(WaitForMenu(true));
    EXPECT_EQ(Query(TEST_QUERY_TOOLBAR_MENU), 0); // two categories: nothing numbered yet
    // Play (the last item) opened, then both menus closed: keys handed to the menu's loop
    // through the top menu's window, which lives until the last of them.
    const HWND top = OpenMenuOf(lark_.Id());
    for (WPARAM key : {VK_UP, VK_RIGHT, VK_ESCAPE, VK_ESCAPE})
        ::PostMessageW(top, WM_KEYDOWN, key, 0);
    ASSERT_TRUE(WaitForMenu(false));
    EXPECT_EQ(Query(TEST_QUERY_TOOLBAR_MENU), 3);

    // Beyond what Play numbered: nothing. "Play1": its target is missing.
    ::PostMessageW(bar_, WM_COMMAND, 12003, 0);
    test::DialogAnswerer answer(IDOK, lark_.Id());
    ::PostMessageW(bar_, WM_COMMAND, 12001, 0);
    ASSERT_TRUE(answer.Finish());
    EXPECT_EQ(answer.Seen().text, L"Can't find Play1.");
    EXPECT_EQ(answer.Seen().owner, bar_);
    ASSERT_TRUE(lark_.Exit());
}

TEST_F(BarMenusProcessTest, TheLastOfOverAThousandButtonsStartsAndTheFocusComesBack) {
    test::WriteRegDword(kPreferences, L"TBHotKeyCode", 0x60041);
    test::TempDir dir;
    const std::wstring record = dir / L"record.txt";
    shelltest::RecordInto(record);
    ASSERT_NO_FATAL_FAILURE(Start(L"", 11));
    ASSERT_TRUE(test::WaitUntil([&] { return Query(TEST_QUERY_HOTKEY) == 1; }, test::kPatientMs));
    ASSERT_NO_FATAL_FAILURE(FocusOwnWindow());
    CtrlAltA();
    ASSERT_TRUE(WaitForMenu(true));
    // The last category, and in it the last button.
    Tap({VK_UP, VK_RIGHT, VK_UP, VK_RETURN});
    shelltest::StartRecord started;
    EXPECT_TRUE(shelltest::WaitForRecord(record, started)) << "the button did not start";
    EXPECT_TRUE(FocusComesBack()) << Foreground();
    ASSERT_TRUE(lark_.Exit());
}

TEST_F(BarMenusProcessTest, RightAfterTheStartOfABigFileTheWholeTreeIsThere) {
    // Only "Work" is read before the first paint; whatever comes next sees every category.
    ASSERT_NO_FATAL_FAILURE(Start(L"", 30));
    ::PostMessageW(bar_, WM_HOTKEY, 1, 0);
    ASSERT_TRUE(WaitForMenu(true));
    // The last category's submenu opened, then both menus closed.
    const HWND top = OpenMenuOf(lark_.Id());
    for (WPARAM key : {VK_UP, VK_RIGHT, VK_ESCAPE, VK_ESCAPE})
        ::PostMessageW(top, WM_KEYDOWN, key, 0);
    ASSERT_TRUE(WaitForMenu(false));
    EXPECT_EQ(Query(TEST_QUERY_TOOLBAR_MENU), 100);
    // The last category shown on the bar from its category button: its buttons are there.
    const HWND toolBar = ::GetDlgItem(bar_, 6000);
    ::PostMessageW(toolBar, WM_COMMAND, 11000 + 31, 0);
    const auto shows = [&](const wchar_t* name) {
        HWND first = ::GetDlgItem(toolBar, 10000);
        wchar_t text[64] = {};
        DWORD_PTR got = 0;
        return first &&
               ::SendMessageTimeoutW(first, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text),
                                     SMTO_NORMAL, 5000, &got) &&
               std::wstring(text) == name;
    };
    EXPECT_TRUE(test::WaitUntil([&] { return shows(L"C290"); }, test::kPatientMs));
    ASSERT_TRUE(lark_.Exit());
}

TEST_F(BarMenusProcessTest, TheFindHotkeyAndTypingOnTheBarFindButtonsAndEnterStartsOne) {
    test::WriteRegDword(kPreferences, L"FindHotKeyCode", 0x60046); // Ctrl+Alt+F
    test::TempDir dir;
    const std::wstring record = dir / L"record.txt";
    shelltest::RecordInto(record);
    ASSERT_NO_FATAL_FAILURE(Start(L"", 1));
    ASSERT_TRUE(
        test::WaitUntil([&] { return Query(TEST_QUERY_FIND_HOTKEY) == 1; }, test::kPatientMs));
    ASSERT_NO_FATAL_FAILURE(FocusOwnWindow());
    for (WORD vk : std::initializer_list<WORD>{VK_CONTROL, VK_MENU, 'F'})
        Keys({{vk, true}});
    for (WORD vk : std::initializer_list<WORD>{'F', VK_MENU, VK_CONTROL})
        Keys({{vk, false}});
    // Nothing typed lists everything, up to a hundred rows (the tree has 109 entries).
    ASSERT_TRUE(
        test::WaitUntil([&] { return Query(TEST_QUERY_FIND_ROWS) == 101; }, test::kPatientMs))
        << Query(TEST_QUERY_FIND_ROWS);
    // The field keeps the keys; the list's selection moves (1 + the row).
    for (const auto& [key, selected] :
         {std::pair<WORD, LRESULT>{VK_DOWN, 2}, {VK_DOWN, 3}, {VK_UP, 2}, {VK_PRIOR, 1}}) {
        Tap({key});
        EXPECT_TRUE(test::WaitUntil([&] { return Query(TEST_QUERY_FIND_SELECTED) == selected; },
                                    test::kPatientMs))
            << "key " << key << ": " << Query(TEST_QUERY_FIND_SELECTED);
    }
    Tap({'C', '0', '9', '9'});
    ASSERT_TRUE(test::WaitUntil([&] { return Query(TEST_QUERY_FIND_ROWS) == 2; }, test::kPatientMs))
        << Query(TEST_QUERY_FIND_ROWS);
    {
        // A screen reader reads the list and its row.
        fw::ComInit com;
        const HWND list = ::FindWindowExW(::FindWindowW(L"LarkFindBox", nullptr), nullptr,
                                          L"LarkVirtualList", nullptr);
        fw::ComPtr<IAccessible> object;
        ASSERT_EQ(::AccessibleObjectFromWindow(list, static_cast<DWORD>(OBJID_CLIENT),
                                               __uuidof(IAccessible), object.put_void()),
                  S_OK);
        VARIANT self{}, row{};
        self.vt = row.vt = VT_I4;
        row.lVal = 1;
        VARIANT role{}, state{};
        long count = 0;
        BSTR name = nullptr, action = nullptr;
        EXPECT_EQ(object->get_accChildCount(&count), S_OK);
        EXPECT_EQ(count, 1);
        EXPECT_TRUE(SUCCEEDED(object->get_accRole(self, &role)) && role.lVal == ROLE_SYSTEM_LIST);
        EXPECT_TRUE(SUCCEEDED(object->get_accRole(row, &role)) &&
                    role.lVal == ROLE_SYSTEM_LISTITEM);
        EXPECT_TRUE(SUCCEEDED(object->get_accState(row, &state)) &&
                    (state.lVal & STATE_SYSTEM_SELECTED) != 0);
        EXPECT_TRUE(SUCCEEDED(object->get_accName(row, &name)) && name &&
                    std::wstring(name) == L"C099");
        EXPECT_TRUE(SUCCEEDED(object->get_accDefaultAction(row, &action)) && action &&
                    std::wstring(action) == L"Open");
        ::SysFreeString(name);
        ::SysFreeString(action);
    }
    Tap({VK_RETURN});
    shelltest::StartRecord started;
    EXPECT_TRUE(shelltest::WaitForRecord(record, started)) << "the button did not start";
    EXPECT_EQ(Query(TEST_QUERY_FIND_ROWS), 0);
    EXPECT_TRUE(FocusComesBack()) << Foreground();
    const std::vector<uint8_t> counts =
        test::ReadFileBytes(test::DataFolder() + L"\\" + model::kLaunchStatsFile);
    EXPECT_NE(std::string(counts.begin(), counts.end()).find("\tC0%1FC099%1F"), std::string::npos);

    // A letter typed on the bar opens the box with it; Escape gives the bar its focus back.
    // Typed only once the started program is gone and the bar's thread has given a window of
    // the bar the keyboard focus.
    ASSERT_TRUE(shelltest::WaitForHelpersGone(lark_.Id()));
    ::SetForegroundWindow(bar_);
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            return ::GetForegroundWindow() == bar_ &&
                   ::GetGUIThreadInfo(::GetWindowThreadProcessId(bar_, nullptr), &info) &&
                   (info.hwndFocus == bar_ || ::IsChild(bar_, info.hwndFocus));
        },
        test::kPatientMs));
    Tap({'P'});
    ASSERT_TRUE(test::WaitUntil([&] { return Query(TEST_QUERY_FIND_ROWS) == 5; }, test::kPatientMs))
        << Query(TEST_QUERY_FIND_ROWS);
    Tap({VK_ESCAPE});
    EXPECT_TRUE(test::WaitUntil(
        [&] { return Query(TEST_QUERY_FIND_ROWS) == 0 && ::GetForegroundWindow() == bar_; },
        test::kPatientMs))
        << Query(TEST_QUERY_FIND_ROWS) << " rows; foreground " << ::GetForegroundWindow();

    // A category chosen from the hotkey shows on the bar with the keyboard on its first
    // button; Escape goes back to where the hotkey was pressed.
    ::DestroyWindow(window_);
    ASSERT_NO_FATAL_FAILURE(FocusOwnWindow());
    for (WORD vk : std::initializer_list<WORD>{VK_CONTROL, VK_MENU, 'F'})
        Keys({{vk, true}});
    for (WORD vk : std::initializer_list<WORD>{'F', VK_MENU, VK_CONTROL})
        Keys({{vk, false}});
    ASSERT_TRUE(test::WaitUntil([&] { return Query(TEST_QUERY_FIND_ROWS) > 0; }, test::kPatientMs))
        << "foreground " << ::GetForegroundWindow();
    Tap({'P', 'L', 'A', 'Y'});
    ASSERT_TRUE(test::WaitUntil([&] { return Query(TEST_QUERY_FIND_ROWS) == 5; }, test::kPatientMs))
        << Query(TEST_QUERY_FIND_ROWS);
    Tap({VK_RETURN});
    const auto focusText = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        wchar_t text[64] = {};
        if (::GetGUIThreadInfo(::GetWindowThreadProcessId(bar_, nullptr), &info))
            ::SendMessageTimeoutW(info.hwndFocus, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text),
                                  SMTO_NORMAL, 5000, nullptr);
        return std::wstring(text);
    };
    EXPECT_TRUE(test::WaitUntil([&] { return focusText() == L"Play0"; }, test::kPatientMs))
        << test::Narrow(focusText());
    Tap({VK_ESCAPE});
    EXPECT_TRUE(FocusComesBack()) << Foreground();
    ASSERT_TRUE(lark_.Exit());
}

TEST_F(BarMenusProcessTest, TheBarsOwnRefreshAsksToReloadTheShownCategory) {
    test::TempDir folder;
    ASSERT_NO_FATAL_FAILURE(Start(folder.path()));
    test::DialogAnswerer yes(IDYES, lark_.Id());
    ::PostMessageW(bar_, WM_COMMAND, ID_REFRESH_CATEGORY, 0);
    ASSERT_TRUE(yes.Finish());
    EXPECT_NE(yes.Seen().text.find(L"[Work]"), std::wstring::npos) << test::Narrow(yes.Seen().text);
    ASSERT_TRUE(lark_.Exit());
}

TEST_F(BarMenusProcessTest, TheTrayIconIsAddedAgainWhenTheTaskbarRestarts) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(
        test::WaitUntil([&] { return Query(TEST_QUERY_TRAY_ICONS_ADDED) == 1; }, test::kPatientMs))
        << Query(TEST_QUERY_TRAY_ICONS_ADDED);
    ::PostMessageW(bar_, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(
        test::WaitUntil([&] { return Query(TEST_QUERY_TRAY_ICONS_ADDED) == 2; }, test::kPatientMs));
    ASSERT_TRUE(lark_.Exit());
}

TEST_F(BarMenusProcessTest, TheTrayMenuOfAHiddenBarBringsItBackDockedLeft) {
    test::WriteRegDword(kPreferences, L"TrayOnly", 1);
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_FALSE(::IsWindowVisible(bar_));
    ::PostMessageW(bar_, 0x8063, 100, WM_RBUTTONUP);
    ASSERT_TRUE(WaitForMenu(true));
    // Find, Preferences, Position, then its first item: Left.
    Keys({{VK_DOWN, true},
          {VK_DOWN, false},
          {VK_DOWN, true},
          {VK_DOWN, false},
          {VK_DOWN, true},
          {VK_DOWN, false},
          {VK_RIGHT, true},
          {VK_RIGHT, false},
          {VK_RETURN, true},
          {VK_RETURN, false}});
    ASSERT_TRUE(
        test::WaitUntil([&] { return ::IsWindowVisible(bar_) != FALSE; }, test::kPatientMs));
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(bar::PrimaryMonitor(), &mi);
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            RECT r{};
            ::GetWindowRect(bar_, &r);
            return r.left == mi.rcMonitor.left && r.bottom == mi.rcMonitor.bottom &&
                   r.right - r.left < 200;
        },
        test::kPatientMs));
    ASSERT_TRUE(lark_.Exit());
}

TEST_F(BarMenusProcessTest, AMonitorOfAnEarlierRunGivesWayToThePrimary) {
    test::WriteRegDword(kAppBarInfo, L"Monitor", 0x7777);
    ASSERT_NO_FATAL_FAILURE(Start());
    const int32_t primary = bar::MonitorToStored(bar::PrimaryMonitor());
    auto stored = [] {
        DWORD v = 0;
        test::ReadRegDwordValue(kAppBarInfo, L"Monitor", v);
        return static_cast<int32_t>(v);
    };
    EXPECT_TRUE(test::WaitUntil([&] { return stored() == primary; }, test::kPatientMs)) << stored();
    RECT r{};
    ::GetWindowRect(bar_, &r);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(bar::PrimaryMonitor(), &mi);
    EXPECT_EQ(r.bottom, mi.rcMonitor.bottom);
    // The one monitor's item redocks there; the item of a twelfth monitor does nothing.
    ::PostMessageW(bar_, WM_COMMAND, 6100, 0);
    ::PostMessageW(bar_, WM_COMMAND, 6111, 0);
    ::PostMessageW(bar_, WM_COMMAND, 6101, 0);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(bar_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer));
    EXPECT_EQ(stored(), primary);
    ASSERT_TRUE(lark_.Exit());
}

} // namespace
