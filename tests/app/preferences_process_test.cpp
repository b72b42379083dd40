// The preferences sheet and the auto-hide time dialog of the real program, driven through
// their windows as a user would, and the German pack chosen for a start.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>

#include "bar/bar_layout.h"
#include "bar/bar_process_fixture.h"
#include "framework/gdi.h"
#include "support/dialog_answer.h"

namespace {

using bartest::ReadPreference;

// The first window (top-level windows of process `pid`, or descendants of `parent`) that
// `match` accepts.
HWND FindWindowWhere(DWORD pid, HWND parent, std::function<bool(HWND)> match) {
    struct Search {
        DWORD pid;
        std::function<bool(HWND)> match;
        HWND found;
    } search{pid, std::move(match), nullptr};
    const WNDENUMPROC visit = [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if ((s->pid && (owner != s->pid || !::IsWindowVisible(hwnd))) || !s->match(hwnd))
            return TRUE;
        s->found = hwnd;
        return FALSE;
    };
    if (parent)
        ::EnumChildWindows(parent, visit, reinterpret_cast<LPARAM>(&search));
    else
        ::EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    return text;
}

HWND FindControl(HWND parent, int id) {
    return FindWindowWhere(0, parent, [id](HWND c) { return ::GetDlgCtrlID(c) == id; });
}

LRESULT SendTo(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    EXPECT_NE(::SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL, 10000, &result), 0)
        << "message " << msg << " error " << ::GetLastError();
    return static_cast<LRESULT>(result);
}

std::wstring ComboText(HWND combo, int index) {
    wchar_t text[256] = {};
    SendTo(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

class PreferencesProcessTest : public bartest::BarWindowTest {
protected:
    void StartBar(bool german = false) {
        if (german) {
            ASSERT_TRUE(::CopyFileW((test::ExeFolder() + L"LarkB.DEU").c_str(),
                                    (dir_ / L"LarkB.DEU").c_str(), FALSE))
                << ::GetLastError();
        }
        lark_ = std::make_unique<test::LarkProcess>(exe_);
        bar_ = Start(*lark_);
    }
    // Waits for a window of the bar's process that `match` accepts.
    HWND WaitFor(std::function<bool(HWND)> match) {
        HWND found = nullptr;
        EXPECT_TRUE(test::WaitUntil(
            [&] { return (found = FindWindowWhere(lark_->Id(), nullptr, match)) != nullptr; },
            test::kPatientMs));
        return found;
    }
    HWND OpenSheet(const std::wstring& caption = L"Preferences") {
        Command(bar_, 5003);
        return WaitFor([&](HWND w) { return TextOf(w) == caption; });
    }
    HWND OpenDelayDialog() {
        Command(bar_, 33083);
        return WaitFor([](HWND w) { return ::GetDlgItem(w, 1100) != nullptr; });
    }
    // Presses a button of a window of the bar's process and waits until the window is gone.
    static bool Close(HWND window, int button) {
        test::PressButton(window, button);
        return test::WaitUntil([&] { return !::IsWindow(window); }, test::kPatientMs);
    }

    std::unique_ptr<test::LarkProcess> lark_;
    HWND bar_ = nullptr;
};

TEST_F(PreferencesProcessTest, TheHotkeyIsShownConvertedAndStoredBackOrCleared) {
    test::WriteRegDword(bartest::kPreferences, L"TBHotKeyCode", 0x60041); // Ctrl+Alt+A
    StartBar();
    HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    // Wholly on the screen, although the bar lies at the bottom edge.
    RECT placed{}, inside{};
    ::GetWindowRect(sheet, &placed);
    EXPECT_TRUE(::IntersectRect(&inside, &placed, &work_) && ::EqualRect(&inside, &placed));
    HWND hotkey = FindControl(sheet, 1118);
    EXPECT_EQ(SendTo(hotkey, HKM_GETHOTKEY), MAKEWORD('A', HOTKEYF_CONTROL | HOTKEYF_ALT));
    SendTo(hotkey, HKM_SETHOTKEY, MAKEWORD(VK_F5, HOTKEYF_SHIFT));
    SendTo(FindControl(sheet, 1124), HKM_SETHOTKEY, MAKEWORD(VK_F6, HOTKEYF_CONTROL)); // find box
    ASSERT_TRUE(Close(sheet, IDOK));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPreference(L"TBHotKeyCode") == 0x10074; },
                                test::kPatientMs));
    EXPECT_EQ(ReadPreference(L"FindHotKeyCode"), 0x20075);

    sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    SendTo(FindControl(sheet, 1118), HKM_SETHOTKEY, 0);
    ASSERT_TRUE(Close(sheet, IDOK));
    EXPECT_TRUE(
        test::WaitUntil([] { return ReadPreference(L"TBHotKeyCode") == 0; }, test::kPatientMs));
    // No hotkey of the bar holds the key any more.
    ASSERT_NE(::RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, 'A'), FALSE) << ::GetLastError();
    ::UnregisterHotKey(nullptr, 7);
    Exit(*lark_);
}

