#include "views/custom_button.h"

#include "views/button_face.h"

namespace {
constexpr wchar_t kClassName[] = L"LarkCustomButton";
} // namespace

HWND CCustomButton::Create(DWORD extraStyle, const RECT& rect, HWND parent, UINT id,
                           DrawRoutine draw) {
    draw_ = draw;
    return CreateButton(kClassName, 0, WS_VISIBLE | extraStyle, rect, parent, id);
}

void CCustomButton::DrawFace(HDC dc, int state) {
    if (!draw_)
        return;
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    draw_(dc, state == views::kStatePressed, client);
}
