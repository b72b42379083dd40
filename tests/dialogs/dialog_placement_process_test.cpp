// The running bar's dialogs open off the bar, and a dialog opened from another beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include "dialog_script.h"
#include "model/data_path.h"
#include "model/voice_book.h"
#include "resource.h"
#include "support/lark_process.h"

namespace {

RECT WindowRect(HWND hwnd) {
    RECT r{};
    if (!::GetWindowRect(hwnd, &r))
        test::ReportSystemError("reading a window's rectangle", ::GetLastError());
    return r;
}

// Sends `command` to `target` and waits for the dialog of the bar's process that has `control`.
HWND Open(DWORD pid, HWND target, UINT command, int control) {
    ::PostMessageW(target, WM_COMMAND, command, 0);
    HWND dialog = nullptr;
    EXPECT_TRUE(test::WaitUntil([&] { return (dialog = test::FindDialogOf(pid, control)); },
                                script::kWaitMs))
        << "command " << command;
    return dialog;
}

TEST(DialogPlacementProcessTest, DialogsOpenOffTheBarAndChangeIconBesideEditButton) {
    test::RemoveTree(test::DataFolder());
    oVoiceBook saved;
    saved.ResetAll(L"ToolBar");
    saved.AddChild(CategoryFields(L"Tools"));
    ASSERT_TRUE(saved.SaveFile(model::DataFilePath(model::kDataFileName)));
    test::LarkProcess lark;
    ASSERT_TRUE(lark.Start()) << lark.Problem();
    const HWND bar = lark.WaitForBar(script::kWaitMs);
    ASSERT_TRUE(bar && lark.WaitUntilIdle()) << lark.Problem();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(bar, MONITOR_DEFAULTTONEAREST), &monitor))
        << test::SystemErrorText(::GetLastError());
    const RECT barRect = WindowRect(bar);
    const auto expectOffTheBar = [&](HWND dialog) {
        RECT r = WindowRect(dialog), inside{}, common{};
        ::IntersectRect(&inside, &r, &monitor.rcWork);
        EXPECT_TRUE(::EqualRect(&inside, &r)) << "inside the work area: " << r.left << "," << r.top;
        EXPECT_FALSE(::IntersectRect(&common, &r, &barRect)) << barRect.top << ": " << r.top;
    };

    HWND edit = Open(lark.Id(), ::GetDlgItem(bar, 6000), ID_ADD_BUTTON, IDC_CHANGE_ICON);
    ASSERT_TRUE(edit);
    HWND picker = Open(lark.Id(), edit, IDC_CHANGE_ICON, IDC_ICON_GRID);
    ASSERT_TRUE(picker);
    for (HWND dialog : {edit, picker})
        expectOffTheBar(dialog);
    // The screen has room for both side by side: no button of either is hidden or doubled.
    RECT common{}, pickerRect = WindowRect(picker), editRect = WindowRect(edit);
    EXPECT_FALSE(::IntersectRect(&common, &pickerRect, &editRect));
    for (HWND dialog : {picker, edit}) {
        test::PressButton(dialog, IDCANCEL);
        ASSERT_TRUE(script::WaitGone(dialog));
    }
    // The preferences sheet is placed by its first page.
    HWND sheet = Open(lark.Id(), bar, ID_PREFERENCES, IDCANCEL);
    ASSERT_TRUE(sheet);
    expectOffTheBar(sheet);
    test::PressButton(sheet, IDCANCEL);
    ASSERT_TRUE(script::WaitGone(sheet));
    EXPECT_TRUE(lark.Exit(script::kWaitMs)) << lark.Problem();
    test::RemoveTree(test::DataFolder());
}

} // namespace
