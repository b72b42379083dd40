// What the whole screen shows of the program's windows while they are open: the first run's
// question and the tooltip of the bar show their content, not a box of one dark colour; the
// tab strip's scroll buttons look the same after every move of the bar; a menu is not covered
// by its button's tip, and its pictures stand off their text.
#include "bar/bar_process_fixture.h"

#include "model/data_path.h"
#include "model/voice_book.h"
#include "screen_shot.h"
#include "support/dialog_answer.h"

namespace {

using namespace bartest;

std::string Describe(const BoxLook& look) {
    char text[96];
    snprintf(text, sizeof(text), "%zu colours, most common %06lx (%.0f%%)", look.colours,
             static_cast<unsigned long>(look.common), look.commonShare * 100);
    return text;
}

// The visible tooltip window of process `pid`, if any.
HWND VisibleTipOf(DWORD pid) {
    struct Find {
        DWORD pid;
        HWND found;
    } f{pid, nullptr};
    ::EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Find*>(lp);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(h, &owner);
            wchar_t cls[128] = {};
            ::GetClassNameW(h, cls, 128);
            const std::wstring name(cls), tail(L"tooltips_class32");
            const bool tip = name.size() >= tail.size() &&
                             _wcsicmp(name.c_str() + name.size() - tail.size(), tail.c_str()) == 0;
            if (owner != f->pid || !tip || !::IsWindowVisible(h))
                return TRUE;
            f->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

// Eight categories of long names: the tab strip shows its scroll buttons wherever the bar is.
void PrepareLongCategories() {
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    for (int i = 0; i < 8; ++i)
        root.AddChild(CategoryFields(L"A category with a name long enough " + std::to_wstring(i)));
    ASSERT_TRUE(root.SaveFile(model::DataFilePath(model::kDataFileName))) << ::GetLastError();
}

// The end of the bar's tab strip, where its two scroll buttons are.
RECT StripEnd(HWND bar) {
    const RECT s = WindowRect(::GetDlgItem(::GetDlgItem(bar, 6000), 6004));
    return RECT{s.right - 46, s.top, s.right, s.bottom};
}

// Shots until the strip's end looks as `expected` (with `same` false: until it does not); the
// bar may still be painting when it has reached its place.
bool WaitForLook(HWND bar, const std::vector<COLORREF>& expected, bool same = true) {
    return test::WaitUntil(
        [&] { return (Pixels(TakeScreenShot(), StripEnd(bar)) == expected) == same; },
        test::kPatientMs);
}

// Blank columns after the first run of columns with ink (any colour but `back`) in `band`.
int GapAfterFirstInk(const ScreenShot& shot, const RECT& band, COLORREF back) {
    std::vector<bool> ink;
    for (LONG x = band.left; x < band.right; ++x)
        ink.push_back(Pixels(shot, RECT{x, band.top, x + 1, band.bottom}) !=
                      std::vector<COLORREF>(static_cast<size_t>(band.bottom - band.top), back));
    const auto gap = std::find(std::find(ink.begin(), ink.end(), true), ink.end(), false);
    return static_cast<int>(std::find(gap, ink.end(), true) - gap);
}

// The open menu (the test's own thread has none).
HWND OpenMenu() {
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    return menu && ::IsWindowVisible(menu) ? menu : nullptr;
}

class ScreenContentTest : public BarWindowTest {};

TEST_F(ScreenContentTest, TheFirstRunsQuestionShowsItsContent) {
    ASSERT_TRUE(::CopyFileW((test::ExeFolder() + L"LarkB.ini").c_str(),
                            (dir_ / L"LarkB.ini").c_str(), FALSE))
        << ::GetLastError();
    const std::wstring dataFile = test::DataFolder() + L"\\" + model::kDataFileName;
    ::DeleteFileW(dataFile.c_str());
    test::LarkProcess lark(exe_);
    ASSERT_TRUE(lark.Start()) << ::GetLastError();
    HWND question = nullptr;
    ASSERT_TRUE(test::WaitUntil(
        [&] { return (question = test::FindDialogOf(lark.Id(), IDYES)) != nullptr; }, 60000));
    // A window may take a moment to paint; one that stays a dark box fails.
    BoxLook look;
    for (int shot = 0; shot < 5 && !ShowsContent(look); ++shot)
        look = LookAt(TakeScreenShot(), WindowRect(question));
    EXPECT_TRUE(ShowsContent(look)) << Describe(look);
    test::PressButton(question, IDNO);
    EXPECT_TRUE(test::WaitUntil([&] { return test::FileExists(dataFile); }, test::kPatientMs));
    EXPECT_TRUE(test::WaitUntil([&] { return lark.WaitForBar() != nullptr; }, test::kPatientMs));
    ASSERT_TRUE(test::WaitUntil([&] { return test::FindProgressWindow(lark.Id()) == nullptr; },
                                test::kPatientMs));
    Exit(lark);
}

TEST_F(ScreenContentTest, TheTipOfTheBarShowsItsContent) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    const LONG top = screen_.bottom - 84;
    BoxLook look;
    bool seen = false;
    // The tip goes after 3 s: a picture counts only if the tip was there before and after.
    for (int attempt = 0; attempt < 5 && !ShowsContent(look); ++attempt) {
        MouseTo(POINT{640, 400});
        MouseTo(POINT{7, top + 6}); // the menu button
        MouseTo(POINT{8, top + 7});
        HWND tip = nullptr;
        if (!test::WaitUntil([&] { return (tip = VisibleTipOf(lark.Id())) != nullptr; }, 4000))
            continue;
        const RECT box = WindowRect(tip);
        const ScreenShot shot = TakeScreenShot();
        if (VisibleTipOf(lark.Id()) != tip || !(WindowRect(tip) == box))
            continue;
        seen = true;
        look = LookAt(shot, box);
    }
    ASSERT_TRUE(seen) << "the tip was never shown for the whole of a screen shot";
    EXPECT_TRUE(ShowsContent(look)) << Describe(look);
    Exit(lark);
}

TEST_F(ScreenContentTest, TheTabStripsScrollButtonsLookAlikeAfterEveryMoveAndHover) {
    ASSERT_NO_FATAL_FAILURE(PrepareLongCategories());
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    const POINT away{640, 400};
    MouseTo(away);
    // The first docked paint, once drawn, is the look every later one must have.
    std::vector<COLORREF> docked;
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            const ScreenShot shot = TakeScreenShot();
            docked = Pixels(shot, StripEnd(bar));
            return ShowsContent(LookAt(shot, StripEnd(bar)));
        },
        test::kPatientMs));
    Command(bar, kCenter);
    EXPECT_TRUE(WaitForRect(bar, DefaultFloat()));
    EXPECT_TRUE(WaitForLook(bar, docked)) << "floating";
    Command(bar, kBottom);
    BringOtherWindowToFront();
    MouseTo(away);
    Command(bar, kAutoHide);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3)));
    MouseTo(POINT{640, screen_.bottom - 1});
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
    MouseTo(POINT{640, screen_.bottom - 60}); // on the bar: it stays open
    EXPECT_TRUE(WaitForLook(bar, docked)) << "expanded from auto-hide";
    Command(bar, kAutoHide);
    MouseTo(away);
    ::PostMessageW(bar, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(test::WaitUntil([&] { return ::IsIconic(bar); }, test::kPatientMs));
    ::PostMessageW(bar, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 84)));
    EXPECT_TRUE(WaitForLook(bar, docked)) << "restored from minimised";
    Command(bar, kSmallButtons);
    EXPECT_TRUE(PreferenceBecomes(L"ButtonSize", 1));
    EXPECT_TRUE(WaitForLook(bar, docked)) << "after a button-size change";
    // Hovered, "next" is framed; left, the frame goes.
    const RECT end = StripEnd(bar);
    MouseTo(POINT{end.right - 12, end.top + 12});
    ASSERT_TRUE(WaitForLook(bar, docked, false)) << "no hover frame was drawn";
    MouseTo(away);
    EXPECT_TRUE(WaitForLook(bar, docked)) << "the hover frame stayed";
    Exit(lark);
}

