#pragma once
// The tree edits of the bar's editing commands, as plain functions over the tree.
class oVoiceBook;

namespace document {

// Where a node that is placed goes.
enum class Insertion {
    AfterTarget,  // target.InsertAfter
    IntoTarget,   // target.AppendChild
    FirstOfShown, // InsertFirstChild of the shown category
    FirstOfRoot,  // InsertFirstChild of the root: a new first top-level category
};

// True when `node` is `subtree` itself or lies anywhere below it.
bool IsInSubtree(const oVoiceBook* node, const oVoiceBook& subtree);

// Where a new or pasted node goes: right after the node under the pointer when that is a
// button of the shown category, else at the end of the category.
void InsertAtContext(oVoiceBook& node, oVoiceBook* context, oVoiceBook& category);

// A copy of the clipboard's subtree placed as above; every paste is a subtree of its own.
oVoiceBook* PasteCopy(const oVoiceBook& clipboard, oVoiceBook* context, oVoiceBook& category);

// A separator button (named `name`) placed as above.
oVoiceBook* AddSeparator(const wchar_t* name, oVoiceBook* context, oVoiceBook& category);

// Moves `node` with its subtree after `target` (or, with `into`, to the end of `target`'s
// children). Refused (false, nothing changes) when `target` lies in the moved subtree, is the
// node itself, or either has no place in a tree.
bool MoveNode(oVoiceBook& node, oVoiceBook& target, bool into);

// Places a node that is in no tree: after `target`, at the end of its children, first in the
// shown category or first at the top level (`root`). `target` may be null for the last two.
void PlaceNode(oVoiceBook& node, oVoiceBook* target, Insertion where, oVoiceBook& shown,
               oVoiceBook& root);
// Moves a node of the tree with its subtree to such a place. Refused (false, nothing
// changes) when the place lies in the moved subtree or is next to the node itself as target.
bool MoveNodeTo(oVoiceBook& node, oVoiceBook* target, Insertion where, oVoiceBook& shown,
                oVoiceBook& root);

} // namespace document
