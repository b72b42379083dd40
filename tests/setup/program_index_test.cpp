// The Start Menu's programs by file name.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "setup/program_index.h"
#include "support/shortcut_file.h"
#include "support/test_util.h"

namespace {

std::wstring SystemFile(const wchar_t* name) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\" + name;
}

TEST(ProgramIndexTest, FilesAndShortcutTargetsBelowAFolder) {
    test::TempDir dir;
    ASSERT_TRUE(test::WriteTextFile(dir / L"tool.exe", "x"));
    ASSERT_TRUE(test::WriteTextFile(dir / L"Readme.txt", "x"));
    ASSERT_TRUE(test::WriteTextFile(dir / L"secret.exe", "x"));
    ::SetFileAttributesW((dir / L"secret.exe").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(::CreateDirectoryW((dir / L"Group").c_str(), nullptr));
    test::ShortcutFields fields;
    fields.target = SystemFile(L"notepad.exe");
    ASSERT_TRUE(test::WriteShortcut(dir / L"Group\\Pad.lnk", fields));
    ASSERT_TRUE(test::WriteTextFile(dir / L"Group\\Broken.lnk", "not a shortcut"));

    setup::ProgramIndex index;
    index.Build(dir.path());
    EXPECT_EQ(index.size(), 3u);
    ASSERT_NE(index.Find(L"TOOL.EXE"), nullptr);
    EXPECT_EQ(*index.Find(L"TOOL.EXE"), dir / L"tool.exe");
    ASSERT_NE(index.Find(L"notepad.exe"), nullptr);
    EXPECT_EQ(_wcsicmp(index.Find(L"notepad.exe")->c_str(), SystemFile(L"notepad.exe").c_str()), 0);
    EXPECT_EQ(index.Find(L"Pad.lnk"), nullptr);
    EXPECT_EQ(index.Find(L"secret.exe"), nullptr);
    EXPECT_EQ(index.Find(L"tool"), nullptr) << "whole names only";

    index.Clear();
    EXPECT_EQ(index.size(), 0u);
    EXPECT_EQ(index.Find(L"tool.exe"), nullptr);
}

TEST(ProgramIndexTest, FirstEntryOfANameWins) {
    setup::ProgramIndex index;
    index.Add(L"C:\\A\\x.exe", L"x.exe");
    index.Add(L"C:\\B\\x.exe", L"x.exe");
    ASSERT_NE(index.Find(L"X.exe"), nullptr);
    EXPECT_EQ(*index.Find(L"X.exe"), L"C:\\A\\x.exe");
    EXPECT_EQ(setup::ProgramIndex::FileNameOf(L"C:\\A\\x.exe"), L"x.exe");
    EXPECT_EQ(setup::ProgramIndex::FileNameOf(L"plain"), L"plain");
}

TEST(ProgramIndexTest, TheUsersStartMenuIsScanned) {
    wchar_t startMenu[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_STARTMENU, nullptr, 0, startMenu), S_OK);
    const std::wstring group = std::wstring(startMenu) + L"\\Programs\\Lark Index Test";
    ::SHCreateDirectoryExW(nullptr, group.c_str(), nullptr);
    test::ShortcutFields fields;
    fields.target = SystemFile(L"winemine.exe");
    ASSERT_TRUE(test::WriteShortcut(group + L"\\Mines.lnk", fields));

    setup::ProgramIndex index;
    index.BuildFromStartMenu();
    test::RemoveTree(group);
    ASSERT_NE(index.Find(L"winemine.exe"), nullptr);
    EXPECT_EQ(_wcsicmp(index.Find(L"winemine.exe")->c_str(), fields.target.c_str()), 0);
}

TEST(ScanRulesTest, HiddenSystemTemporaryAndLinkedFoldersAreLeftOut) {
    EXPECT_FALSE(setup::IsSkippedEntry(FILE_ATTRIBUTE_NORMAL));
    EXPECT_FALSE(setup::IsSkippedEntry(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(setup::IsSkippedEntry(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(setup::IsSkippedEntry(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_TRUE(setup::IsSkippedEntry(FILE_ATTRIBUTE_TEMPORARY));

    WIN32_FIND_DATAW entry{};
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    wcscpy(entry.cFileName, L"Sub");
    EXPECT_TRUE(setup::IsScannableSubFolder(entry));
    wcscpy(entry.cFileName, L"..");
    EXPECT_FALSE(setup::IsScannableSubFolder(entry));
    wcscpy(entry.cFileName, L"Loop");
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    EXPECT_FALSE(setup::IsScannableSubFolder(entry));
    entry.dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    EXPECT_FALSE(setup::IsScannableSubFolder(entry));
}

} // namespace
