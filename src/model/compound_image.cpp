#include "model/compound_image.h"

#include <algorithm>
#include <cstring>

#include "model/compound_file_check.h"

namespace model {
namespace {

constexpr uint32_t kMaxRegular = 0xFFFFFFFAu;
constexpr size_t kMiniSector = 64;
constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
wchar_t Fold(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

} // namespace

bool CompoundImage::Open(const uint8_t* data, size_t size, const uint8_t* fatCopy) {
    data_ = data;
    size_ = size;
    fat_.clear();
    directory_.clear();
    miniFat_.clear();
    container_.clear();
    if (!data || size < 512 || std::memcmp(data, kSignature, sizeof(kSignature)) != 0)
        return false;
    const uint16_t major = U16(data + 26);
    const uint16_t shift = U16(data + 30);
    if (!((major == 3 && shift == 9) || (major == 4 && shift == 12)))
        return false;
    sector_ = size_t{1} << shift;
    major4_ = major == 4;
    if (size < sector_)
        return false;
    sectors_ = static_cast<uint32_t>(std::min<size_t>((size - sector_) / sector_, kMaxRegular));
    miniCutoff_ = U32(data + 56);
    // The FAT's sectors: the header names the first 109, a chain of DIFAT sectors the rest.
    const uint32_t fatSectors = U32(data + 44);
    std::vector<uint32_t> where;
    if (fatSectors > sectors_ || !FatSectorNumbers(data, sector_, sectors_, where))
        return false;
    for (size_t i = 0; i < where.size(); ++i) {
        if (!Present(where[i]))
            return false;
        fat_.push_back(fatCopy ? fatCopy + i * sector_ : Sector(where[i]));
    }
    if (!LoadDirectory())
        return false;
    std::vector<uint32_t> chain;
    if (!Chain(U32(data + 60), sectors_, chain))
        return false;
    // An entry past the file's mini sectors is never followed: a crafted chain over the
    // whole file would otherwise take as much memory as the file.
    const size_t usable = size / kMiniSector;
    for (size_t i = 0; i < chain.size() && miniFat_.size() < usable; ++i)
        for (size_t k = 0; k < sector_ / 4 && miniFat_.size() < usable; ++k)
            miniFat_.push_back(U32(Sector(chain[i]) + 4 * k));
    if (Type(kRoot) != 5)
        return false;
    return Chain(U32(Entry(kRoot) + 116), sectors_, container_);
}

bool CompoundImage::LoadDirectory() {
    directory_.clear();
    std::vector<uint32_t> chain;
    if (!Chain(U32(data_ + 48), sectors_, chain) || chain.empty())
        return false;
    if (reader_) {
        directoryCopy_.resize(chain.size() * sector_);
        for (size_t i = 0; i < chain.size(); ++i)
            if (!reader_((uint64_t{chain[i]} + 1) * sector_, directoryCopy_.data() + i * sector_,
                         sector_))
                return false;
    }
    for (size_t i = 0; i < chain.size(); ++i)
        directory_.push_back(reader_ ? directoryCopy_.data() + i * sector_ : Sector(chain[i]));
    return true;
}

bool CompoundImage::FatNext(uint32_t at, uint32_t& next) const {
    const size_t perFat = sector_ / 4;
    if (at / perFat >= fat_.size())
        return false;
    next = U32(fat_[at / perFat] + 4 * (at % perFat));
    return true;
}

bool CompoundImage::Chain(uint32_t start, size_t limit, std::vector<uint32_t>& out) const {
    out.clear();
    for (uint32_t at = start; at < kMaxRegular;) {
        if (!Present(at) || out.size() >= limit)
            return false;
        out.push_back(at);
        if (!FatNext(at, at))
            return false;
    }
    return true;
}

const uint8_t* CompoundImage::Entry(uint32_t index) const {
    const size_t perSector = sector_ / kEntrySize;
    if (index / perSector >= directory_.size())
        return nullptr;
    return directory_[index / perSector] + (index % perSector) * kEntrySize;
}

int CompoundImage::Type(uint32_t entry) const noexcept {
    const uint8_t* e = Entry(entry);
    return e ? e[66] : -1;
}

bool CompoundImage::NameIs(uint32_t entry, std::wstring_view name) const {
    const uint8_t* e = Entry(entry);
    const size_t bytes = U16(e + 64);
    // The length counts the terminating zero.
    if (bytes != (name.size() + 1) * 2 || bytes > 64)
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (Fold(static_cast<wchar_t>(U16(e + 2 * i))) != Fold(name[i]))
            return false;
    return true;
}

template <class F> void CompoundImage::ForEachIn(uint32_t storage, F f) const {
    const uint8_t* s = Entry(storage);
    if (!s)
        return;
    // The entries of a storage form a tree through their sibling links; the check before
    // reading made sure that no link loops, and the count bounds the walk all the same.
    const size_t count = directory_.size() * (sector_ / kEntrySize);
    std::vector<uint32_t> pending{U32(s + 76)};
    size_t seen = 0;
    while (!pending.empty()) {
        const uint32_t at = pending.back();
        pending.pop_back();
        const uint8_t* e = Entry(at);
        if (!e)
            continue;
        if (++seen > count || !f(at))
            return;
        pending.push_back(U32(e + 68));
        pending.push_back(U32(e + 72));
    }
}

uint32_t CompoundImage::Find(uint32_t storage, std::wstring_view name) const {
    uint32_t found = kNone;
    ForEachIn(storage, [&](uint32_t entry) {
        if (!NameIs(entry, name))
            return true;
        found = entry;
        return false;
    });
    return found;
}

bool CompoundImage::HoldsExactlyStreams(uint32_t storage,
                                        std::initializer_list<std::wstring_view> names) const {
    size_t count = 0, matched = 0;
    ForEachIn(storage, [&](uint32_t entry) {
        ++count;
        for (std::wstring_view name : names)
            if (IsStream(entry) && NameIs(entry, name))
                ++matched;
        return count <= names.size();
    });
    return count == names.size() && matched == names.size();
}

uint64_t CompoundImage::StreamSize(uint32_t entry) const {
    const uint8_t* e = Entry(entry);
    if (!e || !IsStream(entry))
        return 0;
    return major4_ ? (uint64_t{U32(e + 124)} << 32 | U32(e + 120)) : U32(e + 120);
}

bool CompoundImage::Read(uint32_t entry, std::vector<uint8_t>& scratch, const uint8_t*& data,
                         size_t& size, size_t limit) const {
    const uint8_t* e = Entry(entry);
    if (!e || !IsStream(entry))
        return false;
    const uint64_t length = StreamSize(entry);
    if (length > size_)
        return false;
    size = static_cast<size_t>(std::min<uint64_t>(length, limit));
    const uint32_t start = U32(e + 116);
    if (size == 0) {
        data = data_;
        return true;
    }
    if (length < miniCutoff_) {
        // Small streams live in 64-byte pieces inside the container's sectors.
        scratch.resize(size);
        size_t done = 0;
        for (uint32_t at = start; done < size; at = miniFat_[at]) {
            if (at >= miniFat_.size())
                return false;
            const size_t offset = size_t{at} * kMiniSector;
            const size_t k = offset / sector_;
            if (k >= container_.size())
                return false;
            const size_t piece = std::min(kMiniSector, size - done);
            std::memcpy(scratch.data() + done, Sector(container_[k]) + offset % sector_, piece);
            done += piece;
        }
        data = scratch.data();
        return true;
    }
    const size_t needed = (size + sector_ - 1) / sector_;
    std::vector<uint32_t> chain;
    chain.reserve(needed);
    uint32_t at = start;
    for (size_t i = 0; i < needed; ++i) {
        if (!Present(at))
            return false;
        chain.push_back(at);
        if (i + 1 < needed && !FatNext(at, at))
            return false;
    }
    if (reader_) {
        scratch.resize(size);
        // Sectors in a row are read at once.
        for (size_t i = 0; i < chain.size();) {
            size_t run = 1;
            while (i + run < chain.size() && chain[i + run] == chain[i] + run)
                ++run;
            const size_t from = i * sector_;
            if (!reader_((uint64_t{chain[i]} + 1) * sector_, scratch.data() + from,
                         std::min(run * sector_, size - from)))
                return false;
            i += run;
        }
        data = scratch.data();
        return true;
    }
    bool inARow = true;
    for (size_t i = 1; i < chain.size() && inARow; ++i)
        inARow = chain[i] == chain[i - 1] + 1;
    if (inARow && (size_t{chain.front()} + 1) * sector_ + size <= size_) {
        data = Sector(chain.front());
        return true;
    }
    scratch.resize(size);
    for (size_t i = 0; i < chain.size(); ++i)
        std::memcpy(scratch.data() + i * sector_, Sector(chain[i]),
                    std::min(sector_, size - i * sector_));
    data = scratch.data();
    return true;
}

} // namespace model
