#pragma once
// How often and when each button was launched, for the order of the find box. Kept in a small
// file of its own beside the data file, keyed by what a node is (its category path, name and
// target) rather than by its serial number, so that the counts outlive saving and loading the
// tree. Losing the file loses only the order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

class oVoiceBook;

namespace model {

constexpr wchar_t kLaunchStatsFile[] = L"LarkB_U.launches";
// Entries beyond this many are dropped on saving, the least recent first.
constexpr size_t kMaxLaunchEntries = 4096;

struct LaunchRecord {
    uint32_t count = 0;
    uint64_t last = 0; // FILETIME of the last launch
};

class LaunchStats {
public:
    // The names of the categories above `node` (the root left out), its name and its target.
    static std::wstring KeyFor(const oVoiceBook& node);
    // The same built along a walk: `prefix` is the key prefix of the node's category (empty
    // for the root), and the prefix of a category's children is CategoryPrefix of it.
    static std::wstring KeyFor(const std::wstring& prefix, const oVoiceBook& node);
    static std::wstring CategoryPrefix(const std::wstring& prefix, const oVoiceBook& category);

    LaunchRecord Find(const std::wstring& key) const;
    void Record(const std::wstring& key, uint64_t when);
    size_t Size() const noexcept { return records_.size(); }

    // The file's text form; lines that do not read are skipped.
    std::string Encode() const;
    static LaunchStats Decode(std::string_view text);

    // A missing, unreadable or oversized file gives no entries.
    static LaunchStats Load(const std::wstring& path);
    bool Save(const std::wstring& path) const;

private:
    std::unordered_map<std::wstring, LaunchRecord> records_;
};

} // namespace model
