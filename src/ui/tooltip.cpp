#include "ui/tooltip.h"

#include <commctrl.h>

namespace ui {

ToolTip::~ToolTip() {
    Destroy();
}

bool ToolTip::Create(HWND owner) {
    Destroy();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    owner_ = owner;
    // Not owned by its window: under Wine a window that owns a topmost popup can no longer
    // be made topmost itself, and the bar must be able to return on top. The tooltip is
    // destroyed with its object instead.
    hwnd_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
    return hwnd_ != nullptr;
}

void ToolTip::Destroy() noexcept {
    if (hwnd_ && ::IsWindow(hwnd_))
        ::DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void ToolTip::Activate(bool on) {
    if (hwnd_)
        ::SendMessageW(hwnd_, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
}

void ToolTip::SetDelays(int initialMs, int autoPopMs) {
    if (!hwnd_)
        return;
    ::SendMessageW(hwnd_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(initialMs, 0));
    ::SendMessageW(hwnd_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(autoPopMs, 0));
}

bool ToolTip::AddTool(HWND tool, const std::wstring& text) {
    if (!hwnd_ || !tool)
        return false;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = owner_;
    ti.uId = reinterpret_cast<UINT_PTR>(tool);
    std::wstring copy = text; // the control copies the text
    ti.lpszText = copy.data();
    return ::SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != FALSE;
}

void ToolTip::Relay(const MSG& msg) {
    if (!hwnd_ || msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST)
        return;
    MSG copy = msg;
    ::SendMessageW(hwnd_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
}

} // namespace ui
