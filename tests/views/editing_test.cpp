// Editing on the bar: the editing menu's state as a plain function, and the
// commands through a real bar window in this process (context menu worked inside its loop,
// the clipboard, removals of the shown category's ancestor, the question of Delete).
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "button_pixels.h"
#include "framework/window.h"
#include "model/data_path.h"
#include "model/preferences.h"
#include "model/voice_book.h"
#include "resource.h"
#include "support/dialog_answer.h"
#include "support/document_fixture.h"
#include "support/lark_process.h"
#include "support/real_input.h"
#include "support/test_util.h"
#include "support/tree_building.h"
#include "views/edit_menu.h"
#include "views/program_toolbar.h"
#include "views/tab_view_wnd.h"
#include "menu_driver.h"

namespace {

using test::Button;
using test::Category;
using test::Child;
using test::Names;

TEST(EditMenu, StateFollowsTheNodeUnderThePointerAndTheClipboard) {
    oVoiceBook root;
    oVoiceBook* button = Button(root, L"b");
    oVoiceBook* separator = Button(root, L"sep");
    separator->SetRole(ROLE_SEPARATOR);
    oVoiceBook goUp;
    goUp.SetRole(ROLE_GO_UP);
    struct Case {
        const oVoiceBook* node;
        bool clip, del, props, paste;
    } cases[] = {
        {nullptr, false, false, false, false}, {nullptr, true, false, false, true},
        {button, false, true, true, false},    {separator, true, true, false, true},
        {&goUp, false, true, false, false},
    };
    for (const Case& c : cases) {
        const views::EditMenuState s = views::EditMenuStateFor(c.node, c.clip);
        EXPECT_EQ(s.deleteNode, c.del);
        EXPECT_EQ(s.properties, c.props);
        EXPECT_EQ(s.cut, c.props);
        EXPECT_EQ(s.copy, c.props);
        EXPECT_EQ(s.paste, c.paste);
    }
}

// ---- through the bar window -----------------------------------------------------------------

struct Parent : viewtest::RecordingParent {
    Parent() : RecordingParent(L"LarkEditingTestParent") {}
};

class EditingWindowTest : public test::DocumentTest {
protected:
    void SetUp() override {
        test::DocumentTest::SetUp();
        model::DataFilePath(model::kDataFileName);
        tree_.ResetAll(L"ToolBar");
        oVoiceBook* a = Category(tree_, L"A");
        Button(*a, L"a1");
        oVoiceBook* s = Category(*a, L"S");
        Button(*s, L"s1");
        Button(*Category(*s, L"SS"), L"ss1");
        oVoiceBook* b = Category(tree_, L"B");
        Button(*b, L"b1");
        Button(*b, L"b2");
    }
    void DropWindows() override {
        bar_.reset();
        parent_.reset();
    }
    void Start() {
        ASSERT_TRUE(tree_.SaveFile(test::DataFolder() + L"\\" + model::kCurrentDataFile));
        parent_ = std::make_unique<Parent>();
        ASSERT_TRUE(parent_->hwnd()) << ::GetLastError();
        prefs_.ViewGroupButtonMethod = 0x0003;
        bar_ = std::make_unique<CProgramToolBar>();
        bar_->SetDocument(doc_.get());
        ASSERT_TRUE(bar_->Create(RECT{0, 0, 600, 90}, parent_->hwnd(), 6000, &prefs_, metrics_))
            << ::GetLastError();
    }
    HWND Bar() const { return bar_->hwnd(); }
    void Command(UINT id) { ::SendMessageW(Bar(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // A command about a node, as the tab strip or a context menu gives it.
    void CommandOn(UINT id, size_t tab) {
        ::SendMessageW(Bar(), WM_LARK_TAB_COMMAND, (static_cast<WPARAM>(tab) << 16) | id,
                       reinterpret_cast<LPARAM>(bar_->Tabs().Tab(static_cast<int>(tab)).pNode));
    }
    // The centre of the program button showing `name`, in screen coordinates.
    POINT ButtonPoint(const wchar_t* name) {
        for (UINT id = 10000; HWND b = ::GetDlgItem(Bar(), static_cast<int>(id)); ++id) {
            wchar_t text[64] = {};
            ::GetWindowTextW(b, text, 64);
            RECT r{};
            ::GetWindowRect(b, &r);
            if (::IsWindowVisible(b) && name == std::wstring(text))
                return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        }
        ADD_FAILURE() << "no button " << test::Narrow(name);
        return POINT{};
    }
    // Opens the context menu at `at`, presses `keys` in it (none: Escape) and answers the
    // greyed state of its items by command.
    std::vector<std::pair<UINT, bool>> ContextMenu(POINT at, std::vector<UINT> keys = {}) {
        std::vector<std::pair<UINT, bool>> states;
        if (keys.empty())
            keys.push_back(VK_ESCAPE);
        auto action = [&](HWND w, HMENU menu) {
            for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                const UINT id = ::GetMenuItemID(menu, i);
                if (id != 0 && id != UINT(-1))
                    states.emplace_back(id,
                                        (::GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED) != 0);
            }
            for (UINT key : keys)
                ::PostMessageW(w, WM_KEYDOWN, key, 0);
        };
        // A menu the system ends before it shows chose nothing: it is opened again until it
        // has been seen. A mouse button message left in this thread's queue by an earlier
        // test (a click on a disabled window stays there under Wine) ends every menu at once
        // and is left in place by it: such input is taken out first.
        const DWORD start = ::GetTickCount();
        bool seen = false;
        do {
            for (MSG stale; ::PeekMessageW(&stale, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK,
                                           PM_REMOVE | PM_QS_INPUT);) {
            }
            seen = viewtest::DriveMenu(action, [&] {
                ::SendMessageW(Bar(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Bar()),
                               MAKELPARAM(at.x, at.y));
            });
        } while (!seen && ::GetTickCount() - start < test::kPatientMs);
        EXPECT_TRUE(seen) << "the menu never showed";
        return states;
    }
    static bool Grey(const std::vector<std::pair<UINT, bool>>& states, UINT id) {
        for (const auto& s : states)
            if (s.first == id)
                return s.second;
        ADD_FAILURE() << "no item " << id;
        return false;
    }

    oVoiceBook tree_;
    Preferences prefs_;
    views::ButtonMetrics metrics_{{40, 40}, {2, 2}}; // the large buttons
    std::unique_ptr<Parent> parent_;
    std::unique_ptr<CProgramToolBar> bar_;
};

TEST_F(EditingWindowTest, MenuGreysWhatEmptySpaceGoUpAndSeparatorsCannotDo) {
    Child(Child(&tree_, L"A"), L"S")->AppendChild([] {
        auto* sep = new oVoiceBook(ButtonFields(L"Separator"));
        sep->SetRole(ROLE_SEPARATOR);
        return sep;
    }());
    Start();
    ::SendMessageW(Bar(), WM_COMMAND, 10001, 0); // A's sub-category S: "Go Up", s1, SS, sep
    ASSERT_EQ(bar_->CurrentCategory()->m_strName, L"S");
    RECT r{};
    ::GetWindowRect(Bar(), &r);
    const POINT empty{r.right - 3, r.bottom - 3};
    const struct {
        POINT at;
        bool del, props, paste;
    } cases[] = {
        {empty, true, true, true},
        {ButtonPoint(L"Go Up"), false, true, true},
        {ButtonPoint(L"Separator"), false, true, true},
        {ButtonPoint(L"s1"), false, false, true},
    };
    for (const auto& c : cases) {
        const auto states = ContextMenu(c.at);
        EXPECT_EQ(Grey(states, ID_DELETE_NODE), c.del);
        for (UINT id : {ID_NODE_PROPERTIES, ID_EDIT_CUT, ID_EDIT_COPY})
            EXPECT_EQ(Grey(states, id), c.props) << id;
        EXPECT_EQ(Grey(states, ID_EDIT_PASTE), c.paste);
        EXPECT_FALSE(Grey(states, ID_ADD_BUTTON));
    }
}

TEST_F(EditingWindowTest, CopiedCategoryPastesTwiceAsIndependentSubtrees) {
    Start();
    CommandOn(ID_EDIT_COPY, 0); // A, with S and SS below it
    ASSERT_TRUE(bar_->Clipboard());
    Command(11001); // show B
    Command(ID_EDIT_PASTE);
    Command(ID_EDIT_PASTE);
    oVoiceBook* b = Child(&Root(), L"B");
    ASSERT_EQ(Names(*b), L"b1;b2;A;A;");
    oVoiceBook* first = Child(b, L"A");
    oVoiceBook* second = first->Next();
    EXPECT_EQ(Names(*Child(Child(second, L"S"), L"SS")), L"ss1;");
    // Changing one copy leaves the other and the original alone.
    Child(first, L"S")->DeleteChildren();
    EXPECT_EQ(Names(*Child(second, L"S")), L"s1;SS;");
    EXPECT_EQ(Names(*Child(Child(&Root(), L"A"), L"S")), L"s1;SS;");
}

TEST_F(EditingWindowTest, CutButtonPastesElsewhereThenAgain) {
    Start();
    // Cut through the menu of b2's button (the sixth item), then paste into A twice.
    Command(11001);
    ContextMenu(ButtonPoint(L"b2"),
                {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    oVoiceBook* b = Child(&Root(), L"B");
    EXPECT_EQ(Names(*b), L"b1;");
    Command(11000);
    Command(ID_EDIT_PASTE);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Names(*Child(&Root(), L"A")), L"a1;S;b2;b2;");
    EXPECT_EQ(bar_->CurrentCategory(), Child(&Root(), L"A"));
}

TEST_F(EditingWindowTest, RemovingTheShownCategorysAncestorShowsTheStartCategory) {
    Start();
    Command(10001); // S
    Command(10002); // SS, below S below A
    ASSERT_EQ(bar_->CurrentCategory()->m_strName, L"SS");
    // Deleted with its question answered Yes.
    {
        test::DialogAnswerer yes(IDYES);
        CommandOn(ID_DELETE_NODE, 0);
        ASSERT_TRUE(yes.Finish());
        EXPECT_NE(yes.Seen().text.find(L"[A] group"), std::wstring::npos);
    }
    EXPECT_EQ(Names(Root()), L"B;");
    ASSERT_TRUE(bar_->CurrentCategory());
    EXPECT_EQ(bar_->CurrentCategory()->m_strName, L"B");
    EXPECT_EQ(bar_->CurrentTopCategory(), bar_->CurrentCategory());
    ASSERT_EQ(bar_->Tabs().TabCount(), 1);
    EXPECT_EQ(bar_->Tabs().Tab(0).pNode, Child(&Root(), L"B"));
    // Cutting the last category leaves an empty bar and the category on the clipboard.
    CommandOn(ID_EDIT_CUT, 0);
    EXPECT_EQ(Names(Root()), L"");
    EXPECT_EQ(bar_->CurrentCategory(), nullptr);
    EXPECT_EQ(bar_->Tabs().TabCount(), 0);
    ASSERT_TRUE(bar_->Clipboard());
    EXPECT_EQ(Names(*bar_->Clipboard()), L"b1;b2;");
    test::DialogAnswerer ok(IDOK);
    Command(ID_EDIT_PASTE); // nowhere to paste: told, nothing happens
    ASSERT_TRUE(ok.Finish());
    EXPECT_EQ(ok.Seen().text, L"There is no group for display.");
}

TEST_F(EditingWindowTest, TheTabsFlagCommandsLeaveNoContextBehind) {
    Start();
    for (UINT id : {ID_CATEGORY_FLAG_SET, ID_CATEGORY_FLAG_CLEAR}) {
        CommandOn(id, 1);
        EXPECT_EQ(Child(&Root(), L"B")->m_nFlags & 1u, id == ID_CATEGORY_FLAG_SET ? 1u : 0u);
        Command(ID_EDIT_COPY); // copies the context node, when one is left
        EXPECT_EQ(bar_->Clipboard(), nullptr);
    }
}

TEST_F(EditingWindowTest, RefreshReadsTheLinkedFolderAgainAndShowsIt) {
    test::TempDir folder;
    ASSERT_TRUE(test::WriteFileBytes(folder / L"one.txt", {'1'}));
    Child(&tree_, L"B")->SetCommand(folder.path().c_str());
    Start();
    ASSERT_TRUE(test::WriteFileBytes(folder / L"two.txt", {'2'}));
    {
        test::DialogAnswerer yes(IDYES);
        CommandOn(ID_REFRESH_CATEGORY, 1);
        ASSERT_TRUE(yes.Finish());
    }
    oVoiceBook* b = Child(&Root(), L"B");
    ASSERT_TRUE(b);
    const std::wstring names = Names(*b);
    EXPECT_EQ(names.find(L"b1"), std::wstring::npos) << test::Narrow(names);
    for (const wchar_t* file : {L"one", L"two"})
        EXPECT_NE(names.find(file), std::wstring::npos) << test::Narrow(names);
    EXPECT_EQ(bar_->CurrentCategory(), b);
}

TEST_F(EditingWindowTest, ARefreshedButtonIsDrawnWithItsNewPicture) {
    Start();
    ::RedrawWindow(parent_->hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    oVoiceBook* a1 = Child(Child(&Root(), L"A"), L"a1");
    ASSERT_TRUE(a1);
    CBookButton* button = bar_->FindButtonWindow(a1);
    ASSERT_NE(button, nullptr);
    const SIZE size = viewtest::ClientSize(button->hwnd());
    const auto before = viewtest::Shown(button->hwnd(), size);
    a1->SetIcon((test::ExeFolder() + L"larkb.icl").c_str(), 3);
    CommandOn(ID_REFRESH_CATEGORY, 0); // an ordinary category: its pictures are made afresh
    EXPECT_FALSE(::GetUpdateRect(button->hwnd(), nullptr, FALSE)) << "left to a repaint";
    const auto after = viewtest::Shown(button->hwnd(), size);
    EXPECT_NE(after, before);
    EXPECT_EQ(after, viewtest::Painted(*button, size));
}

// ---- buttons dragged with the real mouse --------------------------------------------------

class DragWindowTest : public EditingWindowTest {
protected:
    void SetUp() override {
        EditingWindowTest::SetUp();
        Button(*Child(&tree_, L"A"), L"a2"); // A: a1, S, a2
    }
    void Start() {
        EditingWindowTest::Start();
        ::SetForegroundWindow(parent_->hwnd());
        ASSERT_TRUE(test::WaitUntil([&] { return ::GetForegroundWindow() == parent_->hwnd(); },
                                    test::kPatientMs));
    }
    // The rectangle of the shown program or category button named `name`.
    RECT Rect(const wchar_t* name) {
        for (UINT first : {10000u, 11000u})
            for (UINT id = first; HWND b = ::GetDlgItem(Bar(), static_cast<int>(id)); ++id) {
                wchar_t text[64] = {};
                ::GetWindowTextW(b, text, 64);
                RECT r{};
                ::GetWindowRect(b, &r);
                if (::IsWindowVisible(b) && name == std::wstring(text))
                    return r;
            }
        ADD_FAILURE() << "no button " << test::Narrow(name);
        return RECT{};
    }
    // Presses on `from`, moves over `via` to `to` (Ctrl held with `ctrl`) and releases;
    // returns once the bar has handled all the button sent it.
    void Drag(POINT from, POINT to, bool ctrl = false, POINT via = POINT{-1, -1}) {
        test::MouseTo(from);
        test::Press(true);
        ASSERT_TRUE(test::WaitUntil([] { return ::GetCapture() != nullptr; }, test::kPatientMs));
        if (ctrl)
            test::Press(true, VK_CONTROL);
        if (via.x >= 0)
            test::MouseTo(via);
        test::MouseTo(to);
        test::Press(false);
        if (ctrl)
            test::Press(false, VK_CONTROL);
        ASSERT_TRUE(test::WaitUntil([] { return ::GetCapture() == nullptr; }, test::kPatientMs));
        // What the button posted comes before this.
        constexpr UINT kMarker = WM_APP + 0x5EE;
        ASSERT_TRUE(::PostMessageW(Bar(), kMarker, 0, 0)) << ::GetLastError();
        ASSERT_TRUE(test::WaitUntil(
            [&] {
                MSG m;
                return !::PeekMessageW(&m, Bar(), kMarker, kMarker, PM_NOREMOVE);
            },
            test::kPatientMs));
    }
    static POINT Centre(const RECT& r) {
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    oVoiceBook* A() { return Child(&Root(), L"A"); }
};

TEST_F(DragWindowTest, ReleasedOverItselfIsAClickAndMovesNothing) {
    Start();
    Drag(Centre(Rect(L"S")), Centre(Rect(L"S")), false, Centre(Rect(L"a1")));
    EXPECT_EQ(Names(*A()), L"a1;S;a2;");
    ASSERT_TRUE(bar_->CurrentCategory());
    EXPECT_EQ(bar_->CurrentCategory()->m_strName, L"S");
}

TEST_F(DragWindowTest, ButtonsLandByWhereTheyAreReleased) {
    Start();
    // The outer part of a sub-category's button: after it.
    const RECT s = Rect(L"S");
    Drag(Centre(Rect(L"a1")), POINT{s.left + 2, s.top + 2});
    EXPECT_EQ(Names(*A()), L"S;a1;a2;");
    // Its middle third: inside, at the end.
    Drag(Centre(Rect(L"a2")), Centre(Rect(L"S")));
    EXPECT_EQ(Names(*A()), L"S;a1;");
    EXPECT_EQ(Names(*Child(A(), L"S")), L"s1;SS;a2;");
    // No target (the grip strip): first of the shown category.
    RECT grip{};
    ::GetWindowRect(::GetDlgItem(Bar(), 124), &grip);
    Drag(Centre(Rect(L"a1")), POINT{grip.left + 2, grip.top + 5});
    EXPECT_EQ(Names(*A()), L"a1;S;");
    // A top-level category's button takes it in; the shown category stays. With Ctrl a copy.
    Drag(Centre(Rect(L"a1")), Centre(Rect(L"B")), true);
    Drag(Centre(Rect(L"a1")), Centre(Rect(L"B")));
    EXPECT_EQ(Names(*Child(&Root(), L"B")), L"b1;b2;a1;a1;");
    EXPECT_EQ(Names(*A()), L"S;");
    EXPECT_EQ(bar_->CurrentCategory(), A());
    EXPECT_EQ(bar_->DropMarkWindow(), nullptr);
}

TEST_F(DragWindowTest, CtrlOutsideRemovesAndAMoveIntoItsOwnSubtreeIsRefused) {
    Start();
    RECT main{};
    ::GetWindowRect(parent_->hwnd(), &main);
    Drag(Centre(Rect(L"a2")), POINT{main.left + 20, main.bottom + 60}, true);
    EXPECT_EQ(Names(*A()), L"a1;S;");
    // Without Ctrl nothing happens outside.
    Drag(Centre(Rect(L"a1")), POINT{main.left + 20, main.bottom + 60});
    EXPECT_EQ(Names(*A()), L"a1;S;");
    // The shown category A onto its own sub-category S.
    Drag(Centre(Rect(L"A")), Centre(Rect(L"S")));
    EXPECT_EQ(Names(Root()), L"A;B;");
    EXPECT_EQ(Names(*A()), L"a1;S;");
    // The shown category's button onto B's: after it, and still shown.
    Drag(Centre(Rect(L"A")), Centre(Rect(L"B")));
    EXPECT_EQ(Names(Root()), L"B;A;");
    EXPECT_EQ(bar_->CurrentTopCategory(), A());
    EXPECT_EQ(bar_->Tabs().Tab(1).pNode, A());
}

} // namespace
