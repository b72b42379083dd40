#pragma once
// The "ChildInfo.INF" stream: one entry per child in display order, each a node record, a
// 32-bit byte count L and L bytes of the child's item identifier list (L = 0 for none).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/record_codec.h"

namespace model {

struct ChildEntry {
    NodeRecordFields fields;
    // Where the entry's identifier list lies in the parsed bytes; size 0 when the entry
    // has none or its list was refused.
    size_t idListOffset = 0;
    size_t idListSize = 0;
};

// How a child list ended. Anything but Complete means the bytes stopped early or were bad;
// the entries before that point are kept either way.
enum class ChildListEnd {
    Complete,    // the bytes ended exactly after an entry
    ShortRecord, // fewer bytes than a record were left
    ShortCount,  // a record was not followed by its 4-byte count
    BadCount,    // a count larger than what was left: the list is dropped and reading stops
};

struct ParsedChildList {
    std::vector<ChildEntry> entries;
    ChildListEnd end = ChildListEnd::Complete;
    size_t refusedIdLists = 0; // counts that fitted but whose bytes were not a sound list
    // Records with a string that fills its field without a terminating zero: read whole,
    // such a string could not be saved back whole.
    size_t unterminatedRecords = 0;
};

// What a walk over a list's entries came to; the entries themselves went to its callback.
struct ChildListScan {
    ChildListEnd end = ChildListEnd::Complete;
    size_t entries = 0;
    size_t refusedIdLists = 0;
    size_t unterminatedRecords = 0;
    bool stopped = false; // the callback asked to stop: the list was not walked to its end
};

// Walks untrusted bytes entry by entry, without decoding anything: `entry(record, idListOffset,
// idListSize)` gets each record (RecordSize bytes) where it lies and where its identifier
// list lies (size 0: none or refused), and answers false to stop the walk there. An
// identifier list is taken only when its count fits in what is left, its items stay inside
// it and it ends with its terminator; otherwise the entry keeps its other fields without a
// list.
template <class F>
ChildListScan ScanChildList(const uint8_t* data, size_t size, RecordLayout layout, F entry);

// The same walk with every record decoded.
ParsedChildList ParseChildList(const uint8_t* data, size_t size, RecordLayout layout);

// The stream of `parent`'s children as a save writes it.
std::vector<uint8_t> EncodeChildList(const oVoiceBook& parent, RecordLayout layout);
// The same entry by entry, for a writer that streams the list: the byte size of one entry
// (record, 4-byte count, identifier list) and of the whole list, and one entry written to
// `out`, which holds ChildEntrySize bytes.
size_t ChildEntrySize(const oVoiceBook& child, RecordLayout layout);
size_t ChildListSize(const oVoiceBook& parent, RecordLayout layout);
void EncodeChildEntry(const oVoiceBook& child, RecordLayout layout, uint8_t* out);

// The 32-bit little-endian count after a record; true when the identifier list of `count`
// bytes at `at` is one to take.
uint32_t ChildCount(const uint8_t* at) noexcept;
bool TakesIdList(const uint8_t* at, size_t count) noexcept;

template <class F>
ChildListScan ScanChildList(const uint8_t* data, size_t size, RecordLayout layout, F entry) {
    ChildListScan out;
    const size_t recordSize = RecordSize(layout);
    size_t at = 0;
    for (;;) {
        if (at == size) {
            out.end = ChildListEnd::Complete;
            break;
        }
        if (size - at < recordSize) {
            out.end = ChildListEnd::ShortRecord;
            break;
        }
        const uint8_t* record = data + at;
        if (!RecordStringsTerminated(record, layout))
            ++out.unterminatedRecords;
        at += recordSize;
        ++out.entries;
        // A record whose count is cut off or runs past the end is kept without a list; the
        // next record's start is lost, so the walk ends there.
        if (size - at < 4) {
            out.end = ChildListEnd::ShortCount;
            entry(record, size_t{0}, size_t{0});
            break;
        }
        const size_t count = ChildCount(data + at);
        at += 4;
        if (count > size - at) {
            out.end = ChildListEnd::BadCount;
            entry(record, size_t{0}, size_t{0});
            break;
        }
        size_t idOffset = 0, idSize = 0;
        if (count > 0) {
            if (TakesIdList(data + at, count)) {
                idOffset = at;
                idSize = count;
            } else {
                ++out.refusedIdLists;
            }
            at += count;
        }
        if (!entry(record, idOffset, idSize)) {
            out.stopped = true;
            break;
        }
    }
    return out;
}

} // namespace model
