#pragma once
// The four process-wide image lists (32 and 16 pixels, colour and grey) and each node's
// pictures in them. A picture has the same index in all four lists.
#include <windows.h>

#include "framework/gdi.h"

class oVoiceBook;

namespace icons {

// Built-in pictures at the start of every list.
enum : int {
    kPictureMissing = 0,
    kPictureCategory = 1,
    kPictureParent = 2,
    kPictureWeb = 10,
    kPictureOldKind = 11,
    kPictureGoUp = 12,
    kBuiltInPictures = 13,
};

enum class ListKind { LargeColour, SmallColour, LargeGrey, SmallGrey };

// Creates the four lists unless both colour lists exist; appends the icons of larkb.icl.
void BuildImageLists();
void DestroyImageLists();
HIMAGELIST List(ListKind kind) noexcept;
// Index of the first larkb.icl icon in the lists (0 while none was added).
int FirstLibraryIndex() noexcept;

int DefaultImage(const oVoiceBook& node);
// Obtains the node's icons, adds them, sets m_nImage and m_nGrayImage; returns m_nImage.
int BuildImages(oVoiceBook& node);
// m_nImage, after BuildImages when it is -1.
int GetImage(oVoiceBook& node);

// `grey` is the view's request for the grey form and `iconMono` the user's preference:
// the grey picture is drawn only when both are set.
void DrawLarge(oVoiceBook& node, HDC dc, int x, int y, bool highlighted, bool grey, bool iconMono);
void DrawSmall(oVoiceBook& node, HDC dc, int x, int y, bool highlighted, bool grey, bool iconMono);
// A new icon from the node's picture, or none; images are not built here.
fw::Icon GetIconHandle(const oVoiceBook& node, bool large, bool grey, bool iconMono);
// The grey form of `icon` (the given icon stays the caller's).
fw::Icon MakeGrayIcon(HICON icon);

} // namespace icons
