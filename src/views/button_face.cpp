#include "views/button_face.h"

#include "framework/gdi.h"
#include "resource.h"
#include "ui/visual_styles.h"
#include "views/contrast.h"
#include "views/dib.h"

namespace views {
namespace {
// Part and states of the theme class "toolbar".
constexpr int kToolbarButton = 1;
constexpr int kThemeHot = 2;
constexpr int kThemePressed = 3;
constexpr int kThemeChecked = 5;
constexpr int kThemeHotChecked = 6;

bool DrawThemed(HWND button, HDC dc, const RECT& rect, int state, bool checked,
                HBRUSH parentBrush) {
    const ui::VisualStyles& styles = ui::VisualStyles::Get();
    if (!styles.Active())
        return false;
    // The parent's background first: the theme's parts have rounded, see-through corners.
    if (parentBrush)
        ::FillRect(dc, &rect, parentBrush);
    else if (!styles.DrawParentBackground(button, dc, rect))
        ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    int part = 0;
    if (state == kStatePressed)
        part = kThemePressed;
    else if (checked)
        part = state == kStateHot ? kThemeHotChecked : kThemeChecked;
    else if (state == kStateHot)
        part = kThemeHot;
    if (part == 0)
        return true;
    return styles.DrawPart(button, dc, L"toolbar", kToolbarButton, part, rect);
}

// Sunken while pressed or checked, raised while hot.
void DrawFrame(HDC dc, RECT r, int state, bool checked) {
    if (checked || state == kStatePressed)
        ::DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (state == kStateHot)
        ::DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
}

void DrawClassic(HDC dc, const RECT& rect, int state, bool checked) {
    RECT r = rect;
    HBRUSH pattern = checked && state != kStatePressed ? CheckedPatternBrush() : nullptr;
    if (pattern) {
        // The pattern lines up with the button, not with the screen; the origin is in device
        // units, which differ when the button is drawn through its parent's device context.
        POINT origin{r.left, r.top};
        ::LPtoDP(dc, &origin, 1);
        POINT old{};
        ::SetBrushOrgEx(dc, origin.x, origin.y, &old);
        ::FillRect(dc, &r, pattern);
        ::SetBrushOrgEx(dc, old.x, old.y, nullptr);
    } else {
        ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    DrawFrame(dc, r, state, checked);
}

// Only system colours: the highlight behind a lit or checked face, frames as usual.
void DrawHighContrast(HDC dc, const RECT& rect, int state, bool checked) {
    RECT r = rect;
    const FaceColours c = ChooseFaceColours(true, FacePart::Button, state != kStateNormal, checked);
    ::FillRect(dc, &r, ::GetSysColorBrush(c.face));
    DrawFrame(dc, r, state, checked);
}
} // namespace

HBRUSH CheckedPatternBrush() {
    struct Pattern {
        Pattern() {
            if (dib.Load(IDB_CHECKED_PATTERN))
                brush.reset(::CreatePatternBrush(dib.bitmap()));
        }
        CDib dib;
        fw::Brush brush;
    };
    static Pattern pattern;
    return pattern.brush.get();
}

void DrawButtonFace(HWND button, HDC dc, const RECT& rect, int state, bool checked,
                    HBRUSH parentBrush) {
    if (HighContrast())
        DrawHighContrast(dc, rect, state, checked);
    else if (!DrawThemed(button, dc, rect, state, checked, parentBrush))
        DrawClassic(dc, rect, state, checked);
}

} // namespace views
