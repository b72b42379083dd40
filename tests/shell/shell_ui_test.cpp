// The launcher's messages, program icons and the folder chooser, answered as a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <thread>
#include <vector>

#include "framework/com.h"
#include "framework/gdi.h"
#include "shell/browse_folder.h"
#include "shell/messages.h"
#include "shell/program_icon.h"
#include "support/dialog_answer.h"
#include "resource.h"
#include "support/test_util.h"

namespace {

class OwnerWindow {
public:
    OwnerWindow()
        : hwnd_(::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr)) {}
    ~OwnerWindow() { ::DestroyWindow(hwnd_); }
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

TEST(MessagesTest, CantFindNamesTheButton) {
    EXPECT_EQ(shell::CantFindText(L"My Editor"), L"Can't find My Editor.");
    EXPECT_EQ(shell::CantFindText(L"100% sure"), L"Can't find 100% sure.");

    OwnerWindow owner;
    test::DialogAnswerer answer(IDOK);
    shell::ShowCantFind(owner.get(), L"My Editor");
    ASSERT_TRUE(answer.Finish());
    EXPECT_EQ(answer.Seen().caption, L"larkRunBar ");
    EXPECT_EQ(answer.Seen().text, L"Can't find My Editor.");
    EXPECT_EQ(answer.Seen().owner, owner.get());
    EXPECT_TRUE(answer.Seen().hasOk);
    EXPECT_FALSE(answer.Seen().hasYes);
    EXPECT_EQ(answer.Seen().icon, ::LoadIconW(nullptr, IDI_INFORMATION));
}

// The pixels of `icon` drawn at `size` x `size` on black.
std::vector<uint32_t> Pixels(HICON icon, int size = 32) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(bi.bmiHeader), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    fw::Bitmap dib(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    fw::MemoryDC dc(::CreateCompatibleDC(nullptr));
    if (!dib || !dc)
        return {};
    HGDIOBJ old = ::SelectObject(dc.get(), dib.get());
    ::DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
    std::vector<uint32_t> out(static_cast<uint32_t*>(bits),
                              static_cast<uint32_t*>(bits) + size * size);
    ::SelectObject(dc.get(), old);
    return out;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return 0;
    fw::Bitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    ::GetObjectW(mask.get(), sizeof(bm), &bm);
    return bm.bmWidth;
}

TEST(ProgramIconTest, ProgramsShowTheirOwnIconAndShellItemsHaveBothSizes) {
    // A program's picture is its own first icon, not the generic one of a file.
    wchar_t notepad[MAX_PATH] = {};
    ::ExpandEnvironmentStringsW(L"%SystemRoot%\\system32\\notepad.exe", notepad, MAX_PATH);
    HICON own = nullptr;
    ASSERT_EQ(::ExtractIconExW(notepad, 0, &own, nullptr, 1), 1u);
    fw::Icon ownIcon(own), shown;
    shell::GetProgramIcon(L"notepad.exe", &shown, nullptr);
    ASSERT_TRUE(shown);
    EXPECT_EQ(Pixels(shown.get()), Pixels(ownIcon.get()));

    fw::Icon large, small;
    shell::GetProgramIcon(L"notepad.exe", &large, &small);
    EXPECT_TRUE(large);
    EXPECT_EQ(IconWidth(small.get()), ::GetSystemMetrics(SM_CXSMICON));

    fw::Pidl drives;
    ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.put()), S_OK);
    fw::Icon itemLarge;
    shell::GetItemIdListIcon(drives.get(), &itemLarge, nullptr);
    EXPECT_TRUE(itemLarge);
    shell::GetItemIdListIcon(nullptr, &itemLarge, nullptr);
    EXPECT_FALSE(itemLarge);
}

// Away from the system's sizes (a monitor of another scale) icons are read at the size asked
// for: a program's own picture of that size, not its 32-pixel one scaled.
TEST(ProgramIconTest, OtherSizesAreReadAtThatSize) {
    wchar_t self[MAX_PATH] = {};
    ASSERT_NE(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u) << ::GetLastError();
    fw::Icon large, small;
    shell::GetProgramIcon(self, &large, &small, shell::IconSizes{48, 24});
    for (const auto& [got, size] : {std::pair{&large, 48}, std::pair{&small, 24}}) {
        // This program's first icon is the bar's, drawn at 16, 24, 32 and 48 pixels.
        fw::Icon own(static_cast<HICON>(::LoadImageW(
            ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON, size, size, 0)));
        ASSERT_TRUE(*got && own) << size;
        EXPECT_EQ(IconWidth(got->get()), size);
        EXPECT_EQ(Pixels(got->get(), size), Pixels(own.get(), size)) << size;
    }
    // A document's picture, named by the shell as an icon of some file, likewise.
    test::TempDir dir;
    ASSERT_TRUE(test::WriteTextFile(dir / L"sized.txt", "x"));
    shell::GetProgramIcon(dir / L"sized.txt", &large, &small, shell::IconSizes{48, 24});
    EXPECT_EQ(IconWidth(large.get()), 48);
    EXPECT_EQ(IconWidth(small.get()), 24);
}

// Selects the top item of the folder browser's tree, the root the caller gave.
void SelectTreeRoot(HWND dialog) {
    HWND tree = ::FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
    const auto root =
        reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
}

TEST(BrowseForFolderTest, ChosenFolderGivesItsPath) {
    OwnerWindow owner;
    test::DialogAnswerer answer(IDOK, 0, test::kPatientMs, &SelectTreeRoot);
    std::wstring name, path;
    const bool chosen = shell::BrowseForFolder(owner.get(), CSIDL_WINDOWS, name, path);
    ASSERT_TRUE(answer.Finish());
    EXPECT_EQ(answer.Seen().owner, owner.get());
    wchar_t expected[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, 0, expected);
    EXPECT_TRUE(chosen);
    EXPECT_EQ(_wcsicmp(path.c_str(), expected), 0) << path;
    EXPECT_FALSE(name.empty());
}

TEST(BrowseForFolderTest, ChosenItemWithoutAPathIsReported) {
    OwnerWindow owner;
    bool chosen = true;
    std::wstring name, path;
    test::SeenDialog report;
    {
        test::DialogAnswerer browser(IDOK, 0, test::kPatientMs, &SelectTreeRoot);
        std::thread second([&] {
            // After the browser closes, the report appears; answer it too.
            browser.Finish();
            test::WaitUntil([&] { return !::IsWindow(browser.Seen().hwnd); }, test::kPatientMs);
            test::DialogAnswerer notice(IDOK);
            notice.Finish();
            report = notice.Seen();
        });
        chosen = shell::BrowseForFolder(owner.get(), CSIDL_DRIVES, name, path);
        second.join();
    }
    EXPECT_FALSE(chosen);
    EXPECT_EQ(path, L"");
    // (Wine 8 leaves the display name of the computer item empty.)
    EXPECT_EQ(report.caption, L"larkRunBar ");
    EXPECT_EQ(report.text, L"Can't find folder.\n" + name);
}

} // namespace
