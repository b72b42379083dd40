// The program buttons of the real LarkB.exe, started on a prepared data file: how many show,
// what a click starts, paging, sub-categories and "Go Up".
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "../shell/start_record.h"
#include "model/data_path.h"
#include "model/preferences.h"
#include "model/voice_book.h"
#include "support/dialog_answer.h"
#include "support/lark_process.h"
#include "support/real_input.h"
#include "support/test_util.h"
#include "views/toolbar_layout.h"

namespace {

const std::wstring kPreferences = std::wstring(test::kProductKey) + L"\\Preferences";

struct ShownButton {
    int slot; // the window's place in the page (its identifier's offset)
    std::wstring name;
    RECT rect; // screen
    HWND hwnd;
};

// The visible program buttons of the bar, by slot; each answers its node's name as text.
std::vector<ShownButton> VisibleButtons(HWND toolBar) {
    std::vector<ShownButton> out;
    for (HWND child = ::GetWindow(toolBar, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        if (id < 10000 || id > 10999 || !::IsWindowVisible(child))
            continue;
        wchar_t text[256] = {};
        DWORD_PTR got = 0;
        ::SendMessageTimeoutW(child, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                              5000, &got);
        RECT r{};
        ::GetWindowRect(child, &r);
        out.push_back({id - 10000, text, r, child});
    }
    std::sort(out.begin(), out.end(),
              [](const ShownButton& a, const ShownButton& b) { return a.slot < b.slot; });
    return out;
}

// The window holding the mouse in the thread of `hwnd`.
HWND CaptureIn(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(hwnd, nullptr), &info) ? info.hwndCapture
                                                                                : nullptr;
}

// A real click in the middle of a button. Each step waits until the bar has taken the one
// before: the button is the window under the pointer, then it has seen the press (`pressed`;
// by default it holds the mouse, as a program or category button does while pressed).
void Click(const ShownButton& b, std::function<bool()> pressed = {}) {
    const POINT at{(b.rect.left + b.rect.right) / 2, (b.rect.top + b.rect.bottom) / 2};
    test::MouseTo(at);
    ASSERT_TRUE(test::WaitUntil([&] { return ::WindowFromPoint(at) == b.hwnd; }, test::kPatientMs))
        << "the pointer at " << at.x << "," << at.y << " is not over " << test::Narrow(b.name);
    if (!pressed)
        pressed = [&] { return CaptureIn(b.hwnd) == b.hwnd; };
    test::Press(true);
    const bool seen = test::WaitUntil(pressed, test::kPatientMs);
    test::Press(false);
    ASSERT_TRUE(seen) << "the press on " << test::Narrow(b.name) << " was not seen";
}

oVoiceBook* AddCategory(oVoiceBook& parent, const wchar_t* name) {
    return parent.AddChild(CategoryFields(name));
}

oVoiceBook* AddButton(oVoiceBook& parent, const std::wstring& name, const std::wstring& command,
                      const std::wstring& args = L"", const std::wstring& dir = L"",
                      int show = SW_SHOWNORMAL) {
    NodeRecordFields f = ButtonFields(name, command);
    f.arguments = args;
    f.workDir = dir;
    f.showCmd = show;
    return parent.AddChild(f);
}

class ProgramButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::KillAllLarkProcesses();
        test::DeleteProductKey();
        // Large buttons (40 x 40, margin 2), the plain category view.
        test::WriteRegDword(kPreferences, L"ButtonSize", 0);
        test::WriteRegDword(kPreferences, L"ViewGroupButtonMethod", 0);
        test::RemoveTree(test::DataFolder());
        model::DataFilePath(model::kDataFileName); // the folders exist again
        record_ = dir_ / L"record.txt";
        shelltest::RecordInto(record_);
    }
    void TearDown() override {
        test::KillAllLarkProcesses();
        test::RemoveTree(test::DataFolder());
        ::SetEnvironmentVariableW(L"LARK_RECORD_FILE", nullptr);
    }

    // Starts the program on `tree`, showing the category named by the root's command.
    void Start(const oVoiceBook& tree) {
        ASSERT_TRUE(tree.SaveFile(test::DataFolder() + L"\\" + model::kCurrentDataFile));
        ASSERT_TRUE(process_.Start());
        HWND bar = process_.WaitForBar();
        ASSERT_NE(bar, nullptr);
        DWORD_PTR answer = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer));
        toolBar_ = ::GetDlgItem(bar, 6000);
        ASSERT_NE(toolBar_, nullptr);
        ASSERT_TRUE(
            test::WaitUntil([&] { return !VisibleButtons(toolBar_).empty(); }, test::kPatientMs));
    }

    // Waits until the first visible button shows `name` in `slot`.
    bool WaitForFirst(int slot, const std::wstring& name) {
        return test::WaitUntil(
            [&] {
                const auto shown = VisibleButtons(toolBar_);
                return !shown.empty() && shown[0].slot == slot && shown[0].name == name;
            },
            test::kPatientMs);
    }

    ShownButton Named(const std::wstring& name) {
        for (const ShownButton& b : VisibleButtons(toolBar_))
            if (b.name == name)
                return b;
        ADD_FAILURE() << "no visible button " << testing::PrintToString(name);
        return ShownButton{-1, L"", RECT{}, nullptr};
    }

    test::TempDir dir_;
    std::wstring record_;
    test::LarkProcess process_;
    HWND toolBar_ = nullptr;
};

} // namespace

