#pragma once
// Visual styles through uxtheme.dll, loaded by name at first use. Without the library, or
// with styles switched off, callers fall back to the plain system colours and frames.
#include <windows.h>

#include <optional>

#include "framework/handle.h"

namespace ui {

class VisualStyles {
public:
    // The process-wide instance.
    static VisualStyles& Get();

    // Styles are available and switched on for this program.
    bool Active() const;
    // A system colour as the theme of `classList` draws it; nothing when styles are off.
    std::optional<COLORREF> ThemeSysColor(HWND hwnd, const wchar_t* classList, int index) const;
    // Draws a part of the theme of `classList` over `rect`; false when styles are off or the
    // theme has no such class.
    bool DrawPart(HWND hwnd, HDC dc, const wchar_t* classList, int part, int state,
                  const RECT& rect) const;
    // Paints what the parent of `hwnd` shows behind `rect` (the window's coordinates).
    bool DrawParentBackground(HWND hwnd, HDC dc, const RECT& rect) const;

private:
    VisualStyles();

    using IsThemeActiveFn = BOOL(WINAPI*)();
    using IsAppThemedFn = BOOL(WINAPI*)();
    using OpenThemeDataFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
    using CloseThemeDataFn = HRESULT(WINAPI*)(HANDLE);
    using GetThemeSysColorFn = COLORREF(WINAPI*)(HANDLE, int);
    using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
    using DrawThemeParentBackgroundFn = HRESULT(WINAPI*)(HWND, HDC, const RECT*);

    fw::Module module_;
    IsThemeActiveFn isThemeActive_ = nullptr;
    IsAppThemedFn isAppThemed_ = nullptr;
    OpenThemeDataFn openThemeData_ = nullptr;
    CloseThemeDataFn closeThemeData_ = nullptr;
    GetThemeSysColorFn getThemeSysColor_ = nullptr;
    DrawThemeBackgroundFn drawThemeBackground_ = nullptr;
    DrawThemeParentBackgroundFn drawThemeParentBackground_ = nullptr;
};

} // namespace ui
