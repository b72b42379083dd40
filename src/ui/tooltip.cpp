#include "ui/tooltip.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace ui {

namespace {
// The live controls, for MenuLoop; all of them belong to the one user-interface thread.
std::vector<ToolTip*>& Live() {
    static std::vector<ToolTip*> live;
    return live;
}
} // namespace

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
    hwnd_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd_)
        Live().push_back(this);
    return hwnd_ != nullptr;
}

void ToolTip::Destroy() noexcept {
    auto& live = Live();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    if (hwnd_ && ::IsWindow(hwnd_))
        ::DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void ToolTip::Activate(bool on) {
    active_ = on;
    if (hwnd_)
        ::SendMessageW(hwnd_, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
}

void ToolTip::SetDelays(int initialMs, int autoPopMs) {
    if (!hwnd_)
        return;
    ::SendMessageW(hwnd_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(initialMs, 0));
    ::SendMessageW(hwnd_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(autoPopMs, 0));
}

TTTOOLINFOW ToolTip::Info(UINT_PTR id) const noexcept {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = owner_;
    ti.uId = id;
    return ti;
}

bool ToolTip::AddTool(HWND tool, const std::wstring& text) {
    if (!hwnd_ || !tool)
        return false;
    TTTOOLINFOW ti = Info(reinterpret_cast<UINT_PTR>(tool));
    ti.uFlags = TTF_IDISHWND;
    std::wstring copy = text; // the control copies the text
    ti.lpszText = copy.data();
    return ::SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != FALSE;
}

bool ToolTip::AddRectTool(UINT_PTR id, const RECT& rect) {
    if (!hwnd_)
        return false;
    TTTOOLINFOW ti = Info(id);
    ti.rect = rect;
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    return ::SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != FALSE;
}

void ToolTip::DeleteTool(UINT_PTR id) {
    if (!hwnd_)
        return;
    TTTOOLINFOW ti = Info(id);
    ::SendMessageW(hwnd_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ToolTip::Relay(const MSG& msg) {
    if (!hwnd_ || msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST)
        return;
    MSG copy = msg;
    ::SendMessageW(hwnd_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
}

void ToolTip::Quiet(bool quiet) {
    if (!hwnd_)
        return;
    if (quiet) {
        // A tip whose delay still runs would show once the delay ends, over the menu: the
        // pointer is said to have left every tool first (the control's own window is none).
        MSG away{};
        away.hwnd = hwnd_;
        away.message = WM_MOUSEMOVE;
        ::SendMessageW(hwnd_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&away));
        ::SendMessageW(hwnd_, TTM_POP, 0, 0);
    }
    ::SendMessageW(hwnd_, TTM_ACTIVATE, !quiet && active_ ? TRUE : FALSE, 0);
}

void ToolTip::MenuLoop(bool open) {
    for (ToolTip* tip : Live())
        tip->Quiet(open);
}

} // namespace ui
