#pragma once
// Generic node of the category/button tree: name, depth and the three links.
#include <cstdint>
#include <string>
#include <type_traits>

#include "model/node_text.h"

class oTreeNode;

// Walk callbacks answer: descend into the node's children, skip them, or stop the walk.
enum WalkAnswer : int { WALK_DESCEND = 0, WALK_SKIP_CHILDREN = 1, WALK_STOP = 2 };
using NodeCallback = int (*)(oTreeNode* node, void* context);

class oTreeNode {
public:
    oTreeNode();
    oTreeNode(const oTreeNode&) = delete;
    oTreeNode& operator=(const oTreeNode&) = delete;
    // Deletes the whole subtree first.
    virtual ~oTreeNode();
    // Empties the name, depth 0, links null; deletes nothing.
    virtual void Clear();

    // Linking operations take detached nodes (no parent, no next sibling) and recompute
    // the depth of the linked node's whole subtree.
    void AppendChild(oTreeNode* node);
    void InsertFirstChild(oTreeNode* node);
    void InsertAfter(oTreeNode* node);
    // Removes a direct child without deleting it; a node that is not a child is ignored.
    void Unlink(oTreeNode* child);
    // Unlink, then delete with its subtree.
    void RemoveChild(oTreeNode* child);
    void DeleteChildren();

    // First direct child whose name equals `name` ignoring case; null if none.
    oTreeNode* FindChild(const std::wstring& name) const;

    // Direct children in order; stops when the callback answers WALK_STOP. Returns
    // WALK_STOP when stopped, else 0.
    int ForEachChild(NodeCallback callback, void* context);
    // Pre-order walk of everything below this node (not this node).
    int WalkDescendants(NodeCallback callback, void* context);
    int WalkSelfAndDescendants(NodeCallback callback, void* context);

    // Lambda forms of the walks: `f(oTreeNode&) -> int`.
    template <class F> int ForEachChildF(F&& f) {
        return ForEachChild(&Thunk<std::remove_reference_t<F>>, &f);
    }
    template <class F> int WalkDescendantsF(F&& f) {
        return WalkDescendants(&Thunk<std::remove_reference_t<F>>, &f);
    }
    template <class F> int WalkSelfAndDescendantsF(F&& f) {
        return WalkSelfAndDescendants(&Thunk<std::remove_reference_t<F>>, &f);
    }

    bool HasChildren() const noexcept { return m_pFirstChild != nullptr; }

    // This node or the one below it with the serial number `serial`; null when it is gone.
    oTreeNode* FindBySerial(uint64_t serial);

    // Names the node for as long as the process runs and is never given to another node, so
    // a message from another thread can name a node and find it again in the live tree,
    // where a pointer could dangle (or point at a newer node at the same address).
    const uint64_t m_nSerial;

    model::NodeText m_strName;
    int m_nDepth = 0;
    oTreeNode* m_pNext = nullptr;
    oTreeNode* m_pParent = nullptr;
    oTreeNode* m_pFirstChild = nullptr;
    oTreeNode* LastChild() const noexcept { return m_pLastChild; }

private:
    // Kept by the linking operations, the only writers of the links.
    oTreeNode* m_pLastChild = nullptr;
    template <class F> static int Thunk(oTreeNode* node, void* context) {
        return (*static_cast<F*>(context))(*node);
    }
    void RecomputeDepths(oTreeNode* node, int depth);
};
