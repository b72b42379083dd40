// Filling categories from folders and shell folders.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "framework/com.h"
#include "setup/folder_fill.h"
#include "setup_test_util.h"
#include "support/shortcut_file.h"
#include "support/test_util.h"

namespace {

using setuptest::Children;

std::wstring SystemFile(const wchar_t* name) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\" + name;
}

// The first child whose name starts with `stem` (titles may keep their extension).
oVoiceBook* Named(const oVoiceBook& parent, const std::wstring& stem) {
    for (oVoiceBook* c : Children(parent)) {
        if (c->m_strName.view().compare(0, stem.size(), stem) == 0)
            return c;
    }
    return nullptr;
}

class FolderFillTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ShortcutFields pad;
        pad.target = SystemFile(L"notepad.exe");
        pad.arguments = L"notes.txt";
        pad.workDir = dir_.path();
        pad.iconFile = SystemFile(L"shell32.dll");
        pad.iconIndex = 3;
        ASSERT_TRUE(test::WriteShortcut(dir_ / L"Pad.lnk", pad));
        ASSERT_TRUE(test::WriteTextFile(dir_ / L"notes.txt", "text"));
        ASSERT_TRUE(test::WriteTextFile(dir_ / L"hidden.txt", "text"));
        ::SetFileAttributesW((dir_ / L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
        ASSERT_TRUE(::CreateDirectoryW((dir_ / L"Tools").c_str(), nullptr));
        test::ShortcutFields cmd;
        cmd.target = SystemFile(L"cmd.exe");
        ASSERT_TRUE(test::WriteShortcut(dir_ / L"Tools\\Prompt.lnk", cmd));
        ASSERT_TRUE(::CreateDirectoryW((dir_ / L"Tools\\Deep").c_str(), nullptr));
        ASSERT_TRUE(test::WriteTextFile(dir_ / L"Tools\\Deep\\deep.txt", "text"));
        NodeRecordFields linked = CategoryFields(L"Linked");
        linked.command = dir_.path();
        category_.SetFromRecord(linked);
    }

    void ExpectTopButtons() {
        oVoiceBook* pad = Named(category_, L"Pad");
        ASSERT_NE(pad, nullptr);
        EXPECT_EQ(pad->m_nKind, 0x14);
        EXPECT_EQ(pad->m_nFlags, 0u);
        EXPECT_EQ(_wcsicmp(pad->m_strCommand.c_str(), SystemFile(L"notepad.exe").c_str()), 0);
        EXPECT_EQ(pad->m_strArguments, L"notes.txt");
        EXPECT_EQ(_wcsicmp(pad->m_strWorkDir.c_str(), dir_.path().c_str()), 0);
        EXPECT_EQ(pad->m_nIconIndex, 3);
        EXPECT_FALSE(pad->m_pidl);

        oVoiceBook* notes = Named(category_, L"notes");
        ASSERT_NE(notes, nullptr);
        EXPECT_EQ(notes->m_nKind, 0x14);
        EXPECT_EQ(notes->m_nFlags, 2u);
        EXPECT_EQ(notes->m_strCommand, dir_ / L"notes.txt");
        EXPECT_EQ(notes->m_strArguments, L"");
        EXPECT_EQ(notes->m_nShowCmd, 1);
        EXPECT_EQ(Named(category_, L"hidden"), nullptr);
    }

    test::TempDir dir_;
    oVoiceBook category_;
};

TEST_F(FolderFillTest, WithoutSubFoldersOnlyFilesBecomeButtons) {
    setup::FillFromFolder(category_, dir_.path(), false);
    EXPECT_EQ(Children(category_).size(), 2u);
    ExpectTopButtons();
    EXPECT_EQ(Named(category_, L"Tools"), nullptr);
}

