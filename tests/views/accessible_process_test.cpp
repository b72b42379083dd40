// What assistive programs read of the real LarkB.exe, asked from this process through the
// system's accessibility interfaces: names, roles, states and focus events.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/com.h"
#include "model/data_path.h"
#include "model/voice_book.h"
#include "support/lark_process.h"
#include "support/real_input.h"
#include "support/test_util.h"

namespace {

const std::wstring kPreferences = std::wstring(test::kProductKey) + L"\\Preferences";

// One element as a client reads it.
struct Read {
    HRESULT hr = E_FAIL;
    std::wstring name, description, action;
    long role = 0, state = 0;
};

Read ReadElement(IAccessible& object, long child) {
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    Read r;
    const auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
        BSTR b = nullptr;
        r.hr = (object.*get)(id, &b);
        std::wstring out = b ? std::wstring(b, ::SysStringLen(b)) : std::wstring();
        ::SysFreeString(b);
        return out;
    };
    const auto number = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
        VARIANT v{};
        const long out = SUCCEEDED((object.*get)(id, &v)) && v.vt == VT_I4 ? v.lVal : 0;
        ::VariantClear(&v);
        return out;
    };
    r.description = text(&IAccessible::get_accDescription);
    r.action = text(&IAccessible::get_accDefaultAction);
    r.name = text(&IAccessible::get_accName); // last: its result is the one kept
    r.role = number(&IAccessible::get_accRole);
    r.state = number(&IAccessible::get_accState);
    return r;
}

fw::ComPtr<IAccessible> ObjectOf(HWND window) {
    fw::ComPtr<IAccessible> object;
    const HRESULT hr = ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                                    __uuidof(IAccessible), object.put_void());
    EXPECT_TRUE(SUCCEEDED(hr) && object) << "AccessibleObjectFromWindow: 0x" << std::hex << hr;
    return object;
}

Read ReadWindow(HWND window, long child = CHILDID_SELF) {
    fw::ComPtr<IAccessible> object = ObjectOf(window);
    return object ? ReadElement(*object.get(), child) : Read{};
}

HWND ButtonNamed(HWND toolBar, const std::wstring& name) {
    for (HWND child = ::GetWindow(toolBar, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[256] = {};
        DWORD_PTR got = 0;
        ::SendMessageTimeoutW(child, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                              5000, &got);
        if (name == text && ::IsWindowVisible(child))
            return child;
    }
    return nullptr;
}

class AccessibleProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(com_.result()));
        test::KillAllLarkProcesses();
        test::DeleteProductKey();
        test::WriteRegDword(kPreferences, L"ButtonSize", 0);
        test::RemoveTree(test::DataFolder());
        model::DataFilePath(model::kDataFileName);
    }
    void TearDown() override {
        test::KillAllLarkProcesses();
        test::RemoveTree(test::DataFolder());
    }

    // Starts the program on two categories, "Tools" shown with two programs.
    void Start(DWORD categoryView) {
        test::WriteRegDword(kPreferences, L"ViewGroupButtonMethod", categoryView);
        oVoiceBook tree;
        tree.ResetAll(L"ToolBar");
        oVoiceBook* tools = tree.AddChild(CategoryFields(L"Tools"));
        tools->AddChild(ButtonFields(L"Editor", L"C:\\apps\\editor.exe"));
        tools->AddChild(ButtonFields(L"Calc", L"C:\\apps\\calc.exe"));
        tree.AddChild(CategoryFields(L"Games"));
        tree.SetCommand(L"Tools");
        ASSERT_TRUE(tree.SaveFile(test::DataFolder() + L"\\" + model::kCurrentDataFile));
        ASSERT_TRUE(process_.Start()) << process_.Problem();
        bar_ = process_.WaitForBar();
        ASSERT_NE(bar_, nullptr) << process_.Problem();
        ASSERT_TRUE(process_.WaitUntilIdle()) << process_.Problem();
        toolBar_ = ::GetDlgItem(bar_, 6000);
        ASSERT_NE(toolBar_, nullptr);
        ASSERT_TRUE(test::WaitUntil([&] { return ButtonNamed(toolBar_, L"Calc") != nullptr; },
                                    test::kPatientMs));
    }

    void KeysAnnounceFocus(DWORD view);

    fw::ComInit com_;
    test::LarkProcess process_;
    HWND bar_ = nullptr;
    HWND toolBar_ = nullptr;
};

} // namespace

