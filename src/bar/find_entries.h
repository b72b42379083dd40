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

struct FindEntry {
    uint64_t serial = 0; // looked up again when chosen: the tree may change meanwhile
    std::wstring name;
    std::wstring path; // the categories above it, outermost first
    bool category = false;
};

struct FindList {
    std::vector<FindEntry> entries;
    std::vector<model::FindCandidate> candidates; // by the same index
};

// Separators and "go up" buttons are left out, and so is the root.
FindList CollectFindEntries(const oVoiceBook& root, const model::LaunchStats& stats);

} // namespace bar
