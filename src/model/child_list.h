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

// Parses untrusted bytes. An identifier list is taken only when its count fits in what is
// left, its items stay inside it and it ends with its terminator; otherwise the entry keeps
// its other fields without a list.
ParsedChildList ParseChildList(const uint8_t* data, size_t size, RecordLayout layout);

// The stream of `parent`'s children as a save writes it.
std::vector<uint8_t> EncodeChildList(const oVoiceBook& parent, RecordLayout layout);
// The same entry by entry, for a writer that streams the list: the byte size of one entry
// (record, 4-byte count, identifier list) and of the whole list, and one entry written to
// `out`, which holds ChildEntrySize bytes.
size_t ChildEntrySize(const oVoiceBook& child, RecordLayout layout);
size_t ChildListSize(const oVoiceBook& parent, RecordLayout layout);
void EncodeChildEntry(const oVoiceBook& child, RecordLayout layout, uint8_t* out);

} // namespace model