TEST_F(AccessibleProcessTest, BarAndButtonsTellNameRoleStateAndTarget) {
    ASSERT_NO_FATAL_FAILURE(Start(1));
    const Read bar = ReadWindow(bar_);
    EXPECT_EQ(bar.name, L"larkRunBar");
    EXPECT_EQ(bar.role, ROLE_SYSTEM_TOOLBAR);

    struct Row {
        const wchar_t* name;
        long role;
        const wchar_t* description;
        const wchar_t* action;
        long state; // of these bits
    };
    const Row rows[] = {
        {L"Editor", ROLE_SYSTEM_PUSHBUTTON, L"C:\\apps\\editor.exe", L"Open", 0},
        {L"Calc", ROLE_SYSTEM_PUSHBUTTON, L"C:\\apps\\calc.exe", L"Open", 0},
        {L"Tools", ROLE_SYSTEM_PAGETAB, L"", L"Switch", STATE_SYSTEM_SELECTED},
        {L"Games", ROLE_SYSTEM_PAGETAB, L"", L"Switch", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(test::Narrow(row.name));
        HWND button = ButtonNamed(toolBar_, row.name);
        ASSERT_NE(button, nullptr);
        const Read r = ReadWindow(button);
        EXPECT_EQ(r.hr, S_OK);
        EXPECT_EQ(r.name, row.name);
        EXPECT_EQ(r.role, row.role);
        EXPECT_EQ(r.description, row.description);
        EXPECT_EQ(r.action, row.action);
        EXPECT_EQ(r.state & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_UNAVAILABLE), row.state);
    }
}

TEST_F(AccessibleProcessTest, PictureButtonsAndTabsTellTheirNames) {
    ASSERT_NO_FATAL_FAILURE(Start(2));
    const struct {
        HWND parent;
        int id;
        const wchar_t* name;
    } pictures[] = {
        {bar_, 123, L"Menu"},
        {bar_, 32774, L"Exit"},
        {toolBar_, 124, L"Display Next Category"},
        {toolBar_, 6002, L"Next Page"},
        {toolBar_, 6003, L"Previous Page"},
    };
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.id);
        // These are named by their tips, which the bar makes once it has painted.
        Read r;
        test::WaitUntil(
            [&] { return !(r = ReadWindow(::GetDlgItem(p.parent, p.id))).name.empty(); },
            test::kPatientMs);
        EXPECT_EQ(r.name, p.name);
        EXPECT_EQ(r.role, ROLE_SYSTEM_PUSHBUTTON);
    }

    fw::ComPtr<IAccessible> strip = ObjectOf(::GetDlgItem(toolBar_, 6004));
    ASSERT_TRUE(strip);
    long count = 0;
    EXPECT_EQ(strip->get_accChildCount(&count), S_OK);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(ReadElement(*strip.get(), CHILDID_SELF).role, ROLE_SYSTEM_PAGETABLIST);
    const Read tools = ReadElement(*strip.get(), 1);
    const Read games = ReadElement(*strip.get(), 2);
    EXPECT_EQ(tools.name, L"Tools");
    EXPECT_EQ(games.name, L"Games");
    EXPECT_EQ(tools.role, ROLE_SYSTEM_PAGETAB);
    EXPECT_EQ(tools.state & STATE_SYSTEM_SELECTED, STATE_SYSTEM_SELECTED);
    EXPECT_EQ(games.state & STATE_SYSTEM_SELECTED, 0);

    // The second tab's default action shows its category, as a click does.
    VARIANT second{};
    second.vt = VT_I4;
    second.lVal = 2;
    ASSERT_EQ(strip->accDoDefaultAction(second), S_OK);
    EXPECT_TRUE(test::WaitUntil(
        [&] { return (ReadElement(*strip.get(), 2).state & STATE_SYSTEM_SELECTED) != 0; },
        test::kPatientMs));
}

namespace {
// Focus events of one process, as a screen reader's out-of-context hook receives them.
struct Focused {
    HWND window;
    long child;
    bool operator==(const Focused& o) const { return window == o.window && child == o.child; }
};
std::vector<Focused> g_focused;
void CALLBACK OnFocusEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT)
        g_focused.push_back({hwnd, child});
}