TEST_F(ProgramButtonsTest, TwoHundredButtonsShowWhatFitsAndPageForwardAndBack) {
    oVoiceBook tree;
    tree.ResetAll(L"ToolBar");
    oVoiceBook* many = AddCategory(tree, L"Many");
    for (int i = 0; i < 200; ++i)
        AddButton(*many, L"B" + std::to_wstring(i), L"b" + std::to_wstring(i) + L".exe");
    tree.SetCommand(L"Many");
    ASSERT_NO_FATAL_FAILURE(Start(tree));

    RECT client{};
    ASSERT_TRUE(::GetClientRect(toolBar_, &client));
    views::BarLayoutInput in;
    in.client = SIZE{client.right, client.bottom};
    in.button = SIZE{40, 40};
    in.margin = 2;
    in.slots.assign(200, views::SlotRole::Button);
    in.resetPaging = true;
    const views::BarLayout expected = views::LayoutBar(in);
    ASSERT_GT(expected.visibleCount, 0);
    ASSERT_LT(expected.visibleCount, 200);

    auto shown = VisibleButtons(toolBar_);
    ASSERT_EQ(static_cast<int>(shown.size()), expected.visibleCount);
    EXPECT_EQ(shown.front().name, L"B0");
    EXPECT_EQ(shown.back().name, L"B" + std::to_wstring(expected.visibleCount - 1));
    RECT toolBarRect{};
    ::GetWindowRect(toolBar_, &toolBarRect);
    for (const ShownButton& b : shown) {
        RECT inside{};
        EXPECT_TRUE(::IntersectRect(&inside, &b.rect, &toolBarRect) &&
                    ::EqualRect(&inside, &b.rect))
            << "button " << b.slot << " reaches outside the bar";
    }

    // The page's windows show the next page's buttons, and back.
    const int page = expected.visibleCount;
    ::PostMessageW(toolBar_, WM_COMMAND, MAKEWPARAM(6002, 0), 0);
    ASSERT_TRUE(WaitForFirst(0, L"B" + std::to_wstring(page)));
    EXPECT_EQ(static_cast<int>(VisibleButtons(toolBar_).size()), page);
    ::PostMessageW(toolBar_, WM_COMMAND, MAKEWPARAM(6003, 0), 0);
    ASSERT_TRUE(WaitForFirst(0, L"B0"));
    EXPECT_EQ(static_cast<int>(VisibleButtons(toolBar_).size()), page);
}

