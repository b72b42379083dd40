// Categories of the real LarkB.exe: real clicks on category buttons and tabs switch the shown
// buttons, and a category linked to a folder of this prefix is refilled when it is selected
// and after a file is added to the folder while it is shown.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "model/data_path.h"
#include "model/preferences.h"
#include "model/voice_book.h"
#include "support/lark_process.h"
#include "support/test_util.h"

namespace {

const std::wstring kPreferences = std::wstring(test::kProductKey) + L"\\Preferences";

// The names of the visible program buttons, in slot order; each answers its node's name.
std::vector<std::wstring> ShownButtons(HWND toolBar) {
    std::vector<std::wstring> names;
    for (int id = 10000; HWND b = ::GetDlgItem(toolBar, id); ++id) {
        if (!::IsWindowVisible(b))
            continue;
        wchar_t text[256] = {};
        DWORD_PTR got = 0;
        ::SendMessageTimeoutW(b, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                              &got);
        names.push_back(text);
    }
    return names;
}

bool HasPrefix(const std::vector<std::wstring>& names, const std::wstring& prefix) {
    for (const std::wstring& n : names)
        if (n.rfind(prefix, 0) == 0)
            return true;
    return false;
}

void Input(DWORD flags, POINT p = {}) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE) {
        const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
        in.mi.dx = static_cast<LONG>((static_cast<int64_t>(p.x) * 65536 + w - 1) / w);
        in.mi.dy = static_cast<LONG>((static_cast<int64_t>(p.y) * 65536 + h - 1) / h);
        in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
    }
    ASSERT_EQ(::SendInput(1, &in, sizeof(in)), 1u) << ::GetLastError();
    test::PumpMessages(50);
}

void ClickAt(POINT p) {
    ASSERT_NO_FATAL_FAILURE(Input(MOUSEEVENTF_MOVE, p));
    ASSERT_NO_FATAL_FAILURE(Input(MOUSEEVENTF_LEFTDOWN));
    ASSERT_NO_FATAL_FAILURE(Input(MOUSEEVENTF_LEFTUP));
}

POINT Middle(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

oVoiceBook* Category(oVoiceBook& parent, const wchar_t* name) {
    return parent.AddChild(name, KIND_ITEM | KIND_BOOK, 2, L"", L"", L"", L"", 0, 1);
}
void Button(oVoiceBook& parent, const wchar_t* name) {
    parent.AddChild(name, KIND_ITEM | KIND_COMMAND, 0, L"x.exe", L"", L"", L"", 0, 1);
}

class CategoryProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::KillAllLarkProcesses();
        test::DeleteProductKey();
        test::WriteRegDword(kPreferences, L"ButtonSize", 0);
        test::WriteRegDword(kPreferences, L"ViewGroupButtonMethod",
                            VIEW_ICON_BUTTONS | VIEW_TAB_STRIP);
        test::RemoveTree(test::DataFolder());
        model::DataFilePath(model::kDataFileName);
    }
    void TearDown() override {
        test::KillAllLarkProcesses();
        test::RemoveTree(test::DataFolder());
    }

    test::TempDir folder_;
    test::LarkProcess process_;
};

} // namespace

TEST_F(CategoryProcessTest, ButtonsAndTabsSwitchCategoriesAndALinkedFolderIsFollowed) {
    ASSERT_TRUE(test::WriteTextFile(folder_ / L"first.txt", "1"));
    oVoiceBook tree;
    tree.ResetAll(L"ToolBar");
    oVoiceBook* plain = Category(tree, L"Plain");
    Button(*plain, L"P1");
    Button(*plain, L"P2");
    oVoiceBook* linked = Category(tree, L"Linked");
    linked->SetPidl(::ILCreateFromPathW(folder_.path().c_str()));
    ASSERT_NE(linked->m_pidl, nullptr) << ::GetLastError();
    Button(*linked, L"stale");
    tree.SetCommand(L"Plain");
    ASSERT_TRUE(tree.SaveFile(test::DataFolder() + L"\\" + model::kCurrentDataFile));

    ASSERT_TRUE(process_.Start());
    HWND bar = process_.WaitForBar();
    ASSERT_NE(bar, nullptr);
    DWORD_PTR answer = 0; // the bar has finished its creation once it answers
    ASSERT_TRUE(::SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer));
    HWND toolBar = ::GetDlgItem(bar, 6000);
    ASSERT_NE(toolBar, nullptr);
    const auto shows = [&](const std::vector<std::wstring>& names) {
        return test::WaitUntil([&] { return ShownButtons(toolBar) == names; }, 20000);
    };
    ASSERT_TRUE(shows({L"P1", L"P2"}));

    // The linked category's button: refilled from the folder before it is shown.
    HWND linkedButton = ::GetDlgItem(toolBar, 11001);
    ASSERT_TRUE(linkedButton && ::IsWindowVisible(linkedButton));
    ASSERT_NO_FATAL_FAILURE(ClickAt(Middle(linkedButton)));
    ASSERT_TRUE(test::WaitUntil([&] { return HasPrefix(ShownButtons(toolBar), L"first"); }, 20000))
        << "the linked category was not refilled";
    EXPECT_FALSE(HasPrefix(ShownButtons(toolBar), L"stale"));

    // A file added while it is shown: the watcher's report leads to a reload a little later.
    ASSERT_TRUE(test::WriteTextFile(folder_ / L"second.txt", "2"));
    ASSERT_TRUE(test::WaitUntil([&] { return HasPrefix(ShownButtons(toolBar), L"second"); }, 30000))
        << "the change in the folder was not followed";

    // The first tab, at the start of the strip.
    HWND tabs = ::GetDlgItem(toolBar, 6004);
    ASSERT_TRUE(tabs && ::IsWindowVisible(tabs));
    RECT strip{};
    ::GetWindowRect(tabs, &strip);
    ASSERT_NO_FATAL_FAILURE(ClickAt(POINT{strip.left + 15, strip.top + 10}));
    EXPECT_TRUE(shows({L"P1", L"P2"})) << "the tab did not switch the category";
    EXPECT_TRUE(process_.Exit());
}
