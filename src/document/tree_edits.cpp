#include "document/tree_edits.h"

#include "model/voice_book.h"

namespace document {

bool IsInSubtree(const oVoiceBook* node, const oVoiceBook& subtree) {
    for (const oVoiceBook* p = node; p; p = p->Parent())
        if (p == &subtree)
            return true;
    return false;
}

void InsertAtContext(oVoiceBook& node, oVoiceBook* context, oVoiceBook& category) {
    // A button of another category (a category button's node, say) is no place to paste.
    if (context && context->IsButton() && context->Parent() == &category)
        context->InsertAfter(&node);
    else
        category.AppendChild(&node);
}

oVoiceBook* PasteCopy(const oVoiceBook& clipboard, oVoiceBook* context, oVoiceBook& category) {
    oVoiceBook* copy = clipboard.CloneTree();
    if (copy)
        InsertAtContext(*copy, context, category);
    return copy;
}

oVoiceBook* AddSeparator(const wchar_t* name, oVoiceBook* context, oVoiceBook& category) {
    auto* node = new oVoiceBook(ButtonFields(name));
    node->SetRole(ROLE_SEPARATOR);
    InsertAtContext(*node, context, category);
    return node;
}

bool MoveNode(oVoiceBook& node, oVoiceBook& target, bool into) {
    oVoiceBook* parent = node.Parent();
    // A target inside the moved subtree would leave with it (and be deleted with it).
    if (!parent || IsInSubtree(&target, node) || (!into && !target.Parent()))
        return false;
    parent->Unlink(&node);
    if (into)
        target.AppendChild(&node);
    else
        target.InsertAfter(&node);
    return true;
}

namespace {
oVoiceBook* PlaceParent(oVoiceBook* target, Insertion where, oVoiceBook& shown, oVoiceBook& root) {
    switch (where) {
    case Insertion::AfterTarget:
        return target ? target->Parent() : nullptr;
    case Insertion::IntoTarget:
        return target;
    case Insertion::FirstOfShown:
        return &shown;
    case Insertion::FirstOfRoot:
        return &root;
    }
    return nullptr;
}
} // namespace

void PlaceNode(oVoiceBook& node, oVoiceBook* target, Insertion where, oVoiceBook& shown,
               oVoiceBook& root) {
    switch (where) {
    case Insertion::AfterTarget:
        target->InsertAfter(&node);
        break;
    case Insertion::IntoTarget:
        target->AppendChild(&node);
        break;
    case Insertion::FirstOfShown:
        shown.InsertFirstChild(&node);
        break;
    case Insertion::FirstOfRoot:
        root.InsertFirstChild(&node);
        break;
    }
}

bool MoveNodeTo(oVoiceBook& node, oVoiceBook* target, Insertion where, oVoiceBook& shown,
                oVoiceBook& root) {
    oVoiceBook* parent = node.Parent();
    oVoiceBook* into = PlaceParent(target, where, shown, root);
    // A place inside the moved subtree would leave with it (and be deleted with it).
    if (!parent || !into || target == &node || IsInSubtree(into, node))
        return false;
    parent->Unlink(&node);
    PlaceNode(node, target, where, shown, root);
    return true;
}

} // namespace document