TEST_F(PreferencesProcessTest, MonochromeRepaintsOnlyWhenOkChangesIt) {
    StartBar();
    RECT client{};
    ::GetClientRect(bar_, &client);
    const RECT strip = bar::GripStripRect(SIZE{client.right, client.bottom}, false);
    POINT probe{(strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2};
    ::ClientToScreen(bar_, &probe);
    for (int button : {IDCANCEL, IDOK}) {
        HWND sheet = OpenSheet();
        ASSERT_NE(sheet, nullptr);
        SendTo(FindControl(sheet, 1123), BM_CLICK);
        ASSERT_TRUE(Close(sheet, button));
        test::PumpMessages(300);
    }
    EXPECT_TRUE(test::WaitUntil([] { return ReadPreference(L"IconMono") == 1; }, test::kPatientMs));
    // Grey or black, as the bar is inactive or active: the caption colours are gone at once.
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            const COLORREF c = bartest::ScreenPixel(probe);
            return c == RGB(0, 0, 0) || c == RGB(192, 192, 192);
        },
        test::kPatientMs))
        << std::hex << bartest::ScreenPixel(probe);

    // OK without a change repaints nothing: a mark drawn over the bar's buttons (away from the
    // grip, which the sheet's activation repaints) stays, and no paint is pending once the bar
    // has taken the messages that followed the sheet.
    HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    const COLORREF mark = RGB(255, 0, 255);
    POINT spotAt{client.right / 2, client.bottom / 2};
    ::ClientToScreen(bar_, &spotAt);
    HWND under = ::WindowFromPoint(spotAt);
    // Drawn through the bar's own window, over its children: another process's drawing into
    // a child window does not reach the screen under Wine.
    POINT local{client.right / 2, client.bottom / 2};
    HDC dc = ::GetDCEx(bar_, nullptr, DCX_CACHE);
    ASSERT_NE(dc, nullptr) << ::GetLastError();
    fw::Brush brush(::CreateSolidBrush(mark));
    const RECT spot{local.x - 1, local.y - 1, local.x + 2, local.y + 2};
    ::FillRect(dc, &spot, brush.get());
    ::GdiFlush();
    ::ReleaseDC(bar_, dc);
    ASSERT_TRUE(
        test::WaitUntil([&] { return bartest::ScreenPixel(spotAt) == mark; }, test::kPatientMs));
    ASSERT_TRUE(Close(sheet, IDOK));
    SendTo(bar_, WM_NULL);
    RECT pending{};
    wchar_t underClass[64] = L"";
    ::GetClassNameW(under, underClass, 64);
    EXPECT_FALSE(::GetUpdateRect(under, &pending, FALSE))
        << "pending paint in a " << test::Narrow(underClass) << " at " << pending.left << ","
        << pending.top << "-" << pending.right << "," << pending.bottom;
    EXPECT_EQ(bartest::ScreenPixel(spotAt), mark);
    Exit(*lark_);
}

