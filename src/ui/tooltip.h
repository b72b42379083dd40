#pragma once
// A tooltip control for one window: tools are whole child windows of it, and its mouse
// messages are relayed to the control before dispatch.
#include <windows.h>

#include <string>

namespace ui {

class ToolTip {
public:
    ToolTip() = default;
    ~ToolTip();
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;

    // Tips show also while the owner is inactive.
    bool Create(HWND owner);
    void Destroy() noexcept;
    HWND hwnd() const noexcept { return hwnd_; }

    void Activate(bool on);
    void SetDelays(int initialMs, int autoPopMs);
    // The whole window `tool` shows `text`.
    bool AddTool(HWND tool, const std::wstring& text);
    // Mouse messages for the owner and its children.
    void Relay(const MSG& msg);

private:
    HWND owner_ = nullptr;
    HWND hwnd_ = nullptr;
};

} // namespace ui
