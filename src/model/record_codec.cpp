#include "model/record_codec.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "framework/text.h"

namespace model {
namespace {

constexpr int32_t kShowDefault = 10; // SW_SHOWDEFAULT, stored as normal
constexpr int kStringCount = 5;
constexpr size_t kHeaderTextBytes = 512;
constexpr size_t kAnsiHeaderTextBytes = 256;

void PutInt(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t GetInt(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// UTF-16 units, little-endian, at most `chars - 1` of them; the rest of the field stays zero.
void PutWide(uint8_t* field, size_t chars, std::wstring_view text) {
    const size_t n = std::min(text.size(), chars - 1);
    for (size_t i = 0; i < n; ++i) {
        const auto unit = static_cast<uint16_t>(text[i]);
        field[2 * i] = static_cast<uint8_t>(unit);
        field[2 * i + 1] = static_cast<uint8_t>(unit >> 8);
    }
}

std::wstring GetWide(const uint8_t* field, size_t chars) {
    // Measured first, so that the string is made once at its size.
    size_t n = 0;
    while (n < chars && (field[2 * n] | field[2 * n + 1]) != 0)
        ++n;
    std::wstring out(n, L'\0');
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<wchar_t>(field[2 * i] | field[2 * i + 1] << 8);
    return out;
}

// Single-byte text in `codePage`, cut to `bytes - 1` bytes without splitting a double-byte
// character.
void PutNarrow(uint8_t* field, size_t bytes, std::wstring_view text, UINT codePage) {
    const std::string narrow = fw::ToCodePage(text, codePage);
    std::memcpy(field, narrow.data(), fw::FittingCodePageBytes(narrow, bytes - 1, codePage));
}

// A path the code page cannot spell would come back naming nothing: it is kept by its short
// form when the system has one the code page can spell.
std::wstring SpellablePath(std::wstring_view text, UINT codePage) {
    const std::wstring path(text);
    if (path.empty() || fw::FromCodePage(fw::ToCodePage(path, codePage), codePage) == path)
        return path;
    const DWORD size = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        return path;
    std::wstring shortPath(size, L'\0');
    const DWORD n = ::GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (n == 0 || n >= size)
        return path;
    shortPath.resize(n);
    return fw::FromCodePage(fw::ToCodePage(shortPath, codePage), codePage) == shortPath ? shortPath
                                                                                        : path;
}

std::wstring GetNarrow(const uint8_t* field, size_t bytes, UINT codePage) {
    const void* zero = std::memchr(field, 0, bytes);
    const size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - field) : bytes;
    return fw::FromCodePage(std::string_view(reinterpret_cast<const char*>(field), n), codePage);
}

size_t IntegersOffset(RecordLayout layout) {
    return kStringCount * StringFieldBytes(layout);
}

} // namespace

bool IsSingleByte(RecordLayout layout) noexcept {
    return layout == RecordLayout::AnsiShort || layout == RecordLayout::AnsiLong;
}

size_t StringFieldChars(RecordLayout layout) noexcept {
    return (layout == RecordLayout::Short || layout == RecordLayout::AnsiShort) ? 256 : 1024;
}

size_t StringFieldBytes(RecordLayout layout) noexcept {
    return StringFieldChars(layout) * (IsSingleByte(layout) ? 1 : 2);
}

size_t RecordSize(RecordLayout layout) noexcept {
    return IntegersOffset(layout) + 7 * 4 + kReservedBytes;
}

RecordLayout ChildLayout(bool singleByte, int32_t version) noexcept {
    if (singleByte)
        return version > 3 ? RecordLayout::AnsiLong : RecordLayout::AnsiShort;
    return version > 4 ? RecordLayout::Long : RecordLayout::Short;
}

std::vector<uint8_t> InitialRecord(RecordLayout layout) {
    std::vector<uint8_t> record(RecordSize(layout), 0);
    PutInt(record.data() + IntegersOffset(layout) + 24, 1);
    return record;
}

RecordView ViewOf(const NodeRecordFields& f) noexcept {
    return RecordView{f.name,     f.command,   f.arguments,    f.workDir,
                      f.iconFile, f.iconIndex, f.defaultImage, f.scanSubFolders,
                      f.kind,     f.flags,     f.role,         f.showCmd};
}

void EncodeRecord(const NodeRecordFields& f, RecordLayout layout, uint8_t* out) {
    EncodeRecord(ViewOf(f), layout, out);
}

void EncodeRecord(const RecordView& f, RecordLayout layout, uint8_t* out) {
    const size_t size = RecordSize(layout);
    std::memset(out, 0, size);
    const size_t field = StringFieldBytes(layout);
    const std::wstring_view strings[kStringCount] = {f.name, f.command, f.arguments, f.workDir,
                                                     f.iconFile};
    const bool isPath[kStringCount] = {false, true, false, true, true};
    for (int i = 0; i < kStringCount; ++i) {
        uint8_t* at = out + static_cast<size_t>(i) * field;
        if (!IsSingleByte(layout))
            PutWide(at, StringFieldChars(layout), strings[i]);
        else if (isPath[i])
            PutNarrow(at, field, SpellablePath(strings[i], CP_THREAD_ACP), CP_THREAD_ACP);
        else
            PutNarrow(at, field, strings[i], CP_THREAD_ACP);
    }
    uint8_t* ints = out + IntegersOffset(layout);
    PutInt(ints + 0, static_cast<uint32_t>(f.iconIndex));
    PutInt(ints + 4, static_cast<uint32_t>(f.defaultImage));
    PutInt(ints + 8, static_cast<uint32_t>(f.scanSubFolders));
    PutInt(ints + 12, static_cast<uint32_t>(f.kind));
    PutInt(ints + 16, f.flags);
    PutInt(ints + 20, static_cast<uint32_t>(f.role));
    PutInt(ints + 24, static_cast<uint32_t>(f.showCmd == kShowDefault ? 1 : f.showCmd));
}

std::vector<uint8_t> EncodeRecord(const NodeRecordFields& fields, RecordLayout layout) {
    std::vector<uint8_t> record(RecordSize(layout));
    EncodeRecord(fields, layout, record.data());
    return record;
}

void FillRecord(std::vector<uint8_t>& record, RecordLayout layout, const oVoiceBook& node) {
    record = InitialRecord(layout);
    EncodeRecord(node.ToRecord(), layout, record.data());
}

namespace {

// The integers of a record, its strings left empty.
NodeRecordFields DecodeNumbers(const uint8_t* data, RecordLayout layout) {
    NodeRecordFields f;
    const uint8_t* ints = data + IntegersOffset(layout);
    f.iconIndex = static_cast<int32_t>(GetInt(ints + 0));
    f.defaultImage = static_cast<int32_t>(GetInt(ints + 4));
    f.scanSubFolders = static_cast<int32_t>(GetInt(ints + 8));
    f.kind = static_cast<int32_t>(GetInt(ints + 12));
    f.flags = GetInt(ints + 16);
    f.role = static_cast<int32_t>(GetInt(ints + 20));
    f.showCmd = static_cast<int32_t>(GetInt(ints + 24));
    return f;
}

} // namespace

NodeRecordFields DecodeRecord(const uint8_t* data, RecordLayout layout) {
    NodeRecordFields f = DecodeNumbers(data, layout);
    const size_t field = StringFieldBytes(layout);
    std::wstring* strings[kStringCount] = {&f.name, &f.command, &f.arguments, &f.workDir,
                                           &f.iconFile};
    for (int i = 0; i < kStringCount; ++i) {
        const uint8_t* at = data + static_cast<size_t>(i) * field;
        *strings[i] = IsSingleByte(layout) ? GetNarrow(at, field, CP_THREAD_ACP)
                                           : GetWide(at, StringFieldChars(layout));
    }
    return f;
}

void DecodeRecordInto(const uint8_t* data, RecordLayout layout, oVoiceBook& node) {
    if (IsSingleByte(layout)) {
        node.SetFromRecord(DecodeRecord(data, layout));
        return;
    }
    node.SetFromRecord(DecodeNumbers(data, layout));
    const size_t field = StringFieldBytes(layout);
    NodeText* texts[kStringCount] = {&node.m_strName, &node.m_strCommand, &node.m_strArguments,
                                     &node.m_strWorkDir, &node.m_strIconFile};
    for (int i = 0; i < kStringCount; ++i)
        *texts[i] = NodeText::FromLittleEndian(data + static_cast<size_t>(i) * field,
                                               StringFieldChars(layout));
}

bool RecordStringsTerminated(const uint8_t* data, RecordLayout layout) noexcept {
    const size_t field = StringFieldBytes(layout);
    const size_t unit = IsSingleByte(layout) ? 1 : 2;
    for (int i = 0; i < kStringCount; ++i) {
        const uint8_t* at = data + static_cast<size_t>(i) * field;
        bool terminated = false;
        for (size_t k = 0; k < field && !terminated; k += unit)
            terminated = at[k] == 0 && (unit == 1 || at[k + 1] == 0);
        if (!terminated)
            return false;
    }
    return true;
}

std::vector<uint8_t> EncodeHeader(int32_t version) {
    std::vector<uint8_t> header(kHeaderSize, 0);
    PutWide(header.data(), kHeaderTextBytes / 2, kHeaderText);
    PutInt(header.data() + kHeaderTextBytes, static_cast<uint32_t>(version));
    return header;
}

std::vector<uint8_t> EncodeAnsiHeader(int32_t version) {
    std::vector<uint8_t> header(kAnsiHeaderSize, 0);
    PutNarrow(header.data(), kAnsiHeaderTextBytes, kHeaderText, CP_ACP);
    PutInt(header.data() + kAnsiHeaderTextBytes, static_cast<uint32_t>(version));
    return header;
}

std::optional<int32_t> DecodeHeader(const uint8_t* data, size_t size) {
    if (!data || size < kHeaderSize)
        return std::nullopt;
    if (!fw::EqualsNoCase(GetWide(data, kHeaderTextBytes / 2), kHeaderText))
        return std::nullopt;
    return static_cast<int32_t>(GetInt(data + kHeaderTextBytes));
}

std::optional<int32_t> DecodeAnsiHeader(const uint8_t* data, size_t size) {
    if (!data || size < kAnsiHeaderSize)
        return std::nullopt;
    if (!fw::EqualsNoCase(GetNarrow(data, kAnsiHeaderTextBytes, CP_ACP), kHeaderText))
        return std::nullopt;
    return static_cast<int32_t>(GetInt(data + kAnsiHeaderTextBytes));
}

std::wstring StorageName(int depth, int position) {
    // Made for every node a file is read into: digits set by hand rather than formatted.
    if (depth < 0 || position < 0) {
        wchar_t name[32] = {};
        std::swprintf(name, 32, L"%02d_%04d", depth, position);
        return name;
    }
    const auto digits = [](int n, size_t least) {
        wchar_t text[16];
        size_t at = 16;
        do {
            text[--at] = static_cast<wchar_t>(L'0' + n % 10);
            n /= 10;
        } while (n > 0 || 16 - at < least);
        return std::wstring(text + at, 16 - at);
    };
    return digits(depth, 2) + L'_' + digits(position, 4);
}

} // namespace model
