#pragma once
// Window base: registers classes, creates the window with `this` attached and dispatches
// messages to the typed handlers of MessageTarget.
#include "framework/message_target.h"

#include <string>

namespace fw {

class Window : public MessageTarget {
public:
    Window() = default;
    // The window must be gone by now: the most derived class destroys it (Destroy) in its own
    // destructor, so that its OnDestroy still runs. A window left over is cut loose from the
    // object and destroyed without reaching it.
    ~Window() override;

    // Registers a window class of this program whose procedure is Window's (once per name).
    static bool RegisterClass(const wchar_t* className, UINT style = 0, HCURSOR cursor = nullptr,
                              HBRUSH background = nullptr, HICON icon = nullptr);
    // Null when the window cannot be made, OnCreate refused or a creation handler threw.
    HWND Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                const RECT& rect, HWND parent, UINT id);
    void Destroy() noexcept;

    // The object behind a window of this layer, or null for any other window.
    static Window* FromHandle(HWND hwnd) noexcept;

protected:
    // Called after the last message; the object may delete itself here.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp) override;
};

} // namespace fw
