// An expanded auto-hide bar of the real program collapses once the mouse, moved by real
// input, has left it for the window of another program in the foreground.
#include "bar_process_fixture.h"

#include "framework/handle.h"

namespace {

using namespace bartest;

// Notepad, as the other program.
class OtherProgram {
public:
    OtherProgram() {
        wchar_t system[MAX_PATH] = {};
        ::GetSystemDirectoryW(system, MAX_PATH);
        std::wstring cmd = L"\"" + std::wstring(system) + L"\\notepad.exe\"";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, &pi)) {
            error_ = ::GetLastError();
            return;
        }
        ::CloseHandle(pi.hThread);
        process_.reset(pi.hProcess);
        pid_ = pi.dwProcessId;
    }
    ~OtherProgram() {
        if (process_) {
            ::TerminateProcess(process_.get(), 0);
            ::WaitForSingleObject(process_.get(), 5000);
        }
    }
    DWORD Error() const { return error_; }

    // Its visible top-level window, once it has one.
    HWND Window() {
        struct Find {
            DWORD pid;
            HWND found;
        } f{pid_, nullptr};
        ::EnumWindows(
            [](HWND h, LPARAM lp) -> BOOL {
                auto* f = reinterpret_cast<Find*>(lp);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(h, &pid);
                if (pid != f->pid || !::IsWindowVisible(h) || ::GetWindow(h, GW_OWNER))
                    return TRUE;
                f->found = h;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&f));
        return f.found;
    }

private:
    fw::Handle process_;
    DWORD pid_ = 0;
    DWORD error_ = 0;
};

class AutoHideForegroundTest : public BarWindowTest {};

TEST_F(AutoHideForegroundTest, AnExpandedBarCollapsesWhenTheMouseLeavesForAnotherProgram) {
    test::WriteRegDword(kAppBarInfo, L"AutoHide", 1);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    OtherProgram other;
    ASSERT_EQ(other.Error(), 0u);
    HWND window = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] { return (window = other.Window()) != nullptr; }, 20000));
    ASSERT_TRUE(::SetWindowPos(window, nullptr, 300, 200, 500, 400, SWP_NOZORDER))
        << ::GetLastError();
    ::SetForegroundWindow(window);
    ASSERT_TRUE(test::WaitUntil([&] { return ::GetForegroundWindow() == window; }, 5000));
    const POINT onOther{550, 400};
    MouseTo(onOther);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 3))) << ::testing::PrintToString(WindowRect(bar));

    // The mouse rests on the strip: the bar opens over the other program, which keeps the
    // foreground.
    MouseTo(POINT{640, screen_.bottom - 2});
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84))) << ::testing::PrintToString(WindowRect(bar));
    EXPECT_EQ(::GetForegroundWindow(), window);

    // A hand moves back up in steps, through the bar, onto the other program's window.
    for (LONG y = screen_.bottom - 10; y > onOther.y; y -= 60)
        MouseTo(POINT{600, y});
    MouseTo(onOther);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, 3), 5000)) << ::testing::PrintToString(WindowRect(bar));
    Exit(lark);
}

} // namespace
