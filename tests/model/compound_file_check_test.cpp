// The structural check refuses compound files whose chains or directory links loop (the
// storage code would follow them for ever) and lets sound and merely cut files through; a
// crafted table costs no more memory than the file's own sectors could use.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstring>
#include <string>

#include "model/compound_file_check.h"
#include "model/compound_image.h"
#include "model/data_file.h"
#include "model/sample_trees.h"
#include "model/voice_book.h"

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    std::memcpy(b.data() + at, &v, 4);
}

// A small file (one FAT sector, 512-byte sectors) with one big stream.
class CompoundCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        oVoiceBook root;
        for (int i = 0; i < 3; ++i)
            root.AddChild(ButtonFields(L"b", L"x"));
        ASSERT_TRUE(model::BuildDataFileImage(root, model::kCurrentFormat, image));
        ASSERT_EQ(U32(image, 44), 1u); // one FAT sector
        fat = Offset(U32(image, 76));
        directory = Offset(U32(image, 48));
    }
    static size_t Offset(uint32_t sector) { return (size_t{sector} + 1) * 512; }

    // The directory entry named `name` in the first directory sector.
    size_t EntryNamed(const std::wstring& name) const {
        for (size_t e = 0; e < 4; ++e) {
            const size_t at = directory + e * 128;
            if (std::memcmp(image.data() + at, name.c_str(), name.size() * 2) == 0)
                return at;
        }
        ADD_FAILURE() << "no entry";
        return directory;
    }

    std::vector<uint8_t> image;
    size_t fat = 0, directory = 0;
};

} // namespace

TEST_F(CompoundCheckTest, SoundAndCutFilesPass) {
    EXPECT_TRUE(model::CompoundFileIsSound(image.data(), image.size()));
    for (size_t cut : {image.size() - 1, image.size() / 2})
        EXPECT_TRUE(model::CompoundFileIsSound(image.data(), cut)) << cut;
    // Without a directory there is nothing to read.
    EXPECT_FALSE(model::CompoundFileIsSound(image.data(), 512));
    EXPECT_FALSE(model::CompoundFileIsSound(image.data(), 511));
    const std::string text(4096, 'x');
    EXPECT_FALSE(
        model::CompoundFileIsSound(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

TEST_F(CompoundCheckTest, ALoopingSectorChainIsRefused) {
    // The child list (over 4096 bytes, so in ordinary sectors): its last sector leads back
    // to its first, or to its third (a loop that the chain runs into).
    const size_t entry = EntryNamed(L"ChildInfo.INF");
    const std::vector<uint8_t> sound = image;
    for (const int back : {0, 2}) {
        image = sound;
        uint32_t target = U32(image, entry + 116);
        for (int i = 0; i < back; ++i)
            target = U32(image, fat + 4 * target);
        uint32_t last = target;
        while (U32(image, fat + 4 * last) < 0xFFFFFFFAu)
            last = U32(image, fat + 4 * last);
        Put32(image, fat + 4 * last, target);
        EXPECT_FALSE(model::CompoundFileIsSound(image.data(), image.size())) << back;
        oVoiceBook root;
        EXPECT_EQ(model::ReadDataFileImage(root, image, false), model::LoadOutcome::Damaged);
    }
}

TEST_F(CompoundCheckTest, ALoopInTheDirectoryIsRefused) {
    const size_t entry = EntryNamed(L"Node.INF");
    const uint32_t self = static_cast<uint32_t>((entry - directory) / 128);
    Put32(image, entry + 68, self); // its own left sibling
    EXPECT_FALSE(model::CompoundFileIsSound(image.data(), image.size()));
}

TEST_F(CompoundCheckTest, ALinkOutsideTheDirectoryIsRefused) {
    Put32(image, EntryNamed(L"Node.INF") + 72, 5000);
    EXPECT_FALSE(model::CompoundFileIsSound(image.data(), image.size()));
}

TEST_F(CompoundCheckTest, ALoopingSmallStreamChainIsRefused) {
    // The header record (520 bytes) lives in the mini stream: make its chain loop.
    const size_t entry = EntryNamed(L"Header.INF");
    const uint32_t first = U32(image, entry + 116);
    const size_t miniFat = Offset(U32(image, 60));
    uint32_t last = first;
    while (U32(image, miniFat + 4 * last) < 0xFFFFFFFAu)
        last = U32(image, miniFat + 4 * last);
    Put32(image, miniFat + 4 * last, first);
    EXPECT_FALSE(model::CompoundFileIsSound(image.data(), image.size()));
}

TEST(CompoundImageTest, AMiniFatChainOverTheWholeFileTakesNoMoreThanTheFilesMiniSectors) {
    oVoiceBook root;
    sample::BuildTree(root, 7, 900, 3);
    std::vector<uint8_t> image;
    ASSERT_TRUE(model::BuildDataFileImage(root, model::kCurrentFormat, image));
    // Every sector leads to the next: the small streams' table runs to the end of the file.
    const size_t sectors = image.size() / 512 - 1;
    std::vector<uint32_t> fat;
    ASSERT_TRUE(model::FatSectorNumbers(image.data(), 512, sectors, fat));
    for (size_t s = 0; s < sectors; ++s)
        Put32(image, (size_t{fat[s / 128]} + 1) * 512 + s % 128 * 4,
              s + 1 < sectors ? static_cast<uint32_t>(s + 1) : 0xFFFFFFFEu);
    const auto used = [] {
        PROCESS_MEMORY_COUNTERS counters{};
        ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
        return static_cast<long long>(counters.PagefileUsage);
    };
    const long long before = used();
    model::CompoundImage file;
    ASSERT_TRUE(file.Open(image.data(), image.size()));
    EXPECT_LT(used() - before, static_cast<long long>(image.size() / 8)) << image.size();
    EXPECT_FALSE(model::CompoundFileIsSound(image.data(), image.size()));
}
