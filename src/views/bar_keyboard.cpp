#include "views/bar_keyboard.h"

#include <algorithm>

#include "framework/accessible.h"
#include "model/voice_book.h"
#include "resource.h"
#include "views/bar_keys.h"
#include "views/edit_menu.h"
#include "views/tab_view_wnd.h"
#include "views/toolbar_ids.h"

namespace views {

namespace {

int IndexOf(const std::vector<CBookButton*>& buttons, HWND hwnd) {
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->hwnd() == hwnd)
            return static_cast<int>(i);
    return -1;
}

POINT CentreOf(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool OfThisProcess(HWND hwnd) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    return process == ::GetCurrentProcessId();
}

} // namespace

BarKeyboard::Areas BarKeyboard::Gather() const {
    Areas a;
    a.categories = strip_.KeyboardCategoryButtons();
    a.in.pageSize = strip_.ShownProgramCount();
    // None where the view shows only categories; else every one, paged away or not.
    const size_t programs = a.in.pageSize == 0 ? 0 : strip_.ProgramCount();
    const CTabViewWnd& tabs = strip_.Tabs();
    a.tabs = a.categories.empty() && tabs.hwnd() && ::IsWindowVisible(tabs.hwnd()) &&
             tabs.TabCount() > 0;
    if (a.tabs) {
        a.in.categories = tabs.TabCount();
        a.in.selectedCategory = std::max(0, tabs.Selected());
    } else {
        a.in.categories = static_cast<int>(a.categories.size());
        for (size_t i = 0; i < a.categories.size(); ++i)
            if (a.categories[i]->IsChecked())
                a.in.selectedCategory = static_cast<int>(i);
    }
    a.in.programs = static_cast<int>(programs);
    a.in.firstVisible = strip_.FirstVisible();
    a.in.passOver.reserve(programs);
    for (size_t i = 0; i < programs; ++i)
        a.in.passOver.push_back(strip_.ProgramNodeAt(i)->m_nRole == ROLE_SEPARATOR);
    return a;
}

FocusPlace BarKeyboard::Where(const Areas& areas, HWND focus) const {
    if (areas.tabs && focus == strip_.Tabs().hwnd())
        return {FocusArea::Categories, areas.in.selectedCategory};
    if (const int i = IndexOf(areas.categories, focus); i >= 0)
        return {FocusArea::Categories, i};
    if (const int j = strip_.ProgramPositionOf(focus); j >= 0 && j < areas.in.programs)
        return {FocusArea::Programs, j};
    return {};
}

bool BarKeyboard::OnKey(UINT vk) {
    // Keys held with Alt or Ctrl keep their meaning (Alt+F4 closes, Ctrl+Esc opens Start).
    if (::GetKeyState(VK_MENU) < 0 || ::GetKeyState(VK_CONTROL) < 0)
        return false;
    const BarKey key = BarKeyOf(vk, ::GetKeyState(VK_SHIFT) < 0, strip_.Vertical());
    if (key == BarKey::Other)
        return false;
    const Areas areas = Gather();
    const HWND focus = ::GetFocus();
    const FocusPlace at = Where(areas, focus);
    const BarKeyResult r = ApplyBarKey(areas.in, at, key);
    if (!r.handled)
        return false;
    if (r.firstVisible != areas.in.firstVisible)
        strip_.PageBy(r.firstVisible - areas.in.firstVisible);
    HWND here = focus;
    if (!(r.focus == at))
        here = MoveTo(areas, r.focus);
    Act(r.action, areas, r.focus, here);
    return true;
}

HWND BarKeyboard::MoveTo(const Areas& areas, FocusPlace to) {
    ShowFocusCues(host_.BarWindow());
    if (to.area == FocusArea::Categories && areas.tabs) {
        const HWND tabs = strip_.Tabs().hwnd();
        // On a tab strip the focused tab is the chosen one, as on any tab control.
        ::SendMessageW(tabs, CTabViewWnd::kChooseTabMessage, static_cast<WPARAM>(to.index), 0);
        if (::GetFocus() != tabs)
            ::SetFocus(tabs);
        fw::NotifyFocus(tabs, to.index + 1);
        return tabs;
    }
    if (to.area == FocusArea::Bar)
        return ::GetFocus();
    HWND target = nullptr;
    if (to.area == FocusArea::Categories) {
        target = areas.categories[static_cast<size_t>(to.index)]->hwnd();
    } else {
        // The layout has the last word on the page (its size changes as paging buttons come
        // and go): it pages on as the paging buttons would until the button has a window.
        const size_t at = static_cast<size_t>(to.index);
        for (int tries = areas.in.programs; !strip_.ProgramWindowAt(at) && tries > 0; --tries) {
            const int page = std::max(1, strip_.ShownProgramCount());
            strip_.PageBy(to.index < strip_.FirstVisible() ? -page : page);
        }
        target = strip_.ProgramWindowAt(at);
    }
    if (!target || !::IsWindowVisible(target))
        return ::GetFocus();
    // The system tells assistive programs of a window that takes the focus.
    ::SetFocus(target);
    return target;
}

