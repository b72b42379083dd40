#pragma once
// The order of the top-level categories as the order dialog changes it.
#include <vector>

class oVoiceBook;

namespace dialogs {

// The root's children the order dialog lists: the categories and buttons, in tree order.
std::vector<oVoiceBook*> ListedChildren(const oVoiceBook& root);

// Exchanges entry `index` with its neighbour one step up (-1) or down (+1); answers the
// entry's new position, or -1 when nothing moved (no such entry, or already at that end).
int MoveEntry(std::vector<oVoiceBook*>& order, int index, int step);

// Links the root's children in `order` first; every other child of the root (entries of
// older kinds the dialog does not list) follows in its former relative order, so nothing is
// lost from the tree. Entries of `order` that are not children of the root are ignored.
void RelinkChildren(oVoiceBook& root, const std::vector<oVoiceBook*>& order);

} // namespace dialogs
