#pragma once
// The numbers of the built-in pictures, which every picture list starts with. Data files
// store them as a node's chosen picture (m_nDefaultImage; 1000 + n is icon n of the icon
// library), and nodes and templates choose them, so they belong to no layer that draws.
namespace model {

enum : int {
    kPictureMissing = 0,
    kPictureCategory = 1,
    kPictureParent = 2,
    kPictureWeb = 10,
    kPictureOldKind = 11,
    kPictureGoUp = 12,
    kBuiltInPictures = 13,
};

} // namespace model
