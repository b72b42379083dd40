// Placeholder: the lists are not built yet, every node shows its default picture index.
#include "model/image_lists.h"

#include "model/voice_book.h"

namespace icons {

void BuildImageLists() {}
void DestroyImageLists() {}
HIMAGELIST List(ListKind) noexcept {
    return nullptr;
}
int FirstLibraryIndex() noexcept {
    return 0;
}
int DefaultImage(const oVoiceBook&) {
    return kPictureMissing;
}
int BuildImages(oVoiceBook& node) {
    node.m_nImage = node.m_nGrayImage = DefaultImage(node);
    return node.m_nImage;
}
int GetImage(oVoiceBook& node) {
    return node.m_nImage < 0 ? BuildImages(node) : node.m_nImage;
}
void DrawLarge(oVoiceBook&, HDC, int, int, bool, bool, bool) {}
void DrawSmall(oVoiceBook&, HDC, int, int, bool, bool, bool) {}
fw::Icon GetIconHandle(const oVoiceBook&, bool, bool, bool) {
    return fw::Icon();
}
fw::Icon MakeGrayIcon(HICON) {
    return fw::Icon();
}

} // namespace icons
