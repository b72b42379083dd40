#pragma once
// A compound file read straight from its bytes, for a file that SurveyCompoundFile found sound
// and whole: every chain ends, is as long as its stream asks and shares no sector, so each
// stream is where its chain says. A stream whose sectors lie in a row is handed out where it
// lies, without a copy; only one in pieces is gathered, into memory the caller gives. Names
// are found ignoring letter case, as the system's storage code finds them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace model {

class CompoundImage {
public:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;
    static constexpr uint32_t kRoot = 0;

    // False when the bytes are no compound file this reader takes. `fatCopy`: the FAT's
    // sectors read apart, as SurveyCompoundFile takes them; it must outlive the reading.
    bool Open(const uint8_t* data, size_t size, const uint8_t* fatCopy = nullptr);

    // The entry called `name` directly in the storage `storage`; kNone when there is none.
    uint32_t Find(uint32_t storage, std::wstring_view name) const;
    bool IsStream(uint32_t entry) const noexcept { return Type(entry) == 2; }
    bool IsStorage(uint32_t entry) const noexcept { return Type(entry) == 1; }
    // How many entries lie directly in `storage`, and whether those are exactly `names`
    // (each once, as streams).
    bool HoldsExactlyStreams(uint32_t storage,
                             std::initializer_list<std::wstring_view> names) const;

    // The bytes of the stream `entry`, at most its first `limit`: where they lie, or gathered
    // into `scratch`. False when its chain cannot be followed that far.
    bool Read(uint32_t entry, std::vector<uint8_t>& scratch, const uint8_t*& data, size_t& size,
              size_t limit = SIZE_MAX) const;
    // The byte length the directory gives the stream `entry` (0 for no stream).
    uint64_t StreamSize(uint32_t entry) const;
    // How many entries the directory holds (those Find can answer lie below).
    size_t EntryCount() const noexcept { return directory_.size() * (sector_ / kEntrySize); }
    // From now on the directory and the streams of whole sectors are read through `reader`
    // (an offset in the file, the bytes wanted, where they go) into memory of our own,
    // never looked at where they lie: a mapped file's pages are then not touched for them
    // (its directory lies spread over the file). Open keeps it. False when the directory
    // could not be read.
    using Reader = std::function<bool(uint64_t offset, void* out, size_t size)>;
    bool ReadThrough(Reader reader) {
        reader_ = std::move(reader);
        return !data_ || LoadDirectory();
    }
    // The same for the stream called `name` in `storage`; false also when there is none.
    bool ReadNamed(uint32_t storage, std::wstring_view name, std::vector<uint8_t>& scratch,
                   const uint8_t*& data, size_t& size) const {
        const uint32_t entry = Find(storage, name);
        return entry != kNone && Read(entry, scratch, data, size);
    }

private:
    const uint8_t* Sector(uint32_t n) const { return data_ + (size_t{n} + 1) * sector_; }
    bool Present(uint32_t n) const { return n < sectors_; }
    bool FatNext(uint32_t at, uint32_t& next) const;
    // Follows the FAT from `start`, at most `limit` sectors, every one present.
    bool Chain(uint32_t start, size_t limit, std::vector<uint32_t>& out) const;
    // The directory's sectors, where they lie or read through the reader.
    bool LoadDirectory();
    const uint8_t* Entry(uint32_t index) const;
    int Type(uint32_t entry) const noexcept;
    bool NameIs(uint32_t entry, std::wstring_view name) const;
    // Calls f(entry) for the entries directly in `storage` until it answers false.
    template <class F> void ForEachIn(uint32_t storage, F f) const;

    static constexpr size_t kEntrySize = 128;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t sector_ = 512;
    bool major4_ = false;
    uint32_t sectors_ = 0;
    uint32_t miniCutoff_ = 4096;
    std::vector<const uint8_t*> fat_;       // the FAT's sectors
    std::vector<const uint8_t*> directory_; // the directory's sectors
    std::vector<uint32_t> miniFat_;
    std::vector<uint32_t> container_;    // the sectors of the small streams' container
    Reader reader_;                      // none: streams are read where they lie
    std::vector<uint8_t> directoryCopy_; // the directory, when read through the reader
};

} // namespace model
