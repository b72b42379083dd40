#include "views/keyboard_focus.h"

#include <algorithm>

namespace views {

BarKey BarKeyOf(UINT vk, bool shift, bool vertical) {
    switch (vk) {
    case VK_TAB:
        return shift ? BarKey::ShiftTab : BarKey::Tab;
    case VK_LEFT:
        return vertical ? BarKey::Other : BarKey::Back;
    case VK_RIGHT:
        return vertical ? BarKey::Other : BarKey::Forward;
    case VK_UP:
        return vertical ? BarKey::Back : BarKey::Other;
    case VK_DOWN:
        return vertical ? BarKey::Forward : BarKey::Other;
    case VK_HOME:
        return BarKey::Home;
    case VK_END:
        return BarKey::End;
    case VK_RETURN:
        return BarKey::Enter;
    case VK_SPACE:
        return BarKey::Space;
    case VK_BACK:
        return BarKey::Backspace;
    case VK_APPS:
        return BarKey::Menu;
    case VK_F10:
        return shift ? BarKey::Menu : BarKey::Other;
    case VK_DELETE:
        return BarKey::Delete;
    case VK_F2:
        return BarKey::F2;
    case VK_ESCAPE:
        return BarKey::Escape;
    default:
        return BarKey::Other;
    }
}

namespace {

bool Focusable(const BarFocusInput& in, int index) {
    return index < 0 || static_cast<size_t>(index) >= in.passOver.size() ||
           !in.passOver[static_cast<size_t>(index)];
}

// The nearest program button focus can land on from `from` going `step`, or -1.
int NextFocusable(const BarFocusInput& in, int from, int step) {
    for (int i = from; i >= 0 && i < in.programs; i += step)
        if (Focusable(in, i))
            return i;
    return -1;
}

// The last program button of the page.
int PageEnd(const BarFocusInput& in, int first) {
    return std::min(in.programs, first + std::max(1, in.pageSize)) - 1;
}

// A program button the page is brought to: the page moves by whole pages until it holds it.
BarKeyResult OnProgram(const BarFocusInput& in, int index) {
    BarKeyResult r;
    r.handled = true;
    r.focus = {FocusArea::Programs, index};
    const int page = std::max(1, in.pageSize);
    int first = std::clamp(in.firstVisible, 0, std::max(0, in.programs - 1));
    while (index < first)
        first = std::max(0, first - page);
    while (index > PageEnd(in, first))
        first += page;
    r.firstVisible = first;
    return r;
}

BarKeyResult OnCategory(const BarFocusInput& in, int index) {
    BarKeyResult r;
    r.handled = true;
    r.focus = {FocusArea::Categories, std::clamp(index, 0, in.categories - 1)};
    r.firstVisible = in.firstVisible;
    return r;
}

// Tab enters an area where it is natural: the selected category, the page's first button.
BarKeyResult Enter(const BarFocusInput& in, FocusArea area) {
    if (area == FocusArea::Categories && in.categories > 0)
        return OnCategory(in, in.selectedCategory);
    if (area == FocusArea::Programs && in.programs > 0) {
        const int first = std::clamp(in.firstVisible, 0, in.programs - 1);
        int index = NextFocusable(in, first, 1);
        if (index < 0)
            index = NextFocusable(in, first, -1);
        if (index >= 0)
            return OnProgram(in, index);
    }
    return {};
}

} // namespace

BarKeyResult ApplyBarKey(const BarFocusInput& in, FocusPlace at, BarKey key) {
    // A place that is gone (the category changed under it) counts as the bar itself.
    if ((at.area == FocusArea::Programs && (at.index < 0 || at.index >= in.programs)) ||
        (at.area == FocusArea::Categories && (at.index < 0 || at.index >= in.categories)))
        at = FocusPlace{};
    BarKeyResult same;
    same.handled = true;
    same.focus = at;
    same.firstVisible = in.firstVisible;
    const auto act = [&same](KeyAction action) {
        same.action = action;
        return same;
    };
    const bool onButton = at.area != FocusArea::Bar;
    switch (key) {
    case BarKey::Tab:
    case BarKey::ShiftTab: {
        // Two areas: either way goes to the other one, or enters the bar's buttons.
        const FocusArea next =
            at.area == FocusArea::Programs ? FocusArea::Categories : FocusArea::Programs;
        BarKeyResult r = Enter(in, next);
        if (!r.handled && at.area == FocusArea::Bar)
            r = Enter(in, FocusArea::Categories);
        return r.handled ? r : same; // the other area is empty: the focus stays
    }
    case BarKey::Back:
    case BarKey::Forward:
    case BarKey::Home:
    case BarKey::End: {
        if (!onButton) {
            const BarKeyResult r = Enter(in, FocusArea::Programs);
            return r.handled ? r : Enter(in, FocusArea::Categories);
        }
        if (at.area == FocusArea::Categories) {
            int index = at.index;
            if (key == BarKey::Back)
                index = index - 1;
            else if (key == BarKey::Forward)
                index = index + 1;
            else
                index = key == BarKey::Home ? 0 : in.categories - 1;
            return OnCategory(in, index);
        }
        // Lines are passed over; at either end the focus stays.
        int index = -1;
        if (key == BarKey::Back || key == BarKey::Forward)
            index = NextFocusable(in, at.index + (key == BarKey::Back ? -1 : 1),
                                  key == BarKey::Back ? -1 : 1);
        else
            index = key == BarKey::Home ? NextFocusable(in, 0, 1)
                                        : NextFocusable(in, in.programs - 1, -1);
        return OnProgram(in, index >= 0 ? index : at.index);
    }
    case BarKey::Enter:
    case BarKey::Space:
        return onButton ? act(KeyAction::Open) : BarKeyResult{};
    case BarKey::Backspace:
        return act(KeyAction::GoUp);
    case BarKey::Menu:
        return act(KeyAction::ContextMenu);
    case BarKey::Delete:
        return onButton ? act(KeyAction::Delete) : BarKeyResult{};
    case BarKey::F2:
        return onButton ? act(KeyAction::Properties) : BarKeyResult{};
    case BarKey::Escape:
        return act(KeyAction::GiveBack);
    case BarKey::Other:
        break;
    }
    return {};
}

} // namespace views
