#pragma once
// The tree as plain values in a few flat blocks: what a save needs of every node (its record's
// fields and its identifier list) and the tree's shape. Taking it is one walk that copies
// texts into one block; everything after it (the file's image, writing it) can run on another
// thread without touching a node. A snapshot can be taken again into the same blocks, which
// keeps their memory: fresh memory costs more to touch than the copying.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/record_codec.h"

namespace model {

class TreeSnapshot {
public:
    // Replaces the content with the tree below and including `root`.
    void Take(const oVoiceBook& root);

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
        uint32_t text[5];   // where the name, command, arguments, folder and icon file begin
        uint32_t length[5]; // in text_
        int32_t iconIndex, defaultImage, scanSubFolders, kind;
        uint32_t flags;
        int32_t role, showCmd;
        uint32_t idList, idSize; // in ids_
        uint32_t end;            // one past the last node of its subtree
    };
    uint32_t Append(const oVoiceBook& node);

    std::vector<Node> nodes_;
    std::vector<wchar_t> text_;
    std::vector<uint8_t> ids_;
    std::vector<uint32_t> open_; // nodes whose subtree is being walked
};

} // namespace model
