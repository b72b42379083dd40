// Finding buttons by typing: folding, kinds of match, ranking, and the launch counts kept
// beside the data file.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/find_match.h"
#include "model/launch_stats.h"
#include "model/voice_book.h"
#include "support/test_util.h"

namespace {

using model::FindMatch;

TEST(FindMatchTest, NamesMatchByKindCaseAndAccentsIgnored) {
    const struct {
        const wchar_t* name;
        const wchar_t* query;
        FindMatch match;
    } cases[] = {
        {L"Control Panel", L"CON", FindMatch::Prefix},
        {L"Control Panel", L"pan", FindMatch::WordPrefix},
        {L"Control Panel", L"cp", FindMatch::Initials},
        {L"My Control-Panel", L"cp", FindMatch::Initials},
        {L"Control Panel", L"trol", FindMatch::Substring},
        {L"Control Panel", L"xyz", FindMatch::None},
        {L"Control Panel", L"c", FindMatch::Prefix},
        {L"\u00dcbersicht", L"uber", FindMatch::Prefix},
        {L"Caf\u00e9 Cr\u00e8me", L"CAFE CREME", FindMatch::Prefix},
        {L"Fichier r\u00e9cent", L"rec", FindMatch::WordPrefix},
        {L"\u0416\u0443\u043a", L"\u0436\u0443", FindMatch::Prefix},
        {L"7-Zip File Manager", L"zip", FindMatch::WordPrefix},
        {L"7-Zip File Manager", L"7zf", FindMatch::Initials},
        {L"", L"a", FindMatch::None},
    };
    for (const auto& c : cases) {
        const model::FindName name = model::PrepareFindName(c.name);
        EXPECT_EQ(model::MatchFindName(name, model::FoldForFind(c.query)), c.match)
            << testing::PrintToString(std::wstring(c.name)) << " / "
            << testing::PrintToString(std::wstring(c.query));
    }
}

std::vector<model::FindCandidate>
Candidates(const std::vector<std::tuple<const wchar_t*, uint32_t, uint64_t>>& rows) {
    std::vector<model::FindCandidate> out;
    for (const auto& [name, count, last] : rows)
        out.push_back({model::PrepareFindName(name), count, last});
    return out;
}

TEST(FindMatchTest, RankingByKindThenLaunchesThenRecencyThenOrder) {
    const auto candidates = Candidates({
        {L"Paint", 0, 0},            // 0 prefix
        {L"Control Panel", 9, 9},    // 1 word prefix, launched most
        {L"Paint Shop", 3, 5},       // 2 prefix, launched
        {L"Spaint", 50, 50},         // 3 substring
        {L"Photo Album Nine", 3, 7}, // 4 initials "pan", same count as 2, more recent
        {L"Notepad", 0, 0},          // 5 substring
        {L"Pa", 0, 0},               // 6 shorter than the query
        {L"Paintbrush", 3, 5},       // 7 prefix, the same as 2: order decides
    });
    EXPECT_EQ(model::RankFind(candidates, L"pa", 100),
              (std::vector<size_t>{2, 7, 0, 6, 1, 4, 3, 5}));
    EXPECT_EQ(model::RankFind(candidates, L"pai", 100), (std::vector<size_t>{2, 7, 0, 3}));
    EXPECT_EQ(model::RankFind(candidates, L"pan", 100), (std::vector<size_t>{1, 4}));
    EXPECT_EQ(model::RankFind(candidates, L"PA", 2), (std::vector<size_t>{2, 7}));
    // Nothing typed: everything, the most used first.
    EXPECT_EQ(model::RankFind(candidates, L"", 4), (std::vector<size_t>{3, 1, 4, 2}));
}

TEST(FindMatchTest, TypingQueryAfterQueryRanksAsAFreshRankingWould) {
    const auto candidates = Candidates({{L"Paint", 0, 0},
                                        {L"Control Panel", 9, 9},
                                        {L"Spaint", 50, 50},
                                        {L"Photo Album Nine", 3, 7},
                                        {L"Caf\u00e9 Pr\u00e8s", 1, 1},
                                        {L"Cpx", 0, 0}});
    model::FindSession session;
    // Refined, shortened, started again, and refined across the kinds of match.
    for (const wchar_t* query : {L"p", L"pa", L"pai", L"pa", L"pan", L"", L"c", L"cp", L"cpx",
                                 L"CP", L"cafe", L"caf\u00e9 p", L"zz", L"zzp"})
        EXPECT_EQ(session.Rank(candidates, query, 100), model::RankFind(candidates, query, 100))
            << testing::PrintToString(std::wstring(query));
}

TEST(LaunchStatsTest, KeysFollowTheTreeNotItsSerialsAndSurviveSaveAndLoad) {
    test::TempDir dir;
    oVoiceBook root;
    oVoiceBook* tools = root.AddChild(CategoryFields(L"Tools"));
    oVoiceBook* edit = tools->AddChild(ButtonFields(L"Edit", L"notepad.exe"));
    tools->AddChild(ButtonFields(L"Edit", L"wordpad.exe"));
    const std::wstring data = dir.path() + L"\\tree.tdb";
    ASSERT_TRUE(root.SaveFile(data));

    model::LaunchStats stats;
    stats.Record(model::LaunchStats::KeyFor(*edit), 100);
    stats.Record(model::LaunchStats::KeyFor(*edit), 50);
    stats.Record(model::LaunchStats::KeyFor(*tools), 70);
    stats.Record(L"odd\n%\t\x1f\u00e9key", 5);
    const std::wstring file = dir.path() + L"\\" + model::kLaunchStatsFile;
    ASSERT_TRUE(stats.Save(file)) << ::GetLastError();

    oVoiceBook loaded;
    ASSERT_TRUE(loaded.LoadFile(data));
    const oVoiceBook* tools2 = loaded.FirstChild();
    const model::LaunchStats back = model::LaunchStats::Load(file);
    ASSERT_EQ(back.Size(), 3u);
    const model::LaunchRecord r = back.Find(model::LaunchStats::KeyFor(*tools2->FirstChild()));
    EXPECT_EQ(r.count, 2u);
    EXPECT_EQ(r.last, 100u);
    EXPECT_EQ(back.Find(model::LaunchStats::KeyFor(*tools2->FirstChild()->Next())).count, 0u);
    EXPECT_EQ(back.Find(model::LaunchStats::KeyFor(*tools2)).count, 1u);
    EXPECT_EQ(back.Find(L"odd\n%\t\x1f\u00e9key").last, 5u);
}

TEST(LaunchStatsTest, DamagedTextLosesOnlyWhatDoesNotRead) {
    const struct {
        const char* text;
        size_t entries;
    } cases[] = {
        {"", 0},
        {"not the header\n1\t2\tkey\n", 0},
        {"larkRunBar launches 1\n1\t2\tkey\n", 1},
        {"larkRunBar launches 1\n1\t2\tkey", 1},
        {"larkRunBar launches 1\nx\t2\tkey\n3\t4\tother\n", 1},
        {"larkRunBar launches 1\n0\t2\tkey\n", 0},
        {"larkRunBar launches 1\n1\t2\t\n", 0},
        {"larkRunBar launches 1\n1\t2\tbad%4\n1\t2\tbad%G0\n", 0},
        {"larkRunBar launches 1\n99999999999\t2\tkey\n", 0},
        {"larkRunBar launches 1\n1\t99999999999999999999999\tkey\n", 0},
        {"larkRunBar launches 1\n1\t2\t\xff\xfe\n\n\n", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(model::LaunchStats::Decode(c.text).Size(), c.entries) << c.text;
    test::TempDir dir;
    EXPECT_EQ(model::LaunchStats::Load(dir.path() + L"\\missing").Size(), 0u);
}

} // namespace
