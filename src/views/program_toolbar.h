#pragma once
// The child window that fills the bar: it will hold the category and program buttons.
// It owns the tree's save timing.
#include "framework/window.h"

class CProgramToolBar : public fw::Window {
public:
    CProgramToolBar();
    ~CProgramToolBar() override;

    HWND Create(const RECT& rect, HWND parent, UINT id);

    // Writes the tree when a change is pending (called at exit and at the end of a session).
    void SaveIfPending();
};
