#include "model/child_list.h"

#include <cstring>

#include "model/pidl.h"

namespace model {
namespace {

uint32_t GetInt(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void AppendInt(std::vector<uint8_t>& out, uint32_t v) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                              static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    out.insert(out.end(), bytes, bytes + 4);
}

} // namespace

ParsedChildList ParseChildList(const uint8_t* data, size_t size, RecordLayout layout) {
    ParsedChildList out;
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
        ChildEntry entry;
        entry.fields = DecodeRecord(data + at, layout);
        at += recordSize;
        out.entries.push_back(std::move(entry));
        if (size - at < 4) {
            out.end = ChildListEnd::ShortCount;
            break;
        }
        const size_t count = GetInt(data + at);
        at += 4;
        if (count == 0)
            continue;
        // A count beyond the end cannot be skipped safely: the next record's start is lost.
        if (count > size - at) {
            out.end = ChildListEnd::BadCount;
            break;
        }
        if (PidlIsWellFormed(data + at, count)) {
            out.entries.back().idListOffset = at;
            out.entries.back().idListSize = count;
        } else {
            ++out.refusedIdLists;
        }
        at += count;
    }
    return out;
}

std::vector<uint8_t> EncodeChildList(const oVoiceBook& parent, RecordLayout layout) {
    const size_t recordSize = RecordSize(layout);
    size_t total = 0;
    for (const oVoiceBook* child = parent.FirstChild(); child; child = child->Next())
        total += recordSize + 4 + PidlSize(child->m_pidl);
    std::vector<uint8_t> out;
    out.reserve(total);
    for (const oVoiceBook* child = parent.FirstChild(); child; child = child->Next()) {
        const size_t start = out.size();
        out.resize(start + recordSize);
        EncodeRecord(child->ToRecord(), layout, out.data() + start);
        const size_t idSize = PidlSize(child->m_pidl);
        AppendInt(out, static_cast<uint32_t>(idSize));
        const auto* id = reinterpret_cast<const uint8_t*>(child->m_pidl);
        if (idSize)
            out.insert(out.end(), id, id + idSize);
    }
    return out;
}

} // namespace model
