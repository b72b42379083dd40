#include "ui/window_dpi.h"

#include "framework/gdi.h"
#include "model/dpi_units.h"

namespace ui {
#ifndef LARK_SINGLE_BYTE
namespace {
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn DpiForWindow() {
    static const GetDpiForWindowFn fn = [] {
        HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<GetDpiForWindowFn>(
                            reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")))
                      : nullptr;
    }();
    return fn;
}

int DeviceDpi(HWND hwnd) {
    fw::WindowDC dc(hwnd);
    const int dpi = dc.get() ? ::GetDeviceCaps(dc.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : model::kBaseDpi;
}
} // namespace
#endif

int WindowDpi(HWND hwnd) {
#ifdef LARK_SINGLE_BYTE
    (void)hwnd;
    return model::kBaseDpi;
#else
    if (hwnd) {
        if (GetDpiForWindowFn fn = DpiForWindow()) {
            const UINT dpi = fn(hwnd);
            if (dpi > 0)
                return static_cast<int>(dpi);
        }
    }
    return DeviceDpi(hwnd);
#endif
}

int SystemDpi() {
#ifdef LARK_SINGLE_BYTE
    return model::kBaseDpi;
#else
    // Fixed for the life of the process; asked for at every button's paint (through the
    // font), and each look at the screen's device context is a round trip to the window
    // system.
    static const int dpi = DeviceDpi(nullptr);
    return dpi;
#endif
}

int SystemMetricAt(int index, int dpi) {
    return model::ScaleBetweenDpi(::GetSystemMetrics(index), SystemDpi(), dpi);
}

} // namespace ui
