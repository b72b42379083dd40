#include "views/category_steps.h"

#include "model/voice_book.h"

namespace views {

namespace {
oVoiceBook* CategoryFrom(oVoiceBook* node) noexcept {
    while (node && !node->IsCategory())
        node = node->Next();
    return node;
}
} // namespace

oVoiceBook* NextTopCategory(const oVoiceBook& root, const oVoiceBook* current) noexcept {
    if (oVoiceBook* next = CategoryFrom(current ? current->Next() : nullptr))
        return next;
    return CategoryFrom(root.FirstChild());
}

oVoiceBook* ParentCategoryOf(const oVoiceBook* shown) noexcept {
    oVoiceBook* parent = shown ? shown->Parent() : nullptr;
    return parent && parent->m_nDepth >= 1 ? parent : nullptr;
}

} // namespace views
