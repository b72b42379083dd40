#pragma once
// Byte layouts of the data file: the header records and the four node-record layouts, as
// pure functions over byte buffers. All integers are 32-bit little-endian.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/voice_book.h"

namespace model {

// The four node-record layouts share one field order and differ in string width and
// character size.
enum class RecordLayout {
    Short,     // 256 UTF-16 units a string: "Node.INF", and children of version 4 or lower
    Long,      // 1024 UTF-16 units: children of version 5 or higher
    AnsiShort, // 256 bytes: single-byte "Node.INF", and children of version 3 or lower
    AnsiLong,  // 1024 bytes: single-byte children of version 4 or higher
};

constexpr size_t kHeaderSize = 520;
constexpr size_t kAnsiHeaderSize = 264;
constexpr int32_t kCurrentVersion = 5;
constexpr int32_t kAnsiVersion = 3; // what the single-byte build writes
constexpr wchar_t kHeaderText[] = L"ToolBar Data File for Lark-RunBar";
constexpr size_t kReservedBytes = 256;

bool IsSingleByte(RecordLayout layout) noexcept;
// Byte size of one string field.
size_t StringFieldBytes(RecordLayout layout) noexcept;
// Characters a string field holds (the last one is always the terminating zero).
size_t StringFieldChars(RecordLayout layout) noexcept;
// 2844, 10524, 1564 or 5404.
size_t RecordSize(RecordLayout layout) noexcept;
// Layout of the child records: the version alone chooses it.
RecordLayout ChildLayout(bool singleByte, int32_t version) noexcept;

// The fields of one record with its texts kept elsewhere (a snapshot of the tree holds them in
// one block).
struct RecordView {
    std::wstring_view name, command, arguments, workDir, iconFile;
    int32_t iconIndex = 0;
    int32_t defaultImage = 0;
    int32_t scanSubFolders = 0;
    int32_t kind = 0;
    uint32_t flags = 0;
    int32_t role = 0;
    int32_t showCmd = 1;
};
RecordView ViewOf(const NodeRecordFields& fields) noexcept;

// A record before use: empty strings, integers 0, show state 1, reserved block zero.
std::vector<uint8_t> InitialRecord(RecordLayout layout);
// Writes the fields into `out` (RecordSize bytes): strings cut to the field width, show
// state 10 written as 1, reserved block zero. Single-byte strings go through the thread's
// code page.
void EncodeRecord(const RecordView& fields, RecordLayout layout, uint8_t* out);
void EncodeRecord(const NodeRecordFields& fields, RecordLayout layout, uint8_t* out);
std::vector<uint8_t> EncodeRecord(const NodeRecordFields& fields, RecordLayout layout);
// The node's record as a save writes it.
void FillRecord(std::vector<uint8_t>& record, RecordLayout layout, const oVoiceBook& node);
// Reads RecordSize bytes. A string ends at its first zero or at the end of its field.
NodeRecordFields DecodeRecord(const uint8_t* data, RecordLayout layout);
// The same straight into `node`, as node.SetFromRecord(DecodeRecord(data, layout)) but with
// each wide text made once, in the node's own block.
void DecodeRecordInto(const uint8_t* data, RecordLayout layout, oVoiceBook& node);
// True when every string field of the record (RecordSize bytes) holds its terminating zero.
// A save cuts strings to leave room for it, so a field that fills its whole width cannot be
// written back as it was read.
bool RecordStringsTerminated(const uint8_t* data, RecordLayout layout) noexcept;

// Header records. The text after the terminating zero is zero.
std::vector<uint8_t> EncodeHeader(int32_t version);
std::vector<uint8_t> EncodeAnsiHeader(int32_t version);
// The version when `size` bytes hold a complete header whose text is the expected one,
// ignoring letter case; nothing otherwise.
std::optional<int32_t> DecodeHeader(const uint8_t* data, size_t size);
std::optional<int32_t> DecodeAnsiHeader(const uint8_t* data, size_t size);

// Name of the sub-storage that holds the children of the node at `depth` and `position`
// ("%02d_%04d").
std::wstring StorageName(int depth, int position);

} // namespace model
