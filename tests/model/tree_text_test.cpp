// The tree's readable backup: written and read back field for field, hand-edited texts, and
// every refusal naming its line.
#include <gtest/gtest.h>

#include "model/tree_text.h"
#include "sample_trees.h"

namespace {

using model::TreeTextError;

std::unique_ptr<oVoiceBook> ReadBack(const oVoiceBook& root) {
    model::TreeTextResult r = model::TreeFromText(model::TreeToText(root));
    EXPECT_EQ(r.error, TreeTextError::None) << "line " << r.line;
    return std::move(r.root);
}

TEST(TreeText, SampleTreesComeBackFieldForField) {
    const struct {
        uint32_t seed;
        int buttons, depth;
    } cases[] = {{1, 0, 1}, {2, 30, 2}, {3, 400, 6}, {4, 2000, 12}};
    for (const auto& c : cases) {
        oVoiceBook root;
        sample::BuildTree(root, c.seed, c.buttons, c.depth);
        const std::unique_ptr<oVoiceBook> back = ReadBack(root);
        ASSERT_TRUE(back) << c.seed;
        EXPECT_EQ(sample::CompareTrees(root, *back), "") << c.seed;
        // Taken as the whole tree in place of another.
        oVoiceBook target;
        sample::BuildTree(target, c.seed + 100, 20, 2);
        model::TakeWholeTree(target, *back);
        EXPECT_EQ(sample::CompareTrees(root, target), "") << c.seed;
        EXPECT_FALSE(back->FirstChild());
    }
}

TEST(TreeText, OddTextsComeBack) {
    const std::wstring texts[] = {L"",
                                  L" leading",
                                  L"trailing\t",
                                  L"\"quoted\"",
                                  L"a\"b\\c",
                                  L"two\r\nlines",
                                  L"=;#[Root_1]",
                                  L"\\\\server\\share\\%ProgramFiles%\\",
                                  L"\x01\x7F\x1F",
                                  std::wstring(1, wchar_t(0xD800)) + L"x",
                                  std::wstring(1, wchar_t(0xDFFF)),
                                  L"\xD83D\xDE00 \u4e2d\u6587 \u00e4\u00df \uFEFF",
                                  std::wstring(3000, L'w')};
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    for (const std::wstring& t : texts) {
        NodeRecordFields f = ButtonFields(t, t);
        f.arguments = f.workDir = f.iconFile = t;
        root.AddChild(CategoryFields(t))->AddChild(f);
    }
    root.SetCommand(texts[5].c_str());
    root.FirstChild()->m_nKind = -2; // whatever a damaged file held comes back too
    const std::unique_ptr<oVoiceBook> back = ReadBack(root);
    ASSERT_TRUE(back);
    EXPECT_EQ(sample::CompareTrees(root, *back), "");
}

TEST(TreeText, HandWrittenTextTakesDefaultsGapsAndComments) {
    const char* text = "# my bar\n"
                       "[ Root ]\n"
                       "Name = Mine \n"
                       "\n"
                       "[Root_5]\n"
                       "Kind=18\n"
                       "Name=\"  Tools \"\n"
                       "[Root_5_2]\r\n"
                       "Kind=0x14\r\n"
                       "Flags=0xFFFFFFFF\r\n"
                       "IconIndex=-7\r\n"
                       "IdList=0400AB000000\r\n"
                       "[Root_9]\n"
                       "Kind=0x12";
    const model::TreeTextResult r = model::TreeFromText(text);
    ASSERT_EQ(r.error, TreeTextError::None) << r.line;
    EXPECT_EQ(r.root->m_strName, L"Mine");
    EXPECT_EQ(r.root->m_nKind, KIND_BOOK);
    const oVoiceBook* tools = r.root->FirstChild();
    ASSERT_TRUE(tools && tools->Next() && !tools->Next()->Next());
    EXPECT_EQ(tools->m_strName, L"  Tools ");
    EXPECT_EQ(tools->m_nDefaultImage, -1);
    EXPECT_EQ(tools->m_nShowCmd, 1);
    const oVoiceBook* button = tools->FirstChild();
    ASSERT_TRUE(button);
    EXPECT_EQ(button->m_nDepth, 2);
    EXPECT_EQ(button->m_nFlags, 0xFFFFFFFFu);
    EXPECT_EQ(button->m_nIconIndex, -7);
    EXPECT_EQ(model::PidlSize(button->m_pidl.get()), 6u);
}

TEST(TreeText, BadTextsAreRefusedNamingTheirLine) {
    const struct {
        const char* text;
        TreeTextError error;
        size_t line;
    } cases[] = {
        {"", TreeTextError::ExpectedRoot, 1},
        {"; only a comment\n", TreeTextError::ExpectedRoot, 2},
        {"Name=x\n[Root]", TreeTextError::ExpectedRoot, 1},
        {"[Root_1]\nKind=0x12", TreeTextError::ExpectedRoot, 1},
        {"[Root]\nName=\xC3\x28", TreeTextError::NotUtf8, 2},
        {"[Root]\nName=\xED\xA0\x80", TreeTextError::NotUtf8, 2},
        {"[Root]\nName=\xC0\xAF", TreeTextError::NotUtf8, 2},
        {"[Root]\n[Root_0]", TreeTextError::BadSection, 2},
        {"[Root]\n[Root_1x]", TreeTextError::BadSection, 2},
        {"[Root]\n[Tools]", TreeTextError::BadSection, 2},
        {"[Root]\n[Root_1", TreeTextError::BadSection, 2},
        {"[Root]\n[Root_1_1]\nKind=0x14", TreeTextError::NoParent, 2},
        {"[Root]\n[Root_2]\nKind=0x12\n[Root_2]\nKind=0x12", TreeTextError::OutOfOrder, 4},
        {"[Root]\n[Root_2]\nKind=0x12\n[Root_1]\nKind=0x12", TreeTextError::OutOfOrder, 4},
        {"[Root]\n[Root]", TreeTextError::OutOfOrder, 2},
        {"[Root]\njust words", TreeTextError::BadLine, 2},
        {"[Root]\n=x", TreeTextError::BadLine, 2},
        {"[Root]\nColour=red", TreeTextError::UnknownEntry, 2},
        {"[Root]\nIdList=0000", TreeTextError::UnknownEntry, 2},
        {"[Root]\n[Root_1]\nKind=0x12\nFormat=1", TreeTextError::UnknownEntry, 4},
        {"[Root]\nName=a\nName=b", TreeTextError::Repeated, 3},
        {"[Root]\nIconIndex=2147483648", TreeTextError::BadNumber, 2},
        {"[Root]\nIconIndex=0x100000000", TreeTextError::BadNumber, 2},
        {"[Root]\nFlags=-1", TreeTextError::BadNumber, 2},
        {"[Root]\nShowCmd=", TreeTextError::BadNumber, 2},
        {"[Root]\nRole=1.5", TreeTextError::BadNumber, 2},
        {"[Root]\nName=\"open", TreeTextError::BadQuote, 2},
        {"[Root]\nName=\"a\" b", TreeTextError::BadQuote, 2},
        {"[Root]\nName=\"\\q\"", TreeTextError::BadQuote, 2},
        {"[Root]\nName=\"\\u12G4\"", TreeTextError::BadQuote, 2},
        {"[Root]\n[Root_1]\nKind=0x14\nIdList=040", TreeTextError::BadIdList, 4},
        {"[Root]\n[Root_1]\nKind=0x14\nIdList=0500AB0000", TreeTextError::BadIdList, 4},
        {"[Root]\n[Root_1]\nKind=0x14\nIdList=zz00", TreeTextError::BadIdList, 4},
        {"[Root]\n[Root_1]\nName=x\n[Root_2]\nKind=0x12", TreeTextError::NoKind, 2},
        {"[Root]\n[Root_1]\nName=x", TreeTextError::NoKind, 2},
        {"[Root]\nFormat=2", TreeTextError::UnknownFormat, 2},
    };
    for (const auto& c : cases) {
        const model::TreeTextResult r = model::TreeFromText(c.text);
        EXPECT_EQ(r.error, c.error) << c.text;
        EXPECT_EQ(r.line, c.line) << c.text;
        EXPECT_FALSE(r.root) << c.text;
    }
}

} // namespace
