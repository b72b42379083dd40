// Drop blocks from other programs, well-formed and broken, read as byte spans.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "views/drop_data.h"
#include "views/drop_rules.h"

using Bytes = std::vector<uint8_t>;

namespace {

void Put32(Bytes& b, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        b.push_back(static_cast<uint8_t>(v >> shift));
}
void PutWide(Bytes& b, const std::wstring& s, bool terminate = true) {
    for (size_t i = 0; i < s.size() + (terminate ? 1 : 0); ++i) {
        b.push_back(static_cast<uint8_t>(s.c_str()[i]));
        b.push_back(static_cast<uint8_t>(s.c_str()[i] >> 8));
    }
}
Bytes FileList(uint32_t offset, bool wide) {
    Bytes b;
    Put32(b, offset);
    for (int i = 0; i < 3; ++i)
        Put32(b, 0); // point and non-client flag
    Put32(b, wide ? 1 : 0);
    return b;
}
// One identifier list: items of the given sizes (filled with 'x'), then the terminator.
Bytes IdList(std::vector<uint16_t> sizes) {
    Bytes b;
    for (uint16_t cb : sizes) {
        b.push_back(static_cast<uint8_t>(cb));
        b.push_back(static_cast<uint8_t>(cb >> 8));
        b.insert(b.end(), cb >= 2 ? cb - 2u : 0u, 'x');
    }
    b.push_back(0);
    b.push_back(0);
    return b;
}
// An item array of `count` with the given offsets followed by `lists`.
Bytes ItemArray(uint32_t count, std::vector<uint32_t> offsets, std::vector<Bytes> lists) {
    Bytes b;
    Put32(b, count);
    for (uint32_t o : offsets)
        Put32(b, o);
    for (const Bytes& l : lists)
        b.insert(b.end(), l.begin(), l.end());
    return b;
}

} // namespace

TEST(DropData, WellFormedBlocksGiveEveryPart) {
    Bytes wide = FileList(20, true);
    PutWide(wide, L"C:\\a.exe");
    PutWide(wide, L"C:\\b c.txt");
    PutWide(wide, L"");
    EXPECT_EQ(views::ParseFileList(wide.data(), wide.size()),
              (std::vector<std::wstring>{L"C:\\a.exe", L"C:\\b c.txt"}));

    Bytes narrow = FileList(20, false);
    const char text[] = "C:\\x.exe\0D:\\y\0";
    narrow.insert(narrow.end(), text, text + sizeof(text));
    EXPECT_EQ(views::ParseFileList(narrow.data(), narrow.size()),
              (std::vector<std::wstring>{L"C:\\x.exe", L"D:\\y"}));

    Bytes longPath = FileList(20, true);
    PutWide(longPath, std::wstring(2000, L'p'));
    EXPECT_EQ(views::ParseFileList(longPath.data(), longPath.size()).at(0).size(), 1023u);

    const Bytes parent = IdList({}), item = IdList({6, 4});
    const Bytes array = ItemArray(1, {12, 14}, {parent, item});
    views::ShellItemArray out;
    ASSERT_TRUE(views::ParseShellItemArray(array.data(), array.size(), out));
    EXPECT_EQ(out.parent, parent);
    EXPECT_EQ(out.items, std::vector<Bytes>{item});

    const char url[] = "http://example.org/";
    EXPECT_EQ(views::ParseAddress(url, sizeof(url)), L"http://example.org/");
}

TEST(DropData, MalformedBlocksAreReadOnlyAsFarAsWhole) {
    struct Case {
        const char* what;
        Bytes block;
        size_t paths;
    };
    Bytes unterminated = FileList(20, true);
    PutWide(unterminated, L"C:\\whole");
    PutWide(unterminated, L"C:\\cut", false);
    Bytes oddTail = FileList(20, true);
    PutWide(oddTail, L"C:\\a", false);
    oddTail.push_back('z');
    Bytes narrowCut = FileList(20, false);
    narrowCut.insert(narrowCut.end(), {'C', ':', 0, 'D', ':'});
    const Case lists[] = {
        {"empty block", {}, 0},
        {"header cut short", Bytes(12, 0), 0},
        {"offset past the end", FileList(4000, true), 0},
        {"offset inside the header", FileList(4, true), 0},
        {"offset at the very end", FileList(20, true), 0},
        {"second path without terminator", unterminated, 1},
        {"half a character at the end", oddTail, 0},
        {"narrow path without terminator", narrowCut, 1},
    };
    for (const Case& c : lists)
        EXPECT_EQ(views::ParseFileList(c.block.data(), c.block.size()).size(), c.paths) << c.what;

    struct ArrayCase {
        const char* what;
        Bytes block;
        bool taken;
        size_t items;
    };
    const Bytes parent = IdList({4}), item = IdList({6});
    const ArrayCase arrays[] = {
        {"count only", ItemArray(1, {}, {}), false, 0},
        {"count far beyond the block", ItemArray(0x40000000, {12, 18}, {parent, item}), false, 0},
        {"count wrapping the table size", ItemArray(0xFFFFFFFF, {12, 18}, {parent, item}), false,
         0},
        {"parent offset outside", ItemArray(1, {900, 18}, {parent, item}), false, 0},
        {"parent list running past", ItemArray(0, {8}, {Bytes{0x40, 0, 'x'}}), false, 0},
        {"item offset outside", ItemArray(1, {12, 900}, {parent, item}), true, 0},
        {"item list running past", ItemArray(2, {16, 22, 30}, {parent, item, {0x30, 0}}), true, 1},
        {"item of size one", ItemArray(1, {12, 18}, {parent, Bytes{1, 0, 0, 0}}), true, 0},
        {"item list without terminator", ItemArray(1, {12, 18}, {parent, Bytes{4, 0, 1, 2}}), true,
         0},
    };
    for (const ArrayCase& c : arrays) {
        views::ShellItemArray out;
        EXPECT_EQ(views::ParseShellItemArray(c.block.data(), c.block.size(), out), c.taken)
            << c.what;
        EXPECT_EQ(out.items.size(), c.items) << c.what;
    }

    const char noEnd[] = {'h', 't', 't', 'p'};
    EXPECT_EQ(views::ParseAddress(noEnd, sizeof(noEnd)), L"") << "address without terminator";
}
