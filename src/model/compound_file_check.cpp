#include "model/compound_file_check.h"

#include <cstring>
#include <utility>
#include <vector>

namespace model {
namespace {

constexpr uint32_t kMaxRegular = 0xFFFFFFFAu; // above: special values
constexpr uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr uint32_t kNoEntry = 0xFFFFFFFFu;
constexpr size_t kHeaderDifatEntries = 109;
constexpr size_t kEntrySize = 128;
constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr size_t kMiniSector = 64;
constexpr uint8_t kTypeStorage = 1, kTypeStream = 2, kTypeRoot = 5;

uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

class Checker {
public:
    Checker(const uint8_t* data, size_t size, const uint8_t* fatCopy)
        : data_(data), fatCopy_(fatCopy), size_(size) {}

    // Anything found that does not make the file unsound but leaves it less than whole.
    bool whole() const noexcept { return whole_; }
    size_t entries() const noexcept { return entries_; }

    bool Run() {
        if (size_ < 512 || std::memcmp(data_, kSignature, sizeof(kSignature)) != 0)
            return false;
        const uint16_t major = U16(data_ + 26);
        const uint16_t shift = U16(data_ + 30);
        if (U16(data_ + 28) != 0xFFFE || U16(data_ + 32) != 6 ||
            !((major == 3 && shift == 9) || (major == 4 && shift == 12)))
            return false;
        sector_ = size_t{1} << shift;
        fatShift_ = shift - 2;
        major_ = major;
        if (size_ < sector_)
            return false;
        // Whole sectors after the header; a cut last sector cannot be read.
        sectors_ = (size_ - sector_) / sector_;
        return LoadFat() && LoadDirectory() && LoadMiniFat() && CheckTree();
    }

private:
    const uint8_t* Sector(uint32_t n) const {
        return data_ + (static_cast<size_t>(n) + 1) * sector_;
    }
    bool Present(uint32_t n) const { return n < sectors_; }

    // The FAT sectors named by the header and the DIFAT chain. A FAT sector beyond the end
    // reads as a failure, which ends every chain through it; one that is named wrongly
    // (a special value, a looping or missing DIFAT chain) makes the file unsound.
    bool LoadFat() {
        std::vector<uint32_t> where;
        if (!FatSectorNumbers(data_, sector_, sectors_, where))
            return false;
        fatSector_.assign(where.size(), nullptr);
        // Every present sector gets a bit of its own in the table of claims: a flat array,
        // which a file of a million sectors needs, and a small one (a fresh buffer's pages
        // are slow to come by).
        fatClaimed_.assign(sectors_, false);
        for (size_t i = 0; i < where.size(); ++i) {
            if (where[i] >= kMaxRegular)
                return false;
            if (Present(where[i]))
                fatSector_[i] = fatCopy_ ? fatCopy_ + i * sector_ : Sector(where[i]);
        }
        return true;
    }

    // The next sector after `at` in the FAT; false when the entry cannot be read (its FAT
    // sector is missing).
    bool FatNext(uint32_t at, uint32_t& next) const {
        // A FAT sector holds a power of two of entries: a shift, not a division, in the
        // loop that passes every sector of the file.
        const size_t k = at >> fatShift_;
        if (k >= fatSector_.size() || !fatSector_[k])
            return false;
        next = U32(fatSector_[k] + 4 * (at & ((uint32_t{1} << fatShift_) - 1)));
        return true;
    }
    bool MiniNext(uint32_t at, uint32_t& next) const {
        if (at >= miniFat_.size())
            return false;
        next = miniFat_[at];
        return true;
    }

