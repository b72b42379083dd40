#pragma once
// The program button bar by keyboard: the keys pressed on the bar or its children move the
// focus between the category area (buttons or tabs) and the program buttons
// (views::ApplyBarKey decides), page, and act as the mouse would. Escape hands the
// foreground back to the window that had it before a click or the find box brought the bar.
#include <windows.h>

#include <vector>

#include "views/bar_host.h"
#include "views/button_strip.h"
#include "views/edit_commands.h"
#include "views/keyboard_focus.h"

namespace views {

class BarKeyboard {
public:
    BarKeyboard(BarHost& host, ButtonStrip& strip, EditCommands& edit)
        : host_(host), strip_(strip), edit_(edit) {}
    BarKeyboard(const BarKeyboard&) = delete;
    BarKeyboard& operator=(const BarKeyboard&) = delete;

    // A key pressed on the bar; false leaves it its ordinary meaning.
    bool OnKey(UINT vk);
    // A click is about to activate the bar: the window in front now is the one Escape goes
    // back to.
    void OnMouseActivate();
    // A button gained the focus: the bar hands it back there when it gets the focus itself
    // (as its window is activated again), while that button is still shown.
    void ButtonFocused(HWND button) noexcept { lastFocus_ = button; }
    void OnBarFocus();
    // The bar was brought forward by keys from elsewhere (the find box): the focus goes to
    // the page's first button, and Escape back to `previous`.
    void TakeFocus(HWND previous);
    // The context menu of what has the focus, at it.
    void ContextMenu();

private:
    // The buttons keys move between now, and the plain values the decision takes.
    struct Areas {
        std::vector<CBookButton*> categories; // empty when the tabs are the category area
        bool tabs = false;
        BarFocusInput in;
    };
    Areas Gather() const;
    FocusPlace Where(const Areas& areas, HWND focus) const;
    // Brings `to` into view and gives it the focus; the window that has it, or null.
    HWND MoveTo(const Areas& areas, FocusPlace to);
    // The first button the keys reach, or the bar itself when none is shown.
    void FocusFirstButton();
    void Act(KeyAction action, const Areas& areas, FocusPlace at, HWND here);
    void EditCommand(const Areas& areas, FocusPlace at, UINT id);
    // After a command: focus that was left on a hidden button, or on a button given another
    // node (a category opened or left), goes to the page's first button.
    void Settle(HWND here, const oVoiceBook* before);

    BarHost& host_;
    ButtonStrip& strip_;
    EditCommands& edit_;
    HWND previous_ = nullptr;
    HWND lastFocus_ = nullptr;
};

} // namespace views
