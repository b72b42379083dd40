// Record layouts, headers, storage names and child lists as byte buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/text.h"
#include "model/child_list.h"
#include "model/record_codec.h"

using model::RecordLayout;

namespace {

uint32_t IntAt(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::wstring WideAt(const std::vector<uint8_t>& b, size_t at, size_t chars) {
    std::wstring s;
    for (size_t i = 0; i < chars; ++i) {
        const wchar_t c = static_cast<wchar_t>(b[at + 2 * i] | b[at + 2 * i + 1] << 8);
        if (!c)
            break;
        s.push_back(c);
    }
    return s;
}

bool AllZero(const std::vector<uint8_t>& b, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (b[i])
            return false;
    return true;
}

NodeRecordFields SampleFields() {
    NodeRecordFields f;
    f.name = L"Notepad";
    f.command = L"C:\\Windows\\notepad.exe";
    f.arguments = L"/a b";
    f.workDir = L"C:\\Temp";
    f.iconFile = L"C:\\icons.icl";
    f.iconIndex = -3;
    f.defaultImage = 1004;
    f.scanSubFolders = 1;
    f.kind = 0x14;
    f.flags = 0x8000000A;
    f.role = 1;
    f.showCmd = 3;
    return f;
}

void AppendInt(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// One child entry: a record named `name` and an identifier-list count with its bytes.
void AppendEntry(std::vector<uint8_t>& b, const wchar_t* name, uint32_t count,
                 const std::vector<uint8_t>& idBytes, RecordLayout layout = RecordLayout::Long) {
    NodeRecordFields f;
    f.name = name;
    f.kind = 0x14;
    const auto rec = model::EncodeRecord(f, layout);
    b.insert(b.end(), rec.begin(), rec.end());
    AppendInt(b, count);
    b.insert(b.end(), idBytes.begin(), idBytes.end());
}

// A list of one item with `payload` bytes, then the terminator.
std::vector<uint8_t> IdList(size_t payload) {
    std::vector<uint8_t> b(2 + payload + 2, 0x5A);
    b[0] = static_cast<uint8_t>(2 + payload);
    b[1] = 0;
    b[2 + payload] = 0;
    b[3 + payload] = 0;
    return b;
}

} // namespace

TEST(RecordCodecTest, LayoutSizesAndFieldOffsets) {
    EXPECT_EQ(model::RecordSize(RecordLayout::Short), 2844u);
    EXPECT_EQ(model::RecordSize(RecordLayout::Long), 10524u);
    EXPECT_EQ(model::RecordSize(RecordLayout::AnsiShort), 1564u);
    EXPECT_EQ(model::RecordSize(RecordLayout::AnsiLong), 5404u);

    const NodeRecordFields f = SampleFields();
    const auto rec = model::EncodeRecord(f, RecordLayout::Long);
    ASSERT_EQ(rec.size(), 10524u);
    EXPECT_EQ(WideAt(rec, 0, 1024), L"Notepad");
    EXPECT_EQ(WideAt(rec, 2048, 1024), L"C:\\Windows\\notepad.exe");
    EXPECT_EQ(WideAt(rec, 4096, 1024), L"/a b");
    EXPECT_EQ(WideAt(rec, 6144, 1024), L"C:\\Temp");
    EXPECT_EQ(WideAt(rec, 8192, 1024), L"C:\\icons.icl");
    EXPECT_EQ(IntAt(rec, 10240), static_cast<uint32_t>(-3));
    EXPECT_EQ(IntAt(rec, 10244), 1004u);
    EXPECT_EQ(IntAt(rec, 10248), 1u);
    EXPECT_EQ(IntAt(rec, 10252), 0x14u);
    EXPECT_EQ(IntAt(rec, 10256), 0x8000000Au);
    EXPECT_EQ(IntAt(rec, 10260), 1u);
    EXPECT_EQ(IntAt(rec, 10264), 3u);
    EXPECT_TRUE(AllZero(rec, 10268, 10524)); // reserved
    // The rest of each string field is zero.
    EXPECT_TRUE(AllZero(rec, 2 * 7, 2048));

    const auto shortRec = model::EncodeRecord(f, RecordLayout::Short);
    EXPECT_EQ(IntAt(shortRec, 2560), static_cast<uint32_t>(-3));
    EXPECT_EQ(IntAt(shortRec, 2584), 3u);
    EXPECT_TRUE(AllZero(shortRec, 2588, 2844));
}

TEST(RecordCodecTest, InitialRecordAndShowStateTen) {
    for (RecordLayout layout : {RecordLayout::Short, RecordLayout::Long, RecordLayout::AnsiShort,
                                RecordLayout::AnsiLong}) {
        const auto rec = model::InitialRecord(layout);
        const NodeRecordFields f = model::DecodeRecord(rec.data(), layout);
        EXPECT_TRUE(f.name.empty() && f.command.empty() && f.iconFile.empty());
        EXPECT_EQ(f.kind, 0);
        EXPECT_EQ(f.defaultImage, 0);
        EXPECT_EQ(f.showCmd, 1);
    }
    NodeRecordFields f = SampleFields();
    f.showCmd = 10;
    const auto rec = model::EncodeRecord(f, RecordLayout::Long);
    EXPECT_EQ(IntAt(rec, 10264), 1u);
    // A record that says 10 makes a node with show state 1.
    std::vector<uint8_t> raw = rec;
    raw[10264] = 10;
    EXPECT_EQ(model::DecodeRecord(raw.data(), RecordLayout::Long).showCmd, 10);
    EXPECT_EQ(oVoiceBook(model::DecodeRecord(raw.data(), RecordLayout::Long)).m_nShowCmd, 1);
}

TEST(RecordCodecTest, LongStringsAreCutToTheFieldWidth) {
    NodeRecordFields f;
    f.name = std::wstring(2000, L'x');
    f.name[1022] = L'A';
    f.name[1023] = L'B';
    const auto rec = model::EncodeRecord(f, RecordLayout::Long);
    const std::wstring longName = model::DecodeRecord(rec.data(), RecordLayout::Long).name;
    EXPECT_EQ(longName.size(), 1023u);
    EXPECT_EQ(longName.back(), L'A');
    EXPECT_EQ(rec[2046], 0); // the last unit is the terminator
    EXPECT_EQ(rec[2047], 0);

    const auto shortRec = model::EncodeRecord(f, RecordLayout::Short);
    EXPECT_EQ(model::DecodeRecord(shortRec.data(), RecordLayout::Short).name.size(), 255u);

    const auto ansi = model::EncodeRecord(f, RecordLayout::AnsiLong);
    EXPECT_EQ(model::DecodeRecord(ansi.data(), RecordLayout::AnsiLong).name.size(), 1023u);
    const auto ansiShort = model::EncodeRecord(f, RecordLayout::AnsiShort);
    EXPECT_EQ(model::DecodeRecord(ansiShort.data(), RecordLayout::AnsiShort).name.size(), 255u);
}

TEST(RecordCodecTest, AStringFillingItsWholeFieldEndsAtTheFieldEnd) {
    // Written by others without a terminator: read up to the end of the field.
    std::vector<uint8_t> rec = model::InitialRecord(RecordLayout::Short);
    for (size_t i = 0; i < 256; ++i)
        rec[2 * i] = 'q';
    EXPECT_EQ(model::DecodeRecord(rec.data(), RecordLayout::Short).name, std::wstring(256, L'q'));
    EXPECT_TRUE(model::DecodeRecord(rec.data(), RecordLayout::Short).command.empty());

    std::vector<uint8_t> ansi = model::InitialRecord(RecordLayout::AnsiShort);
    std::memset(ansi.data(), 'r', 256);
    EXPECT_EQ(model::DecodeRecord(ansi.data(), RecordLayout::AnsiShort).name,
              std::wstring(256, L'r'));
}

TEST(RecordCodecTest, AStringFieldWithoutItsTerminatorIsFound) {
    for (RecordLayout layout : {RecordLayout::Short, RecordLayout::Long, RecordLayout::AnsiShort,
                                RecordLayout::AnsiLong}) {
        SCOPED_TRACE(static_cast<int>(layout));
        const size_t field = model::StringFieldBytes(layout);
        const size_t unit = model::IsSingleByte(layout) ? 1 : 2;
        EXPECT_TRUE(model::RecordStringsTerminated(model::InitialRecord(layout).data(), layout));
        for (size_t k = 0; k < 5; ++k) {
            std::vector<uint8_t> rec = model::InitialRecord(layout);
            for (size_t at = k * field; at < (k + 1) * field - unit; at += unit)
                rec[at] = 'x'; // what a save writes at most
            EXPECT_TRUE(model::RecordStringsTerminated(rec.data(), layout));
            rec[(k + 1) * field - unit] = 'x';
            EXPECT_FALSE(model::RecordStringsTerminated(rec.data(), layout)) << k;
        }
    }
}

TEST(RecordCodecTest, SingleByteStringsGoThroughTheThreadsCodePage) {
    const LCID before = ::GetThreadLocale();
    NodeRecordFields f;
    f.name = L"Caf\u00e9 \u00fcber";
    // Western European: one byte per character in code page 1252.
    ASSERT_TRUE(::SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT)));
    auto rec = model::EncodeRecord(f, RecordLayout::AnsiLong);
    EXPECT_EQ(rec[3], 0xE9);
    EXPECT_EQ(rec[5], 0xFC);
    EXPECT_EQ(model::DecodeRecord(rec.data(), RecordLayout::AnsiLong).name, f.name);

