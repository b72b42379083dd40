#include "views/button_slots.h"

#include "model/voice_book.h"

namespace views {

std::vector<oVoiceBook*> ProgramButtonNodes(const oVoiceBook& category, oVoiceBook* goUp) {
    std::vector<oVoiceBook*> nodes;
    if (category.m_nDepth > 1 && goUp)
        nodes.push_back(goUp);
    for (oVoiceBook* child = category.FirstChild(); child; child = child->Next())
        if (child->IsItem())
            nodes.push_back(child);
    return nodes;
}

std::vector<oVoiceBook*> CategoryButtonNodes(const oVoiceBook& root) {
    std::vector<oVoiceBook*> nodes;
    for (oVoiceBook* child = root.FirstChild(); child; child = child->Next())
        if (child->IsCategory())
            nodes.push_back(child);
    return nodes;
}

SlotRole SlotRoleOf(const oVoiceBook* node) noexcept {
    if (!node)
        return SlotRole::Free;
    return node->m_nRole == ROLE_SEPARATOR ? SlotRole::Separator : SlotRole::Button;
}

} // namespace views
