// Dialogs built from templates in memory: control access, property-sheet paging, handlers that
// throw, objects that go before their windows, and messages seen while a modal loop runs.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/message_filter.h"
#include "framework/property_sheet.h"
#include "framework/window.h"
#include "dialog_template.h"
#include "support/test_util.h"

namespace {

enum : WORD { kEdit = 101, kCheck, kCombo, kList };

test::DialogTemplate ControlsTemplate() {
    test::DialogTemplate t(WS_POPUP | WS_CAPTION, L"Controls", 120, 120);
    t.Add(0x81, kEdit, ES_AUTOHSCROLL | WS_BORDER, 4)
        .Add(0x80, kCheck, BS_AUTOCHECKBOX, 20, L"Check")
        .Add(0x85, kCombo, CBS_DROPDOWNLIST, 36)
        .Add(0x83, kList, LBS_NOTIFY, 56);
    return t;
}

TEST(DialogControlsTest, ValuesGoInAndComeBackThroughRealControls) {
    const test::DialogTemplate t = ControlsTemplate();
    fw::Dialog dlg;
    ASSERT_NE(dlg.CreateModeless(t.get(), nullptr), nullptr) << ::GetLastError();

    dlg.LimitText(kEdit, 5);
    dlg.SetItemText(kEdit, L"abcdefgh");
    ::SendMessageW(dlg.Item(kEdit), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"xyz"));
    EXPECT_EQ(dlg.ItemText(kEdit).size(), 8u) << "the limit binds typing, not set texts";
    ::SendMessageW(dlg.Item(kEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    ::SendMessageW(dlg.Item(kEdit), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"1234567"));
    EXPECT_EQ(dlg.ItemText(kEdit), L"12345");

    const struct {
        const wchar_t* text;
        bool valid;
        int value;
    } numbers[] = {{L"-42", true, -42},
                   {L" 17 ", true, 17},
                   {L"", false, 0},
                   {L"12x", false, 0},
                   {L"99999999999", false, 0}};
    for (const auto& n : numbers) {
        dlg.SetItemText(kEdit, n.text);
        const std::optional<int> got = dlg.ItemInt(kEdit);
        EXPECT_EQ(got.has_value(), n.valid) << "text \"" << testing::PrintToString(n.text) << "\"";
        if (got && n.valid) {
            EXPECT_EQ(*got, n.value);
        }
    }
    dlg.SetItemInt(kEdit, -7);
    EXPECT_EQ(dlg.ItemInt(kEdit), -7);

    dlg.SetChecked(kCheck, true);
    EXPECT_TRUE(dlg.IsChecked(kCheck));
    dlg.EnableItem(kCheck, false);
    dlg.ShowItem(kCheck, false);
    EXPECT_FALSE(::IsWindowEnabled(dlg.Item(kCheck)));
    EXPECT_FALSE(::IsWindowVisible(dlg.Item(kCheck)));

    // Combo and list boxes answer the same calls.
    for (int id : {kCombo, kList}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(dlg.AddString(id, L"one", 10), 0);
        EXPECT_EQ(dlg.AddString(id, L"three", 30), 1);
        EXPECT_EQ(dlg.InsertString(id, 1, L"two", 20), 1);
        EXPECT_EQ(dlg.ItemCount(id), 3);
        EXPECT_EQ(dlg.StringAt(id, 2), L"three");
        EXPECT_EQ(dlg.DataAt(id, 1), 20);
        EXPECT_EQ(dlg.Selection(id), -1);
        EXPECT_TRUE(dlg.SelectData(id, 30));
        EXPECT_EQ(dlg.Selection(id), 2);
        EXPECT_FALSE(dlg.SelectData(id, 99));
        EXPECT_EQ(dlg.Selection(id), -1);
        EXPECT_TRUE(dlg.DeleteString(id, 0));
        EXPECT_FALSE(dlg.DeleteString(id, 5));
        EXPECT_EQ(dlg.StringAt(id, 0), L"two");
        EXPECT_TRUE(dlg.StringAt(id, 7).empty());
        dlg.ResetContent(id);
        EXPECT_EQ(dlg.ItemCount(id), 0);
    }
    dlg.Destroy();
}

// A page that records its activations; the first refuses to be left while its box is unchecked.
class Page : public fw::PropertyPage {
public:
    Page(const DLGTEMPLATE& t, std::string name, std::string& log)
        : fw::PropertyPage(t), name_(std::move(name)), log_(log) {}
    bool OnKillActive() override {
        log_ += name_ + "-leave ";
        return name_ != "a" || IsChecked(kCheck);
    }
    void OnSetActive() override { log_ += name_ + "-show "; }
    bool OnApply() override {
        log_ += name_ + "-apply ";
        return true;
    }

protected:
    bool OnInitDialog(HWND) override {
        if (name_ == "a")
            ::PostMessageW(hwnd_, WM_APP, 0, 0);
        return true;
    }
    // Drives the sheet from inside its own modal loop.
    LRESULT OnMessage(UINT msg, WPARAM, LPARAM) override {
        if (msg != WM_APP) {
            SetMsgHandled(false);
            return 0;
        }
        HWND sheet = ::GetParent(hwnd_);
        ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0); // refused: the box is unchecked
        SetChecked(kCheck, true);
        ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
        ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return 0;
    }

private:
    std::string name_;
    std::string& log_;
};

