// Where keys move the focus on the bar, and what they do there.
#include <gtest/gtest.h>

#include "views/keyboard_focus.h"

namespace {

using views::BarKey;
using views::FocusArea;
using views::KeyAction;

constexpr FocusArea B = FocusArea::Bar, C = FocusArea::Categories, P = FocusArea::Programs;

struct KeyCase {
    int categories, programs, first, page; // the bar
    FocusArea area;                        // the focus before
    int index;
    BarKey key;
    bool handled; // after
    FocusArea toArea;
    int toIndex, toFirst;
    KeyAction action;
};

// Three categories (the second selected), twelve programs, five to a page.
const KeyCase kCases[] = {
    {3, 12, 0, 5, B, 0, BarKey::Tab, true, P, 0, 0, KeyAction::None},
    {3, 12, 5, 5, P, 6, BarKey::Tab, true, C, 1, 5, KeyAction::None},
    {3, 12, 5, 5, C, 2, BarKey::ShiftTab, true, P, 5, 5, KeyAction::None},
    {0, 12, 5, 5, P, 6, BarKey::Tab, true, P, 6, 5, KeyAction::None},
    {3, 0, 0, 0, C, 0, BarKey::Tab, true, C, 0, 0, KeyAction::None},
    {0, 0, 0, 0, B, 0, BarKey::Tab, true, B, 0, 0, KeyAction::None},
    // Along the page, and a page on at either end.
    {3, 12, 0, 5, P, 2, BarKey::Forward, true, P, 3, 0, KeyAction::None},
    {3, 12, 0, 5, P, 4, BarKey::Forward, true, P, 5, 5, KeyAction::None},
    {3, 12, 5, 5, P, 5, BarKey::Back, true, P, 4, 0, KeyAction::None},
    {3, 12, 10, 5, P, 11, BarKey::Forward, true, P, 11, 10, KeyAction::None},
    {3, 12, 0, 5, P, 0, BarKey::Back, true, P, 0, 0, KeyAction::None},
    {3, 12, 0, 5, P, 1, BarKey::End, true, P, 11, 10, KeyAction::None},
    {3, 12, 10, 5, P, 11, BarKey::Home, true, P, 0, 0, KeyAction::None},
    {3, 12, 3, 5, P, 7, BarKey::Back, true, P, 6, 3, KeyAction::None},
    {3, 12, 0, 5, C, 2, BarKey::Forward, true, C, 2, 0, KeyAction::None},
    {3, 12, 0, 5, C, 2, BarKey::Home, true, C, 0, 0, KeyAction::None},
    {3, 12, 5, 5, B, 0, BarKey::Forward, true, P, 5, 5, KeyAction::None},
    // A place that went with its category counts as none.
    {3, 2, 0, 5, P, 7, BarKey::Back, true, P, 0, 0, KeyAction::None},
    // Actions stay where the focus is.
    {3, 12, 5, 5, P, 6, BarKey::Enter, true, P, 6, 5, KeyAction::Open},
    {3, 12, 5, 5, C, 1, BarKey::Space, true, C, 1, 5, KeyAction::Open},
    {3, 12, 5, 5, P, 6, BarKey::Backspace, true, P, 6, 5, KeyAction::GoUp},
    {3, 12, 5, 5, P, 6, BarKey::Menu, true, P, 6, 5, KeyAction::ContextMenu},
    {3, 12, 5, 5, P, 6, BarKey::Delete, true, P, 6, 5, KeyAction::Delete},
    {3, 12, 5, 5, C, 0, BarKey::F2, true, C, 0, 5, KeyAction::Properties},
    {3, 12, 5, 5, P, 6, BarKey::Escape, true, P, 6, 5, KeyAction::GiveBack},
    {3, 12, 5, 5, B, 0, BarKey::Enter, false, B, 0, 0, KeyAction::None},
    {3, 12, 5, 5, B, 0, BarKey::Delete, false, B, 0, 0, KeyAction::None},
    {3, 12, 5, 5, P, 6, BarKey::Other, false, B, 0, 0, KeyAction::None},
};

TEST(KeyboardFocus, KeysMoveFocusPageAndAct) {
    for (const KeyCase& c : kCases) {
        const views::BarFocusInput in{c.categories, 1, c.programs, c.first, c.page, {}};
        const auto r = views::ApplyBarKey(in, {c.area, c.index}, c.key);
        SCOPED_TRACE(testing::Message() << "case " << (&c - kCases));
        EXPECT_EQ(r.handled, c.handled);
        if (!r.handled)
            continue;
        EXPECT_TRUE(r.focus == (views::FocusPlace{c.toArea, c.toIndex}))
            << int(r.focus.area) << "/" << r.focus.index;
        EXPECT_EQ(r.firstVisible, c.toFirst);
        EXPECT_EQ(r.action, c.action);
    }
}

// Six programs, three to a page, lines at 0, 3 and 5: focus passes over the lines.
TEST(KeyboardFocus, FocusPassesOverLines) {
    views::BarFocusInput in{0, 0, 6, 0, 3, {true, false, false, true, false, true}};
    const struct {
        FocusArea area;
        int index, first;
        BarKey key;
        int toIndex, toFirst;
    } cases[] = {
        {B, 0, 0, BarKey::Tab, 1, 0},     {P, 2, 0, BarKey::Forward, 4, 3},
        {P, 4, 3, BarKey::Forward, 4, 3}, {P, 4, 3, BarKey::Back, 2, 0},
        {P, 2, 0, BarKey::End, 4, 3},     {P, 4, 3, BarKey::Home, 1, 0},
        {B, 0, 3, BarKey::Forward, 4, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        in.firstVisible = c.first;
        const auto r = views::ApplyBarKey(in, {c.area, c.index}, c.key);
        EXPECT_TRUE(r.focus == (views::FocusPlace{P, c.toIndex})) << r.focus.index;
        EXPECT_EQ(r.firstVisible, c.toFirst);
    }
}

TEST(KeyboardFocus, ArrowsFollowTheBarsOrientation) {
    EXPECT_EQ(views::BarKeyOf(VK_RIGHT, false, false), BarKey::Forward);
    EXPECT_EQ(views::BarKeyOf(VK_DOWN, false, false), BarKey::Other);
    EXPECT_EQ(views::BarKeyOf(VK_DOWN, false, true), BarKey::Forward);
    EXPECT_EQ(views::BarKeyOf(VK_LEFT, false, true), BarKey::Other);
    EXPECT_EQ(views::BarKeyOf(VK_F10, true, false), BarKey::Menu);
    EXPECT_EQ(views::BarKeyOf(VK_F10, false, false), BarKey::Other);
    EXPECT_EQ(views::BarKeyOf(VK_TAB, true, false), BarKey::ShiftTab);
}

} // namespace
