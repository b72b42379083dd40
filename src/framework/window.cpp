#include "framework/window.h"

#include "framework/app.h"
#include "framework/debug_log.h"
#include "framework/resources.h"

namespace fw {

Window::~Window() {
    if (!hwnd_ || !::IsWindow(hwnd_))
        return;
    // Too late for the derived class's OnDestroy: make sure nothing reaches this object.
    const HWND hwnd = hwnd_;
    DebugLog(L"a window object went away before its window");
    if (::GetWindowLongPtrW(hwnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    ::DestroyWindow(hwnd);
    App::WindowDestroyed(hwnd);
}

bool Window::RegisterClass(const wchar_t* className, UINT style, HCURSOR cursor, HBRUSH background,
                           HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(ProgramModule(), className, &wc))
        return true;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = ProgramModule();
    wc.hCursor = cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc) != 0;
}

HWND Window::Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    const RECT& rect, HWND parent, UINT id) {
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    return ::CreateWindowExW(exStyle, className, title, style, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent, menu,
                             ProgramModule(), this);
}

void Window::Destroy() noexcept {
    if (hwnd_ && ::IsWindow(hwnd_))
        ::DestroyWindow(hwnd_);
}

Window* Window::FromHandle(HWND hwnd) noexcept {
    if (!hwnd ||
        ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Window::Procedure))
        return nullptr;
    return reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT Window::CallDefault(UINT msg, WPARAM wp, LPARAM lp) {
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        self = static_cast<Window*>(cs->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return ::DefWindowProcW(hwnd, msg, wp, lp);

    LRESULT result = 0;
    try {
        if (!self->Dispatch(msg, wp, lp, result))
            result = ::DefWindowProcW(hwnd, msg, wp, lp);
    } catch (...) {
        // An exception must not cross the system's window procedure. During creation the
        // window is refused, so the system destroys it and the creation answers null.
        LogHandlerException(L"window", msg);
        if (msg == WM_NCCREATE)
            result = FALSE;
        else if (msg == WM_CREATE)
            result = -1;
        else
            result = ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY || (msg == WM_NCCREATE && !result)) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        App::WindowDestroyed(hwnd);
        self->OnFinalMessage();
    }
    return result;
}

} // namespace fw