TEST_F(FolderFillTest, WithSubFoldersTheyBecomeFilledSubCategories) {
    setup::FillFromFolder(category_, dir_.path(), true);
    EXPECT_EQ(Children(category_).size(), 3u);
    ExpectTopButtons();
    oVoiceBook* tools = Named(category_, L"Tools");
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->m_nKind, 0x12);
    EXPECT_EQ(tools->m_nFlags, 2u);
    EXPECT_EQ(tools->m_strCommand, L"");
    oVoiceBook* prompt = Named(*tools, L"Prompt");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(_wcsicmp(prompt->m_strCommand.c_str(), SystemFile(L"cmd.exe").c_str()), 0);
    oVoiceBook* deep = Named(*tools, L"Deep");
    ASSERT_NE(deep, nullptr);
    EXPECT_NE(Named(*deep, L"deep"), nullptr);
    EXPECT_EQ(deep->m_nDepth, category_.m_nDepth + 2);
}

TEST_F(FolderFillTest, MissingFolderAddsNothing) {
    setup::FillFromFolder(category_, dir_ / L"absent", true);
    EXPECT_EQ(category_.FirstChild(), nullptr);
}

TEST_F(FolderFillTest, ShortcutToAShellItemGivesAButtonWithItsList) {
    fw::Pidl drives;
    ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.put()), S_OK);
    test::ShortcutFields fields;
    fields.idList = drives.get();
    fields.iconFile = SystemFile(L"shell32.dll");
    fields.iconIndex = 15;
    const std::wstring link = dir_ / L"Computer.lnk";
    ASSERT_TRUE(test::WriteShortcut(link, fields));

    oVoiceBook* button = setup::AddFileAsButton(category_, link);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Parent(), &category_);
    EXPECT_EQ(button->m_nKind, 0x14);
    EXPECT_EQ(button->m_nFlags, 0u);
    EXPECT_EQ(button->m_strCommand, L"");
    EXPECT_EQ(button->m_nIconIndex, 15);
    ASSERT_TRUE(button->m_pidl);
    EXPECT_TRUE(::ILIsEqual(button->m_pidl.get(), drives.get()));
}

TEST_F(FolderFillTest, UnreadableShortcutAddsNothing) {
    const std::wstring broken = dir_ / L"Broken.lnk";
    ASSERT_TRUE(test::WriteTextFile(broken, "garbage, not a shortcut"));
    EXPECT_EQ(setup::AddFileAsButton(category_, broken), nullptr);
    EXPECT_EQ(category_.FirstChild(), nullptr);
}

TEST_F(FolderFillTest, ShellFolderOfAPlainFolderGivesFileButtons) {
    fw::Pidl folder(::ILCreateFromPathW(dir_.path().c_str()));
    ASSERT_TRUE(folder);
    setup::FillFromShellFolder(category_, folder.get());
    ExpectTopButtons();
    // Sub-folders become buttons that open the folder.
    oVoiceBook* tools = Named(category_, L"Tools");
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->m_nKind, 0x14);
    EXPECT_EQ(tools->m_strCommand, dir_ / L"Tools");
    EXPECT_EQ(Children(category_).size(), 3u);
}

TEST_F(FolderFillTest, VirtualFolderGivesButtonsWithAbsoluteLists) {
    fw::Pidl controls;
    ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_CONTROLS, controls.put()), S_OK);
    setup::FillFromShellFolder(category_, controls.get());
    const auto items = Children(category_);
    ASSERT_FALSE(items.empty());
    for (oVoiceBook* item : items) {
        EXPECT_FALSE(item->m_strName.empty());
        EXPECT_EQ(item->m_nKind, 0x14);
        EXPECT_EQ(item->m_nFlags, 0u);
        EXPECT_EQ(item->m_nShowCmd, 1);
        EXPECT_EQ(item->m_strCommand, L"");
        ASSERT_TRUE(item->m_pidl);
        EXPECT_TRUE(::ILIsParent(controls.get(), item->m_pidl.get(), TRUE))
            << "absolute, one below";
    }
    setup::FillFromShellFolder(category_, nullptr);
    EXPECT_EQ(Children(category_).size(), items.size());
}

} // namespace