TEST(PropertySheetTest, PagesAreLeftOnlyWhenTheyAgreeAndAllApplyOnOk) {
    test::DialogTemplate t(WS_CHILD | WS_CAPTION, L"Page", 120, 60);
    t.Add(0x80, kCheck, BS_AUTOCHECKBOX, 4, L"Valid");
    std::string log;
    Page a(t.get(), "a", log);
    Page b(t.get(), "b", log);
    fw::PropertySheet sheet(L"Sheet");
    sheet.AddPage(a);
    sheet.AddPage(b);
    EXPECT_EQ(sheet.DoModal(nullptr), IDOK);
    EXPECT_EQ(log, "a-show a-leave a-leave b-show b-leave a-apply b-apply ");
}

class ThrowingWindow : public fw::Window {
protected:
    bool OnCreate(const CREATESTRUCTW&) override { throw std::runtime_error("no room"); }
};

class ThrowingDialog : public fw::Dialog {
protected:
    bool OnInitDialog(HWND) override { throw std::runtime_error("no room"); }
};

TEST(HandlerExceptionTest, CreationFailsCleanlyWhenAHandlerThrows) {
    ASSERT_TRUE(fw::Window::RegisterClass(L"LarkTestThrowing"));
    ThrowingWindow w;
    EXPECT_EQ(
        w.Create(0, L"LarkTestThrowing", L"throwing", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0),
        nullptr);
    EXPECT_EQ(w.hwnd(), nullptr);
    EXPECT_EQ(::FindWindowW(L"LarkTestThrowing", nullptr), nullptr);

    const test::DialogTemplate t = ControlsTemplate();
    ThrowingDialog modeless;
    EXPECT_EQ(modeless.CreateModeless(t.get(), nullptr), nullptr);
    EXPECT_EQ(modeless.hwnd(), nullptr);
    EXPECT_EQ(::FindWindowW(nullptr, L"Controls"), nullptr);
    ThrowingDialog modal;
    EXPECT_EQ(modal.DoModal(t.get(), nullptr), -1);
    EXPECT_EQ(::FindWindowW(nullptr, L"Controls"), nullptr);
}

class CountingDialog : public fw::Dialog {
public:
    explicit CountingDialog(int& destroyed) : destroyed_(destroyed) {}

protected:
    void OnDestroy() override { ++destroyed_; }

private:
    int& destroyed_;
};

TEST(DialogLifeTest, AnObjectGoingFirstLeavesNoWindowAndIsNotCalledAgain) {
    const test::DialogTemplate t = ControlsTemplate();
    int destroyed = 0;
    HWND hwnd = nullptr;
    {
        CountingDialog dlg(destroyed);
        hwnd = dlg.CreateModeless(t.get(), nullptr);
        ASSERT_NE(hwnd, nullptr);
    }
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(destroyed, 0) << "a handler ran on a half-destroyed object";
}

// Counts one private message wherever it was retrieved.
class CountingApp : public fw::App {
public:
    CountingApp() : fw::App(L"Test") {}
    int seen = 0;
    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_APP + 7)
            ++seen;
        return fw::App::PreTranslateMessage(msg);
    }
};

class PostingModal : public fw::Dialog {
protected:
    bool OnInitDialog(HWND) override {
        ::PostMessageW(hwnd_, WM_APP + 7, 0, 0);
        ::PostMessageW(hwnd_, WM_APP + 8, 0, 0);
        return true;
    }
    LRESULT OnMessage(UINT msg, WPARAM, LPARAM) override {
        if (msg == WM_APP + 8)
            EndDialog(IDOK); // after the first, which was posted before it
        else
            SetMsgHandled(false);
        return 0;
    }
};

TEST(MessageFilterTest, ModalLoopsOfferTheirMessagesToTheApplication) {
    CountingApp app;
    const test::DialogTemplate t = ControlsTemplate();
    {
        PostingModal dlg;
        EXPECT_EQ(dlg.DoModal(t.get(), nullptr), IDOK);
        EXPECT_EQ(app.seen, 0) << "no filter installed, nothing seen";
    }
    fw::MessageFilter filter;
    ASSERT_TRUE(filter.Installed()) << ::GetLastError();
    PostingModal dlg;
    EXPECT_EQ(dlg.DoModal(t.get(), nullptr), IDOK);
    EXPECT_EQ(app.seen, 1);
}

} // namespace

// A modeless dialog as main window: its keyboard navigation (IsDialogMessage) calls the message
// filter too, which must not offer the message to the application a second time.
class KeyedApp : public fw::App {
public:
    KeyedApp() : fw::App(L"Test") {}
    int keys = 0;
    bool InitInstance() override {
        SetMainWindow(dlg_.CreateModeless(t_.get(), nullptr));
        if (!MainWindow())
            return false;
        ::PostMessageW(dlg_.Item(kEdit), WM_KEYDOWN, VK_TAB, 0);
        ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
        return true;
    }
    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_KEYDOWN)
            ++keys;
        return fw::App::PreTranslateMessage(msg);
    }

private:
    test::DialogTemplate t_ = ControlsTemplate();
    fw::Dialog dlg_;
};

TEST(MessageFilterTest, KeyboardNavigationOfTheMainDialogIsOfferedOnce) {
    KeyedApp app;
    EXPECT_EQ(app.Main(), 0);
    EXPECT_EQ(app.keys, 1);
}
