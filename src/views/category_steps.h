#pragma once
// Where the bar's two navigation buttons lead, as plain functions over the tree: the grip
// strip to the next top-level category, "Goto Parent Category" one level up.
class oVoiceBook;

namespace views {

// The top-level category after `current` (null before any was shown), round to the first;
// buttons at the top level are passed over. Null when the root holds no category.
oVoiceBook* NextTopCategory(const oVoiceBook& root, const oVoiceBook* current) noexcept;

// The category shown above `shown`: its parent, but never the root, which is no category.
oVoiceBook* ParentCategoryOf(const oVoiceBook* shown) noexcept;

} // namespace views
