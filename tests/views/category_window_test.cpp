// Categories on the program button bar and the tab strip as windows in this process: the
// category buttons and tabs, navigation, the category menu and content menus driven inside
// their menu loops, and reloads of a category linked to a real folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "../shell/start_record.h"
#include "framework/window.h"
#include "model/data_path.h"
#include "model/preferences.h"
#include "model/voice_book.h"
#include "resource.h"
#include "support/lark_process.h"
#include "support/document_fixture.h"
#include "support/test_util.h"
#include "views/program_toolbar.h"
#include "views/tab_view_wnd.h"
#include "menu_driver.h"

namespace {

oVoiceBook* Category(oVoiceBook& parent, const wchar_t* name) {
    return parent.AddChild(CategoryFields(name));
}
oVoiceBook* Button(oVoiceBook& parent, const std::wstring& name, const std::wstring& command) {
    return parent.AddChild(ButtonFields(name, command));
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    return text;
}

// The names of the visible program buttons, in slot order.
std::vector<std::wstring> ShownButtons(HWND bar) {
    std::vector<std::wstring> names;
    for (UINT id = 10000; HWND b = ::GetDlgItem(bar, static_cast<int>(id)); ++id)
        if (::IsWindowVisible(b))
            names.push_back(TextOf(b));
    return names;
}

using viewtest::DriveMenu;
// Records the commands its children send.
struct Recorder : viewtest::RecordingParent {
    Recorder() : RecordingParent(L"LarkCategoryTestParent") {}
};

void PostKeys(HWND menuWindow, std::initializer_list<UINT> keys) {
    for (UINT key : keys)
        ::PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
}

class CategoryWindowTest : public test::DocumentTest {
protected:
    void SetUp() override {
        test::DocumentTest::SetUp();
        model::DataFilePath(model::kDataFileName);
    }
    void DropWindows() override {
        bar_.reset();
        parent_.reset();
    }

    // The bar on `tree` (saved and read back as at start-up) with the category-view word.
    void Start(const oVoiceBook& tree, int32_t viewFlags) {
        ASSERT_TRUE(tree.SaveFile(test::DataFolder() + L"\\" + model::kCurrentDataFile));
        parent_ = std::make_unique<Recorder>();
        ASSERT_TRUE(parent_->hwnd()) << ::GetLastError();
        prefs_.ViewGroupButtonMethod = viewFlags;
        bar_ = std::make_unique<CProgramToolBar>();
        bar_->SetDocument(doc_.get());
        ASSERT_TRUE(bar_->Create(RECT{0, 0, 600, 90}, parent_->hwnd(), 6000, &prefs_, metrics_))
            << ::GetLastError();
    }
    void Command(UINT id) { ::SendMessageW(bar_->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    oVoiceBook* Top(const wchar_t* name) {
        for (oVoiceBook* n = Root().FirstChild(); n; n = n->Next())
            if (n->m_strName == name)
                return n;
        return nullptr;
    }
    bool Checked(UINT id) {
        auto* b =
            dynamic_cast<CBookButton*>(fw::Window::FromHandle(::GetDlgItem(bar_->hwnd(), id)));
        return b && b->IsChecked();
    }

    Preferences prefs_;
    views::ButtonMetrics metrics_{{40, 40}, {2, 2}}; // the large buttons
    std::unique_ptr<Recorder> parent_;
    std::unique_ptr<CProgramToolBar> bar_;
};

TEST_F(CategoryWindowTest, TopLevelButtonsGetNoSlotAndNextCategoryWrapsToTheFirst) {
    oVoiceBook tree;
    tree.ResetAll(L"ToolBar");
    Button(*Category(tree, L"A"), L"a1", L"a.exe");
    Button(tree, L"Loose", L"loose.exe");
    Button(*Category(tree, L"B"), L"b1", L"b.exe");
    Button(*Category(tree, L"C"), L"c1", L"c.exe");
    tree.SetCommand(L"C");
    ASSERT_NO_FATAL_FAILURE(Start(tree, VIEW_ICON_BUTTONS | VIEW_TAB_STRIP));

    ASSERT_EQ(bar_->CategoryCount(), 3u);
    ASSERT_EQ(bar_->Tabs().TabCount(), 3);
    EXPECT_EQ(TextOf(::GetDlgItem(bar_->hwnd(), 11001)), L"B"); // the indexes close up
    EXPECT_EQ(bar_->Tabs().Tab(1).pNode, Top(L"B"));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(bar_->hwnd(), 6004)));
    EXPECT_EQ(bar_->Tabs().Selected(), 2);
    EXPECT_TRUE(Checked(11002));

    Command(124); // "Display Next Category" after the last one
    EXPECT_EQ(bar_->CurrentTopCategory(), Top(L"A"));
    EXPECT_EQ(ShownButtons(bar_->hwnd()), std::vector<std::wstring>{L"a1"});
    EXPECT_EQ(bar_->Tabs().Selected(), 0);
    EXPECT_TRUE(Checked(11000));
    EXPECT_FALSE(Checked(11002));

