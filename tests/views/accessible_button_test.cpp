// What a button tells assistive programs and the colours it draws in, decided over plain facts.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include "views/accessible_button.h"
#include "views/contrast.h"

namespace {

using views::ButtonKind;

constexpr long kFocusable = STATE_SYSTEM_FOCUSABLE;

TEST(AccessibleButtonTest, RoleStateAndActionFollowTheFacts) {
    struct Case {
        ButtonKind kind;
        bool focused, hot, pressed, checked, disabled, hidden;
        long role, state;
        const wchar_t* action;
    };
    const Case cases[] = {
        {ButtonKind::Program, 0, 0, 0, 0, 0, 0, ROLE_SYSTEM_PUSHBUTTON, kFocusable, L"Open"},
        {ButtonKind::Program, 1, 1, 1, 0, 0, 0, ROLE_SYSTEM_PUSHBUTTON,
         kFocusable | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_PRESSED,
         L"Open"},
        // Unavailable wins over the pointer and focus, and has nothing to do.
        {ButtonKind::Program, 1, 1, 0, 0, 1, 0, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE,
         L""},
        {ButtonKind::Program, 0, 0, 0, 0, 0, 1, ROLE_SYSTEM_PUSHBUTTON,
         kFocusable | STATE_SYSTEM_INVISIBLE, L"Open"},
        {ButtonKind::Category, 0, 0, 0, 1, 0, 0, ROLE_SYSTEM_PAGETAB,
         kFocusable | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED, L"Switch"},
        {ButtonKind::Category, 0, 1, 0, 0, 0, 0, ROLE_SYSTEM_PAGETAB,
         kFocusable | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_HOTTRACKED, L"Switch"},
        {ButtonKind::Picture, 0, 0, 0, 0, 1, 0, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE,
         L""},
        {ButtonKind::Separator, 1, 1, 0, 0, 0, 0, ROLE_SYSTEM_SEPARATOR, 0, L""},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row++);
        const views::ButtonFacts f{c.kind,    L"Editor", L"C:\\editor.exe", c.focused, c.hot,
                                   c.pressed, c.checked, c.disabled,        c.hidden};
        const fw::AccessibleInfo info = views::DescribeButton(f);
        EXPECT_EQ(info.role, c.role);
        EXPECT_EQ(info.state, c.state);
        EXPECT_EQ(info.defaultAction, c.action);
        // Only a program button has a target to tell; a separator has no name.
        EXPECT_EQ(info.description, c.kind == ButtonKind::Program ? f.target : L"");
        EXPECT_EQ(info.name, c.kind == ButtonKind::Separator ? L"" : f.name);
    }
}

TEST(AccessibleButtonTest, HighContrastUsesTheHighlightForLitAndChosenFaces) {
    using views::FacePart;
    struct Case {
        bool high;
        FacePart part;
        bool lit, selected;
        views::FaceColours expected;
    };
    const views::FaceColours plain{COLOR_BTNFACE, COLOR_BTNTEXT};
    const views::FaceColours chosen{COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
    const Case cases[] = {
        {true, FacePart::Button, false, false, plain},
        {true, FacePart::Button, true, false, chosen},
        {true, FacePart::Button, false, true, chosen},
        {true, FacePart::Tab, false, false, plain},
        {true, FacePart::Tab, false, true, chosen},
        {false, FacePart::Button, true, true, plain},
        {false, FacePart::Tab, false, false, {COLOR_BTNFACE, COLOR_WINDOWTEXT}},
        {false, FacePart::Tab, false, true, {COLOR_WINDOW, COLOR_WINDOWTEXT}},
        {false, FacePart::Tab, true, true, {COLOR_BTNHIGHLIGHT, COLOR_WINDOWTEXT}},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row++);
        EXPECT_TRUE(views::ChooseFaceColours(c.high, c.part, c.lit, c.selected) == c.expected);
    }
}

} // namespace
