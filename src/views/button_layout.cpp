#include "views/button_layout.h"

#include <algorithm>

#include "model/dpi_units.h"

namespace views {

ButtonFaceClass ChooseFaceClass(int w, int h, bool menuGlyph) noexcept {
    const int g = menuGlyph ? kMenuGlyphRoom : 0;
    if (w >= 48 + g && h >= 48)
        return FACE_ICON_ABOVE_TEXT;
    if (h >= 40)
        return w > 80 + g ? FACE_LARGE_ICON_TEXT : FACE_LARGE_ICON;
    if (h >= 32)
        return FACE_MEDIUM_ICON;
    return w > 48 + g ? FACE_SMALL_ICON_TEXT : FACE_SMALL_ICON;
}

ButtonFace LayOutButtonFace(int w, int h, bool menuGlyph, bool pressed) noexcept {
    ButtonFace f;
    f.faceClass = ChooseFaceClass(w, h, menuGlyph);
    switch (f.faceClass) {
    case FACE_SMALL_ICON:
    case FACE_MEDIUM_ICON:
    case FACE_LARGE_ICON:
        f.iconSize = f.faceClass == FACE_SMALL_ICON    ? 16
                     : f.faceClass == FACE_MEDIUM_ICON ? 24
                                                       : 32;
        f.icon = POINT{(w - f.iconSize) / 2, (h - f.iconSize) / 2};
        break;
    case FACE_ICON_ABOVE_TEXT:
        f.iconSize = 32;
        f.icon = POINT{(w - 32) / 2, 4};
        f.hasText = true;
        f.text = RECT{2, 38, w - 2, h};
        break;
    case FACE_SMALL_ICON_TEXT:
        f.iconSize = 16;
        f.icon = POINT{4, (h - 16) / 2};
        f.hasText = true;
        f.text = RECT{24, 0, w - 2, h};
        break;
    case FACE_LARGE_ICON_TEXT:
        f.iconSize = 32;
        f.icon = POINT{4, (h - 32) / 2};
        f.hasText = true;
        f.text = RECT{40, 0, w - 2, h};
        break;
    }
    f.icon.x = std::max<LONG>(0, f.icon.x);
    f.icon.y = std::max<LONG>(0, f.icon.y);
    if (pressed) {
        ::OffsetRect(&f.text, 1, 1);
        f.icon.x += 1;
        f.icon.y += 1;
    }
    if (menuGlyph) {
        if (f.faceClass <= FACE_ICON_ABOVE_TEXT)
            f.icon.x = std::max<LONG>(0, f.icon.x - 4);
        else
            f.text.right -= 10;
    }
    return f;
}

ButtonFace LayOutButtonFace(int w, int h, bool menuGlyph, bool pressed, int dpi) noexcept {
    if (dpi <= 0 || dpi == model::kBaseDpi)
        return LayOutButtonFace(w, h, menuGlyph, pressed);
    const auto at96 = [dpi](int v) { return model::ScaleBetweenDpi(v, dpi, model::kBaseDpi); };
    const auto px = [dpi](LONG v) { return static_cast<LONG>(model::ScaleForDpi(v, dpi)); };
    ButtonFace f = LayOutButtonFace(at96(w), at96(h), menuGlyph, pressed);
    f.iconSize = px(f.iconSize);
    f.icon = POINT{px(f.icon.x), px(f.icon.y)};
    f.text = RECT{px(f.text.left), px(f.text.top), px(f.text.right), px(f.text.bottom)};
    f.glyphSize = px(f.glyphSize);
    return f;
}

RECT FitTextHeight(const RECT& text, int measuredHeight) noexcept {
    RECT r = text;
    const int spare = (text.bottom - text.top) - measuredHeight;
    if (spare > 0) {
        r.top += spare / 2;
        r.bottom = r.top + measuredHeight;
    }
    return r;
}

POINT MenuGlyphPosition(ButtonFaceClass faceClass, int w, int h, int textRight) noexcept {
    const int x = faceClass <= FACE_ICON_ABOVE_TEXT ? w - kMenuGlyphRoom : textRight + 4;
    return POINT{x, h / 2 - 3};
}

POINT MenuGlyphPosition(ButtonFaceClass faceClass, int w, int h, int textRight, int dpi) noexcept {
    const auto px = [dpi](int v) { return model::ScaleForDpi(v, dpi); };
    const int x = faceClass <= FACE_ICON_ABOVE_TEXT ? w - px(kMenuGlyphRoom) : textRight + px(4);
    return POINT{x, h / 2 - px(3)};
}

int SingleRowIconRoom(ButtonFaceClass faceClass, int dpi) noexcept {
    return model::ScaleForDpi(faceClass == FACE_SMALL_ICON_TEXT ? 20 : 36, dpi);
}

int SingleRowOffset(ButtonFaceClass faceClass, int w, int textWidth, bool menuGlyph,
                    int dpi) noexcept {
    if (faceClass != FACE_SMALL_ICON_TEXT && faceClass != FACE_LARGE_ICON_TEXT)
        return -1;
    const int I = SingleRowIconRoom(faceClass, dpi);
    const int g = menuGlyph ? model::ScaleForDpi(kMenuGlyphRoom, dpi) : 0;
    if (textWidth >= w - I - model::ScaleForDpi(6, dpi) - g)
        return -1;
    return (w - textWidth - I - g) / 2;
}

} // namespace views

namespace views {

ButtonText MeasureButtonText(HDC dc, const wchar_t* text, const RECT& rect, bool centred) {
    ButtonText out;
    out.format = DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS | (centred ? DT_CENTER : 0);
    RECT measured = rect;
    ::DrawTextW(dc, text, -1, &measured, out.format | DT_CALCRECT);
    if (measured.bottom - measured.top >= rect.bottom - rect.top) {
        out.format = (out.format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE;
        measured = rect;
        ::DrawTextW(dc, text, -1, &measured, out.format | DT_CALCRECT);
    }
    out.rect = FitTextHeight(rect, measured.bottom - measured.top);
    out.measuredRight = measured.right;
    return out;
}

} // namespace views
