#pragma once
// Where a bar button draws its icon, name and menu glyph, from its size alone.
#include <windows.h>

namespace views {

// Six ways a button face is arranged, chosen by its size (see ButtonFaceClass).
enum ButtonFaceClass : int {
    FACE_SMALL_ICON = 0,      // 16-pixel icon, centred
    FACE_MEDIUM_ICON = 1,     // 24-pixel icon, centred
    FACE_LARGE_ICON = 2,      // 32-pixel icon, centred
    FACE_ICON_ABOVE_TEXT = 3, // 32-pixel icon at the top, name below
    FACE_SMALL_ICON_TEXT = 4, // 16-pixel icon at the left, name beside it
    FACE_LARGE_ICON_TEXT = 5, // 32-pixel icon at the left, name beside it
};

// The room the menu glyph takes at the right of a button that carries one.
constexpr int kMenuGlyphRoom = 12;
constexpr int kMenuGlyphSize = 16;

ButtonFaceClass ChooseFaceClass(int w, int h, bool menuGlyph) noexcept;

struct ButtonFace {
    ButtonFaceClass faceClass = FACE_SMALL_ICON;
    int iconSize = 16;
    POINT icon{};
    bool hasText = false;
    RECT text{}; // before it is shrunk to the measured height
    int glyphSize = kMenuGlyphSize;
};

// `pressed`: the face of a button held down moves 1 pixel right and down.
ButtonFace LayOutButtonFace(int w, int h, bool menuGlyph, bool pressed) noexcept;
// A button of w x h pixels at `dpi` is arranged as the 96-DPI button of its size, every
// place and the icon's size scaled.
ButtonFace LayOutButtonFace(int w, int h, bool menuGlyph, bool pressed, int dpi) noexcept;

// The text rectangle shrunk evenly at top and bottom to the measured height (never grown).
RECT FitTextHeight(const RECT& text, int measuredHeight) noexcept;

// The menu glyph's top-left: at the right edge (icon-only and icon-above-text faces) or
// 4 pixels after the end of the measured text.
POINT MenuGlyphPosition(ButtonFaceClass faceClass, int w, int h, int textRight) noexcept;
// The same for a button at `dpi`: the room and the distances scaled.
POINT MenuGlyphPosition(ButtonFaceClass faceClass, int w, int h, int textRight, int dpi) noexcept;

// A single-row category button with the name beside the icon centres both together: the
// offset D of the icon, or -1 when the text is too wide for it. At `dpi` the icon's room,
// the glyph's and the margin are scaled.
int SingleRowOffset(ButtonFaceClass faceClass, int w, int textWidth, bool menuGlyph,
                    int dpi = 96) noexcept;
// The room the icon takes before the name there.
int SingleRowIconRoom(ButtonFaceClass faceClass, int dpi = 96) noexcept;

} // namespace views

namespace views {

// How a button's name is drawn in its text rectangle: word-wrapped, or on one line when
// the wrapped text would fill the rectangle; the rectangle shrunk to the measured height.
struct ButtonText {
    UINT format = 0;
    RECT rect{};
    int measuredRight = 0; // where the measured text ends
};
ButtonText MeasureButtonText(HDC dc, const wchar_t* text, const RECT& rect, bool centred);

} // namespace views
