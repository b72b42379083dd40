// Our files keep their FAT together at the start: our reader finds the file sound and whole with
// the tree as it was, the system's storage code reads every stream as our reader does, and
// the FAT is one run of sectors, also when its list overflows the header into DIFAT sectors.
// Our reader sees the same when it reads the directory and the streams through positioned
// reads (as the rest of a mapped file is read), run by run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/compound_file_check.h"
#include "model/compound_image.h"
#include "model/data_file.h"
#include "model/fat_placement.h"
#include "model/sample_trees.h"
#include "model/storage_inspect.h"
#include "support/test_util.h"

namespace {

// The stream at `path` ("a/b/ChildInfo.INF") as our reader sees it, at most `limit` bytes.
std::vector<uint8_t> OurRead(const model::CompoundImage& image, const std::wstring& path,
                             size_t limit = SIZE_MAX) {
    uint32_t at = model::CompoundImage::kRoot;
    for (const std::wstring& part : inspect::Parts(path))
        if ((at = image.Find(at, part)) == model::CompoundImage::kNone)
            return {};
    std::vector<uint8_t> scratch;
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (!image.Read(at, scratch, data, size, limit))
        return {};
    return std::vector<uint8_t>(data, data + size);
}

} // namespace

TEST(FatPlacementTest, TheFatLiesInOneRunAtTheStartAndBothReadersSeeTheStreamsAlike) {
    test::TempDir dir;
    for (const int buttons : {3, 60, 900}) { // 900: more FAT sectors than the header lists
        SCOPED_TRACE(buttons);
        oVoiceBook root;
        sample::BuildTree(root, 7, buttons, 3);
        std::vector<uint8_t> image;
        ASSERT_TRUE(model::BuildDataFileImage(root, model::kCurrentFormat, image));
        for (int pass = 0; pass < 2; ++pass) { // as saved, and moved once more
            if (pass == 1) {
                ASSERT_TRUE(model::MoveFatToStart(image));
            }
            std::vector<uint32_t> fat;
            const size_t sectors = image.size() / 512 - 1;
            ASSERT_TRUE(model::FatSectorNumbers(image.data(), 512, sectors, fat));
            uint32_t difats = 0;
            std::memcpy(&difats, &image[72], 4);
            EXPECT_EQ(fat.front(), 0u);
            EXPECT_EQ(fat.back(), fat.size() - 1) << "one run";
            EXPECT_EQ(difats > 0, buttons == 900);

            const model::CompoundFileSurvey survey =
                model::SurveyCompoundFile(image.data(), image.size());
            EXPECT_TRUE(survey.sound && survey.whole);
            oVoiceBook again;
            EXPECT_EQ(model::ReadDataFileImage(again, image, false), model::LoadOutcome::Loaded);
            EXPECT_EQ(sample::CompareTrees(root, again), "");

            const std::wstring path = dir / L"moved.tdb";
            ASSERT_TRUE(test::WriteFileBytes(path, image));
            model::CompoundImage ours, through;
            ASSERT_TRUE(ours.Open(image.data(), image.size()));
            ASSERT_TRUE(through.Open(image.data(), image.size()));
            const std::vector<uint8_t> file = image;
            size_t reads = 0;
            EXPECT_FALSE(through.ReadThrough([](uint64_t, void*, size_t) { return false; }));
            ASSERT_TRUE(through.ReadThrough([&](uint64_t at, void* out, size_t size) {
                ++reads;
                if (at > file.size() || size > file.size() - at)
                    return false;
                std::memcpy(out, file.data() + at, size);
                return true;
            }));
            const auto elements = inspect::Elements(path);
            ASSERT_GT(elements.size(), 3u);
            for (const auto& [name, element] : elements)
                if (element.type == STGTY_STREAM) {
                    const std::vector<uint8_t> bytes = inspect::ReadStream(path, name);
                    EXPECT_EQ(bytes.size(), element.size);
                    EXPECT_TRUE(bytes == OurRead(ours, name)) << name.size();
                    EXPECT_TRUE(bytes == OurRead(through, name)) << name.size();
                    // Only its start, cut inside a sector.
                    const std::vector<uint8_t> head(
                        bytes.begin(), bytes.begin() + std::min<ptrdiff_t>(bytes.size(), 1000));
                    EXPECT_TRUE(head == OurRead(ours, name, 1000)) << name.size();
                    EXPECT_TRUE(head == OurRead(through, name, 1000)) << name.size();
                }
            EXPECT_GT(reads, 0u); // the directory at least
        }
    }
}