// Past the thousandth too: only a page of windows is made, and paging reaches the last.
TEST_F(ProgramButtonsTest, TheLastOfFiveThousandButtonsIsReachedByPaging) {
    constexpr int kButtons = 5000;
    oVoiceBook tree;
    tree.ResetAll(L"ToolBar");
    oVoiceBook* many = AddCategory(tree, L"Many");
    for (int i = 0; i < kButtons; ++i)
        AddButton(*many, L"B" + std::to_wstring(i), L"b.exe");
    tree.SetCommand(L"Many");
    ASSERT_NO_FATAL_FAILURE(Start(tree));

    const int page = static_cast<int>(VisibleButtons(toolBar_).size());
    int windows = 0;
    for (HWND c = ::GetWindow(toolBar_, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        windows += ::GetDlgCtrlID(c) >= 10000 && ::GetDlgCtrlID(c) <= 10999 ? 1 : 0;
    EXPECT_EQ(windows, page);

    // Each step waits for the page before it, so no command lands on a half-made page.
    const int last = kButtons - 1;
    for (int first = page; first <= last; first += page) {
        ::PostMessageW(toolBar_, WM_COMMAND, MAKEWPARAM(6002, 0), 0);
        ASSERT_TRUE(WaitForFirst(0, L"B" + std::to_wstring(first))) << "page at " << first;
    }
    EXPECT_EQ(VisibleButtons(toolBar_).back().name, L"B" + std::to_wstring(last));
}

TEST_F(ProgramButtonsTest, ClicksRunButtonsReportMissingTargetsAndOpenSubCategories) {
    oVoiceBook tree;
    tree.ResetAll(L"ToolBar");
    AddCategory(tree, L"Other");
    oVoiceBook* launch = AddCategory(tree, L"Launch");
    AddButton(*launch, L"Recorder", shelltest::HelperPath(), L"alpha \"b c\"", dir_.path(),
              SW_SHOWMAXIMIZED);
    AddButton(*launch, L"Missing Thing", L"C:\\nowhere\\missing-program.exe");
    // As long as the data file stores: far more than the shell takes.
    AddButton(*launch, L"Long Thing", L"C:\\nowhere\\" + std::wstring(1011, L'x'));
    oVoiceBook* sub = AddCategory(*launch, L"Sub");
    AddButton(*sub, L"Child A", L"a.exe");
    AddButton(*sub, L"Child B", L"b.exe");
    tree.SetCommand(L"launch");
    ASSERT_NO_FATAL_FAILURE(Start(tree));
    ASSERT_TRUE(WaitForFirst(0, L"Recorder"));

    // The button starts its program with its arguments, folder and show state.
    ASSERT_NO_FATAL_FAILURE(Click(Named(L"Recorder")));
    shelltest::StartRecord r;
    ASSERT_TRUE(shelltest::WaitForRecord(record_, r)) << "the program did not start";
    EXPECT_EQ(shelltest::ArgumentsOf(r.commandLine), L"alpha \"b c\"");
    EXPECT_TRUE(shelltest::SamePath(r.workDir, dir_.path())) << r.workDir;
    EXPECT_EQ(r.show, SW_SHOWMAXIMIZED);
    // The started program has ended before the next press.
    ASSERT_TRUE(shelltest::WaitForHelpersGone(process_.Id()));

    // A target that is gone, or longer than the shell takes, is reported with the button's name.
    for (const std::wstring name : {L"Missing Thing", L"Long Thing"}) {
        test::DialogAnswerer answer(IDOK, process_.Id());
        ASSERT_NO_FATAL_FAILURE(Click(Named(name)));
        ASSERT_TRUE(answer.Finish()) << "no message appeared";
        EXPECT_EQ(answer.Seen().text, L"Can't find " + name + L".");
        EXPECT_EQ(answer.Seen().caption, L"larkRunBar ");
        EXPECT_TRUE(process_.IsRunning());
        // Gone before the next box is looked for.
        ASSERT_TRUE(test::WaitUntil([&] { return !test::FindDialogOf(process_.Id(), IDOK); },
                                    test::kPatientMs));
    }

    // A sub-category shows its children after "Go Up", which leads back.
    ASSERT_NO_FATAL_FAILURE(Click(Named(L"Sub")));
    ASSERT_TRUE(WaitForFirst(0, L"Go Up"));
    auto shown = VisibleButtons(toolBar_);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1].name, L"Child A");
    EXPECT_EQ(shown[2].name, L"Child B");
    ASSERT_NO_FATAL_FAILURE(Click(shown[0]));
    ASSERT_TRUE(WaitForFirst(0, L"Recorder"));
    EXPECT_EQ(VisibleButtons(toolBar_).size(), 4u);
}

