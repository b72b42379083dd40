#pragma once
// The four process-wide image lists (32 and 16 pixels, colour and grey) and each node's
// pictures in them. A picture has the same index in all four lists.
//
// Pictures of node targets are counted: a picture that no node uses any more is reused by
// the next one, so rebuilding pictures all day keeps the lists the same size. Nodes whose
// icons look the same (documents of one kind, one program on several buttons) share one
// picture: adding a picture to the lists is slow.
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/gdi.h"
#include "model/picture_numbers.h"

class oVoiceBook;

namespace icons {

// Built-in pictures at the start of every list.
using model::kBuiltInPictures;
using model::kPictureCategory;
using model::kPictureGoUp;
using model::kPictureMissing;
using model::kPictureOldKind;
using model::kPictureParent;
using model::kPictureWeb;

enum class ListKind { LargeColour, SmallColour, LargeGrey, SmallGrey };

// Creates the four lists unless both colour lists exist; appends the icons of larkb.icl.
// Everything below that looks at the lists makes them first. Once made, the lists keep the
// count of each picture's users (model/picture_keeper.h).
void BuildImageLists();
// The resolution the lists are made for (before they are made; 96 unless set): their
// pictures are 32 and 16 pixels at 96 DPI, drawn from sources of the size the resolution
// gives where the program has them (24, 32, 48 and 64 pixels), else the next smaller size.
void SetPictureDpi(int dpi);
// Remakes the lists for another resolution (the bar moved to a monitor of another scale)
// when their picture sizes change: the counted pictures of `root`'s tree are forgotten and
// drawn again at the new size when next asked for. True when the lists were remade.
bool RemakeImageListsForDpi(int dpi, oVoiceBook& root);
// The size of the pictures of the large and the small lists.
int LargePictureSize();
int SmallPictureSize();
// The size pictures of `wanted` pixels are drawn at: the largest of ours not above it.
int AvailablePictureSize(int wanted) noexcept;
// The same with the icon library at `libraryPath` (BuildImageLists takes the one beside
// the program).
void BuildImageListsFrom(const std::wstring& libraryPath);
// The library's icons are read when first drawn or taken through List(), or here: once,
// when the program has time (after its window shows).
void CompleteImageLists();
void DestroyImageLists();
HIMAGELIST List(ListKind kind);
// Index of the first larkb.icl icon in the lists (0 while none was added).
int FirstLibraryIndex();

// Where the icons of a node's target (its identifier list or its command) come from. The
// application points it at the shell at start-up; without one (tests of drawing) such nodes
// show their default picture.
// Both icons must be set, at the sizes asked for where the target has them, for the answer
// to count.
using TargetIconSource = bool (*)(const oVoiceBook& node, fw::Icon& large, fw::Icon& small,
                                  int largeSize, int smallSize);
void SetTargetIconSource(TargetIconSource source) noexcept;

int DefaultImage(const oVoiceBook& node);
// Obtains the node's icons, adds them, sets m_nImage and m_nGrayImage; returns m_nImage.
// The node's former picture is released first (oVoiceBook::ReleasePictures).
int BuildImages(oVoiceBook& node);
// m_nImage, after BuildImages when it is -1; while target pictures wait, such a node's
// default picture, nothing built.
int GetImage(oVoiceBook& node);
// From here until EndDeferredPictures, the pictures of nodes that need an icon file or the
// shell are not made: such nodes draw their default picture (the first paint comes sooner).
void DeferTargetPictures() noexcept;
// Pictures are made when next drawn; true when some node drew its default picture meanwhile
// (what shows is to be drawn again).
bool EndDeferredPictures() noexcept;

// `grey` is the view's request for the grey form and `iconMono` the user's preference:
// the grey picture is drawn only when both are set.
void DrawLarge(oVoiceBook& node, HDC dc, int x, int y, bool highlighted, bool grey, bool iconMono);
void DrawSmall(oVoiceBook& node, HDC dc, int x, int y, bool highlighted, bool grey, bool iconMono);
// The large picture stretched to `size` pixels, as an icon from GetIconHandle draws it; the
// stretched form is kept until the lists are remade. Images are not built here.
void DrawLargeStretched(const oVoiceBook& node, HDC dc, int x, int y, int size, bool grey,
                        bool iconMono);
// A new icon from the node's picture, or none; images are not built here.
fw::Icon GetIconHandle(const oVoiceBook& node, bool large, bool grey, bool iconMono);
// A digest of the icon's pixels and shape: equal for icons that look the same, 0 when the
// icon cannot be read.
uint64_t IconFingerprint(HICON icon);
// The grey form of `icon` (the given icon stays the caller's).
fw::Icon MakeGrayIcon(HICON icon);
// The grey form of an icon's colour bitmap: 32-bit pixels keep their alpha; at other depths
// black stays black (it is what shows through where the mask lets the screen be).
fw::Bitmap MakeGrayBitmap(HBITMAP colour);

} // namespace icons