TEST_F(PreferencesProcessTest, HeldByAnotherDialogTheBarOpensNoneAndTheDisableBoxGreysTheList) {
    StartBar();
    const UINT hold = ::RegisterWindowMessageW(L"LarkRunBar.TestSetHold");
    SendTo(bar_, hold, 1);
    // Sent, so their answers mean the commands have been carried out.
    SendTo(bar_, WM_COMMAND, 5003);
    SendTo(bar_, WM_COMMAND, 33083);
    EXPECT_EQ(FindWindowWhere(
                  lark_->Id(), nullptr,
                  [](HWND w) { return TextOf(w) == L"Preferences" || ::GetDlgItem(w, 1100); }),
              nullptr);
    SendTo(bar_, hold, 0);

    HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    SendTo(sheet, PSM_SETCURSEL, 1);
    HWND list = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] { return (list = FindControl(sheet, 1186)) != nullptr; },
                                test::kPatientMs));
    EXPECT_TRUE(::IsWindowEnabled(list));
    EXPECT_EQ(ComboText(list, 0), L"[Default Language]");
    SendTo(FindControl(sheet, 1173), BM_CLICK);
    EXPECT_FALSE(::IsWindowEnabled(list));
    ASSERT_TRUE(Close(sheet, IDOK));
    DWORD disable = 0, language = 0xFFFF;
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            return test::ReadRegDwordValue(test::kProductKey, L"UI_LanguagePack_Disable",
                                           disable) &&
                   disable == 1;
        },
        test::kPatientMs));
    EXPECT_TRUE(test::ReadRegDwordValue(test::kProductKey, L"UI_LanguageID", language));
    EXPECT_EQ(language, 0u);
    Exit(*lark_);
}

TEST_F(PreferencesProcessTest, TheDelayIsRangeCheckedAndKeptWhileUnused) {
    StartBar();
    HWND dialog = OpenDelayDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, 1100)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, 1101)));
    ASSERT_TRUE(Close(dialog, IDOK));
    EXPECT_EQ(ReadPreference(L"AutoHideDelayTime"), 100);

    dialog = OpenDelayDialog();
    ASSERT_NE(dialog, nullptr);
    SendTo(::GetDlgItem(dialog, 1099), BM_CLICK);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, 1100)));
    SendTo(::GetDlgItem(dialog, 1100), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"50"));
    test::PressButton(dialog, IDOK);
    HWND box = WaitFor([](HWND w) { return ::GetDlgItem(w, 0xFFFF) != nullptr; });
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(TextOf(::GetDlgItem(box, 0xFFFF)), L"Enter an integer between 100 and 5000.");
    EXPECT_EQ(TextOf(box), L"larkRunBar ");
    ASSERT_TRUE(Close(box, IDOK));
    ASSERT_TRUE(::IsWindow(dialog));
    SendTo(::GetDlgItem(dialog, 1100), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"2500"));
    ASSERT_TRUE(Close(dialog, IDOK));
    EXPECT_TRUE(test::WaitUntil([] { return ReadPreference(L"AutoHideDelayTime") == 2500; },
                                test::kPatientMs));
    EXPECT_EQ(ReadPreference(L"UseAutoHideDelayTime"), 1);
    Exit(*lark_);
}

TEST_F(PreferencesProcessTest, TheGermanPackChosenByItsIdShowsGermanDialogs) {
    test::WriteRegDword(test::kProductKey, L"UI_LanguageID", 0x407);
    StartBar(true);
    HWND dialog = OpenDelayDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(dialog), L"Verzögerung beim automatischen Ausblenden");
    ASSERT_TRUE(Close(dialog, IDCANCEL));

    HWND sheet = OpenSheet(L"Einstellungen");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(ComboText(FindControl(sheet, 1114), 1), L"Menü \"ToolBar\" anzeigen");
    SendTo(sheet, PSM_SETCURSEL, 1);
    HWND list = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] { return (list = FindControl(sheet, 1186)) != nullptr; },
                                test::kPatientMs));
    EXPECT_EQ(ComboText(list, 0), L"[Standardsprache]");
    EXPECT_EQ(SendTo(list, CB_GETCOUNT), 2);
    EXPECT_EQ(SendTo(list, CB_GETITEMDATA, SendTo(list, CB_GETCURSEL)), 0x407);
    ASSERT_TRUE(Close(sheet, IDCANCEL));
    Exit(*lark_);
}

// Runs in the German run of this program (a second CTest entry whose Wine starts in a German
// locale): the program, started by that user, takes the pack beside it without a choice.
TEST_F(PreferencesProcessTest, AGermanSpeakingUserGetsTheGermanPackWithoutChoosingIt) {
    if (PRIMARYLANGID(::GetUserDefaultUILanguage()) != LANG_GERMAN)
        GTEST_SKIP() << "runs where Wine's user-interface language is German";
    StartBar(true);
    HWND dialog = OpenDelayDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(::GetDlgItem(dialog, IDCANCEL)), L"Abbrechen");
    ASSERT_TRUE(Close(dialog, IDCANCEL));
    ASSERT_TRUE(Close(OpenSheet(L"Einstellungen"), IDCANCEL));
    Exit(*lark_);
}

} // namespace
