#pragma once
// An owner-drawn push button that paints through a drawing routine given at creation. The
// parent hands its WM_DRAWITEM to DrawReflected, which finds the button by its window.
#include <windows.h>

class CCustomButton {
public:
    // `selected` is the item's selected state: the button is held down.
    using DrawRoutine = void (*)(HDC dc, bool selected, const DRAWITEMSTRUCT& item);

    CCustomButton() = default;
    ~CCustomButton();
    CCustomButton(const CCustomButton&) = delete;
    CCustomButton& operator=(const CCustomButton&) = delete;

    // A visible owner-drawn child push button with `extraStyle` added.
    HWND Create(DWORD extraStyle, const RECT& rect, HWND parent, UINT id, DrawRoutine draw);
    HWND hwnd() const noexcept { return hwnd_; }

    // Paints the item when it belongs to a CCustomButton with a routine; false otherwise.
    static bool DrawReflected(const DRAWITEMSTRUCT& item);

private:
    HWND hwnd_ = nullptr;
    DrawRoutine draw_ = nullptr;
};
