#include "bar/find_entries.h"

#include "model/launch_stats.h"
#include "model/voice_book.h"

namespace bar {

namespace {
constexpr wchar_t kPathJoint[] = L" \u203a ";
}

std::wstring CategoryPath(const oVoiceBook& node) {
    std::wstring path;
    for (const oVoiceBook* n = node.Parent(); n && n->Parent(); n = n->Parent())
        path = path.empty() ? n->m_strName : n->m_strName + kPathJoint + path;
    return path;
}

FindList CollectFindEntries(const oVoiceBook& root, const model::LaunchStats& stats) {
    FindList list;
    // An iterative walk: the launch-key prefixes of the open categories stand on a stack.
    std::vector<std::wstring> keys{std::wstring()};
    const bool counted = stats.Size() > 0;
    const oVoiceBook* node = root.FirstChild();
    while (node) {
        if (node->m_nRole == ROLE_NORMAL && (node->IsButton() || node->IsCategory())) {
            const model::LaunchRecord r =
                counted ? stats.Find(model::LaunchStats::KeyFor(keys.back(), *node))
                        : model::LaunchRecord{};
            list.candidates.push_back({model::PrepareFindName(node->m_strName), r.count, r.last});
            list.entries.push_back({node->m_nSerial, node->IsCategory()});
        }
        if (node->FirstChild()) {
            keys.push_back(model::LaunchStats::CategoryPrefix(keys.back(), *node));
            node = node->FirstChild();
            continue;
        }
        while (node && node != &root && !node->Next()) {
            node = node->Parent();
            if (node != &root) {
                keys.pop_back();
            }
        }
        node = node && node != &root ? node->Next() : nullptr;
    }
    return list;
}

uint64_t FindTreeStamp(const oVoiceBook& root) {
    // FNV-1a over each node's serial number, kind, role and name, in the order of the tree.
    uint64_t hash = 0xcbf29ce484222325ull;
    const auto mix = [&hash](uint64_t value) { hash = (hash ^ value) * 0x100000001b3ull; };
    const oVoiceBook* node = root.FirstChild();
    while (node) {
        mix(node->m_nSerial);
        mix(static_cast<uint64_t>(static_cast<uint32_t>(node->m_nKind)) << 32 |
            static_cast<uint32_t>(node->m_nRole));
        for (wchar_t c : node->m_strName)
            mix(c);
        mix(0x10000); // the end of a name: no two lists of names run together alike
        if (node->FirstChild()) {
            mix(1);
            node = node->FirstChild();
            continue;
        }
        while (node && node != &root && !node->Next()) {
            mix(2);
            node = node->Parent();
        }
        node = node && node != &root ? node->Next() : nullptr;
    }
    return hash;
}

std::shared_ptr<const FindList> FindEntriesCache::For(const oVoiceBook& root,
                                                      const model::LaunchStats& stats) {
    const uint64_t stamp = FindTreeStamp(root);
    if (!list_ || root_ != &root || stamp != stamp_) {
        list_ = std::make_shared<FindList>(CollectFindEntries(root, stats));
        root_ = &root;
        stamp_ = stamp;
    }
    return list_;
}

void FindEntriesCache::NoteLaunch(uint64_t serial, const model::LaunchRecord& record) {
    if (!list_)
        return;
    for (size_t i = 0; i < list_->entries.size(); ++i) {
        if (list_->entries[i].serial == serial) {
            list_->candidates[i].launches = record.count;
            list_->candidates[i].lastLaunch = record.last;
            return;
        }
    }
}

} // namespace bar
