// What to do when the data file is not what was last read or written, and where the other
// version is kept.
#include <gtest/gtest.h>

#include "document/file_stamp.h"
#include "support/test_util.h"

using document::FileAction;
using document::FileStamp;

TEST(FileStampTest, TheFileAsFoundDecidesBetweenSavingReadingAndKeepingTheOther) {
    const FileStamp mine{true, 10, 1, 111}, touched{true, 10, 2, 111}, theirs{true, 10, 3, 222},
        longer{true, 11, 1, 111}, gone{};
    const struct {
        FileStamp remembered;
        std::optional<FileStamp> current;
        bool edit;
        FileAction expected;
    } cases[] = {
        {mine, mine, false, FileAction::None},
        {mine, touched, false, FileAction::None},
        {mine, mine, true, FileAction::Save},
        {mine, touched, true, FileAction::Save},
        {mine, theirs, false, FileAction::Reload},
        {mine, theirs, true, FileAction::KeepOtherThenSave},
        {mine, longer, true, FileAction::KeepOtherThenSave},
        {mine, gone, false, FileAction::None},
        {mine, gone, true, FileAction::Save},
        {gone, mine, false, FileAction::Reload},
        {gone, mine, true, FileAction::KeepOtherThenSave},
        {gone, gone, true, FileAction::Save},
        {mine, std::nullopt, false, FileAction::Wait},
        {mine, std::nullopt, true, FileAction::Wait},
    };
    int row = 0;
    for (const auto& c : cases)
        EXPECT_EQ(document::DecideFileAction(c.remembered, c.current, c.edit), c.expected)
            << "row " << row++;
}

TEST(FileStampTest, TheOtherVersionGetsANameOfItsOwnAndNothingIsWrittenOver) {
    const SYSTEMTIME when{2026, 12, 4, 10, 8, 15, 0, 0};
    EXPECT_EQ(document::OtherVersionName(L"C:\\d.x\\LarkB_U.tdb", when),
              L"C:\\d.x\\LarkB_U (other 2026-12-10 0815).tdb");
    EXPECT_EQ(document::OtherVersionName(L"C:\\d.x\\LarkB", when, 3),
              L"C:\\d.x\\LarkB (other 2026-12-10 0815 3)");
    test::TempDir dir;
    const std::wstring file = dir.path() + L"\\LarkB_U.tdb";
    const std::wstring first = document::KeepOtherVersion(file, {1, 2});
    const std::wstring second = document::KeepOtherVersion(file, {3});
    ASSERT_FALSE(first.empty()) << ::GetLastError();
    ASSERT_FALSE(second.empty()) << ::GetLastError();
    EXPECT_NE(first, second);
    EXPECT_EQ(test::ReadFileBytes(first), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(test::ReadFileBytes(second), (std::vector<uint8_t>{3}));
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(document::SameContent(*document::ReadFileStamp(first, bytes),
                                      document::StampOfBytes({1, 2})));
    EXPECT_FALSE(document::ReadFileStamp(file, bytes)->present);
}

TEST(FileStampTest, PiecesOfAnySizeGiveOneStampAndAnyFlippedBitShows) {
    std::vector<uint8_t> bytes(1000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    const FileStamp whole = document::StampOfBytes(bytes);
    for (size_t piece : {1, 5, 31, 32, 33, 999}) {
        document::StampHash hash;
        for (size_t at = 0; at < bytes.size(); at += piece)
            hash.Add(bytes.data() + at, std::min(piece, bytes.size() - at));
        EXPECT_EQ(hash.Stamp().hash, whole.hash) << piece;
    }
    // The first byte, the top bit of a word, and bytes of the last part block.
    for (const auto& [at, bit] : {std::pair{0, 0}, {7, 7}, {519, 7}, {999, 7}, {996, 0}}) {
        std::vector<uint8_t> flipped = bytes;
        flipped[at] ^= static_cast<uint8_t>(1u << bit);
        EXPECT_NE(document::StampOfBytes(flipped).hash, whole.hash) << at << ":" << bit;
    }
    // Equal bytes of another length (a cut file) differ too.
    bytes.pop_back();
    EXPECT_NE(document::StampOfBytes(bytes).hash, whole.hash);
}