TEST_F(ScreenContentTest, NoTipLiesOverTheMenuItsButtonOpenedAndPicturesStandOffTheirText) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    // A shot of the bar menu opened by the menu button. Pressed at once, the button opens it
    // while its tip's delay still runs; after a rest the tip showed and went with the press.
    RECT menu{};
    const auto shoot = [&](bool rest) {
        MouseTo(POINT{640, 400});
        EXPECT_TRUE(test::WaitUntil([&] { return !VisibleTipOf(lark.Id()); }, test::kPatientMs));
        MouseTo(POINT{7, screen_.bottom - 78});
        EXPECT_TRUE(!rest ||
                    test::WaitUntil([&] { return VisibleTipOf(lark.Id()); }, test::kPatientMs));
        LeftButton(true);
        LeftButton(false);
        EXPECT_TRUE(test::WaitUntil([] { return OpenMenu(); }, test::kPatientMs));
        Settle(bar);
        const ScreenShot shot = TakeScreenShot();
        EXPECT_EQ(VisibleTipOf(lark.Id()), nullptr) << "a tip shows over the menu";
        menu = WindowRect(OpenMenu());
        ::PostMessageW(OpenMenu(), WM_KEYDOWN, VK_ESCAPE, 0); // the test is not the foreground
        EXPECT_TRUE(test::WaitUntil([] { return !OpenMenu(); }, test::kPatientMs));
        return shot;
    };
    const ScreenShot clear = shoot(true), shot = shoot(false);
    EXPECT_TRUE(Pixels(shot, menu) == Pixels(clear, menu)) << "something lies over the menu";
    // The first row with a picture, just below the separator under "Find...": its picture, a
    // gap, its text.
    const COLORREF back = shot.Pixel(menu.right - 6, menu.top + 11);
    LONG line = menu.top + 3;
    const auto inkAcross = [&](LONG y) {
        const std::vector<COLORREF> across =
            Pixels(shot, RECT{menu.left + 3, y, menu.right - 3, y + 1});
        return std::count(across.begin(), across.end(), back) * 4 <
               static_cast<long>(across.size());
    };
    while (line < menu.bottom - 20 && !inkAcross(line))
        ++line;
    const RECT row{menu.left + 3, line + 7, menu.right - 3, line + 17};
    EXPECT_GE(GapAfterFirstInk(shot, row, back), 3) << "separator at " << line - menu.top;
    Exit(lark);
}

} // namespace

