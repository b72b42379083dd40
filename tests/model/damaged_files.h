#pragma once
// Damage done to compound files byte by byte, where the storage API cannot reach: the
// directory and the allocation table (512-byte sectors, the table named in the header).
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace damage {

constexpr uint32_t kFreeSector = 0xFFFFFFFFu;
// Far beyond the end of any test file, yet an ordinary sector number.
constexpr uint32_t kOutsideTheFile = 0x00100000u;

class CompoundBytes {
public:
    explicit CompoundBytes(std::vector<uint8_t> image) : bytes(std::move(image)) {}

    uint32_t Get(size_t at) const {
        uint32_t v = 0;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    }
    void Put(size_t at, uint32_t v) { std::memcpy(bytes.data() + at, &v, 4); }

    static size_t SectorOffset(uint32_t sector) { return (size_t{sector} + 1) * 512; }
    // Where the allocation table keeps the sector after `sector`.
    size_t FatEntry(uint32_t sector) const {
        return SectorOffset(Get(76 + 4 * (sector / 128))) + 4 * (sector % 128);
    }
    std::vector<uint32_t> Chain(uint32_t start) const {
        std::vector<uint32_t> chain;
        for (uint32_t at = start; at < 0xFFFFFFFAu && chain.size() < 100000; at = Get(FatEntry(at)))
            chain.push_back(at);
        return chain;
    }

    struct Entry {
        size_t offset; // of the 128-byte directory entry
        std::wstring name;
        uint32_t start, size;
    };
    std::vector<Entry> Entries() const {
        std::vector<Entry> out;
        for (uint32_t sector : Chain(Get(48)))
            for (size_t k = 0; k < 4; ++k) {
                const size_t at = SectorOffset(sector) + 128 * k;
                const size_t units = bytes[at + 64] / 2;
                std::wstring name;
                for (size_t u = 0; u + 1 < units; ++u)
                    name += static_cast<wchar_t>(bytes[at + 2 * u] | bytes[at + 2 * u + 1] << 8);
                out.push_back({at, name, Get(at + 116), Get(at + 120)});
            }
        return out;
    }
    // The `which`th (from 0) directory entry called `name`, in directory order.
    Entry Named(const std::wstring& name, int which = 0) const {
        for (const Entry& e : Entries())
            if (e.name == name && which-- == 0)
                return e;
        return Entry{0, L"", 0, 0};
    }

    std::vector<uint8_t> bytes;
};

// The ways a child list can be lost to damage of the container.
enum class ListDamage {
    EmptyStream,     // its size reads as 0
    StartsOutside,   // its chain starts beyond the end of the file
    AllocationWiped, // the allocation entries of its chain read as free sectors
    FlippedMidChain, // a flipped byte sends its chain beyond the end halfway through
    RunsTooLong,     // its chain goes on past its end, into the directory's sectors
    ReadsOtherList,  // its chain starts where a longer list's does: it reads that list's bytes
};

inline std::vector<uint8_t> Damage(std::vector<uint8_t> image, ListDamage how,
                                   const CompoundBytes::Entry& list) {
    CompoundBytes file(std::move(image));
    const std::vector<uint32_t> chain = file.Chain(list.start);
    switch (how) {
    case ListDamage::EmptyStream:
        file.Put(list.offset + 120, 0);
        break;
    case ListDamage::StartsOutside:
        file.Put(list.offset + 116, kOutsideTheFile);
        break;
    case ListDamage::AllocationWiped:
        for (uint32_t sector : chain)
            file.Put(file.FatEntry(sector), kFreeSector);
        break;
    case ListDamage::FlippedMidChain:
        file.bytes[file.FatEntry(chain[chain.size() / 2]) + 3] ^= 0x80;
        break;
    case ListDamage::RunsTooLong:
        file.Put(file.FatEntry(chain.back()), file.Get(48));
        break;
    case ListDamage::ReadsOtherList:
        for (const CompoundBytes::Entry& other : file.Entries())
            if (other.name == list.name && other.size > list.size) {
                file.Put(list.offset + 116, other.start);
                break;
            }
        break;
    }
    return std::move(file.bytes);
}

// The type of a directory entry damaged: 0 (unused) or 2 (a stream) where it was a storage.
inline std::vector<uint8_t> Retype(std::vector<uint8_t> image, const std::wstring& name,
                                   uint8_t type) {
    CompoundBytes file(std::move(image));
    file.bytes[file.Named(name).offset + 66] = type;
    return std::move(file.bytes);
}

} // namespace damage
