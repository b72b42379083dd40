// Where the data files live and how path parts are joined.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "model/data_path.h"
#include "support/test_util.h"

using model::JoinPath;

TEST(DataPathTest, JoiningUsesExactlyOneSeparator) {
    EXPECT_EQ(JoinPath(L"C:\\a", L"b"), L"C:\\a\\b");
    EXPECT_EQ(JoinPath(L"C:\\a\\", L"b"), L"C:\\a\\b");
    EXPECT_EQ(JoinPath(L"C:\\a", L"\\b"), L"C:\\a\\b");
    EXPECT_EQ(JoinPath(L"C:\\a\\", L"\\b"), L"C:\\a\\b");
    EXPECT_EQ(JoinPath(L"C:", L"b"), L"C:\\b");
    // A forward slash when that is what the path uses.
    EXPECT_EQ(JoinPath(L"C:/a", L"b"), L"C:/a/b");
    EXPECT_EQ(JoinPath(L"C:/a/", L"/b"), L"C:/a/b");
    EXPECT_EQ(JoinPath(L"C:\\a\\b/c", L"d"), L"C:\\a\\b/c/d");
    EXPECT_EQ(JoinPath(L"", L"b"), L"b");
}

TEST(DataPathTest, TheApplicationDataFolderGetsTheTwoSubFolders) {
    test::TempDir appData;
    const std::wstring path =
        model::ComposeDataFilePath(appData.path(), L"C:\\prog\\", L"LarkB_U.tdb", true);
    EXPECT_EQ(path, appData.path() + L"\\Tarvo\\LarkRunBar\\LarkB_U.tdb");
    EXPECT_TRUE(test::FileExists(appData.path() + L"\\Tarvo\\LarkRunBar"));
    // Existing folders are no error.
    EXPECT_EQ(model::ComposeDataFilePath(appData.path() + L"\\", L"C:\\prog\\", L"x", true),
              appData.path() + L"\\Tarvo\\LarkRunBar\\x");
}

TEST(DataPathTest, WithoutTheApplicationDataFolderTheProgramsFolderIsUsed) {
    EXPECT_EQ(model::ComposeDataFilePath(std::nullopt, L"C:\\Program Files\\Lark\\", L"LarkB_U.tdb",
                                         true),
              L"C:\\Program Files\\Lark\\LarkB_U.tdb");
}

TEST(DataPathTest, TheRealPathIsInTheRoamingApplicationDataAndIsCreatedEachTime) {
    wchar_t appData[MAX_PATH] = {};
    ASSERT_HRESULT_SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData));
    const std::wstring folder = std::wstring(appData) + L"\\Tarvo\\LarkRunBar";
    test::RemoveTree(folder);
    EXPECT_EQ(model::DataFilePath(L"LarkB_v4.tdb"), folder + L"\\LarkB_v4.tdb");
    EXPECT_TRUE(test::FileExists(folder));
    // shfolder.dll was loaded by name and stays loaded.
    EXPECT_NE(::GetModuleHandleW(L"shfolder.dll"), nullptr);
    test::RemoveTree(folder);
    model::DataFilePath(model::kDataFileName);
    EXPECT_TRUE(test::FileExists(folder));
}
