// The template's value rules, on plain values.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "setup/template_rules.h"

namespace {

using setup::SubBookKind;

TEST(TemplateFieldsTest, RunsOfCommasAreOneSeparator) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(setup::SplitTemplateFields(L"a,b,c"), (V{L"a", L"b", L"c"}));
    EXPECT_EQ(setup::SplitTemplateFields(L"a,,b,,,c"), (V{L"a", L"b", L"c"}));
    EXPECT_EQ(setup::SplitTemplateFields(L",a,b,"), (V{L"a", L"b"}));
    EXPECT_EQ(setup::SplitTemplateFields(L" a , b"), (V{L" a ", L" b"}));
    EXPECT_EQ(setup::SplitTemplateFields(L""), V{});
    EXPECT_EQ(setup::SplitTemplateFields(L",,,"), V{});
}

TEST(TemplateFieldsTest, NumbersAreDigitsWithAnOptionalSign) {
    EXPECT_EQ(setup::ParseTemplateInt(L"1003"), 1003);
    EXPECT_EQ(setup::ParseTemplateInt(L"-4"), -4);
    EXPECT_EQ(setup::ParseTemplateInt(L"+7"), 7);
    EXPECT_FALSE(setup::ParseTemplateInt(L""));
    EXPECT_FALSE(setup::ParseTemplateInt(L"-"));
    EXPECT_FALSE(setup::ParseTemplateInt(L"12a"));
    EXPECT_FALSE(setup::ParseTemplateInt(L" 12"));
    EXPECT_FALSE(setup::ParseTemplateInt(L"99999999999"));
}

TEST(SubBookTest, NeedsNameAndId) {
    auto e = setup::ParseSubBook(L"Accessories,1001");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->name, L"Accessories");
    EXPECT_EQ(e->id, 1001);
    e = setup::ParseSubBook(L"Name,,,5,extra");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->id, 5);
    e = setup::ParseSubBook(L"Name,five");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->id, 0) << "not a number: an unknown id";
    EXPECT_FALSE(setup::ParseSubBook(L"NameOnly"));
    EXPECT_FALSE(setup::ParseSubBook(L",1001"));
    EXPECT_FALSE(setup::ParseSubBook(L""));
}

TEST(SubBookTest, IdTable) {
    const struct {
        int id;
        int csidl;
    } folders[] = {{1, CSIDL_DRIVES},  {2, CSIDL_CONTROLS},  {3, CSIDL_DESKTOP},
                   {4, CSIDL_NETWORK}, {5, CSIDL_BITBUCKET}, {6, CSIDL_PRINTERS},
                   {7, CSIDL_DRIVES}};
    for (const auto& f : folders) {
        const setup::SubBookPlan plan = setup::PlanSubBook(f.id, 6);
        EXPECT_EQ(plan.kind, SubBookKind::ShellFolder) << f.id;
        EXPECT_EQ(plan.specialFolder, f.csidl) << f.id;
    }
    EXPECT_EQ(setup::PlanSubBook(2, 10).kind, SubBookKind::Skip) << "Control Panel from 10 on";
    EXPECT_EQ(setup::PlanSubBook(2, 11).kind, SubBookKind::Skip);
    EXPECT_EQ(setup::PlanSubBook(1, 10).kind, SubBookKind::ShellFolder);

    const struct {
        int id;
        int image;
    } plain[] = {{103, 3}, {105, 5}, {110, 10}, {999, 899}, {1000, 1000}, {1003, 1003}};
    for (const auto& p : plain) {
        const setup::SubBookPlan plan = setup::PlanSubBook(p.id, 10);
        EXPECT_EQ(plan.kind, SubBookKind::Plain) << p.id;
        EXPECT_EQ(plan.defaultImage, p.image) << p.id;
    }
    for (int id : {0, -1, 8, 50, 102})
        EXPECT_EQ(setup::PlanSubBook(id, 10).kind, SubBookKind::Skip) << id;
}

