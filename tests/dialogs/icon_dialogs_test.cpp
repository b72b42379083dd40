// The icon picker and the button dialog, driven through their real windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "dialog_script.h"
#include "dialogs/change_icon_dlg.h"
#include "framework/text.h"
#include "model/voice_book.h"
#include "resource.h"
#include "screen/screen_shot.h"
#include "support/test_util.h"

namespace {

std::wstring SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

int GridCount(HWND dialog) {
    return static_cast<int>(::SendDlgItemMessageW(dialog, IDC_ICON_GRID, LB_GETCOUNT, 0, 0));
}

std::wstring ComboEntry(HWND dialog, int id, int index) {
    wchar_t text[MAX_PATH * 2] = {};
    ::SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

struct Picked {
    INT_PTR result = 0;
    std::wstring file;
    int index = -1;
};

// Runs the picker over `recent` while `drive` works its window.
Picked RunPicker(dialogs::RecentIconFiles& recent, const std::wstring& start,
                 const std::function<void(HWND)>& drive) {
    Picked picked;
    CChangeIconDlg dlg(recent);
    if (!start.empty())
        dlg.SetIcon(start, 0);
    script::RunDialog(
        L"Change Icon",
        [&] {
            picked.result = dlg.DoModal(nullptr);
            picked.file = dlg.File();
            picked.index = dlg.Index();
        },
        drive);
    return picked;
}

TEST(ChangeIconDlgTest, SeedsAreTheFilesThatExistWithTheProgramsLibraryFirst) {
    const std::vector<std::wstring> present{L"W\\Moricons.DLL", L"S\\Shell32.DLL", L"P\\larkb.icl"};
    const auto exists = [&](const std::wstring& path) {
        return std::find(present.begin(), present.end(), path) != present.end();
    };
    EXPECT_EQ(dialogs::SeedIconFiles(L"P\\", L"S", L"W", exists),
              (std::vector<std::wstring>{L"P\\LARKB.ICL", L"S\\SHELL32.DLL", L"W\\MORICONS.DLL"}));
}

TEST(ChangeIconDlgTest, FirstOpeningListsTheSeedFilesAndShowsTheProgramsLibrary) {
    dialogs::RecentIconFiles recent;
    const std::wstring library = dialogs::UpperCase(test::ExeFolder() + L"larkb.icl");
    RunPicker(recent, L"", [&](HWND dlg) {
        EXPECT_EQ(::SendDlgItemMessageW(dlg, IDC_ICON_FILE, CB_GETCOUNT, 0, 0), 2)
            << "Wine has no Cool.DLL nor Moricons.DLL";
        EXPECT_EQ(ComboEntry(dlg, IDC_ICON_FILE, 1),
                  dialogs::UpperCase(SystemFile(L"Shell32.DLL")));
        EXPECT_EQ(script::Text(dlg, IDC_ICON_FILE), library);
        EXPECT_GT(GridCount(dlg), 0);
        EXPECT_EQ(GridCount(dlg), dialogs::CountIcons(library));
        script::Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(recent.entries.size(), 2u);
}

TEST(ChangeIconDlgTest, BareProgramNameShowsItsUpperCaseFullPathAndIcons) {
    dialogs::RecentIconFiles recent;
    wchar_t found[MAX_PATH] = {};
    ASSERT_GT(::SearchPathW(nullptr, L"notepad.exe", nullptr, MAX_PATH, found, nullptr), 0u);
    const Picked picked = RunPicker(recent, L"notepad.exe", [&](HWND dlg) {
        EXPECT_EQ(script::Text(dlg, IDC_ICON_FILE), dialogs::UpperCase(found));
        EXPECT_GT(GridCount(dlg), 0);
        script::Press(dlg, IDOK);
    });
    EXPECT_EQ(picked.result, IDOK);
    EXPECT_EQ(picked.file, dialogs::UpperCase(found));
    EXPECT_EQ(picked.index, 0);
}

TEST(ChangeIconDlgTest, TypedFileShowsItsIconsAtTheFirstOkAndIsChosenAtTheSecond) {
    dialogs::RecentIconFiles recent;
    const std::wstring notepad = SystemFile(L"notepad.exe");
    const Picked picked = RunPicker(recent, L"", [&](HWND dlg) {
        script::SetText(dlg, IDC_ICON_FILE, L"");
        script::Type(dlg, IDC_ICON_FILE, notepad);
        script::Click(dlg, IDOK);
        ASSERT_TRUE(::IsWindow(dlg)) << "the first OK only shows the typed file";
        EXPECT_EQ(ComboEntry(dlg, IDC_ICON_FILE, 0), notepad);
        EXPECT_EQ(GridCount(dlg), dialogs::CountIcons(notepad));
        script::Press(dlg, IDOK);
    });
    EXPECT_EQ(picked.result, IDOK);
    EXPECT_EQ(picked.file, notepad);
    ASSERT_EQ(recent.entries.size(), 3u);
    EXPECT_EQ(recent.entries[0], notepad);
}

TEST(ChangeIconDlgTest, BrowsedFileComesFirstAtTheNextOpening) {
    dialogs::RecentIconFiles recent;
    const std::wstring browsed = SystemFile(L"notepad.exe");
    Picked picked = RunPicker(recent, L"", [&](HWND dlg) {
        script::Press(dlg, IDC_BROWSE);
        ASSERT_TRUE(script::AnswerFileOpen(dlg, browsed));
        ASSERT_TRUE(test::WaitUntil(
            [&] { return fw::EqualsNoCase(script::Text(dlg, IDC_ICON_FILE), browsed); },
            script::kWaitMs));
        script::Press(dlg, IDOK);
    });
    EXPECT_EQ(picked.result, IDOK);
    EXPECT_TRUE(fw::EqualsNoCase(picked.file, browsed)) << picked.file;
    RunPicker(recent, L"", [&](HWND dlg) {
        EXPECT_TRUE(fw::EqualsNoCase(ComboEntry(dlg, IDC_ICON_FILE, 0), browsed));
        EXPECT_EQ(::SendDlgItemMessageW(dlg, IDC_ICON_FILE, CB_GETCOUNT, 0, 0), 3);
        script::Press(dlg, IDCANCEL);
    });
}

TEST(ChangeIconDlgTest, TextFileIsRefusedAndTheDialogStaysOpen) {
    dialogs::RecentIconFiles recent;
    test::TempDir dir;
    ASSERT_TRUE(test::WriteTextFile(dir / L"notes.txt", "just text\r\n"));
    const Picked picked = RunPicker(recent, L"", [&](HWND dlg) {
        script::SetText(dlg, IDC_ICON_FILE, L"");
        script::Type(dlg, IDC_ICON_FILE, dir / L"notes.txt");
        script::Click(dlg, IDOK);
        EXPECT_EQ(GridCount(dlg), 0);
        HWND grid = ::GetDlgItem(dlg, IDC_ICON_GRID);
        EXPECT_EQ(script::Text(grid), L"This file holds no icons.");
        RECT shown{}; // inside the grid's border
        ::GetClientRect(grid, &shown);
        ::MapWindowPoints(grid, nullptr, reinterpret_cast<POINT*>(&shown), 2);
        EXPECT_TRUE(test::WaitUntil(
            [&] { return bartest::LookAt(bartest::TakeScreenShot(), shown).colours > 1; },
            script::kWaitMs))
            << "the empty grid says so on the screen";
        script::Press(dlg, IDOK);
        const test::SeenDialog box = script::AnswerMessageBox(dlg);
        EXPECT_EQ(box.text, L"There is no icon in this file.");
        EXPECT_EQ(box.caption, L"larkRunBar ");
        EXPECT_EQ(box.icon, ::LoadIconW(nullptr, IDI_INFORMATION));
        EXPECT_TRUE(::IsWindow(dlg));
        script::Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(picked.result, IDCANCEL);
}

} // namespace
