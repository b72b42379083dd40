#pragma once
// What the find box lists: every category and button of the tree with its category path and
// its launch counts, prepared once when the box opens.
#include <cstdint>
#include <string>
#include <vector>

#include "model/find_match.h"

class oVoiceBook;
namespace model {
class LaunchStats;
}

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

} // namespace bar
