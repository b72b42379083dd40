#pragma once
// A tooltip control for one window: its tools are child windows of it or rectangles of its
// client area, and its mouse messages are relayed to the control before dispatch.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace ui {

class ToolTip {
public:
    ToolTip() = default;
    ~ToolTip();
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;

    // Tips show also while the owner is inactive; texts are names, never mnemonics.
    bool Create(HWND owner);
    void Destroy() noexcept;
    HWND hwnd() const noexcept { return hwnd_; }

    void Activate(bool on);
    void SetDelays(int initialMs, int autoPopMs);
    // The whole window `tool` shows `text`.
    bool AddTool(HWND tool, const std::wstring& text);
    // A rectangle of the owner's client area; the owner is asked for the text
    // (TTN_GETDISPINFO with `id`).
    bool AddRectTool(UINT_PTR id, const RECT& rect);
    void DeleteTool(UINT_PTR id);
    // Mouse messages for the owner and its children.
    void Relay(const MSG& msg);

    // A menu opens (true) or closes: every tip of the program goes and none shows while the
    // menu is open, as a tip would lie over the menu's rows. Windows that open menus call it
    // on WM_ENTERMENULOOP and WM_EXITMENULOOP.
    static void MenuLoop(bool open);

private:
    // A tool of the owner's with identifier `id`.
    TTTOOLINFOW Info(UINT_PTR id) const noexcept;
    void Quiet(bool quiet);

    HWND owner_ = nullptr;
    HWND hwnd_ = nullptr;
    bool active_ = false;
};

} // namespace ui