// Real clicks on a category button and a tab switch categories; a category linked to a
// folder is refilled when it is selected and after a file is added while it is shown.
TEST_F(ProgramButtonsTest, CategoryButtonsAndTabsSwitchAndALinkedFolderIsFollowed) {
    ASSERT_TRUE(test::WriteTextFile(dir_ / L"first.txt", "1"));
    test::WriteRegDword(kPreferences, L"ViewGroupButtonMethod", VIEW_ICON_BUTTONS | VIEW_TAB_STRIP);
    oVoiceBook tree;
    tree.ResetAll(L"ToolBar");
    AddButton(*AddCategory(tree, L"Plain"), L"P1", L"p.exe");
    oVoiceBook* linked = AddCategory(tree, L"Linked");
    linked->SetPidl(fw::Pidl(::ILCreateFromPathW(dir_.path().c_str())));
    ASSERT_TRUE(linked->m_pidl) << ::GetLastError();
    AddButton(*linked, L"stale", L"s.exe");
    tree.SetCommand(L"Plain");
    ASSERT_NO_FATAL_FAILURE(Start(tree));
    const auto showing = [&](const std::wstring& prefix) {
        for (const ShownButton& b : VisibleButtons(toolBar_))
            if (b.name.rfind(prefix, 0) == 0)
                return true;
        return false;
    };
    const auto shows = [&](const wchar_t* prefix) {
        return test::WaitUntil([&] { return showing(prefix); }, test::kPatientMs);
    };
    const auto at = [](HWND hwnd, int dx, int dy) {
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        return ShownButton{-1, L"", RECT{r.left + dx, r.top + dy, r.left + dx, r.top + dy}, hwnd};
    };
    HWND linkedButton = ::GetDlgItem(toolBar_, 11001);
    ASSERT_TRUE(linkedButton && ::IsWindowVisible(linkedButton));
    ASSERT_NO_FATAL_FAILURE(Click(at(linkedButton, 12, 12)));
    const auto names = [&] {
        std::string all;
        for (const ShownButton& b : VisibleButtons(toolBar_))
            all += " [" + test::Narrow(b.name) + "]";
        return all;
    };
    ASSERT_TRUE(shows(L"first")) << "the linked category was not refilled; shown:" << names();
    EXPECT_FALSE(showing(L"stale"));
    ASSERT_TRUE(test::WriteTextFile(dir_ / L"second.txt", "2"));
    ASSERT_TRUE(shows(L"second")) << "the change in the folder was not followed";
    // The first tab lies at the start of the strip, whichever way the strip runs.
    HWND tabs = ::GetDlgItem(toolBar_, 6004);
    ASSERT_TRUE(tabs && ::IsWindowVisible(tabs));
    // The strip switches on the press itself.
    ASSERT_NO_FATAL_FAILURE(Click(at(tabs, 15, 10), [&] { return showing(L"P1"); }));
    EXPECT_TRUE(WaitForFirst(0, L"P1")) << "the tab did not switch the category";
}

