// Saving never destroys the data file: the new file is written beside it and swapped in
// whole; any failure, and a kill at any moment, leaves the old file or the new one.
#include <gtest/gtest.h>

#include <random>

#include "framework/handle.h"
#include "model/data_file.h"
#include "model/file_replace.h"
#include "model/sample_trees.h"
#include "support/test_util.h"

namespace {

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        sample::BuildTree(oldTree, 10, 30, 4);
        sample::BuildTree(newTree, 20, 35, 4);
        ASSERT_TRUE(oldTree.SaveFile(file));
        oldBytes = test::ReadFileBytes(file);
        ASSERT_FALSE(oldBytes.empty());
    }

    void ExpectOldFileUntouched() {
        EXPECT_EQ(test::ReadFileBytes(file), oldBytes);
        oVoiceBook loaded;
        EXPECT_TRUE(loaded.LoadFile(file));
        EXPECT_EQ(sample::CompareTrees(oldTree, loaded), "");
    }

    void KillDuringSaves(const wchar_t* mode, int rounds);

    test::TempDir dir;
    std::wstring file = dir / L"LarkB_U.tdb";
    oVoiceBook oldTree, newTree;
    std::vector<uint8_t> oldBytes;
};

} // namespace

TEST_F(SaveTest, ASaveReplacesTheFileUnderItsNameAndLeavesNothingBeside) {
    ASSERT_TRUE(newTree.SaveFile(file));
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_EQ(sample::CompareTrees(newTree, loaded), "");
    WIN32_FIND_DATAW fd{};
    fw::FindHandle find(::FindFirstFileW((dir / L"*").c_str(), &fd));
    int files = 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ++files;
            EXPECT_STREQ(fd.cFileName, L"LarkB_U.tdb");
        }
    } while (::FindNextFileW(find.get(), &fd));
    EXPECT_EQ(files, 1);
}

TEST_F(SaveTest, ANameBesideThatIsTakenIsPassedOverAndLeftAlone) {
    // Left by another write (or a killed run): a save never writes into it.
    ASSERT_TRUE(test::WriteFileBytes(model::ReplacementName(file), {1, 2, 3}));
    ASSERT_TRUE(::CreateDirectoryW(model::ReplacementName(file, 1).c_str(), nullptr));
    ASSERT_TRUE(newTree.SaveFile(file));
    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(file));
    EXPECT_EQ(sample::CompareTrees(newTree, loaded), "");
    EXPECT_EQ(test::ReadFileBytes(model::ReplacementName(file)), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(test::FileExists(model::ReplacementName(file, 2)));
    // The next run removes what it can of such leftovers, and nothing else.
    ASSERT_TRUE(test::WriteFileBytes(model::ReplacementName(file, 37), {4}));
    for (const std::wstring& other : {file + L".saving.x", file + L".saving.100"})
        ASSERT_TRUE(test::WriteFileBytes(other, {5}));
    model::RemoveLeftoverReplacements(file);
    EXPECT_FALSE(test::FileExists(model::ReplacementName(file)));
    EXPECT_FALSE(test::FileExists(model::ReplacementName(file, 37)));
    for (const std::wstring& other : {file + L".saving.x", file + L".saving.100"})
        EXPECT_TRUE(test::FileExists(other)) << test::Narrow(other);
    ::RemoveDirectoryW(model::ReplacementName(file, 1).c_str());
}

TEST_F(SaveTest, WhenTheFileCannotBeReplacedTheOldOneStaysAndNothingIsLeftBeside) {
    // Another program holds the file open and forbids deleting or renaming it.
    fw::FileHandle held(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(newTree.SaveFile(file));
    held.reset();
    ExpectOldFileUntouched();
    EXPECT_FALSE(test::FileExists(model::ReplacementName(file)));
}

TEST_F(SaveTest, AFolderThatIsNotThereFailsTheSave) {
    EXPECT_FALSE(newTree.SaveFile(dir / L"missing\\LarkB_U.tdb"));
    ExpectOldFileUntouched();
}

// The helper saves tree A and tree B in turn (`mode` "writer": through the writer thread);
// A is in the file when it starts. Killed at random moments, it leaves A or B.
void SaveTest::KillDuringSaves(const wchar_t* mode, int rounds) {
    constexpr uint32_t kSeedA = 101, kSeedB = 202;
    constexpr int kButtons = 1200;
    oVoiceBook a, b;
    sample::BuildTree(a, kSeedA, kButtons, 6);
    sample::BuildTree(b, kSeedB, kButtons, 6);
    ASSERT_TRUE(a.SaveFile(file));
    const std::wstring helper = test::ExeFolder() + L"lark_save_loop.exe";
    ASSERT_TRUE(test::FileExists(helper));
    const std::wstring eventName = L"LarkSaveLoop" + std::to_wstring(::GetCurrentProcessId());
    fw::Handle saved(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    std::mt19937 rng(7);
    int sawA = 0, sawB = 0;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        ::ResetEvent(saved.get());
        std::wstring cmd = L"\"" + helper + L"\" \"" + file + L"\" " + eventName + L" " +
                           std::to_wstring(kSeedA) + L" " + std::to_wstring(kSeedB) + L" " +
                           std::to_wstring(kButtons) + L" " + mode;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(::CreateProcessW(helper.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &si, &pi));
        fw::Handle process(pi.hProcess);
        fw::Handle thread(pi.hThread);
        // Some kills come before the first save is complete, most during later ones.
        if (round % 5) {
            ASSERT_EQ(::WaitForSingleObject(saved.get(), 30000), WAIT_OBJECT_0);
        }
        ::Sleep(rng() % 250);
        ASSERT_NE(::WaitForSingleObject(process.get(), 0), WAIT_OBJECT_0) << "the helper ended";
        ::TerminateProcess(process.get(), 9);
        ::WaitForSingleObject(process.get(), 10000);

        oVoiceBook loaded;
        ASSERT_TRUE(loaded.LoadFile(file));
        const bool isA = sample::CompareTrees(a, loaded).empty();
        const bool isB = !isA && sample::CompareTrees(b, loaded).empty();
        ASSERT_TRUE(isA || isB);
        sawA += isA;
        sawB += isB;
    }
    RecordProperty("old", sawA);
    RecordProperty("new", sawB);
    EXPECT_GT(sawA + sawB, 0);
}

TEST_F(SaveTest, AProcessKilledAtRandomMomentsDuringSavesLeavesTheOldTreeOrTheNew) {
    KillDuringSaves(L"direct", 30);
}

TEST_F(SaveTest, AProcessKilledWhileItsWriterThreadSavesLeavesTheOldTreeOrTheNew) {
    KillDuringSaves(L"writer", 20);
}