void BarKeyboard::Act(KeyAction action, const Areas& areas, FocusPlace at, HWND here) {
    const HWND bar = host_.BarWindow();
    const auto* button = dynamic_cast<const CBookButton*>(fw::Window::FromHandle(here));
    const oVoiceBook* before = button ? button->Node() : nullptr;
    switch (action) {
    case KeyAction::Open:
        // As a click: the button's command to the bar. A focused tab is the chosen one.
        if (button && at.area != FocusArea::Bar)
            ::SendMessageW(bar, WM_COMMAND,
                           MAKEWPARAM(static_cast<UINT>(::GetDlgCtrlID(here)), BN_CLICKED),
                           reinterpret_cast<LPARAM>(here));
        Settle(here, before);
        break;
    case KeyAction::GoUp:
        if (strip_.ParentEnabled())
            ::SendMessageW(bar, WM_COMMAND, MAKEWPARAM(IDC_PARENT_CATEGORY, BN_CLICKED), 0);
        Settle(here, before);
        break;
    case KeyAction::ContextMenu:
        ContextMenu();
        Settle(::GetFocus(), nullptr);
        break;
    case KeyAction::Delete:
        EditCommand(areas, at, ID_DELETE_NODE);
        Settle(::GetFocus(), nullptr);
        break;
    case KeyAction::Properties:
        EditCommand(areas, at, ID_NODE_PROPERTIES);
        Settle(::GetFocus(), nullptr);
        break;
    case KeyAction::GiveBack:
        if (previous_ && ::IsWindow(previous_))
            ::SetForegroundWindow(previous_);
        previous_ = nullptr;
        break;
    case KeyAction::None:
        break;
    }
}

void BarKeyboard::Settle(HWND here, const oVoiceBook* before) {
    const HWND focus = ::GetFocus();
    if (focus != here || !::IsChild(host_.BarWindow(), here))
        return; // a dialog, a launched program or the user moved it meanwhile
    const auto* button = dynamic_cast<const CBookButton*>(fw::Window::FromHandle(here));
    const bool gone = !::IsWindowVisible(here) || (button && !button->Node());
    const bool changed = before && button && button->Node() != before &&
                         ::GetDlgCtrlID(here) < static_cast<int>(ID_CATEGORY_BUTTON_FIRST);
    if (!gone && !changed)
        return;
    FocusFirstButton();
}

void BarKeyboard::FocusFirstButton() {
    // Where a forward key from nowhere would go: the first button the keys can reach.
    const Areas areas = Gather();
    const BarKeyResult r = ApplyBarKey(areas.in, FocusPlace{}, BarKey::Forward);
    if (r.handled && r.focus.area != FocusArea::Bar)
        MoveTo(areas, r.focus);
    else
        ::SetFocus(host_.BarWindow());
}

void BarKeyboard::OnMouseActivate() {
    const HWND front = ::GetForegroundWindow();
    if (front && !OfThisProcess(front))
        previous_ = front;
}

void BarKeyboard::OnBarFocus() {
    if (lastFocus_ && ::IsChild(host_.BarWindow(), lastFocus_) && ::IsWindowVisible(lastFocus_))
        ::SetFocus(lastFocus_);
}

void BarKeyboard::TakeFocus(HWND previous) {
    if (previous && !OfThisProcess(previous))
        previous_ = previous;
    ShowFocusCues(host_.BarWindow());
    FocusFirstButton();
}

void BarKeyboard::ContextMenu() {
    const HWND focus = ::GetFocus();
    const HWND tabs = strip_.Tabs().hwnd();
    if (focus && focus == tabs) {
        // The strip opens its menu at the chosen tab for a menu from the keyboard.
        ::SendMessageW(tabs, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tabs), MAKELPARAM(-1, -1));
        return;
    }
    // The focused button's menu, as a right click on it opens it; the bar's own without one.
    POINT screen{};
    if (focus && focus != host_.BarWindow() && ::IsChild(host_.BarWindow(), focus)) {
        screen = CentreOf(focus);
    } else {
        RECT r{};
        ::GetWindowRect(host_.BarWindow(), &r);
        screen = POINT{r.left + 4, r.top + 4};
    }
    edit_.OnContextMenu(screen);
}

void BarKeyboard::EditCommand(const Areas& areas, FocusPlace at, UINT id) {
    oVoiceBook* node = nullptr;
    if (at.area == FocusArea::Categories && areas.tabs)
        node = strip_.Tabs().Tab(at.index).pNode;
    else if (at.area == FocusArea::Categories)
        node = areas.categories[static_cast<size_t>(at.index)]->Node();
    else if (at.area == FocusArea::Programs)
        node = strip_.ProgramNodeAt(static_cast<size_t>(at.index));
    // What the context menu of the button would allow (Delete and Properties of a category
    // are the same commands).
    const EditMenuState state = EditMenuStateFor(node, false);
    if (!(id == ID_DELETE_NODE ? state.deleteNode : state.properties))
        return;
    edit_.SetContextNode(node);
    ::SendMessageW(host_.BarWindow(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

} // namespace views