    // The same bytes read under a Cyrillic thread locale (code page 1251) are other letters.
    ASSERT_TRUE(
        ::SetThreadLocale(MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT)));
    const std::wstring cyrillic = model::DecodeRecord(rec.data(), RecordLayout::AnsiLong).name;
    EXPECT_EQ(cyrillic, fw::FromCodePage("Caf\xe9 \xfc"
                                         "ber",
                                         1251));
    EXPECT_EQ(cyrillic[3], L'\u0439');
    f.name = L"\u0416\u0443\u0440\u043d\u0430\u043b";
    rec = model::EncodeRecord(f, RecordLayout::AnsiShort);
    EXPECT_EQ(rec[0], 0xC6);
    EXPECT_EQ(model::DecodeRecord(rec.data(), RecordLayout::AnsiShort).name, f.name);
    ::SetThreadLocale(before);
}

TEST(RecordCodecTest, Headers) {
    const auto h = model::EncodeHeader(5);
    ASSERT_EQ(h.size(), 520u);
    EXPECT_EQ(WideAt(h, 0, 256), L"ToolBar Data File for Lark-RunBar");
    EXPECT_TRUE(AllZero(h, 2 * 33, 512));
    EXPECT_EQ(IntAt(h, 512), 5u);
    EXPECT_EQ(IntAt(h, 516), 0u);
    EXPECT_EQ(model::DecodeHeader(h.data(), h.size()), 5);

    // Letter case does not matter; other text, or a header cut short, does.
    auto other = h;
    const std::wstring lower = L"toolbar data file for lark-runbar";
    for (size_t i = 0; i < lower.size(); ++i)
        other[2 * i] = static_cast<uint8_t>(lower[i]);
    EXPECT_EQ(model::DecodeHeader(other.data(), other.size()), 5);
    other[2] = 'x';
    EXPECT_FALSE(model::DecodeHeader(other.data(), other.size()));
    EXPECT_FALSE(model::DecodeHeader(h.data(), 519));

    const auto a = model::EncodeAnsiHeader(3);
    ASSERT_EQ(a.size(), 264u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(a.data())),
              "ToolBar Data File for Lark-RunBar");
    EXPECT_EQ(IntAt(a, 256), 3u);
    EXPECT_EQ(model::DecodeAnsiHeader(a.data(), a.size()), 3);
    auto upper = a;
    for (size_t i = 0; i < 33; ++i)
        upper[i] = static_cast<uint8_t>(::toupper(upper[i]));
    EXPECT_EQ(model::DecodeAnsiHeader(upper.data(), upper.size()), 3);
    EXPECT_FALSE(model::DecodeAnsiHeader(h.data(), h.size())); // wide text is not single-byte
}

