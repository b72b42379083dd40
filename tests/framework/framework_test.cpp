// The framework layer: handle owners, text helpers, resources, profile, windows and dialogs.
#include <gtest/gtest.h>

#include <optional>

#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "framework/handle.h"
#include "framework/profile.h"
#include "framework/resources.h"
#include "framework/text.h"
#include "framework/window.h"
#include "resource.h"
#include "support/test_util.h"

namespace {

TEST(HandleTest, OwnerClosesOnResetAndHandsOverOnMove) {
    fw::Handle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    const HANDLE raw = event.get();
    fw::Handle moved(std::move(event));
    EXPECT_FALSE(event);
    EXPECT_EQ(moved.get(), raw);
    DWORD flags = 0;
    EXPECT_TRUE(::GetHandleInformation(raw, &flags));
    moved.reset();
    EXPECT_FALSE(::GetHandleInformation(raw, &flags));
}

TEST(HandleTest, GdiOwnersDeleteTheirObjects) {
    HBRUSH raw = ::CreateSolidBrush(RGB(1, 2, 3));
    {
        fw::Brush brush(raw);
        EXPECT_NE(::GetObjectType(raw), 0u);
    }
    EXPECT_EQ(::GetObjectType(raw), 0u);
    HMENU menuRaw = ::CreatePopupMenu();
    { fw::Menu menu(menuRaw); }
    EXPECT_FALSE(::IsMenu(menuRaw));
}

TEST(TextTest, CodePageConversionRoundTrips) {
    const std::string bytes = "caf\xE9 \x80";
    const std::wstring wide = fw::FromCodePage(bytes, 1252);
    EXPECT_EQ(wide, L"caf\u00E9 \u20AC");
    EXPECT_EQ(fw::ToCodePage(wide, 1252), bytes);
    EXPECT_TRUE(fw::FromCodePage("", 1252).empty());
}

TEST(TextTest, CaseInsensitiveEqualityAndFormatting) {
    EXPECT_TRUE(fw::EqualsNoCase(L"ToolBar Data", L"TOOLBAR data"));
    EXPECT_FALSE(fw::EqualsNoCase(L"ToolBar", L"ToolBars"));
    EXPECT_TRUE(fw::EqualsNoCase(L"", L""));
    EXPECT_EQ(fw::FormatText(L"Can't find %s.", L"Notepad"), L"Can't find Notepad.");
    const std::wstring longName(5000, L'x');
    EXPECT_EQ(fw::FormatText(L"[%s]", longName.c_str()).size(), 5002u);
}

TEST(ResourceTest, StringsComeFromTheActiveModule) {
    EXPECT_EQ(fw::LoadResString(IDS_APP_TITLE), L"larkRunBar ");
    EXPECT_EQ(fw::LoadResString(IDS_CANT_FIND), L"Can't find %s.");
    EXPECT_TRUE(fw::LoadResString(59999).empty());
    // Another module without our strings: the program's own stand in.
    fw::SetResourceModule(::GetModuleHandleW(L"kernel32.dll"));
    EXPECT_EQ(fw::LoadResString(IDS_MIN_CHARACTERS), L"Please enter minimun %d characters.");
    fw::SetResourceModule(nullptr);
}

TEST(ProfileTest, AbsentValuesAndKeysGiveTheDefault) {
    fw::Profile profile(L"TarvoTest", L"Framework");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TarvoTest");
    EXPECT_EQ(profile.GetInt(L"S", L"V", 17), 17);
    EXPECT_FALSE(profile.TryGetInt(L"S", L"V").has_value());
    EXPECT_TRUE(profile.WriteInt(L"S", L"V", -5));
    EXPECT_EQ(profile.GetInt(L"S", L"V", 17), -5);
    EXPECT_EQ(profile.ProductKeyPath(), L"Software\\TarvoTest\\Framework");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TarvoTest");
}

TEST(ProfileTest, AnIniFileKeepsNamesTypesAndRangesAndWhatItCannotTake) {
    const struct {
        const wchar_t* text;
        std::optional<int32_t> value;
    } cases[] = {{L"0", 0},
                 {L" -17 ", -17},
                 {L"2147483647", INT32_MAX},
                 {L"-2147483648", INT32_MIN},
                 {L"2147483648", std::nullopt},
                 {L"0x10", std::nullopt},
                 {L"1e3", std::nullopt},
                 {L"", std::nullopt},
                 {L"-", std::nullopt},
                 {L"12345678901", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(fw::ParseProfileInt(c.text), c.value) << test::Narrow(c.text);

    test::TempDir dir;
    fw::Profile profile(L"TarvoTest", L"Framework");
    profile.UseIniFile(dir / L"settings.ini");
    EXPECT_TRUE(profile.WriteInt(L"S", L"V", -5));
    EXPECT_TRUE(profile.WriteInt(nullptr, L"K", 7));
    EXPECT_EQ(profile.GetInt(L"S", L"V", 17), -5);
    EXPECT_EQ(::GetPrivateProfileIntW(L"Framework", L"K", 0, (dir / L"settings.ini").c_str()), 7u);
    ASSERT_TRUE(::WritePrivateProfileStringW(L"S", L"V", L"many", (dir / L"settings.ini").c_str()));
    EXPECT_EQ(profile.GetInt(L"S", L"V", 17), 17);
    // A file that cannot be written: the value lives on in memory.
    profile.UseIniFile(dir / L"missing folder\\settings.ini");
    EXPECT_FALSE(profile.WriteInt(L"S", L"V", 3));
    EXPECT_EQ(profile.GetInt(L"S", L"V", 17), 3);
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\TarvoTest", 0, KEY_READ, &key), 0);
}

// A window that records what reached its typed handlers.
class Recorder : public fw::Window {
public:
    int timers = 0;
    UINT lastCommand = 0;
    bool created = false;
    bool destroyed = false;

protected:
    bool OnCreate(const CREATESTRUCTW&) override {
        created = true;
        return true;
    }
    void OnTimer(UINT_PTR id) override {
        ++timers;
        ::KillTimer(hwnd_, id);
    }
    void OnCommand(UINT id, UINT, HWND) override {
        lastCommand = id;
        SetMsgHandled(id == 77);
    }
    void OnDestroy() override { destroyed = true; }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM) override {
        if (msg == WM_APP + 1)
            return static_cast<LRESULT>(wp * 2);
        SetMsgHandled(false);
        return 0;
    }
};

TEST(WindowTest, MessagesReachTypedHandlersAndTheRestGetsDefaultProcessing) {
    ASSERT_TRUE(fw::Window::RegisterClass(L"LarkTestRecorder"));
    Recorder w;
    HWND hwnd = w.Create(0, L"LarkTestRecorder", L"title", WS_OVERLAPPEDWINDOW,
                         RECT{0, 0, 100, 100}, nullptr, 0);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(w.created);
    EXPECT_EQ(fw::Window::FromHandle(hwnd), &w);
    EXPECT_EQ(fw::TargetFromHandle(hwnd), &w);

    // Unhandled messages run the system's default: the caption is kept by DefWindowProc.
    wchar_t text[16] = {};
    ::GetWindowTextW(hwnd, text, 16);
    EXPECT_STREQ(text, L"title");
    EXPECT_EQ(::SendMessageW(hwnd, WM_APP + 1, 21, 0), 42);

    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(77, 0), 0);
    EXPECT_EQ(w.lastCommand, 77u);
    ::SetTimer(hwnd, 5, 10, nullptr);
    EXPECT_TRUE(test::WaitUntil([&] { return w.timers == 1; }, test::kPatientMs));

    ::DestroyWindow(hwnd);
    EXPECT_TRUE(w.destroyed);
    EXPECT_EQ(w.hwnd(), nullptr);
    EXPECT_EQ(fw::Window::FromHandle(hwnd), nullptr);
    EXPECT_EQ(fw::Window::FromHandle(::GetDesktopWindow()), nullptr);
}

class HitDialog : public fw::Dialog {
public:
    bool initialised = false;

protected:
    bool OnInitDialog(HWND) override {
        initialised = true;
        return false;
    }
    LRESULT OnNcHitTest(POINT) override { return HTCAPTION; }
    void OnTimer(UINT_PTR) override { EndDialog(42); }
};

TEST(DialogTest, ModelessDialogFromTemplateReturnsHandlerResults) {
    HitDialog dlg;
    HWND hwnd = dlg.CreateModeless(IDD_MAIN, nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(dlg.initialised);
    EXPECT_EQ(fw::Dialog::FromHandle(hwnd), &dlg);
    // The dialog manager must hand the handler's answer back through DWLP_MSGRESULT.
    EXPECT_EQ(::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(1, 1)), HTCAPTION);
    dlg.Destroy();
    EXPECT_FALSE(::IsWindow(hwnd));
}

class TimedModal : public fw::Dialog {
protected:
    bool OnInitDialog(HWND) override {
        ::SetTimer(hwnd_, 1, 50, nullptr);
        return true;
    }
    void OnTimer(UINT_PTR) override { EndDialog(42); }
};

TEST(DialogTest, ModalDialogReturnsTheEndValue) {
    TimedModal dlg;
    EXPECT_EQ(dlg.DoModal(IDD_MAIN, nullptr), 42);
}

// An application whose main window closes itself: Main returns after the quit message.
class OneShotApp : public fw::App {
public:
    OneShotApp() : fw::App(L"Test") {}
    bool exited = false;
    bool InitInstance() override {
        dlg_ = std::make_unique<TimedClose>();
        SetMainWindow(dlg_->CreateModeless(IDD_MAIN, nullptr));
        return MainWindow() != nullptr;
    }
    int ExitInstance() override {
        exited = true;
        return 7;
    }

private:
    class TimedClose : public fw::Dialog {
    protected:
        bool OnInitDialog(HWND) override {
            ::SetTimer(hwnd_, 1, 50, nullptr);
            return true;
        }
        void OnTimer(UINT_PTR) override { ::DestroyWindow(hwnd_); }
    };
    std::unique_ptr<TimedClose> dlg_;
};

TEST(AppTest, LoopEndsWhenTheMainWindowGoesAway) {
    OneShotApp app;
    EXPECT_EQ(fw::App::Current(), &app);
    EXPECT_EQ(app.Main(), 7);
    EXPECT_TRUE(app.exited);
    EXPECT_EQ(app.MainWindow(), nullptr);
}

} // namespace
