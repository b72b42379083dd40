#pragma once
// What each button of the bar tells assistive programs, decided over plain facts the
// window gathers; the window answers with it through fw::AnswerAccessible.
#include <windows.h>

#include <string>

#include "framework/accessible.h"

namespace views {

enum class ButtonKind {
    Program,   // launches its target
    Category,  // a category button or a tab: shows its category
    Picture,   // paging, navigation and the grip's buttons: named by their tips
    Separator, // a line between buttons
};

struct ButtonFacts {
    ButtonKind kind = ButtonKind::Program;
    std::wstring name;   // the node's name, or the tip of a picture button
    std::wstring target; // what a program button starts
    bool focused = false;
    bool hot = false; // the pointer is over it
    bool pressed = false;
    bool checked = false; // the category shown
    bool disabled = false;
    bool hidden = false;
};

fw::AccessibleInfo DescribeButton(const ButtonFacts& facts);

// The text of the tip a tooltip control of this thread shows for the whole window `tool`,
// or empty when none has one.
std::wstring ToolTipTextOf(HWND tool);

} // namespace views