TEST(RecordCodecTest, ChildLayoutFollowsTheVersion) {
    EXPECT_EQ(model::ChildLayout(false, 5), RecordLayout::Long);
    EXPECT_EQ(model::ChildLayout(false, 6), RecordLayout::Long);
    EXPECT_EQ(model::ChildLayout(false, 4), RecordLayout::Short);
    EXPECT_EQ(model::ChildLayout(true, 4), RecordLayout::AnsiLong);
    EXPECT_EQ(model::ChildLayout(true, 3), RecordLayout::AnsiShort);
    EXPECT_EQ(model::ChildLayout(true, 0), RecordLayout::AnsiShort);
}

TEST(RecordCodecTest, StorageNames) {
    EXPECT_EQ(model::StorageName(1, 2), L"01_0002");
    EXPECT_EQ(model::StorageName(2, 0), L"02_0000");
    EXPECT_EQ(model::StorageName(12, 345), L"12_0345");
    EXPECT_EQ(model::StorageName(123, 12345), L"123_12345");
}

TEST(ChildListTest, EntriesWithAndWithoutIdentifierLists) {
    oVoiceBook parent;
    parent.AddChild(ButtonFields(L"plain", L"a.exe"));
    oVoiceBook* shellItem = parent.AddChild(ButtonFields(L"item"));
    const auto id = IdList(18); // 20 bytes of item and 2 of terminator
    void* p = ::CoTaskMemAlloc(id.size());
    std::memcpy(p, id.data(), id.size());
    shellItem->SetPidl(fw::Pidl(static_cast<LPITEMIDLIST>(p)));

    const auto bytes = model::EncodeChildList(parent, RecordLayout::Long);
    ASSERT_EQ(bytes.size(), 10524u + 4 + 10524 + 4 + 22);
    EXPECT_EQ(IntAt(bytes, 10524), 0u);
    EXPECT_EQ(IntAt(bytes, 2 * 10524 + 4), 22u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 22, bytes.end()), id);

    const auto list = model::ParseChildList(bytes.data(), bytes.size(), RecordLayout::Long);
    EXPECT_EQ(list.end, model::ChildListEnd::Complete);
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0].fields.name, L"plain");
    EXPECT_EQ(list.entries[0].idListSize, 0u);
    EXPECT_EQ(list.entries[1].idListSize, 22u);
    EXPECT_EQ(std::memcmp(bytes.data() + list.entries[1].idListOffset, id.data(), 22), 0);
}

