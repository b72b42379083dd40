#include "model/child_list.h"

#include <cstring>

#include "model/pidl.h"

namespace model {

uint32_t ChildCount(const uint8_t* p) noexcept {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool TakesIdList(const uint8_t* at, size_t count) noexcept {
    return PidlIsWellFormed(at, count);
}

ParsedChildList ParseChildList(const uint8_t* data, size_t size, RecordLayout layout) {
    ParsedChildList out;
    const ChildListScan scan =
        ScanChildList(data, size, layout, [&](const uint8_t* record, size_t offset, size_t idSize) {
            ChildEntry entry;
            entry.fields = DecodeRecord(record, layout);
            entry.idListOffset = offset;
            entry.idListSize = idSize;
            out.entries.push_back(std::move(entry));
            return true;
        });
    out.end = scan.end;
    out.refusedIdLists = scan.refusedIdLists;
    out.unterminatedRecords = scan.unterminatedRecords;
    return out;
}

size_t ChildEntrySize(const oVoiceBook& child, RecordLayout layout) {
    return RecordSize(layout) + 4 + PidlSize(child.m_pidl.get());
}

size_t ChildListSize(const oVoiceBook& parent, RecordLayout layout) {
    size_t total = 0;
    for (const oVoiceBook* child = parent.FirstChild(); child; child = child->Next())
        total += ChildEntrySize(*child, layout);
    return total;
}

void EncodeChildEntry(const oVoiceBook& child, RecordLayout layout, uint8_t* out) {
    const size_t recordSize = RecordSize(layout);
    EncodeRecord(child.ToRecord(), layout, out);
    const size_t idSize = PidlSize(child.m_pidl.get());
    const uint32_t count = static_cast<uint32_t>(idSize);
    const uint8_t bytes[4] = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8),
                              static_cast<uint8_t>(count >> 16), static_cast<uint8_t>(count >> 24)};
    std::memcpy(out + recordSize, bytes, 4);
    if (idSize)
        std::memcpy(out + recordSize + 4, child.m_pidl.get(), idSize);
}

std::vector<uint8_t> EncodeChildList(const oVoiceBook& parent, RecordLayout layout) {
    std::vector<uint8_t> out(ChildListSize(parent, layout));
    size_t at = 0;
    for (const oVoiceBook* child = parent.FirstChild(); child; child = child->Next()) {
        EncodeChildEntry(*child, layout, out.data() + at);
        at += ChildEntrySize(*child, layout);
    }
    return out;
}

} // namespace model
