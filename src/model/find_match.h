#pragma once
// Finding buttons by what the user types: names folded (case and accents ignored), the kind
// of match of a name, and the order the matches are listed in.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace model {

// Lower case with accents dropped ("Über" and "uber" fold alike). ASCII is folded here; other
// text through the system's decomposition.
std::wstring FoldForFind(std::wstring_view text);

// How a name matches, best first.
enum class FindMatch { Prefix, WordPrefix, Initials, Substring, None };

// A name prepared once for many queries.
struct FindName {
    std::wstring folded;
    std::wstring initials;        // the first character of each word
    std::vector<uint16_t> starts; // where the words begin in `folded` (after the first)
};
FindName PrepareFindName(std::wstring_view name);
// `query` already folded and not empty.
FindMatch MatchFindName(const FindName& name, std::wstring_view foldedQuery);

struct FindCandidate {
    FindName name;
    uint32_t launches = 0;
    uint64_t lastLaunch = 0; // larger is more recent
};

// The candidates matching `query` (unfolded), at most `limit`, by kind of match, then the
// most launched, then the most recent, then their order. An empty query lists all of them,
// most launched first.
std::vector<size_t> RankFind(const std::vector<FindCandidate>& candidates, std::wstring_view query,
                             size_t limit);

// Ranking query after query as the user types. A query that goes on from the last one
// (folded) looks only among the last one's matches: adding characters never adds a match.
class FindSession {
public:
    // As RankFind; `candidates` must stay the same list until Reset.
    std::vector<size_t> Rank(const std::vector<FindCandidate>& candidates, std::wstring_view query,
                             size_t limit);
    void Reset();

private:
    std::wstring folded_;         // the last query, folded
    std::vector<size_t> matched_; // every candidate it matched, in order
    bool valid_ = false;
};

} // namespace model
