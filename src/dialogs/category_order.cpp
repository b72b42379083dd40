#include "dialogs/category_order.h"

#include <unordered_set>
#include <utility>

#include "model/voice_book.h"

namespace dialogs {

std::vector<oVoiceBook*> ListedChildren(const oVoiceBook& root) {
    std::vector<oVoiceBook*> listed;
    for (oVoiceBook* child = root.FirstChild(); child; child = child->Next()) {
        if (child->IsItem())
            listed.push_back(child);
    }
    return listed;
}

int MoveEntry(std::vector<oVoiceBook*>& order, int index, int step) {
    const int count = static_cast<int>(order.size());
    const int to = index + step;
    if (index < 0 || index >= count || to < 0 || to >= count || (step != -1 && step != 1))
        return -1;
    std::swap(order[static_cast<size_t>(index)], order[static_cast<size_t>(to)]);
    return to;
}

void RelinkChildren(oVoiceBook& root, const std::vector<oVoiceBook*>& order) {
    std::vector<oVoiceBook*> children;
    for (oVoiceBook* child = root.FirstChild(); child; child = child->Next())
        children.push_back(child);
    std::unordered_set<oVoiceBook*> left(children.begin(), children.end());
    std::vector<oVoiceBook*> relinked;
    relinked.reserve(children.size());
    for (oVoiceBook* node : order) {
        if (left.erase(node)) // a child, and not taken yet
            relinked.push_back(node);
    }
    for (oVoiceBook* node : children) {
        if (left.count(node))
            relinked.push_back(node);
    }
    // Unlinking the first child and linking at the front stay cheap however many there are.
    while (oVoiceBook* first = root.FirstChild())
        root.Unlink(first);
    for (auto it = relinked.rbegin(); it != relinked.rend(); ++it)
        root.InsertFirstChild(*it);
}

} // namespace dialogs
