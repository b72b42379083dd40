#include "views/program_toolbar.h"

#include "app/main_app.h"

namespace {
constexpr wchar_t kClassName[] = L"LarkProgramToolBar";
}

CProgramToolBar::CProgramToolBar() = default;
CProgramToolBar::~CProgramToolBar() = default;

HWND CProgramToolBar::Create(const RECT& rect, HWND parent, UINT id) {
    RegisterClass(kClassName, 0, ::LoadCursorW(nullptr, IDC_ARROW),
                  reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    return fw::Window::Create(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect,
                              parent, id);
}

void CProgramToolBar::SaveIfPending() {}
