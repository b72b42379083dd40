#pragma once
// Export... and Import... of the bar menu: the whole tree as a text a person can read and
// edit (model/tree_text.h). The rules live there; this side asks, reads, writes and tells.
// Both run under the caller's hold of the application.
#include <windows.h>

#include "model/voice_book.h"

namespace document {
class TreeDocument;
} // namespace document

namespace views {

void ExportTree(HWND owner, const oVoiceBook& root);

struct Imported {
    enum class Kind { Nothing, WholeTree, NewCategory };
    Kind kind = Kind::Nothing;
    oVoiceBook* category = nullptr; // the top-level category made for a NewCategory
};
// Reads a text the user chooses and, as the user answers, replaces the whole tree with it
// (the present tree kept as a text first) or appends it as a new top-level category.
Imported ImportTree(HWND owner, document::TreeDocument& doc);

} // namespace views
