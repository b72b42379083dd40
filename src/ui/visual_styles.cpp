#include "ui/visual_styles.h"

namespace ui {
namespace {
template <class Fn> Fn Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
} // namespace

VisualStyles& VisualStyles::Get() {
    static VisualStyles instance;
    return instance;
}

VisualStyles::VisualStyles() : module_(::LoadLibraryW(L"uxtheme.dll")) {
    if (!module_)
        return;
    HMODULE m = module_.get();
    isThemeActive_ = Lookup<IsThemeActiveFn>(m, "IsThemeActive");
    isAppThemed_ = Lookup<IsAppThemedFn>(m, "IsAppThemed");
    openThemeData_ = Lookup<OpenThemeDataFn>(m, "OpenThemeData");
    closeThemeData_ = Lookup<CloseThemeDataFn>(m, "CloseThemeData");
    getThemeSysColor_ = Lookup<GetThemeSysColorFn>(m, "GetThemeSysColor");
    drawThemeBackground_ = Lookup<DrawThemeBackgroundFn>(m, "DrawThemeBackground");
    drawThemeParentBackground_ =
        Lookup<DrawThemeParentBackgroundFn>(m, "DrawThemeParentBackground");
}

bool VisualStyles::Active() const {
    if (!isThemeActive_ || !openThemeData_ || !closeThemeData_ || !isThemeActive_())
        return false;
    return !isAppThemed_ || isAppThemed_();
}

std::optional<COLORREF> VisualStyles::ThemeSysColor(HWND hwnd, const wchar_t* classList,
                                                    int index) const {
    if (!Active() || !getThemeSysColor_)
        return std::nullopt;
    HANDLE theme = openThemeData_(hwnd, classList);
    if (!theme)
        return std::nullopt;
    const COLORREF colour = getThemeSysColor_(theme, index);
    closeThemeData_(theme);
    return colour;
}

bool VisualStyles::DrawPart(HWND hwnd, HDC dc, const wchar_t* classList, int part, int state,
                            const RECT& rect) const {
    if (!Active() || !drawThemeBackground_)
        return false;
    HANDLE theme = openThemeData_(hwnd, classList);
    if (!theme)
        return false;
    const bool drawn = SUCCEEDED(drawThemeBackground_(theme, dc, part, state, &rect, nullptr));
    closeThemeData_(theme);
    return drawn;
}

bool VisualStyles::DrawParentBackground(HWND hwnd, HDC dc, const RECT& rect) const {
    if (!Active() || !drawThemeParentBackground_)
        return false;
    return SUCCEEDED(drawThemeParentBackground_(hwnd, dc, &rect));
}

} // namespace ui