    // Follows a chain from `start`, handing each sector to `visit`; false when it loops. A
    // loop is found by the chain coming back to a sector it passed a power of two steps
    // before (Brent), which needs no table of the sectors passed.
    template <class Next, class Visit> bool Walk(Next next, uint32_t start, Visit visit) {
        uint32_t mark = start;
        size_t steps = 0, power = 1;
        for (uint32_t at = start; at < kMaxRegular;) {
            visit(at);
            uint32_t following = 0;
            if (!next(at, following))
                return true; // reading fails there, which ends the chain
            at = following;
            if (at == mark)
                return false;
            if (++steps == power) {
                mark = at;
                power *= 2;
                steps = 0;
            }
        }
        return true;
    }
    bool WalkFat(uint32_t start, std::vector<uint32_t>& out) {
        out.clear();
        return Walk([this](uint32_t a, uint32_t& n) { return FatNext(a, n); }, start,
                    [&out](uint32_t at) { out.push_back(at); });
    }

    // A stream's chain, walked once: each sector passed must be `usable`, and the chain as
    // long as the stream asks and ended by the end mark; anything else leaves the file less
    // than whole. False when the chain loops.
    template <class Next, class Usable>
    bool CheckStream(Next next, uint32_t start, uint64_t size, size_t unit, Usable usable) {
        uint64_t length = 0;
        uint32_t last = 0;
        if (!Walk(next, start, [&](uint32_t at) {
                ++length;
                last = at;
                if (!usable(at))
                    whole_ = false;
            }))
            return false;
        if (length != (size + unit - 1) / unit || (length > 0 && !Ends(last, unit)))
            whole_ = false;
        return true;
    }

    bool LoadDirectory() {
        std::vector<uint32_t> chain;
        if (!WalkFat(U32(data_ + 48), chain))
            return false;
        for (uint32_t s : chain) {
            if (!Present(s))
                break; // the rest of the directory cannot be read
            Claim(s);
            directory_.push_back(Sector(s));
        }
        return !directory_.empty();
    }

    const uint8_t* Entry(uint32_t index) const {
        const size_t perSector = sector_ / kEntrySize;
        return directory_[index / perSector] + (index % perSector) * kEntrySize;
    }
    uint32_t EntryCount() const {
        return static_cast<uint32_t>(directory_.size() * (sector_ / kEntrySize));
    }

    bool LoadMiniFat() {
        std::vector<uint32_t> chain;
        if (!WalkFat(U32(data_ + 60), chain))
            return false;
        for (uint32_t s : chain) {
            if (!Present(s))
                break;
            Claim(s);
            // Entries past the file's mini sectors are never followed (see CompoundImage).
            const uint8_t* p = Sector(s);
            for (size_t k = 0; k < sector_ / 4 && miniFat_.size() < size_ / kMiniSector; ++k)
                miniFat_.push_back(U32(p + 4 * k));
        }
        return true;
    }

    // Every entry reachable from the root through sibling and child links is reached once;
    // the chains of the streams among them end.
    bool CheckTree() {
        const uint32_t count = EntryCount();
        const uint8_t* root = Entry(0);
        if (root[66] != kTypeRoot)
            return false;
        // The root's chain holds the small streams.
        std::vector<uint32_t> container;
        if (!WalkFat(U32(root + 116), container))
            return false;
        size_t containerBytes = 0;
        for (uint32_t s : container) {
            if (!Present(s) || !Claim(s))
                break;
            containerBytes += sector_;
        }
        miniClaimed_.assign(containerBytes / kMiniSector, false);
        const uint32_t cutoff = U32(data_ + 56);
        std::vector<bool> seen(count, false);
        seen[0] = true;
        std::vector<uint32_t> pending{U32(root + 76)};
        while (!pending.empty()) {
            const uint32_t index = pending.back();
            pending.pop_back();
            if (index == kNoEntry)
                continue;
            if (index >= count || seen[index])
                return false;
            seen[index] = true;
            ++entries_;
            const uint8_t* e = Entry(index);
            const uint8_t type = e[66];
            pending.push_back(U32(e + 68)); // left sibling
            pending.push_back(U32(e + 72)); // right sibling
            if (type == kTypeStorage) {
                pending.push_back(U32(e + 76));
            } else if (type == kTypeStream) {
                const uint64_t size =
                    major_ == 3 ? U32(e + 120) : (uint64_t{U32(e + 124)} << 32 | U32(e + 120));
                const uint32_t start = U32(e + 116);
                const bool ends =
                    size < cutoff
                        ? CheckStream([this](uint32_t a, uint32_t& n) { return MiniNext(a, n); },
                                      start, size, kMiniSector,
                                      [&](uint32_t m) {
                                          return (size_t{m} + 1) * kMiniSector <= containerBytes &&
                                                 ClaimMini(m);
                                      })
                        : CheckStream([this](uint32_t a, uint32_t& n) { return FatNext(a, n); },
                                      start, size, sector_,
                                      [&](uint32_t s) { return Present(s) && Claim(s); });
                if (!ends)
                    return false;
            } else if (type != 0) {
                return false;
            }
        }
        return true;
    }