    Command(11001);
    EXPECT_EQ(bar_->CurrentTopCategory(), Top(L"B"));
    EXPECT_EQ(ShownButtons(bar_->hwnd()), std::vector<std::wstring>{L"b1"});
    EXPECT_EQ(bar_->Tabs().Selected(), 1);
}

TEST_F(CategoryWindowTest, GotoParentTwiceFromTwoLevelsDownReachesTheTopAndDisablesItself) {
    oVoiceBook tree;
    tree.ResetAll(L"ToolBar");
    oVoiceBook* top = Category(tree, L"Top");
    oVoiceBook* one = Category(*top, L"One");
    Button(*Category(*one, L"Two"), L"deep", L"d.exe");
    tree.SetCommand(L"Top");
    ASSERT_NO_FATAL_FAILURE(Start(tree, VIEW_ICON_BUTTONS));
    HWND parentButton = ::GetDlgItem(bar_->hwnd(), 127);

    Command(10000); // "One"
    Command(10001); // "Two", after "Go Up"
    EXPECT_EQ(bar_->CurrentCategory()->m_strName, L"Two");
    Command(127);
    EXPECT_EQ(bar_->CurrentCategory()->m_strName, L"One");
    EXPECT_TRUE(::IsWindowEnabled(parentButton));
    Command(127);
    EXPECT_EQ(bar_->CurrentCategory(), Top(L"Top"));
    EXPECT_FALSE(::IsWindowEnabled(parentButton));
    EXPECT_EQ(bar_->CurrentTopCategory(), Top(L"Top"));
}

TEST_F(CategoryWindowTest, CategoryOnlyViewDropsTheContentAndLeavesNothingChecked) {
    test::TempDir dir;
    const std::wstring record = dir.path() + L"\\record.txt";
    shelltest::RecordInto(record);
    oVoiceBook tree;
    tree.ResetAll(L"ToolBar");
    Button(*Category(tree, L"Other"), L"o1", L"o.exe");
    oVoiceBook* menuCat = Category(tree, L"Menu");
    Button(*menuCat, L"Runner", shelltest::HelperPath());
    Button(*Category(*menuCat, L"Inner"), L"i1", L"i.exe");
    tree.SetCommand(L"Other");
    ASSERT_NO_FATAL_FAILURE(Start(tree, VIEW_ICON_BUTTONS | VIEW_CATEGORY_ONLY));

    int items = -1;
    EXPECT_TRUE(DriveMenu(
        [&](HWND w, HMENU menu) {
            items = ::GetMenuItemCount(menu);
            PostKeys(w, {VK_ESCAPE});
        },
        [&] { Command(11001); }))
        << "the content menu did not show";
    EXPECT_EQ(items, 2); // "Runner" and the sub-menu "Inner"
    EXPECT_FALSE(Checked(11001));
    EXPECT_EQ(bar_->CurrentTopCategory(), Top(L"Menu"));
    // The first item, chosen: it runs.
    EXPECT_TRUE(DriveMenu(
        [](HWND w, HMENU) {
            PostKeys(w, {VK_DOWN, VK_RETURN});
        },
        [&] { Command(11001); }));
    shelltest::StartRecord started;
    EXPECT_TRUE(shelltest::WaitForRecord(record, started)) << "the chosen button did not run";
    EXPECT_EQ(bar_->CurrentCategory(), Top(L"Menu"));
    EXPECT_FALSE(Checked(11001));
    ::SetEnvironmentVariableW(L"LARK_RECORD_FILE", nullptr);
}

// A category linked to a real folder: reloaded when selected and by the reload timer, and
// what the bar shows is never a node the reload deleted.
TEST_F(CategoryWindowTest, ReloadsOfALinkedCategoryLeaveNothingPointingAtDeletedNodes) {
    test::TempDir folder;
    ASSERT_TRUE(test::WriteTextFile(folder.path() + L"\\first.txt", "1"));
    oVoiceBook tree;
    tree.ResetAll(L"ToolBar");
    Button(*Category(tree, L"Plain"), L"p1", L"p.exe");
    oVoiceBook* linked = Category(tree, L"Linked");
    linked->SetPidl(fw::Pidl(::ILCreateFromPathW(folder.path().c_str())));
    ASSERT_TRUE(linked->m_pidl) << ::GetLastError();
    Button(*linked, L"stale", L"stale.exe");
    tree.SetCommand(L"Plain");
    ASSERT_NO_FATAL_FAILURE(Start(tree, VIEW_ICON_BUTTONS | VIEW_TAB_STRIP));

    const auto startsWith = [](const std::vector<std::wstring>& names, const wchar_t* prefix) {
        for (const std::wstring& n : names)
            if (n.rfind(prefix, 0) == 0)
                return true;
        return false;
    };
    Command(11001); // selected: refilled from the folder first
    oVoiceBook* live = Top(L"Linked");
    auto shown = ShownButtons(bar_->hwnd());
    EXPECT_TRUE(startsWith(shown, L"first")) << shown.size();
    EXPECT_FALSE(startsWith(shown, L"stale"));
    EXPECT_TRUE(doc_->IsSavePending());

    for (int i = 0; i < 100; ++i) {
        // A sub-category of the user's own inside the linked one is being shown ...
        Category(*live, L"Mine");
        bar_->ShowCategory(live, true);
        shown = ShownButtons(bar_->hwnd());
        Command(10000 + static_cast<UINT>(shown.size() - 1));
        ASSERT_EQ(bar_->CurrentCategory()->m_strName, L"Mine") << i;
        // ... when the folder changes and the reload deletes it.
        const std::wstring file = folder.path() + L"\\f" + std::to_wstring(i % 3) + L".txt";
        if (i % 2)
            ::DeleteFileW(file.c_str());
        else
            ASSERT_TRUE(test::WriteTextFile(file, "x"));
        ::SendMessageW(bar_->hwnd(), WM_TIMER, CProgramToolBar::kFolderReloadTimer, 0);
        ASSERT_EQ(bar_->CurrentCategory(), live) << i;
        shown = ShownButtons(bar_->hwnd());
        ASSERT_FALSE(startsWith(shown, L"Mine")) << i;
        ASSERT_FALSE(startsWith(shown, L"Go Up")) << i;
        ASSERT_EQ(startsWith(shown, L"f0"), test::FileExists(folder.path() + L"\\f0.txt")) << i;
    }
}

TEST_F(CategoryWindowTest, TabStripClicksScrollingAndItsMenu) {
    oVoiceBook tree;
    std::vector<oVoiceBook*> cats;
    for (const wchar_t* name : {L"Alpha", L"Beta", L"Gamma", L"Delta", L"Epsilon", L"Zeta"})
        cats.push_back(Category(tree, name));
    Recorder parent;
    CTabViewWnd tabs;
    ASSERT_TRUE(tabs.Create(parent.hwnd(), 6004)) << ::GetLastError();
    for (oVoiceBook* c : cats)
        tabs.AddTab(c);
    // Its tip is made when asked for, and belongs to no window: under Wine a window owning a
    // topmost popup can no longer be made topmost, and the bar must return on top.
    EXPECT_FALSE(tabs.ToolTipWindow());
    tabs.CreateTips();
    ASSERT_TRUE(tabs.ToolTipWindow());
    EXPECT_EQ(::GetWindow(tabs.ToolTipWindow(), GW_OWNER), nullptr);
    tabs.Select(4); // a strip without room yet does not scroll
    EXPECT_EQ(tabs.FirstVisible(), 0);
    tabs.Select(0);
    ::SetWindowPos(tabs.hwnd(), nullptr, 0, 0, 200, 24, SWP_NOZORDER | SWP_SHOWWINDOW);
    ASSERT_GT(tabs.VisibleCount(), 1);
    ASSERT_LT(tabs.VisibleCount(), 6);
    EXPECT_GE(::SendMessageW(tabs.ToolTipWindow(), TTM_GETTOOLCOUNT, 0, 0), tabs.VisibleCount());
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(tabs.hwnd(), 6003)));

    // Selecting the last tab scrolls it wholly into view; no command goes out.
    tabs.Select(5);
    EXPECT_GT(tabs.FirstVisible(), 0);
    const oTabInfo& last = tabs.Tab(5);
    EXPECT_LE(last.right, tabs.Frame().area.right);
    EXPECT_TRUE(parent.commands.empty());

    const auto click = [&](const oTabInfo& t) {
        ::SendMessageW(tabs.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                       MAKELPARAM((t.left + t.right) / 2, (t.top + t.bottom) / 2));
    };
    click(last); // the selected tab sends nothing
    EXPECT_TRUE(parent.commands.empty());
    const int other = tabs.FirstVisible();
    click(tabs.Tab(other));
    EXPECT_EQ(parent.commands, std::vector<UINT>{11000u + static_cast<UINT>(other)});
    EXPECT_EQ(tabs.Selected(), other);

    // A right click outside every tab: the category commands are greyed, and "Add Category"
    // still reaches the bar.
    POINT outside{tabs.Frame().area.right - 2, 10};
    ::ClientToScreen(tabs.hwnd(), &outside);
    ASSERT_EQ(tabs.TabAtPoint(outside), nullptr);
    UINT deleteState = 0, addState = MF_GRAYED;
    EXPECT_TRUE(DriveMenu(
        [&](HWND w, HMENU menu) {
            deleteState = ::GetMenuState(menu, ID_DELETE_CATEGORY, MF_BYCOMMAND);
            addState = ::GetMenuState(menu, ID_ADD_CATEGORY, MF_BYCOMMAND);
            PostKeys(w, {VK_DOWN, VK_RETURN});
        },
        [&] {
            ::SendMessageW(tabs.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tabs.hwnd()),
                           MAKELPARAM(outside.x, outside.y));
        }));
    EXPECT_EQ(tabs.ContextIndex(), -1);
    EXPECT_NE(deleteState & MF_GRAYED, 0u);
    EXPECT_EQ(addState & MF_GRAYED, 0u);
    EXPECT_EQ(parent.commands.back(), static_cast<UINT>(ID_ADD_CATEGORY));
}

} // namespace
