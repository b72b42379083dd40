#include "views/edit_menu.h"

#include "model/voice_book.h"
#include "resource.h"

namespace views {

EditMenuState EditMenuStateFor(const oVoiceBook* node, bool clipboardFull) {
    EditMenuState s;
    s.deleteNode = node != nullptr;
    // Only an ordinary node has properties of its own or can be carried elsewhere.
    const bool ordinary = node && node->m_nRole == ROLE_NORMAL;
    s.properties = s.cut = s.copy = ordinary;
    s.paste = clipboardFull;
    return s;
}

void ApplyEditMenuState(HMENU menu, const EditMenuState& state) {
    const struct {
        UINT id;
        bool on;
    } items[] = {
        {ID_DELETE_NODE, state.deleteNode}, {ID_NODE_PROPERTIES, state.properties},
        {ID_EDIT_CUT, state.cut},           {ID_EDIT_COPY, state.copy},
        {ID_EDIT_PASTE, state.paste},
    };
    for (const auto& item : items)
        ::EnableMenuItem(menu, item.id, MF_BYCOMMAND | (item.on ? MF_ENABLED : MF_GRAYED));
}

} // namespace views
