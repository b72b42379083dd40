#pragma once
// The editing menu of the program area: which of its items the node under the pointer and
// the bar's clipboard allow.
#include <windows.h>

class oVoiceBook;

namespace views {

struct EditMenuState {
    bool deleteNode = false; // a node is under the pointer
    bool properties = false; // ... and it is an ordinary button (not a separator, not "Go Up")
    bool cut = false;
    bool copy = false;
    bool paste = false; // the clipboard holds a node
};

EditMenuState EditMenuStateFor(const oVoiceBook* node, bool clipboardFull);
// Greys the items of `menu` the state does not allow.
void ApplyEditMenuState(HMENU menu, const EditMenuState& state);

} // namespace views
