#pragma once
// Which node each button slot of the bar shows, and how the layout sees the slots.
#include <vector>

#include "views/toolbar_layout.h"

class oVoiceBook;

namespace views {

// The program buttons of `category`: "Go Up" first below the top level, then every direct
// child that is a category or a button, in order.
std::vector<oVoiceBook*> ProgramButtonNodes(const oVoiceBook& category, oVoiceBook* goUp);
// The top-level categories of the tree: the root's children that are category items.
std::vector<oVoiceBook*> CategoryButtonNodes(const oVoiceBook& root);

SlotRole SlotRoleOf(const oVoiceBook* node) noexcept;

} // namespace views
