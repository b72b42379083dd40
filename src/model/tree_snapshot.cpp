#include "model/tree_snapshot.h"

#include <cstring>

#include "model/pidl.h"

namespace model {

uint32_t TreeSnapshot::Append(const oVoiceBook& node) {
    // The walk waits on memory, node after node. The nodes of the last walk are most likely
    // the ones coming now: asking for them ahead lets the waits overlap. Only a hint: an
    // address noted then may be of a node gone since, and is never read here.
    const size_t index = nodes_.size();
    if (index + kAhead < seen_.size()) {
        const char* ahead = static_cast<const char*>(seen_[index + kAhead]);
        for (size_t line = 0; line < sizeof(oVoiceBook); line += 64)
            __builtin_prefetch(ahead + line);
    }
    if (index < seen_.size())
        seen_[index] = &node;
    else
        seen_.push_back(&node);
    Node n{};
    n.text[0] = node.m_strName.Peek();
    n.text[1] = node.m_strCommand.Peek();
    n.text[2] = node.m_strArguments.Peek();
    n.text[3] = node.m_strWorkDir.Peek();
    n.text[4] = node.m_strIconFile.Peek();
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
    ids_.clear();
    open_.clear();
    hold_.Begin();
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

void TreeSnapshot::Plan(const oVoiceBook& root) {
    // The order of Take: pre-order from the root.
    seen_.clear();
    plannedIds_ = 0;
    const oVoiceBook* node = &root;
    while (node) {
        seen_.push_back(node);
        plannedIds_ += PidlSize(node->m_pidl.get());
        if (node->FirstChild()) {
            node = node->FirstChild();
            continue;
        }
        while (node && node != &root && !node->Next())
            node = node->Parent();
        node = node && node != &root ? node->Next() : nullptr;
    }
}

void TreeSnapshot::Reserve() {
    // Some room for what is added before the first save. Growing and clearing writes every
    // page once, which maps it; clear() keeps the memory.
    const size_t nodes = seen_.size() + seen_.size() / 8 + 16;
    if (nodes_.capacity() < nodes) {
        nodes_.resize(nodes);
        nodes_.clear();
    }
    const size_t ids = plannedIds_ + plannedIds_ / 8 + 256;
    if (ids_.capacity() < ids) {
        ids_.resize(ids);
        ids_.clear();
    }
    open_.reserve(64);
}

void TreeSnapshot::Release() noexcept {
    nodes_.clear();
    ids_.clear();
    hold_.End();
}

RecordView TreeSnapshot::Record(size_t node) const noexcept {
    const Node& n = nodes_[node];
    auto text = [&](int i) { return NodeText::ViewOf(n.text[i]); };
    return RecordView{text(0),        text(1),          text(2), text(3), text(4), n.iconIndex,
                      n.defaultImage, n.scanSubFolders, n.kind,  n.flags, n.role,  n.showCmd};
}

} // namespace model
