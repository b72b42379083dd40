// The program button bar as a window in this process, with the real tooltip control.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "button_pixels.h"

#include "model/data_path.h"
#include "model/preferences.h"
#include "model/voice_book.h"
#include "support/lark_process.h"
#include "support/document_fixture.h"
#include "support/test_util.h"
#include "views/bar_keys.h"
#include "views/program_toolbar.h"

namespace {

HWND VisibleTip() {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) -> BOOL {
            wchar_t cls[64] = {};
            ::GetClassNameW(hwnd, cls, 64);
            if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && ::IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(out) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class ToolbarWindowTest : public test::DocumentTest {
protected:
    void SetUp() override {
        test::DocumentTest::SetUp();
        oVoiceBook saved;
        saved.ResetAll(L"ToolBar");
        oVoiceBook* tips = saved.AddChild(CategoryFields(L"Tips"));
        for (const wchar_t* name : {L"Tipped", L"Second", L"Third"})
            tips->AddChild(ButtonFields(name, L"t.exe"));
        ASSERT_TRUE(saved.SaveFile(test::DataFolder() + L"\\" + model::kCurrentDataFile));
        parent_ = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"bar test", WS_POPUP | WS_VISIBLE,
                                    100, 100, 600, 60, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent_) << ::GetLastError();
        prefs_.ViewGroupButtonMethod = 0;
        bar_ = std::make_unique<CProgramToolBar>();
        bar_->SetDocument(doc_.get());
        ASSERT_TRUE(bar_->Create(RECT{0, 0, 600, 60}, parent_, 6000, &prefs_, metrics_))
            << ::GetLastError();
    }
    void DropWindows() override {
        bar_.reset();
        ::DestroyWindow(parent_);
    }

    Preferences prefs_;
    views::ButtonMetrics metrics_{{40, 40}, {2, 2}}; // the large buttons
    HWND parent_ = nullptr;
    std::unique_ptr<CProgramToolBar> bar_;
};

} // namespace

TEST_F(ToolbarWindowTest, NoTooltipAppearsWhileTheTooltipPreferenceIsOff) {
    oVoiceBook* tipped = Root().FirstChild()->FirstChild();
    CBookButton* button = bar_->FindButtonWindow(tipped);
    ASSERT_NE(button, nullptr);
    RECT r{};
    ::GetWindowRect(button->hwnd(), &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ASSERT_TRUE(::SetCursorPos(centre.x, centre.y)) << ::GetLastError();
    // The pointer moving over the button, as the message loop offers it to the bar.
    const auto hover = [&] {
        MSG m{};
        m.hwnd = button->hwnd();
        m.message = WM_MOUSEMOVE;
        POINT client = centre;
        ::ScreenToClient(button->hwnd(), &client);
        m.lParam = MAKELPARAM(client.x, client.y);
        m.pt = centre;
        m.time = ::GetTickCount();
        bar_->PreTranslateMessage(m);
    };

    prefs_.ViewTooltipButton = 0;
    for (int i = 0; i < 10; ++i) {
        hover();
        test::PumpMessages(100);
        ASSERT_EQ(VisibleTip(), nullptr);
    }
    // The same pointer with the preference on shows the tip (the check above was real).
    prefs_.ViewTooltipButton = 1;
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            hover();
            return VisibleTip() != nullptr;
        },
        test::kPatientMs));
}

TEST_F(ToolbarWindowTest, ButtonsAndDropTargetsAreFoundByScreenPoint) {
    // Buttons of 40 x 40 from x = 58 of the bar (60 high: the navigation buttons sit at its
    // top and bottom), which lies at (100, 100) on the screen.
    oVoiceBook* first = Root().FirstChild()->FirstChild();
    oVoiceBook* second = first->Next();
    oVoiceBook* third = second->Next();
    EXPECT_EQ(bar_->ButtonNodeAt(POINT{100 + 118, 120}), second);
    EXPECT_EQ(bar_->ButtonNodeAt(POINT{100 + 3, 120}), nullptr); // the grip strip
    struct Case {
        POINT at;
        oVoiceBook* expected;
    } cases[] = {
        {{100 + 118, 110}, second},    // on a button
        {{100 + 400, 110}, third},     // right of the last button
        {{100 + 50, 100 + 45}, third}, // below the last button's bottom
        {{100 + 40, 110}, nullptr},    // before the buttons
        {{800, 110}, nullptr},         // outside the bar window
    };
    for (const Case& c : cases)
        EXPECT_EQ(bar_->DropTargetAt(true, false, c.at), c.expected) << c.at.x << "," << c.at.y;
    ASSERT_NE(bar_->FirstButtonWindow(false), nullptr);
    EXPECT_EQ(bar_->FirstButtonWindow(false)->Node(), first);
    EXPECT_EQ(bar_->FirstButtonWindow(true), nullptr); // the plain view hides them
    ASSERT_NE(bar_->FindButtonWindow(third), nullptr);
    EXPECT_TRUE(::IsWindowVisible(bar_->FindButtonWindow(third)->hwnd()));
}

