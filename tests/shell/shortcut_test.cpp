// Reading shortcut files: every field, the buffer limit, and shortcuts to shell items.
#include <gtest/gtest.h>

#include "framework/com.h"
#include "shell/shortcut.h"
#include "start_record.h"
#include "support/shortcut_file.h"
#include "support/test_util.h"

namespace {

TEST(ShortcutTest, ReadsEveryField) {
    test::TempDir dir;
    test::ShortcutFields fields;
    fields.target = shelltest::HelperPath();
    fields.arguments = L"-a \"b c\"";
    fields.workDir = dir.path();
    fields.iconFile = L"C:\\windows\\system32\\shell32.dll";
    fields.iconIndex = 4;
    fields.showCmd = SW_SHOWMAXIMIZED;
    const std::wstring link = dir / L"All.lnk";
    ASSERT_TRUE(test::WriteShortcut(link, fields));

    EXPECT_TRUE(shell::IsShortcutFile(link));
    shell::ShortcutInfo info;
    ASSERT_TRUE(shell::ReadShortcut(link, info));
    EXPECT_TRUE(shelltest::SamePath(info.target, fields.target)) << info.target;
    EXPECT_EQ(info.arguments, fields.arguments);
    EXPECT_TRUE(shelltest::SamePath(info.workDir, dir.path()));
    EXPECT_TRUE(shelltest::SamePath(info.iconFile, fields.iconFile)) << info.iconFile;
    EXPECT_EQ(info.iconIndex, 4);
    // Wine 8 does not load the show state from the file; its link object reports normal.
    EXPECT_TRUE(info.showCmd == SW_SHOWMAXIMIZED || info.showCmd == SW_SHOWNORMAL) << info.showCmd;

    // Only the target asked for: the rest stays clear.
    ASSERT_TRUE(shell::ReadShortcut(link, info, 0));
    EXPECT_EQ(info.arguments, L"");
    EXPECT_EQ(info.showCmd, 0);
}

TEST(ShortcutTest, LongFieldsAreCutAtTheShortcutLimit) {
    test::TempDir dir;
    test::ShortcutFields fields;
    fields.target = shelltest::HelperPath();
    fields.arguments = std::wstring(700, L'q');
    const std::wstring link = dir / L"Long.lnk";
    ASSERT_TRUE(test::WriteShortcut(link, fields));
    shell::ShortcutInfo info;
    ASSERT_TRUE(shell::ReadShortcut(link, info));
    EXPECT_LE(info.arguments.size(), 259u);
    EXPECT_EQ(info.arguments, std::wstring(info.arguments.size(), L'q'));
}

TEST(ShortcutTest, ShortcutToAShellItemHasAListButNoTarget) {
    test::TempDir dir;
    fw::Pidl drives;
    ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.put()), S_OK);
    test::ShortcutFields fields;
    fields.idList = drives.get();
    fields.showCmd = SW_SHOWMINIMIZED;
    const std::wstring link = dir / L"Computer.lnk";
    ASSERT_TRUE(test::WriteShortcut(link, fields));

    shell::ShortcutInfo info;
    EXPECT_FALSE(shell::ReadShortcut(link, info));
    fw::Pidl list;
    shell::ShortcutInfo iconAndShow;
    ASSERT_TRUE(shell::ReadShortcutIdList(link, list, &iconAndShow));
    EXPECT_TRUE(::ILIsEqual(list.get(), drives.get()));
    EXPECT_TRUE(iconAndShow.showCmd == SW_SHOWMINIMIZED || iconAndShow.showCmd == SW_SHOWNORMAL)
        << iconAndShow.showCmd;
}

TEST(ShortcutTest, FilesThatAreNotShortcutsFail) {
    test::TempDir dir;
    const std::wstring text = dir / L"plain.txt";
    ASSERT_TRUE(test::WriteTextFile(text, "hello"));
    const std::wstring broken = dir / L"broken.lnk";
    ASSERT_TRUE(test::WriteTextFile(broken, "this is not a shortcut at all"));

    EXPECT_FALSE(shell::IsShortcutFile(text));
    shell::ShortcutInfo info;
    EXPECT_FALSE(shell::ReadShortcut(text, info));
    EXPECT_FALSE(shell::ReadShortcut(broken, info));
    EXPECT_FALSE(shell::ReadShortcut(dir / L"missing.lnk", info));
    fw::Pidl list;
    EXPECT_FALSE(shell::ReadShortcutIdList(broken, list));
    EXPECT_FALSE(list);
}

} // namespace