    // The chain's last entry says where it goes on: it must be the end mark.
    bool Ends(uint32_t last, size_t unit) const {
        uint32_t next = 0;
        const bool known = unit == kMiniSector ? MiniNext(last, next) : FatNext(last, next);
        return known && next == kEndOfChain;
    }
    // Marks a present sector (or mini sector) as used; false when a chain used it already.
    static bool ClaimIn(std::vector<bool>& claimed, uint32_t sector) {
        if (claimed[sector])
            return false;
        claimed[sector] = true;
        return true;
    }
    bool Claim(uint32_t sector) { return ClaimIn(fatClaimed_, sector); }
    bool ClaimMini(uint32_t sector) { return ClaimIn(miniClaimed_, sector); }

    const uint8_t* data_;
    const uint8_t* fatCopy_;
    size_t size_;
    size_t sector_ = 512;
    unsigned fatShift_ = 7; // log2 of the entries in a FAT sector
    uint16_t major_ = 3;
    size_t sectors_ = 0;
    std::vector<const uint8_t*> fatSector_; // per FAT sector; null when beyond the end
    std::vector<uint32_t> miniFat_;
    std::vector<const uint8_t*> directory_;
    std::vector<bool> fatClaimed_, miniClaimed_; // sectors and mini sectors the streams use
    bool whole_ = true;
    size_t entries_ = 0;
};

} // namespace

bool CompoundFileIsSound(const uint8_t* data, size_t size) {
    return SurveyCompoundFile(data, size).sound;
}

bool FatSectorNumbers(const uint8_t* data, size_t sectorSize, size_t sectors,
                      std::vector<uint32_t>& out, std::vector<uint32_t>* difatAt) {
    out.clear();
    if (difatAt)
        difatAt->clear();
    const uint32_t fatSectors = U32(data + 44);
    for (size_t i = 0; i < kHeaderDifatEntries && out.size() < fatSectors; ++i)
        out.push_back(U32(data + 76 + 4 * i));
    uint32_t difat = U32(data + 68);
    std::vector<bool> seen(sectors, false);
    const size_t perDifat = sectorSize / 4 - 1;
    while (out.size() < fatSectors) {
        if (difat >= sectors || seen[difat])
            return false;
        seen[difat] = true;
        if (difatAt)
            difatAt->push_back(difat);
        const uint8_t* s = data + (size_t{difat} + 1) * sectorSize;
        for (size_t i = 0; i < perDifat && out.size() < fatSectors; ++i)
            out.push_back(U32(s + 4 * i));
        difat = U32(s + 4 * perDifat);
    }
    return true;
}

CompoundFileSurvey SurveyCompoundFile(const uint8_t* data, size_t size, const uint8_t* fatCopy) {
    CompoundFileSurvey survey;
    if (!data)
        return survey;
    Checker checker(data, size, fatCopy);
    survey.sound = checker.Run();
    survey.whole = survey.sound && checker.whole();
    survey.entries = checker.entries();
    return survey;
}

} // namespace model