// Every button of `category` shows what its own paint draws, and none waits for a paint.
void ExpectDrawn(CProgramToolBar& bar, oVoiceBook* category) {
    std::vector<CBookButton*> buttons;
    for (oVoiceBook* node = category->FirstChild(); node; node = node->Next())
        buttons.push_back(bar.FindButtonWindow(node));
    for (CBookButton* button : buttons) {
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(::GetUpdateRect(button->hwnd(), nullptr, FALSE)) << "left to a repaint";
        const SIZE size = viewtest::ClientSize(button->hwnd());
        EXPECT_EQ(viewtest::Shown(button->hwnd(), size), viewtest::Painted(*button, size))
            << "button of " << test::Narrow(button->Node()->m_strName);
    }
}

TEST_F(ToolbarWindowTest, ShownButtonsAreDrawnAtTheFirstPaintAndAfterEverySwitch) {
    oVoiceBook* tips = Root().FirstChild();
    oVoiceBook* other = Root().AddChild(CategoryFields(L"Other"));
    for (const wchar_t* name : {L"Wide name", L"M", L"Otherwise"})
        other->AddChild(CategoryFields(name));
    ::RedrawWindow(parent_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ExpectDrawn(*bar_, tips);
    for (oVoiceBook* category : {other, tips, other}) {
        bar_->ShowCategory(category, true);
        ExpectDrawn(*bar_, category);
    }
}

TEST_F(ToolbarWindowTest, AButtonFollowsThePointerInAndOutAndWhileHeld) {
    CBookButton* button = bar_->FindButtonWindow(Root().FirstChild()->FirstChild());
    ASSERT_NE(button, nullptr);
    RECT r{};
    ::GetWindowRect(button->hwnd(), &r);
    const auto input = [](DWORD flags, POINT p = {}) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flags;
        if (flags & MOUSEEVENTF_MOVE) {
            in.mi.dx = (p.x * 65536 + ::GetSystemMetrics(SM_CXSCREEN) - 1) /
                       ::GetSystemMetrics(SM_CXSCREEN);
            in.mi.dy = (p.y * 65536 + ::GetSystemMetrics(SM_CYSCREEN) - 1) /
                       ::GetSystemMetrics(SM_CYSCREEN);
            in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
        }
        ASSERT_EQ(::SendInput(1, &in, sizeof(in)), 1u) << ::GetLastError();
    };
    const POINT inside{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const POINT away{r.left + 300, r.bottom + 200};
    const auto hoverBecomes = [&](int value) {
        return test::WaitUntil([&] { return button->Hover() == value; }, test::kPatientMs);
    };
    input(MOUSEEVENTF_MOVE, away);
    input(MOUSEEVENTF_MOVE, inside);
    ASSERT_TRUE(hoverBecomes(1));
    input(MOUSEEVENTF_MOVE, away); // leave tracking (or timer 101) notices
    ASSERT_TRUE(hoverBecomes(0));
    EXPECT_EQ(::GetCapture(), nullptr);
    // Held and dragged outside, then released there: no click, nothing held.
    input(MOUSEEVENTF_MOVE, inside);
    ASSERT_TRUE(hoverBecomes(1));
    input(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(test::WaitUntil([&] { return button->Pressed(); }, test::kPatientMs));
    input(MOUSEEVENTF_MOVE, away);
    ASSERT_TRUE(hoverBecomes(2));
    input(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(test::WaitUntil([&] { return !button->Pressed(); }, test::kPatientMs));
    // The normal face may follow the release by a message (capture change, leave check).
    EXPECT_TRUE(hoverBecomes(0)) << button->Hover();
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ToolbarWindowTest, TheFocusMarkIsDrawnWhileAButtonHasTheFocusAndGoneAfter) {
    CBookButton* first = bar_->FindButtonWindow(Root().FirstChild()->FirstChild());
    CBookButton* second = bar_->FindButtonWindow(Root().FirstChild()->FirstChild()->Next());
    ASSERT_TRUE(first && second);
    views::ShowFocusCues(first->hwnd());
    const SIZE size = viewtest::ClientSize(first->hwnd());
    ::SetFocus(second->hwnd());
    const std::vector<COLORREF> unfocused = viewtest::Painted(*first, size);
    ::SetFocus(first->hwnd());
    ASSERT_EQ(::GetFocus(), first->hwnd()) << ::GetLastError();
    EXPECT_NE(viewtest::Painted(*first, size), unfocused);
    ::SetFocus(second->hwnd());
    ASSERT_EQ(::GetFocus(), second->hwnd()) << ::GetLastError();
    EXPECT_EQ(viewtest::Painted(*first, size), unfocused);
}