TEST(ChildListTest, ShortReadsEndTheListAndKeepWhatCameBefore) {
    std::vector<uint8_t> b;
    AppendEntry(b, L"one", 0, {});
    AppendEntry(b, L"two", 0, {});
    // Cut inside the second record, then inside the second count.
    auto list = model::ParseChildList(b.data(), b.size() - 5000, RecordLayout::Long);
    EXPECT_EQ(list.end, model::ChildListEnd::ShortRecord);
    ASSERT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(list.entries[0].fields.name, L"one");
    list = model::ParseChildList(b.data(), b.size() - 2, RecordLayout::Long);
    EXPECT_EQ(list.end, model::ChildListEnd::ShortCount);
    EXPECT_EQ(list.entries.size(), 2u);
    list = model::ParseChildList(b.data(), 0, RecordLayout::Long);
    EXPECT_EQ(list.end, model::ChildListEnd::Complete);
    EXPECT_TRUE(list.entries.empty());
}

TEST(ChildListTest, UnsoundIdentifierListsAreDroppedAndTheNodeKept) {
    // A count beyond the end of the stream: refused before anything is allocated; reading
    // stops because the next record's start is unknown.
    std::vector<uint8_t> b;
    AppendEntry(b, L"absurd", 0xFFFFFFF0u, IdList(4));
    auto list = model::ParseChildList(b.data(), b.size(), RecordLayout::Long);
    EXPECT_EQ(list.end, model::ChildListEnd::BadCount);
    ASSERT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(list.entries[0].fields.name, L"absurd");
    EXPECT_EQ(list.entries[0].idListSize, 0u);

    // Counts that fit but whose bytes are not a list: dropped, and the next entry is read.
    std::vector<uint8_t> noTerminator = IdList(4);
    noTerminator[6] = 1;
    std::vector<uint8_t> itemTooLong = IdList(4);
    itemTooLong[0] = 40;
    std::vector<uint8_t> extraAfterEnd = IdList(4);
    extraAfterEnd.push_back(0);
    b.clear();
    AppendEntry(b, L"a", static_cast<uint32_t>(noTerminator.size()), noTerminator);
    AppendEntry(b, L"b", static_cast<uint32_t>(itemTooLong.size()), itemTooLong);
    AppendEntry(b, L"c", static_cast<uint32_t>(extraAfterEnd.size()), extraAfterEnd);
    AppendEntry(b, L"d", 1, {0});
    AppendEntry(b, L"e", 8, IdList(4));
    list = model::ParseChildList(b.data(), b.size(), RecordLayout::Long);
    EXPECT_EQ(list.end, model::ChildListEnd::Complete);
    ASSERT_EQ(list.entries.size(), 5u);
    EXPECT_EQ(list.refusedIdLists, 4u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(list.entries[i].idListSize, 0u) << i;
    EXPECT_EQ(list.entries[4].fields.name, L"e");
    EXPECT_EQ(list.entries[4].idListSize, 8u);
}

TEST(ChildListTest, SingleByteChildLists) {
    std::vector<uint8_t> b;
    AppendEntry(b, L"short", 0, {}, RecordLayout::AnsiShort);
    AppendEntry(b, L"second", 8, IdList(4), RecordLayout::AnsiShort);
    ASSERT_EQ(b.size(), 1564u * 2 + 8 + 8);
    const auto list = model::ParseChildList(b.data(), b.size(), RecordLayout::AnsiShort);
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[1].fields.name, L"second");
    EXPECT_EQ(list.entries[1].idListSize, 8u);
    // The same bytes taken as long records are one short record.
    EXPECT_EQ(model::ParseChildList(b.data(), b.size(), RecordLayout::AnsiLong).end,
              model::ChildListEnd::ShortRecord);
}
