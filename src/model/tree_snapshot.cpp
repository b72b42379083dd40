#include "model/tree_snapshot.h"

#include <cstring>

#include "model/pidl.h"

namespace model {

uint32_t TreeSnapshot::Append(const oVoiceBook& node) {
    Node n{};
    const std::wstring* strings[5] = {&node.m_strName, &node.m_strCommand, &node.m_strArguments,
                                      &node.m_strWorkDir, &node.m_strIconFile};
    for (int i = 0; i < 5; ++i) {
        n.text[i] = static_cast<uint32_t>(text_.size());
        n.length[i] = static_cast<uint32_t>(strings[i]->size());
        text_.insert(text_.end(), strings[i]->begin(), strings[i]->end());
    }
    n.iconIndex = node.m_nIconIndex;
    n.defaultImage = node.m_nDefaultImage;
    n.scanSubFolders = node.m_bScanSubFolders;
    n.kind = node.m_nKind;
    n.flags = node.m_nFlags;
    n.role = node.m_nRole;
    n.showCmd = node.m_nShowCmd;
    if (const size_t size = PidlSize(node.m_pidl.get())) {
        n.idList = static_cast<uint32_t>(ids_.size());
        n.idSize = static_cast<uint32_t>(size);
        const auto* bytes = reinterpret_cast<const uint8_t*>(node.m_pidl.get());
        ids_.insert(ids_.end(), bytes, bytes + size);
    }
    nodes_.push_back(n);
    return static_cast<uint32_t>(nodes_.size() - 1);
}

void TreeSnapshot::Take(const oVoiceBook& root) {
    // clear() keeps the memory of the last snapshot.
    nodes_.clear();
    text_.clear();
    ids_.clear();
    open_.clear();
    Append(root);
    // Pre-order along the links; a node's end is set once its subtree is done.
    const oVoiceBook* node = root.FirstChild();
    while (node) {
        const uint32_t index = Append(*node);
        if (node->FirstChild()) {
            open_.push_back(index);
            node = node->FirstChild();
            continue;
        }
        const auto done = static_cast<uint32_t>(nodes_.size());
        nodes_[index].end = done;
        while (node && !node->Next()) {
            node = node->Parent();
            if (node == &root || !node) {
                node = nullptr;
                break;
            }
            nodes_[open_.back()].end = done;
            open_.pop_back();
        }
        if (node)
            node = node->Next();
    }
    nodes_[0].end = static_cast<uint32_t>(nodes_.size());
}

RecordView TreeSnapshot::Record(size_t node) const noexcept {
    const Node& n = nodes_[node];
    auto text = [&](int i) { return std::wstring_view(text_.data() + n.text[i], n.length[i]); };
    return RecordView{text(0),        text(1),          text(2), text(3), text(4), n.iconIndex,
                      n.defaultImage, n.scanSubFolders, n.kind,  n.flags, n.role,  n.showCmd};
}

} // namespace model
