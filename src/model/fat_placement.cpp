#include "model/fat_placement.h"

#include <cstring>
#include <new>

#include "model/compound_file_check.h"

namespace model {
namespace {

constexpr uint32_t kLastRegular = 0xFFFFFFF9u; // above: special values
constexpr uint32_t kFreeSector = 0xFFFFFFFFu;
constexpr uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr uint32_t kFatSector = 0xFFFFFFFDu;
constexpr uint32_t kDifatSector = 0xFFFFFFFCu;
constexpr size_t kHeaderDifat = 109;
constexpr size_t kEntrySize = 128;

uint32_t Get32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}
void Put32(uint8_t* p, uint32_t v) {
    std::memcpy(p, &v, sizeof(v));
}

} // namespace

bool MoveFatToStart(std::vector<uint8_t>& image) {
    if (image.size() < 512 || Get32(image.data()) != 0xE011CFD0u)
        return false;
    const uint16_t shift = static_cast<uint16_t>(image[30] | image[31] << 8);
    if (shift != 9 && shift != 12)
        return false;
    const size_t sector = size_t{1} << shift;
    const size_t perFat = sector / 4;
    if (image.size() < 2 * sector || image.size() % sector != 0)
        return false;
    const size_t sectors = image.size() / sector - 1;
    auto at = [&](size_t n) { return &image[(n + 1) * sector]; };
    std::vector<uint32_t> fatAt, difatAt;
    if (!FatSectorNumbers(image.data(), sector, sectors, fatAt, &difatAt) || fatAt.empty())
        return false;
    for (uint32_t n : fatAt)
        if (n >= sectors)
            return false;
    std::vector<uint32_t> fat(fatAt.size() * perFat);
    for (size_t k = 0; k < fatAt.size(); ++k)
        std::memcpy(&fat[k * perFat], at(fatAt[k]), sector);
    // The directory's sectors, by the FAT as it is.
    std::vector<uint32_t> directory;
    for (uint32_t n = Get32(&image[48]); n != kEndOfChain; n = fat[n]) {
        if (n >= sectors || n >= fat.size() || directory.size() > sectors)
            return false;
        directory.push_back(n);
    }

    // How many FAT and DIFAT sectors the moved file needs: they also cover themselves.
    size_t fats = fatAt.size(), difats = 0;
    for (;;) {
        difats = fats > kHeaderDifat ? (fats - kHeaderDifat + perFat - 2) / (perFat - 1) : 0;
        if (fats * perFat >= sectors + fats + difats)
            break;
        ++fats;
    }
    const auto by = static_cast<uint32_t>(fats + difats); // every other sector moves up by this
    auto moved = [by](uint32_t n) { return n <= kLastRegular ? n + by : n; };

    std::vector<uint32_t> newFat(fats * perFat, kFreeSector);
    for (size_t i = 0; i < fats; ++i)
        newFat[i] = kFatSector;
    for (size_t i = 0; i < difats; ++i)
        newFat[fats + i] = kDifatSector;
    for (size_t n = 0; n < sectors && n < fat.size(); ++n)
        newFat[n + by] = moved(fat[n]);
    for (uint32_t n : fatAt)
        newFat[n + by] = kFreeSector;
    for (uint32_t n : difatAt)
        newFat[n + by] = kFreeSector;

    const size_t oldSize = image.size();
    try {
        image.resize(oldSize + size_t{by} * sector);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::memmove(at(by), at(0), oldSize - sector);
    // Streams of the FAT's size or more start in regular sectors, which moved; small ones in
    // the mini stream, which did not. The root's start is the mini stream's container.
    const uint32_t cutoff = Get32(&image[56]);
    for (uint32_t n : directory)
        for (size_t e = 0; e < sector / kEntrySize; ++e) {
            uint8_t* entry = at(n + by) + e * kEntrySize;
            const uint8_t type = entry[66];
            const uint64_t size = shift == 9
                                      ? Get32(entry + 120)
                                      : (uint64_t{Get32(entry + 124)} << 32 | Get32(entry + 120));
            if (type == 5 || (type == 2 && size >= cutoff))
                Put32(entry + 116, moved(Get32(entry + 116)));
        }
    for (uint32_t n : fatAt)
        std::memset(at(n + by), 0, sector);
    for (uint32_t n : difatAt)
        std::memset(at(n + by), 0, sector);
    std::memcpy(at(0), newFat.data(), newFat.size() * 4);
    for (size_t i = 0; i < kHeaderDifat; ++i)
        Put32(&image[76 + 4 * i], i < fats ? static_cast<uint32_t>(i) : kFreeSector);
    for (size_t d = 0; d < difats; ++d) {
        uint8_t* s = at(fats + d);
        for (size_t e = 0; e < perFat - 1; ++e) {
            const size_t i = kHeaderDifat + d * (perFat - 1) + e;
            Put32(s + 4 * e, i < fats ? static_cast<uint32_t>(i) : kFreeSector);
        }
        Put32(s + sector - 4, d + 1 < difats ? static_cast<uint32_t>(fats + d + 1) : kEndOfChain);
    }
    Put32(&image[44], static_cast<uint32_t>(fats));
    Put32(&image[48], moved(Get32(&image[48])));
    Put32(&image[60], moved(Get32(&image[60])));
    Put32(&image[68], difats ? static_cast<uint32_t>(fats) : kEndOfChain);
    Put32(&image[72], static_cast<uint32_t>(difats));
    return true;
}

bool FatInOneRun(const uint8_t* data, size_t size) {
    if (size < 512 || !(data[30] == 9 || data[30] == 12) || data[31] != 0)
        return false;
    const size_t sector = size_t{1} << data[30];
    if (size < sector)
        return false;
    const size_t sectors = (size - sector) / sector;
    std::vector<uint32_t> where;
    if (!FatSectorNumbers(data, sector, sectors, where) || where.empty() || where.size() > sectors)
        return false;
    for (size_t i = 1; i < where.size(); ++i)
        if (where[i] != where[i - 1] + 1)
            return false;
    return where.back() < sectors;
}

} // namespace model
