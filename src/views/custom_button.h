#pragma once
// A push button that paints through a drawing routine given at creation (the bar's menu and
// exit buttons, the grip strip).
#include <windows.h>

#include "views/push_button.h"

class CCustomButton : public views::PushButton {
public:
    // `pressed`: the button is held down with the pointer over it.
    using DrawRoutine = void (*)(HDC dc, bool pressed, const RECT& rect);

    CCustomButton() = default;
    ~CCustomButton() override = default;

    // A visible child button with `extraStyle` added.
    HWND Create(DWORD extraStyle, const RECT& rect, HWND parent, UINT id, DrawRoutine draw);

protected:
    void DrawFace(HDC dc, int state) override;

private:
    DrawRoutine draw_ = nullptr;
};
