#pragma once
// What the find box lists: every category and button of the tree with its category path and
// its launch counts, prepared once and kept between openings until the tree changes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/find_match.h"

class oVoiceBook;
namespace model {
class LaunchStats;
struct LaunchRecord;
} // namespace model

namespace bar {

// Name and path are read from the node when its row is drawn: most entries never are.
struct FindEntry {
    uint64_t serial = 0; // looked up again when drawn or chosen: the tree may change meanwhile
    bool category = false;
};

// The names of the categories above `node` (the root left out), outermost first.
std::wstring CategoryPath(const oVoiceBook& node);

struct FindList {
    std::vector<FindEntry> entries;
    std::vector<model::FindCandidate> candidates; // by the same index
};

// Separators and "go up" buttons are left out, and so is the root.
FindList CollectFindEntries(const oVoiceBook& root, const model::LaunchStats& stats);

// What the entries are made of under `root` (the nodes, their kinds and names), as one number
// that changes with any of it. Far cheaper than collecting the entries again.
uint64_t FindTreeStamp(const oVoiceBook& root);

// The entries of the last opening, collected again only when the tree has changed since.
class FindEntriesCache {
public:
    std::shared_ptr<const FindList> For(const oVoiceBook& root, const model::LaunchStats& stats);
    // A launch was counted: the node's entry takes its new counts in place.
    void NoteLaunch(uint64_t serial, const model::LaunchRecord& record);

private:
    std::shared_ptr<FindList> list_;
    const oVoiceBook* root_ = nullptr;
    uint64_t stamp_ = 0;
};

} // namespace bar
