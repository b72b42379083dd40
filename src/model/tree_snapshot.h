#pragma once
// The tree as plain values in a few flat blocks: what a save needs of every node (its record's
// fields and its identifier list) and the tree's shape. Taking it is one walk that notes where
// each node's texts are (their blocks never change: model/node_text.h) and holds them until
// Release, so that it copies no characters; everything after it (the file's image, writing
// it) can run on another thread without touching a node. A snapshot can be taken again into
// the same blocks, which keeps their memory: fresh memory costs more to touch than the
// copying.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/node_text.h"
#include "model/record_codec.h"

namespace model {

class TreeSnapshot {
public:
    // Replaces the content with the tree below and including `root`; on the thread that
    // owns the tree.
    void Take(const oVoiceBook& root);
    // Readies the blocks for the first Take, which would otherwise meet fresh memory and
    // nodes it has no hints for. Plan notes the order of the tree's nodes (the look-ahead's
    // hints) and how much the blocks will hold: on the thread that owns the tree, cheapest
    // right after the tree was made. Reserve then makes the blocks that big and touches their
    // memory: on any thread, while nothing else uses this snapshot.
    void Plan(const oVoiceBook& root);
    void Reserve();
    // Lets go of the tree's texts (on any thread): empty again, the memory kept for the next Take.
    void Release() noexcept;

    // Nodes in pre-order; node 0 is the root.
    size_t Size() const noexcept { return nodes_.size(); }
    RecordView Record(size_t node) const noexcept;
    const uint8_t* IdList(size_t node) const noexcept {
        return nodes_[node].idSize ? ids_.data() + nodes_[node].idList : nullptr;
    }
    size_t IdListSize(size_t node) const noexcept { return nodes_[node].idSize; }
    // The first child, and the sibling after a node; Size() when there is none.
    size_t FirstChild(size_t node) const noexcept {
        return nodes_[node].end > node + 1 ? node + 1 : Size();
    }
    size_t Next(size_t node, size_t parent) const noexcept {
        return nodes_[node].end < nodes_[parent].end ? nodes_[node].end : Size();
    }
    bool HasChildren(size_t node) const noexcept { return nodes_[node].end > node + 1; }
    // Bytes held, for an estimate of the file's size.
    size_t IdBytes() const noexcept { return ids_.size(); }

private:
    struct Node {
        const NodeText::Block* text[5]; // the name, command, arguments, folder and icon file
        int32_t iconIndex, defaultImage, scanSubFolders, kind;
        uint32_t flags;
        int32_t role, showCmd;
        uint32_t idList, idSize; // in ids_
        uint32_t end;            // one past the last node of its subtree
    };
    uint32_t Append(const oVoiceBook& node);

    std::vector<Node> nodes_;
    TextReadHold hold_; // while the texts are read
    std::vector<uint8_t> ids_;
    std::vector<uint32_t> open_; // nodes whose subtree is being walked
    static constexpr size_t kAhead = 24;
    std::vector<const void*> seen_; // the nodes of the last walk, in order: where to look ahead
    size_t plannedIds_ = 0;         // bytes of identifier lists Plan found
};

} // namespace model
