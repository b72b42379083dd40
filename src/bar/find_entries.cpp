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

} // namespace bar