// Whether `wanted` came in this order among the events (others may lie between).
bool FocusedInOrder(const std::vector<Focused>& wanted) {
    size_t next = 0;
    for (const Focused& f : g_focused)
        if (next < wanted.size() && f == wanted[next])
            ++next;
    return next == wanted.size();
}

HWINEVENTHOOK HookFocus(DWORD process) {
    g_focused.clear();
    HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr,
                                           &OnFocusEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    EXPECT_NE(hook, nullptr) << test::SystemErrorText(::GetLastError());
    return hook;
}

void ClickAt(POINT p) {
    test::MouseTo(p);
    test::Press(true);
    test::Press(false);
}

void Tap(WORD key) {
    test::Press(true, key);
    test::Press(false, key);
}
} // namespace

TEST_F(AccessibleProcessTest, PointerMakesHotAndFocusIsAnnounced) {
    ASSERT_NO_FATAL_FAILURE(Start(1));
    HWINEVENTHOOK hook = HookFocus(process_.Id());
    ASSERT_NE(hook, nullptr);
    HWND games = ButtonNamed(toolBar_, L"Games");
    ASSERT_NE(games, nullptr);
    RECT r{};
    ::GetWindowRect(games, &r);
    // Two moves: a pointer already lying at the first point moves at the second.
    test::MouseTo(POINT{(r.left + r.right) / 2 - 1, (r.top + r.bottom) / 2});
    test::MouseTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    EXPECT_TRUE(
        test::WaitUntil([&] { return (ReadWindow(games).state & STATE_SYSTEM_HOTTRACKED) != 0; },
                        test::kPatientMs));
    test::Press(true);
    test::Press(false);
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            return FocusedInOrder({{games, CHILDID_SELF}});
        },
        test::kPatientMs));
    EXPECT_TRUE(test::WaitUntil(
        [&] { return (ReadWindow(games).state & STATE_SYSTEM_FOCUSED) != 0; }, test::kPatientMs));
    ::UnhookWinEvent(hook);
}

// Keys move the focus and each move is announced: to a category button or to a tab (as a
// child of the strip), then to the program buttons.
void AccessibleProcessTest::KeysAnnounceFocus(DWORD view) {
    ASSERT_NO_FATAL_FAILURE(Start(view));
    HWINEVENTHOOK hook = HookFocus(process_.Id());
    ASSERT_NE(hook, nullptr);
    const HWND strip = ::GetDlgItem(toolBar_, 6004);
    Focused tools{ButtonNamed(toolBar_, L"Tools"), CHILDID_SELF};
    RECT games{};
    if (view == 1) {
        ::GetWindowRect(ButtonNamed(toolBar_, L"Games"), &games);
    } else {
        VARIANT second{};
        second.vt = VT_I4;
        second.lVal = 2;
        fw::ComPtr<IAccessible> tabs = ObjectOf(strip);
        ASSERT_TRUE(tabs);
        long x = 0, y = 0, w = 0, h = 0;
        ASSERT_EQ(tabs->accLocation(&x, &y, &w, &h, second), S_OK);
        games = RECT{x, y, x + w, y + h};
        tools = Focused{strip, 1};
    }
    // Games shows nothing; Left and Enter bring Tools back (a tab is chosen as it is
    // focused), Tab goes to its programs.
    ClickAt(POINT{(games.left + games.right) / 2, (games.top + games.bottom) / 2});
    ASSERT_TRUE(test::WaitUntil([&] { return ::GetForegroundWindow() == bar_; }, test::kPatientMs));
    for (WORD key : {VK_LEFT, VK_RETURN, VK_TAB, VK_RIGHT})
        Tap(key);
    const auto calc = [&] { return ButtonNamed(toolBar_, L"Calc"); };
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            return FocusedInOrder(
                {tools, {ButtonNamed(toolBar_, L"Editor"), CHILDID_SELF}, {calc(), CHILDID_SELF}});
        },
        test::kPatientMs))
        << g_focused.size() << " focus events";
    EXPECT_NE(ReadWindow(calc()).state & STATE_SYSTEM_FOCUSED, 0);
    ::UnhookWinEvent(hook);
}

TEST_F(AccessibleProcessTest, FocusMovedByKeysIsAnnouncedOnCategoryButtons) {
    KeysAnnounceFocus(1);
}

TEST_F(AccessibleProcessTest, FocusMovedByKeysIsAnnouncedOnTabs) {
    KeysAnnounceFocus(2);
}
