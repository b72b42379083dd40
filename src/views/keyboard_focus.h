#pragma once
// Where a key moves the keyboard focus on the program button bar, and what it does there.
// The bar has two areas: the category buttons and the program buttons; the program buttons
// page, and focus only ever lands on a button of the shown page.
#include <windows.h>

#include <vector>

namespace views {

enum class FocusArea { Bar, Categories, Programs }; // Bar: the bar itself, no button
enum class BarKey {
    Other,
    Tab,
    ShiftTab,
    Back,
    Forward,
    Home,
    End,
    Enter,
    Space,
    Backspace,
    Menu,
    Delete,
    F2,
    Escape
};
enum class KeyAction { None, Open, GoUp, ContextMenu, Delete, Properties, GiveBack };

struct FocusPlace {
    FocusArea area = FocusArea::Bar;
    int index = 0; // a category button, or a program button counted from the first
    bool operator==(const FocusPlace& o) const { return area == o.area && index == o.index; }
};

struct BarFocusInput {
    int categories = 0;         // category buttons shown
    int selectedCategory = 0;   // where Tab enters the category area
    int programs = 0;           // program buttons that show something
    int firstVisible = 0;       // the first program button of the page
    int pageSize = 0;           // program buttons on the page
    std::vector<bool> passOver; // program buttons focus passes over (lines); missing: none
};

struct BarKeyResult {
    bool handled = false; // false: the key keeps its ordinary meaning
    FocusPlace focus;
    int firstVisible = 0;
    KeyAction action = KeyAction::None;
};

// The key a key-down message is on a bar laid out along `vertical`; arrows across the bar
// are Other.
BarKey BarKeyOf(UINT vk, bool shift, bool vertical);
BarKeyResult ApplyBarKey(const BarFocusInput& in, FocusPlace at, BarKey key);

} // namespace views
