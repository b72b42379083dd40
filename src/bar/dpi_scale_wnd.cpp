#include "bar/dpi_scale_wnd.h"

namespace {
constexpr wchar_t kClassName[] = L"LarkDpiScaleWnd";

using LogicalToPhysicalFn = BOOL(WINAPI*)(HWND, LPPOINT);

LogicalToPhysicalFn LogicalToPhysical() {
    // Looked up by name: older systems do not have it.
    static const LogicalToPhysicalFn fn = [] {
        HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<LogicalToPhysicalFn>(reinterpret_cast<void*>(
                            ::GetProcAddress(user32, "LogicalToPhysicalPointForPerMonitorDPI")))
                      : nullptr;
    }();
    return fn;
}
} // namespace

bool CDpiScaleWnd::CreateProbe() {
    RegisterClass(kClassName);
    return Create(0, kClassName, L"DpiScaleWnd", WS_POPUP, RECT{0, 0, 100, 100}, nullptr, 0) !=
           nullptr;
}

float CDpiScaleWnd::ScaleAt(POINT pt) {
    if (!hwnd_)
        return 1.0f;
    ::SetWindowPos(hwnd_, nullptr, pt.x, pt.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    const LONG width = r.right - r.left;
    if (width <= 0)
        return 1.0f;
    POINT topLeft{r.left, r.top};
    POINT bottomRight{r.right, r.bottom};
    if (LogicalToPhysicalFn convert = LogicalToPhysical()) {
        convert(hwnd_, &topLeft);
        convert(hwnd_, &bottomRight);
    }
    return static_cast<float>(bottomRight.x - topLeft.x) / static_cast<float>(width);
}