namespace {
const wchar_t kHighContrastKey[] = L"Control Panel\\Accessibility\\HighContrast";

// Sets the user's high-contrast flag (Wine keeps no such state of its own), and clears it
// again at the end of the scope.
void SetHighContrastFlag(bool on) {
    const wchar_t* flags = on ? L"1" : L"0";
    const LSTATUS status = ::RegSetKeyValueW(HKEY_CURRENT_USER, kHighContrastKey, L"Flags", REG_SZ,
                                             flags, 2 * sizeof(wchar_t));
    ASSERT_EQ(status, ERROR_SUCCESS) << test::SystemErrorText(static_cast<DWORD>(status));
}
struct HighContrastOffAtEnd {
    ~HighContrastOffAtEnd() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kHighContrastKey, L"Flags"); }
};

// The share of a box's pixels in the system's highlight colour.
double HighlightShare(const ScreenShot& shot, const RECT& box) {
    const std::vector<COLORREF> pixels = Pixels(shot, box);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const auto lit = std::count(pixels.begin(), pixels.end(), highlight);
    return pixels.empty() ? 0 : static_cast<double>(lit) / static_cast<double>(pixels.size());
}
} // namespace

TEST_F(ScreenContentTest, HighContrastDrawsTheChosenCategoryInSystemColours) {
    HighContrastOffAtEnd restore;
    ASSERT_NO_FATAL_FAILURE(PrepareLongCategories());
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    MouseTo(POINT{640, 400});
    HWND toolBar = ::GetDlgItem(bar, 6000);
    // The checked category button (the first) and the chosen tab (the strip's first).
    const RECT button = WindowRect(::GetDlgItem(toolBar, 11000));
    const RECT strip = WindowRect(::GetDlgItem(toolBar, 6004));
    const RECT tab{strip.left + 8, strip.top + 3, strip.left + 60, strip.bottom - 3};
    const auto lit = [&](bool on) {
        return test::WaitUntil(
            [&] {
                const ScreenShot shot = TakeScreenShot();
                return (HighlightShare(shot, button) > 0.5) == on &&
                       (HighlightShare(shot, tab) > 0.5) == on;
            },
            test::kPatientMs);
    };
    ASSERT_TRUE(lit(false)) << "highlight drawn without high contrast";
    for (bool on : {true, false}) {
        ASSERT_NO_FATAL_FAILURE(SetHighContrastFlag(on));
        DWORD_PTR answer = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(bar, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0,
                                          SMTO_NORMAL, test::kPatientMs, &answer))
            << test::SystemErrorText(::GetLastError());
        EXPECT_TRUE(lit(on)) << "high contrast " << on;
    }
    Exit(lark);
}