TEST(SubBookTest, SingleByteEditionKnowsSixIdsAndKeepsControlPanel) {
    using setup::Edition;
    EXPECT_EQ(setup::PlanSubBook(7, 6, Edition::SingleByte).kind, SubBookKind::Skip);
    EXPECT_EQ(setup::PlanSubBook(6, 6, Edition::SingleByte).kind, SubBookKind::ShellFolder);
    const setup::SubBookPlan panel = setup::PlanSubBook(2, 10, Edition::SingleByte);
    EXPECT_EQ(panel.kind, SubBookKind::ShellFolder);
    EXPECT_EQ(panel.specialFolder, CSIDL_CONTROLS);
    EXPECT_EQ(setup::PlanSubBook(1003, 10, Edition::SingleByte).defaultImage, 1003);
}

TEST(SubBookTest, WhereTheBookmarkQuestionComes) {
    using setup::Edition;
    EXPECT_TRUE(setup::IsBookmarkSubBook(3, 3, L"Anything", Edition::Wide));
    EXPECT_FALSE(setup::IsBookmarkSubBook(2, 3, L"Bookmarks", Edition::Wide));
    EXPECT_TRUE(setup::IsBookmarkSubBook(2, 3, L"My Bookmarks", Edition::SingleByte));
    EXPECT_TRUE(setup::IsBookmarkSubBook(1, 3, L"\uBD81\uB9C8\uD06C", Edition::SingleByte));
    EXPECT_FALSE(setup::IsBookmarkSubBook(3, 3, L"Games", Edition::SingleByte));
}

TEST(TemplateValueTest, TheSingleByteEditionKeeps255BytesOfTheCodePage) {
    using setup::Edition;
    const std::wstring longValue(300, L'a');
    EXPECT_EQ(setup::KeptTemplateValue(longValue, Edition::Wide), longValue);
    EXPECT_EQ(setup::KeptTemplateValue(longValue, Edition::SingleByte), longValue.substr(0, 255));
    EXPECT_EQ(setup::KeptTemplateValue(L"Notepad,notepad.exe", Edition::SingleByte),
              L"Notepad,notepad.exe");
}

TEST(CommandTest, FieldsAndDefaults) {
    auto c = setup::ParseCommand(L"Site,https://example.org/");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->name, L"Site");
    EXPECT_EQ(c->target, L"https://example.org/");
    EXPECT_EQ(c->arguments, L"");
    EXPECT_EQ(c->image, setup::kDefaultWebImage);

    c = setup::ParseCommand(L"Site,https://example.org/,-,12");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->arguments, L"-");
    EXPECT_EQ(c->image, 12);

    // An empty arguments field vanishes: the image number becomes the arguments.
    c = setup::ParseCommand(L"Pad,notepad.exe,,12");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->arguments, L"12");
    EXPECT_EQ(c->image, setup::kDefaultWebImage);

    c = setup::ParseCommand(L"Site,http://x,args,not-a-number");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->image, setup::kDefaultWebImage);

    EXPECT_FALSE(setup::ParseCommand(L"OnlyName"));
    EXPECT_FALSE(setup::ParseCommand(L",,,"));
    EXPECT_FALSE(setup::ParseCommand(L""));
}

TEST(TemplateNamesTest, SectionsKeysAndCounts) {
    EXPECT_EQ(setup::SubSectionName(L"Root", L"System Tools"), L"Root_System Tools");
    EXPECT_EQ(setup::SubSectionName(L"Root_A", L"B"), L"Root_A_B");
    EXPECT_EQ(setup::EntryKey(L"SubBook", 3), L"SubBook3");
    EXPECT_EQ(setup::EntryKey(L"Command", 12), L"Command12");
    EXPECT_EQ(setup::ClampEntryCount(-3), 0);
    EXPECT_EQ(setup::ClampEntryCount(25), 25);
    EXPECT_EQ(setup::ClampEntryCount(2000000000), setup::kMaxTemplateEntries);
}

} // namespace
