#pragma once
// What a window tells assistive programs (screen readers, magnifiers): WM_GETOBJECT for its
// client area is answered with an IAccessible of ours that asks the window, each time, for a
// plain AccessibleInfo. The system's standard object of the window stands behind it for
// what a plain value does not say (place, parent, navigation, focus).
//
// The object keeps only the window handle: a client may hold it long after the window is
// gone, and then gets an error rather than a call into a freed object.
#include <windows.h>

#include <string>

namespace fw {

// What one element says of itself: the window (child 0) or a part it draws (1, 2, ...).
struct AccessibleInfo {
    std::wstring name;
    std::wstring description;
    std::wstring defaultAction; // empty: none
    long role = 0;              // ROLE_SYSTEM_...
    long state = 0;             // STATE_SYSTEM_...
};

// Filled by the window for one element; `child` is 0 for the window itself.
struct AccessibleQuery {
    long child = 0;
    bool doDefaultAction = false; // carry the default action out instead of describing
    AccessibleInfo info;
    long childCount = 0;   // parts drawn by the window, each with a number from 1
    RECT childRect{};      // of `child` above 0, in screen coordinates
    bool answered = false; // the window knows this element
};

// The message the object sends its window: lParam an AccessibleQuery*. A window that
// describes itself answers it through AnswerAccessible.
UINT AccessibleQueryMessage();

// For a window's message handler: answers WM_GETOBJECT for the client area (with
// `answer`) and the query message (through `describe`, called with the query to fill).
// False for any other message.
template <class Describe>
bool AnswerAccessible(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& answer,
                      Describe&& describe);

// The answer to WM_GETOBJECT(OBJID_CLIENT) for `hwnd`, or 0 when it cannot be made.
LRESULT AccessibleObjectFor(HWND hwnd, WPARAM wp);

// Tells listeners that keyboard focus moved to `child` of `hwnd` (CHILDID_SELF: the window).
void NotifyFocus(HWND hwnd, long child = CHILDID_SELF);
// Tells listeners that what `child` of `hwnd` says of itself (its state) changed.
void NotifyStateChange(HWND hwnd, long child = CHILDID_SELF);

template <class Describe>
bool AnswerAccessible(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& answer,
                      Describe&& describe) {
    if (msg == WM_GETOBJECT) {
        if (static_cast<LONG>(lp) != OBJID_CLIENT)
            return false;
        answer = AccessibleObjectFor(hwnd, wp);
        return answer != 0;
    }
    if (msg != AccessibleQueryMessage() || lp == 0)
        return false;
    describe(*reinterpret_cast<AccessibleQuery*>(lp));
    answer = 1;
    return true;
}

} // namespace fw