namespace {

// Keys pressed together, then let go in reverse.
void Tap(std::initializer_list<WORD> keys) {
    for (WORD k : keys)
        test::Press(true, k);
    for (auto k = std::rbegin(keys); k != std::rend(keys); ++k)
        test::Press(false, *k);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// The popup menu shown by `window`'s thread once that thread runs its menu loop (keys sent
// before then could reach the bar instead), or null.
HWND MenuInLoop(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const HWND menu = ::FindWindowW(L"#32768", nullptr);
    if (!menu || !::IsWindowVisible(menu) ||
        !::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) || info.hwndMenuOwner ? menu
                                                                                     : nullptr;
}

} // namespace

// A click gives the bar the keyboard; arrows pass over a line, Shift+F10 opens the menu at the
// focused button and Escape gives the foreground back; Tab and Shift+Tab go to the category
// buttons and back, and Enter starts the focused button.
TEST_F(ProgramButtonsTest, KeysMoveFocusLaunchOpenTheMenuAndGiveTheForegroundBack) {
    oVoiceBook tree;
    tree.ResetAll(L"ToolBar");
    oVoiceBook* keys = AddCategory(tree, L"Keys");
    NodeRecordFields line = ButtonFields(L"Line");
    line.role = ROLE_SEPARATOR; // a click on it starts nothing
    keys->AddChild(line);
    AddButton(*keys, L"Recorder", shelltest::HelperPath(), L"keyed");
    for (int i = 0; i < 60; ++i) // more than a page
        AddButton(*keys, L"B" + std::to_wstring(i), L"C:\\nowhere\\b.exe");
    tree.SetCommand(L"Keys");
    test::WriteRegDword(kPreferences, L"ViewGroupButtonMethod", 1); // category buttons
    ASSERT_NO_FATAL_FAILURE(Start(tree));
    ASSERT_TRUE(WaitForFirst(0, L"Line"));
    const HWND main = ::GetAncestor(toolBar_, GA_ROOT);

    const HWND front = ::CreateWindowExW(0, L"STATIC", L"front", WS_POPUP | WS_VISIBLE, 0, 400, 80,
                                         40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(front, nullptr) << test::SystemErrorText(::GetLastError());
    ::SetForegroundWindow(front);
    ASSERT_TRUE(
        test::WaitUntil([&] { return ::GetForegroundWindow() == front; }, test::kPatientMs));

    const ShownButton first = Named(L"Line"), recorder = Named(L"Recorder");
    const HWND recorderWnd = ::WindowFromPoint({recorder.rect.left + 2, recorder.rect.top + 2});
    const auto barHasKeys = [&] {
        const HWND focus = FocusOf(main);
        return ::GetForegroundWindow() == main && (focus == toolBar_ || ::IsChild(toolBar_, focus));
    };
    const auto focusOn = [&](HWND window) {
        return test::WaitUntil([&] { return FocusOf(main) == window; }, test::kPatientMs);
    };
    // A line holds no mouse when pressed: the press shows as the bar taking the keyboard.
    ASSERT_NO_FATAL_FAILURE(Click(first, barHasKeys));
    ASSERT_TRUE(test::WaitUntil(barHasKeys, test::kPatientMs))
        << "foreground " << ::GetForegroundWindow() << ", focus " << FocusOf(main);
    // The focus rectangle stays hidden until the keyboard is used (unless always shown).
    BOOL cues = FALSE;
    ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0);
    const auto hidden = [&] {
        return (::SendMessageW(main, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    };
    EXPECT_EQ(hidden(), !cues);
    Tap({VK_RIGHT});
    ASSERT_TRUE(focusOn(recorderWnd)) << "focus " << FocusOf(main);
    EXPECT_FALSE(hidden());
    Tap({VK_SHIFT, VK_F10});
    ASSERT_TRUE(test::WaitUntil([&] { return MenuInLoop(main) != nullptr; }, test::kPatientMs));
    RECT menu{};
    ::GetWindowRect(MenuInLoop(main), &menu);
    ::InflateRect(&menu, 2, 2);
    const POINT centre{(recorder.rect.left + recorder.rect.right) / 2,
                       (recorder.rect.top + recorder.rect.bottom) / 2};
    EXPECT_TRUE(::PtInRect(&menu, centre)) << "menu at " << menu.left << "," << menu.top;
    // The menu's closing is the signal here, not the key state: while a menu is up Wine's
    // asynchronous key state was once seen never to show the Escape.
    test::Stroke(VK_ESCAPE);
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            return !::FindWindowW(L"#32768", nullptr) ||
                   !::IsWindowVisible(::FindWindowW(L"#32768", nullptr));
        },
        test::kPatientMs));
    ASSERT_TRUE(test::WaitUntil(barHasKeys, test::kPatientMs));
    Tap({VK_ESCAPE});
    EXPECT_TRUE(test::WaitUntil([&] { return ::GetForegroundWindow() == front; }, test::kPatientMs))
        << "foreground " << ::GetForegroundWindow();

    // A line holds no mouse when pressed: the press shows as the bar taking the keyboard.
    ASSERT_NO_FATAL_FAILURE(Click(first, barHasKeys));
    ASSERT_TRUE(test::WaitUntil(barHasKeys, test::kPatientMs));
    Tap({VK_TAB});
    ASSERT_TRUE(
        test::WaitUntil([&] { return ::GetDlgCtrlID(FocusOf(main)) >= 11000; }, test::kPatientMs))
        << "focus " << FocusOf(main);
    Tap({VK_SHIFT, VK_TAB});
    ASSERT_TRUE(focusOn(recorderWnd)) << "focus " << FocusOf(main);
    // End pages on to the last button, Home back past the line.
    Tap({VK_END});
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            const auto shown = VisibleButtons(toolBar_);
            return !shown.empty() && shown.back().name == L"B59" &&
                   FocusOf(main) ==
                       ::WindowFromPoint({shown.back().rect.left + 2, shown.back().rect.top + 2});
        },
        test::kPatientMs));
    Tap({VK_HOME});
    ASSERT_TRUE(focusOn(recorderWnd)) << "focus " << FocusOf(main);
    Tap({VK_RETURN});
    shelltest::StartRecord r;
    ASSERT_TRUE(shelltest::WaitForRecord(record_, r)) << "the program did not start";
    EXPECT_EQ(shelltest::ArgumentsOf(r.commandLine), L"keyed");
    ::DestroyWindow(front);
}
