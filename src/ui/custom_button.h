#pragma once
// An owner-drawn push button that paints through a drawing routine given at creation. The
// parent hands its WM_DRAWITEM to DrawReflected, which finds the button by its window.
#include <windows.h>

class CCustomButton {
public:
    using DrawRoutine = void (*)(const DRAWITEMSTRUCT& item);

    CCustomButton() = default;
    ~CCustomButton();
    CCustomButton(const CCustomButton&) = delete;
    CCustomButton& operator=(const CCustomButton&) = delete;

    // A visible owner-drawn child push button.
    HWND Create(HWND parent, UINT id, DrawRoutine draw, const RECT& rect = RECT{});
    HWND hwnd() const noexcept { return hwnd_; }

    // Paints the item when it belongs to a CCustomButton; false otherwise.
    static bool DrawReflected(const DRAWITEMSTRUCT& item);

private:
    HWND hwnd_ = nullptr;
    DrawRoutine draw_ = nullptr;
};
