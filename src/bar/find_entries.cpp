#include "bar/find_entries.h"

#include "model/launch_stats.h"
#include "model/voice_book.h"

namespace bar {

namespace {
constexpr wchar_t kPathJoint[] = L" \u203a ";
}

FindList CollectFindEntries(const oVoiceBook& root, const model::LaunchStats& stats) {
    FindList list;
    // An iterative walk: the paths of the open categories stand on a stack of their own.
    std::vector<std::wstring> paths{std::wstring()};
    const oVoiceBook* node = root.FirstChild();
    while (node) {
        const std::wstring& path = paths.back();
        if (node->m_nRole == ROLE_NORMAL && (node->IsButton() || node->IsCategory())) {
            FindEntry entry{node->m_nSerial, node->m_strName, path, node->IsCategory()};
            const model::LaunchRecord r = stats.Find(model::LaunchStats::KeyFor(*node));
            list.candidates.push_back({model::PrepareFindName(node->m_strName), r.count, r.last});
            list.entries.push_back(std::move(entry));
        }
        if (node->FirstChild()) {
            paths.push_back(path.empty() ? node->m_strName : path + kPathJoint + node->m_strName);
            node = node->FirstChild();
            continue;
        }
        while (node && node != &root && !node->Next()) {
            node = node->Parent();
            if (node != &root)
                paths.pop_back();
        }
        node = node && node != &root ? node->Next() : nullptr;
    }
    return list;
}

} // namespace bar
