#include "model/tree_node.h"

#include <atomic>
#include <vector>

#include "framework/text.h"

namespace {
std::atomic<uint64_t> g_nLastSerial{0};
}

oTreeNode::oTreeNode() : m_nSerial(++g_nLastSerial) {}

oTreeNode* oTreeNode::FindBySerial(uint64_t serial) {
    oTreeNode* found = nullptr;
    WalkSelfAndDescendantsF([&](oTreeNode& node) {
        if (node.m_nSerial != serial)
            return int{WALK_DESCEND};
        found = &node;
        return int{WALK_STOP};
    });
    return found;
}

oTreeNode::~oTreeNode() {
    DeleteChildren();
}

void oTreeNode::Clear() {
    m_strName.clear();
    m_nDepth = 0;
    m_pNext = nullptr;
    m_pParent = nullptr;
    m_pFirstChild = nullptr;
    m_pLastChild = nullptr;
}

void oTreeNode::RecomputeDepths(oTreeNode* node, int depth) {
    node->m_nDepth = depth;
    node->WalkDescendantsF([](oTreeNode& n) {
        n.m_nDepth = n.m_pParent->m_nDepth + 1;
        return int{WALK_DESCEND};
    });
}

void oTreeNode::AppendChild(oTreeNode* node) {
    if (!node)
        return;
    node->m_pParent = this;
    node->m_pNext = nullptr;
    // The last child is kept so that filling a big category is linear, not quadratic.
    if (m_pLastChild)
        m_pLastChild->m_pNext = node;
    else
        m_pFirstChild = node;
    m_pLastChild = node;
    RecomputeDepths(node, m_nDepth + 1);
}

void oTreeNode::InsertFirstChild(oTreeNode* node) {
    if (!node)
        return;
    node->m_pParent = this;
    node->m_pNext = m_pFirstChild;
    m_pFirstChild = node;
    if (!m_pLastChild)
        m_pLastChild = node;
    RecomputeDepths(node, m_nDepth + 1);
}

void oTreeNode::InsertAfter(oTreeNode* node) {
    if (!node)
        return;
    node->m_pParent = m_pParent;
    node->m_pNext = m_pNext;
    m_pNext = node;
    if (m_pParent && m_pParent->m_pLastChild == this)
        m_pParent->m_pLastChild = node;
    RecomputeDepths(node, m_nDepth);
}

void oTreeNode::Unlink(oTreeNode* child) {
    if (!child || child->m_pParent != this)
        return;
    oTreeNode* before = nullptr;
    oTreeNode** link = &m_pFirstChild;
    while (*link && *link != child) {
        before = *link;
        link = &(*link)->m_pNext;
    }
    if (!*link)
        return;
    *link = child->m_pNext;
    if (m_pLastChild == child)
        m_pLastChild = before;
    child->m_pNext = nullptr;
    child->m_pParent = nullptr;
    child->m_nDepth = 0;
}

void oTreeNode::RemoveChild(oTreeNode* child) {
    if (!child || child->m_pParent != this)
        return;
    Unlink(child);
    delete child;
}

void oTreeNode::DeleteChildren() {
    // Iterative, so that a very deep tree cannot exhaust the stack.
    std::vector<oTreeNode*> pending;
    for (oTreeNode* c = m_pFirstChild; c; c = c->m_pNext)
        pending.push_back(c);
    m_pFirstChild = nullptr;
    m_pLastChild = nullptr;
    while (!pending.empty()) {
        oTreeNode* node = pending.back();
        pending.pop_back();
        for (oTreeNode* c = node->m_pFirstChild; c; c = c->m_pNext)
            pending.push_back(c);
        node->m_pFirstChild = nullptr;
        node->m_pLastChild = nullptr;
        delete node;
    }
}

oTreeNode* oTreeNode::FindChild(const std::wstring& name) const {
    for (oTreeNode* c = m_pFirstChild; c; c = c->m_pNext)
        if (fw::EqualsNoCase(c->m_strName, name))
            return c;
    return nullptr;
}

int oTreeNode::ForEachChild(NodeCallback callback, void* context) {
    for (oTreeNode* c = m_pFirstChild; c;) {
        oTreeNode* next = c->m_pNext;
        if (callback(c, context) == WALK_STOP)
            return WALK_STOP;
        c = next;
    }
    return 0;
}

int oTreeNode::WalkDescendants(NodeCallback callback, void* context) {
    // Pre-order without recursion, following the parent links back up.
    oTreeNode* node = m_pFirstChild;
    while (node) {
        const int answer = callback(node, context);
        if (answer == WALK_STOP)
            return WALK_STOP;
        if (answer == WALK_DESCEND && node->m_pFirstChild) {
            node = node->m_pFirstChild;
            continue;
        }
        while (node && node != this && !node->m_pNext)
            node = node->m_pParent;
        node = (node && node != this) ? node->m_pNext : nullptr;
    }
    return 0;
}

int oTreeNode::WalkSelfAndDescendants(NodeCallback callback, void* context) {
    const int answer = callback(this, context);
    // Only a stop ends it here: skipping applies to the walk below, not to this node.
    if (answer == WALK_STOP)
        return WALK_STOP;
    return WalkDescendants(callback, context);
}
