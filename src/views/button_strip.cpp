#include "views/button_strip.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "framework/gdi.h"
#include "framework/resources.h"
#include "model/preferences.h"
#include "resource.h"
#include "ui/dpi_fonts.h"
#include "ui/image_lists.h"
#include "views/button_slots.h"
#include "views/toolbar_ids.h"

namespace views {
namespace {

// The grip strip: two grooved lines along its long side.
void DrawGripStrip(HDC dc, bool pressed, const RECT& r) {
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    const bool across = (r.right - r.left) >= (r.bottom - r.top); // a strip along the top
    for (int i = 0; i < 2; ++i) {
        const int at = i * 4;
        RECT line = across ? RECT{r.left, r.top + at, r.right, r.top + at + 3}
                           : RECT{r.left + at, r.top, r.left + at + 3, r.bottom};
        if (pressed)
            ::DrawEdge(dc, &line, BDR_SUNKENOUTER, BF_TOPLEFT);
        else
            ::DrawEdge(dc, &line, BDR_RAISEDINNER, BF_RECT);
    }
}

bool IsShown(const CBookButton& b) {
    return b.Node() && ::IsWindowVisible(b.hwnd());
}

bool operator==(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

RECT RectInParent(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT WindowRectOf(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

} // namespace

void ButtonStrip::Create() {
    const Preferences* prefs = host_.Prefs();
    viewFlags_ = prefs ? prefs->ViewGroupButtonMethod : Preferences{}.ViewGroupButtonMethod;
    const HWND bar = Bar();
    nextStrip_.Create(0, RECT{}, bar, IDC_NEXT_STRIP, &DrawGripStrip);
    struct Nav {
        CImageButton& button;
        UINT id, normal, disabled;
    } navs[] = {
        {selectCategory_, IDC_SELECT_CATEGORY, IDI_SELECT_CATEGORY, IDI_SELECT_CATEGORY_OFF},
        {parent_, IDC_PARENT_CATEGORY, IDI_PARENT_CATEGORY, IDI_PARENT_CATEGORY_OFF},
        {nextH_, ID_PAGE_NEXT, IDI_NEXT_PAGE_H, IDI_NEXT_PAGE_H_OFF},
        {prevH_, ID_PAGE_PREV, IDI_PREV_PAGE_H, IDI_PREV_PAGE_H_OFF},
        {nextV_, ID_PAGE_NEXT, IDI_NEXT_PAGE_V, IDI_NEXT_PAGE_V_OFF},
        {prevV_, ID_PAGE_PREV, IDI_PREV_PAGE_V, IDI_PREV_PAGE_V_OFF},
    };
    for (Nav& nav : navs) {
        nav.button.Create(0, RECT{}, bar, nav.id);
        nav.button.SetIcons(nav.normal, false, nav.disabled, false);
    }
    ::EnableWindow(parent_.hwnd(), FALSE);

    separator_ =
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_SUNKEN, 0, 0, 0, 0, bar,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TOOLBAR_SEPARATOR)),
                          ::GetModuleHandleW(nullptr), nullptr);
    tabs_.Create(bar, IDC_TAB_STRIP, prefs);
    tabs_.SetViewFlags(viewFlags_);

    if (!tipsDeferred_)
        CreateTips();
}

void ButtonStrip::CreateTips() {
    tabs_.CreateTips();
    if (toolTip_.hwnd())
        return;
    toolTip_.Create(Bar());
    toolTip_.Activate(true);
    toolTip_.SetDelays(0, 3000);
    toolTip_.AddTool(selectCategory_.hwnd(), fw::LoadResString(IDS_SELECT_CATEGORY));
    toolTip_.AddTool(parent_.hwnd(), fw::LoadResString(IDS_PARENT_CATEGORY));
    toolTip_.AddTool(nextStrip_.hwnd(), fw::LoadResString(IDS_NEXT_CATEGORY));
}

void ButtonStrip::DrawChangedButtons() {
    std::vector<HWND> changed;
    changed.swap(changed_);
    const HWND bar = Bar();
    if (changed.empty() || !bar)
        return;
    // Each button repainting itself costs the window system several round trips
    // (invalidation, then the paint's own region and device context); one device context of
    // the bar that does not leave the buttons out serves them all.
    fw::WindowDC dc(bar, ::GetDCEx(bar, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS));
    for (HWND hwnd : changed) {
        auto* button = dynamic_cast<CBookButton*>(fw::Window::FromHandle(hwnd));
        if (!button || !::IsWindowVisible(hwnd))
            continue;
        if (!dc.get()) {
            ::InvalidateRect(hwnd, nullptr, FALSE);
            continue;
        }
        const RECT r = RectInParent(hwnd);
        const int saved = ::SaveDC(dc.get());
        ::SetViewportOrgEx(dc.get(), r.left, r.top, nullptr);
        ::IntersectClipRect(dc.get(), 0, 0, r.right - r.left, r.bottom - r.top);
        button->PaintInto(dc.get());
        ::RestoreDC(dc.get(), saved);
    }
}

void ButtonStrip::RebuildProgramPictures() {
    for (oVoiceBook* node : nodes_)
        if (node && node->Parent())
            icons::BuildImages(*node);
    for (int k = 0; k < pageWindows_; ++k)
        changed_.push_back(programButtons_[static_cast<size_t>(k)]->hwnd()); // same node
}

void ButtonStrip::RedrawPictures() {
    for (int k = 0; k < pageWindows_; ++k)
        changed_.push_back(programButtons_[static_cast<size_t>(k)]->hwnd());
    for (const auto& button : categoryButtons_)
        changed_.push_back(button->hwnd());
    DrawChangedButtons(); // those not shown are left out there
    if (tabs_.hwnd() && ::IsWindowVisible(tabs_.hwnd()))
        ::InvalidateRect(tabs_.hwnd(), nullptr, FALSE);
}

void ButtonStrip::DrawWaitingNotice(HDC dc) const {
    const HWND bar = Bar();
    wchar_t text[256] = {};
    ::GetWindowTextW(bar, text, static_cast<int>(std::size(text)));
    // Where the program buttons would be: beside the paging buttons, above the tabs.
    RECT area{};
    ::GetClientRect(bar, &area);
    for (HWND beside : {nextH_.hwnd(), prevH_.hwnd(), tabs_.hwnd()}) {
        RECT r{};
        if (!beside || !::IsWindowVisible(beside) || !::GetWindowRect(beside, &r))
            continue;
        ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
        if (beside == tabs_.hwnd())
            area.bottom = std::min(area.bottom, r.top);
        else
            area.left = std::max(area.left, r.right);
    }
    ::InflateRect(&area, -4, 0);
    fw::SelectObjectScope font(dc, ui::GuiFont(metrics_.sizes.dpi));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    // Wrapped in a narrow (vertical) bar, and centred in the height it has.
    constexpr UINT kFormat = DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS;
    RECT measured = area;
    ::DrawTextW(dc, text, -1, &measured, kFormat | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    if (height < area.bottom - area.top)
        area.top += (area.bottom - area.top - height) / 2;
    ::DrawTextW(dc, text, -1, &area, kFormat);
}

// ---- tips ---------------------------------------------------------------------------------

void ButtonStrip::AddButtonTips() {
    if (!tipsDeferred_)
        return;
    tipsDeferred_ = false;
    CreateTips();
    for (const auto* buttons : {&categoryButtons_, &programButtons_})
        for (const auto& b : *buttons)
            AddButtonTip(b->hwnd());
}

void ButtonStrip::AddButtonTip(HWND tool) {
    if (!toolTip_.hwnd() || tipsDeferred_)
        return;
    // The control asks for the text when it shows it (the name of the node the button
    // shows then), so switching categories tells it nothing.
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = Bar();
    ti.uId = reinterpret_cast<UINT_PTR>(tool);
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(toolTip_.hwnd(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

bool ButtonStrip::OnNotify(NMHDR& hdr) {
    if (hdr.code != TTN_GETDISPINFOW || hdr.hwndFrom != toolTip_.hwnd())
        return false;
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(hdr);
    const auto* button = dynamic_cast<const CBookButton*>(
        fw::Window::FromHandle(reinterpret_cast<HWND>(hdr.idFrom)));
    static const wchar_t kNone[] = L"";
    info.lpszText =
        const_cast<wchar_t*>(button && button->Node() ? button->Node()->m_strName.c_str() : kNone);
    return true;
}

void ButtonStrip::RelayTip(const MSG& msg) {
    // With the preference off the control never hears of the pointer: no tip appears.
    const Preferences* prefs = host_.Prefs();
    const int32_t tips = prefs ? prefs->ViewTooltipButton : Preferences{}.ViewTooltipButton;
    if (tips != 0)
        toolTip_.Relay(msg);
}

// ---- slots --------------------------------------------------------------------------------

void ButtonStrip::AssignProgramSlot(size_t index, oVoiceBook* node) {
    if (index < programButtons_.size()) {
        CBookButton& button = *programButtons_[index];
        if (button.Node() == node)
            return; // same node: nothing to repaint or retell
        button.SetNode(node);
        // A hidden window is painted when it is shown; a shown one is drawn once the bar is
        // laid out (DrawChangedButtons).
        if (::IsWindowVisible(button.hwnd()))
            changed_.push_back(button.hwnd());
        return;
    }
    if (!node || index != programButtons_.size())
        return;
    // Windows are made only when a page has more buttons than any shown before.
    auto button = std::make_unique<CBookButton>();
    button->SetNode(node);
    if (!button->Create(0, RECT{}, Bar(), ID_PROGRAM_BUTTON_FIRST + static_cast<UINT>(index),
                        host_.Prefs(), false))
        return;
    AddButtonTip(button->hwnd());
    programButtons_.push_back(std::move(button));
}

void ButtonStrip::BindPage(int first, int count) {
    size_t k = 0;
    for (; k < static_cast<size_t>(std::max(0, count)); ++k) {
        const size_t at = static_cast<size_t>(first) + k;
        AssignProgramSlot(k, at < nodes_.size() ? nodes_[at] : nullptr);
    }
    pageWindows_ = static_cast<int>(std::min(k, programButtons_.size()));
    for (k = static_cast<size_t>(pageWindows_); k < programButtons_.size(); ++k)
        programButtons_[k]->SetNode(nullptr);
}

void ButtonStrip::ShowProgramNodes(const std::vector<oVoiceBook*>& nodes) {
    nodes_ = nodes;
    // The windows on the page show the new nodes at once; the layout that follows settles
    // which page that is.
    BindPage(firstVisible_, pageWindows_);
}

oVoiceBook* ButtonStrip::ProgramNode(size_t index) const noexcept {
    return index < programButtons_.size() ? programButtons_[index]->Node() : nullptr;
}

size_t ButtonStrip::ProgramCount() const noexcept {
    const auto gap = std::find(nodes_.begin(), nodes_.end(), nullptr);
    return static_cast<size_t>(gap - nodes_.begin());
}

HWND ButtonStrip::ProgramWindowAt(size_t position) const noexcept {
    const size_t first = static_cast<size_t>(firstVisible_);
    if (position < first || position - first >= static_cast<size_t>(pageWindows_))
        return nullptr;
    const CBookButton& b = *programButtons_[position - first];
    return IsShown(b) ? b.hwnd() : nullptr;
}

int ButtonStrip::ProgramPositionOf(HWND hwnd) const noexcept {
    for (int k = 0; k < pageWindows_; ++k)
        if (programButtons_[static_cast<size_t>(k)]->hwnd() == hwnd)
            return programButtons_[static_cast<size_t>(k)]->Node() ? firstVisible_ + k : -1;
    return -1;
}

int ButtonStrip::ShownProgramCount() const noexcept {
    int n = 0;
    for (int k = 0; k < pageWindows_; ++k)
        n += IsShown(*programButtons_[static_cast<size_t>(k)]) ? 1 : 0;
    return n;
}

oVoiceBook* ButtonStrip::NodeBeforePage() const noexcept {
    return firstVisible_ > 0 ? ProgramNodeAt(static_cast<size_t>(firstVisible_) - 1) : nullptr;
}

void ButtonStrip::EnableParent(bool enable) {
    ::EnableWindow(parent_.hwnd(), enable ? TRUE : FALSE);
}

void ButtonStrip::ClearProgramSlots() {
    nodes_.clear();
    for (auto& button : programButtons_)
        button->SetNode(nullptr);
}

void ButtonStrip::AssignCategorySlot(size_t index, oVoiceBook* category) {
    if (index < categoryButtons_.size()) {
        CBookButton& button = *categoryButtons_[index];
        button.SetNode(category);
        if (category && ::IsWindowVisible(button.hwnd()))
            ::InvalidateRect(button.hwnd(), nullptr, FALSE);
        return;
    }
    if (!category)
        return;
    auto button = std::make_unique<CBookButton>();
    button->SetNode(category);
    // Selector 2: a toggle button, checked while its category is selected.
    if (!button->Create(2, RECT{}, Bar(), ID_CATEGORY_BUTTON_FIRST + static_cast<UINT>(index),
                        host_.Prefs(), false))
        return;
    AddButtonTip(button->hwnd());
    categoryButtons_.push_back(std::move(button));
}

void ButtonStrip::ClearCategorySlotsFrom(size_t index) {
    for (; index < categoryButtons_.size(); ++index)
        categoryButtons_[index]->SetNode(nullptr);
}

size_t ButtonStrip::CategoryCount() const noexcept {
    size_t n = 0;
    while (n < categoryButtons_.size() && categoryButtons_[n]->Node())
        ++n;
    return n;
}

void ButtonStrip::ForgetNodes(const std::function<bool(const oVoiceBook*)>& gone) {
    // A gap ends the buttons, as a window that shows nothing did.
    for (oVoiceBook*& node : nodes_)
        if (gone(node))
            node = nullptr;
    for (const auto* buttons : {&programButtons_, &categoryButtons_})
        for (const auto& button : *buttons)
            if (gone(button->Node()))
                button->SetNode(nullptr);
}

// ---- layout and paging --------------------------------------------------------------------

void ButtonStrip::Layout(bool resetPaging) {
    const HWND bar = Bar();
    if (!bar || !nextV_.hwnd())
        return;
    RECT client{};
    ::GetClientRect(bar, &client);
    const Preferences* prefs = host_.Prefs();

    BarLayoutInput in;
    in.client = SIZE{client.right - client.left, client.bottom - client.top};
    in.vertical = vertical_;
    in.button = metrics_.button;
    in.margin = metrics_.gap.cx;
    in.sizes = metrics_.sizes;
    in.spacing = prefs ? prefs->ButtonSpacing : 0;
    in.viewFlags = viewFlags_;
    in.categoryWindows = static_cast<int>(categoryButtons_.size());
    in.categoryNodes = static_cast<int>(CategoryCount());
    in.slots.reserve(nodes_.size());
    for (const oVoiceBook* node : nodes_)
        in.slots.push_back(SlotRoleOf(node));
    in.firstVisible = firstVisible_;
    in.visibleCount = visibleCount_;
    in.resetPaging = resetPaging;

    const BarLayout layout = LayoutBar(in);
    if (!layout.applies)
        return;
    firstVisible_ = layout.firstVisible;
    visibleCount_ = layout.visibleCount;
    // The page's windows: pooled, re-bound to the nodes of whichever page shows.
    constexpr int kWindowLimit = ID_PROGRAM_BUTTON_LAST - ID_PROGRAM_BUTTON_FIRST + 1;
    const int onPage = PageWindowCount(layout.programs, firstVisible_, kWindowLimit);
    const bool cut = onPage < PageWindowCount(layout.programs, firstVisible_, kWindowLimit + 1);
    if (cut)
        visibleCount_ = onPage; // a page never has more buttons than identifiers
    const HWND focus = ::GetFocus();
    const oVoiceBook* focusedNode = nullptr;
    for (int k = 0; k < pageWindows_; ++k)
        if (programButtons_[static_cast<size_t>(k)]->hwnd() == focus)
            focusedNode = programButtons_[static_cast<size_t>(k)]->Node();
    BindPage(firstVisible_, onPage);

    // Every move in one batch; windows that stay hidden are left alone.
    HDWP batch =
        ::BeginDeferWindowPos(static_cast<int>(12 + programButtons_.size()) + in.categoryWindows);
    const auto apply = [&batch](HWND hwnd, const Place& place) {
        if (!hwnd || !batch)
            return;
        constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
        // A shown window already in its place is left out: each move is a round trip to
        // the window system, and a later show of a category moves nothing.
        const bool shown = (::GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
        if (place.visible && shown && RectInParent(hwnd) == place.rect)
            return;
        if (place.visible) {
            const RECT& r = place.rect;
            batch = ::DeferWindowPos(batch, hwnd, nullptr, r.left, r.top, r.right - r.left,
                                     r.bottom - r.top, kFlags | SWP_SHOWWINDOW);
        } else if (shown) {
            // Its own flag, not IsWindowVisible: while the bar is being created it is not
            // visible yet, and a child left shown would appear with it.
            batch = ::DeferWindowPos(batch, hwnd, nullptr, 0, 0, 0, 0,
                                     kFlags | SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW);
        }
    };
    apply(nextStrip_.hwnd(), layout.grip);
    apply(selectCategory_.hwnd(), layout.selectCategory);
    apply(parent_.hwnd(), layout.parent);
    apply(nextH_.hwnd(), layout.nextH);
    apply(prevH_.hwnd(), layout.prevH);
    apply(nextV_.hwnd(), layout.nextV);
    apply(prevV_.hwnd(), layout.prevV);
    apply(separator_, layout.separator);
    tabs_.SetVertical(in.vertical); // before its size, which lays it out
    apply(tabs_.hwnd(), layout.tabs);
    for (size_t i = 0; i < categoryButtons_.size(); ++i) {
        CBookButton& b = *categoryButtons_[i];
        const CategoryPlace& place = layout.categories[i];
        if (place.visible) {
            b.SetMenuGlyph(place.menuGlyph);
            b.SetSingleRow(place.singleRow);
        }
        b.SetDpi(in.sizes.dpi);
        apply(b.hwnd(), place);
    }
    for (size_t k = 0; k < programButtons_.size(); ++k) {
        programButtons_[k]->SetDpi(in.sizes.dpi);
        const bool onThisPage = k < static_cast<size_t>(pageWindows_);
        apply(programButtons_[k]->hwnd(),
              onThisPage ? layout.programs[static_cast<size_t>(firstVisible_) + k] : Place{});
    }
    if (batch)
        ::EndDeferWindowPos(batch);
    // Focus follows its button while the button stays on the page; a button paged away or
    // hidden leaves it to the bar. A button of another category keeps it (the keyboard
    // settles that).
    if (focusedNode && !resetPaging) {
        const CBookButton* now = FindButtonWindow(focusedNode);
        if (!now)
            ::SetFocus(bar);
        else if (now->hwnd() != focus)
            ::SetFocus(now->hwnd());
    }
    if (focus && focus != bar && ::IsChild(bar, focus) && ::GetFocus() == focus &&
        !::IsWindowVisible(focus))
        ::SetFocus(bar);

    for (HWND next : {nextH_.hwnd(), nextV_.hwnd()})
        ::EnableWindow(next, layout.canPageForward || cut ? TRUE : FALSE);
    for (HWND prev : {prevH_.hwnd(), prevV_.hwnd()})
        ::EnableWindow(prev, layout.canPageBack ? TRUE : FALSE);
    ::InvalidateRect(bar, &layout.programArea, TRUE);
    DrawChangedButtons(); // buttons re-bound by paging
}

void ButtonStrip::SetViewFlags(int32_t flags) {
    viewFlags_ = flags;
    tabs_.SetViewFlags(flags);
    Layout(true);
}

void ButtonStrip::SetVertical(bool vertical) {
    if (vertical == vertical_)
        return;
    vertical_ = vertical;
    Layout(true);
}

void ButtonStrip::PageBy(int step) {
    // A command posted past the last page would otherwise show an empty one.
    const int first = PagedFirstVisible(firstVisible_, step, static_cast<int>(ProgramCount()));
    if (first < 0)
        return;
    firstVisible_ = first;
    Layout(false);
}

void ButtonStrip::OnMouseWheel(UINT keys, short delta) {
    const int used = static_cast<int>(ProgramCount());
    const int first = WheelFirstVisible(firstVisible_, visibleCount_, used, delta,
                                        (keys & MK_CONTROL) != 0, (keys & MK_SHIFT) != 0);
    if (first >= 0) {
        firstVisible_ = first;
        Layout(false);
    }
}

// ---- lookups ------------------------------------------------------------------------------

oVoiceBook* ButtonStrip::ButtonNodeAt(POINT screen) const {
    const auto scan = [&screen](const auto& buttons, size_t from) -> oVoiceBook* {
        for (size_t i = from; i < buttons.size(); ++i) {
            const CBookButton& b = *buttons[i];
            if (!IsShown(b))
                break;
            const RECT r = WindowRectOf(b.hwnd());
            if (::PtInRect(&r, screen))
                return b.Node();
        }
        return nullptr;
    };
    if (oVoiceBook* node = scan(programButtons_, 0))
        return node;
    return scan(categoryButtons_, 0);
}

oVoiceBook* ButtonStrip::DropTargetAt(bool isButton, bool isSubCategory, POINT screen) const {
    const RECT bar = WindowRectOf(host_.Owner());
    if (!::PtInRect(&bar, screen))
        return nullptr;
    if (oVoiceBook* node = ButtonNodeAt(screen))
        return node;
    // Beyond the last visible button of the area the item goes after it.
    const bool categories = !isButton && !isSubCategory;
    const auto& buttons = categories ? categoryButtons_ : programButtons_;
    const CBookButton* last = nullptr;
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (!buttons[i]->Node())
            break;
        if (::IsWindowVisible(buttons[i]->hwnd()))
            last = buttons[i].get();
    }
    if (!last)
        return nullptr;
    const RECT r = WindowRectOf(last->hwnd());
    if (screen.x >= r.right || screen.y >= r.bottom)
        return last->Node();
    return nullptr;
}

CBookButton* ButtonStrip::FindButtonWindow(const oVoiceBook* node) const {
    if (!node)
        return nullptr;
    for (const auto& b : categoryButtons_) {
        if (!b->Node())
            break;
        if (b->Node() == node && ::IsWindowVisible(b->hwnd()))
            return b.get();
    }
    for (size_t i = 0; i < programButtons_.size(); ++i) {
        const CBookButton& b = *programButtons_[i];
        if (!b.Node())
            break;
        if (b.Node() == node && ::IsWindowVisible(b.hwnd()))
            return programButtons_[i].get();
    }
    return nullptr;
}

CBookButton* ButtonStrip::FirstButtonWindow(bool categoryArea) const {
    CBookButton* b = nullptr;
    if (categoryArea) {
        b = categoryButtons_.empty() ? nullptr : categoryButtons_.front().get();
    } else {
        size_t i = 0;
        if (i < programButtons_.size() && programButtons_[i]->Node() &&
            programButtons_[i]->Node()->m_nRole == ROLE_GO_UP)
            ++i;
        b = i < programButtons_.size() ? programButtons_[i].get() : nullptr;
    }
    return b && IsShown(*b) ? b : nullptr;
}

std::vector<CBookButton*> ButtonStrip::KeyboardCategoryButtons() const {
    std::vector<CBookButton*> out;
    for (const auto& b : categoryButtons_) {
        if (!b->Node())
            break;
        if (IsShown(*b))
            out.push_back(b.get());
    }
    return out;
}

bool ButtonStrip::OnTabStrip(POINT screen) const {
    RECT strip{};
    return tabs_.hwnd() && ::IsWindowVisible(tabs_.hwnd()) &&
           ::GetWindowRect(tabs_.hwnd(), &strip) && ::PtInRect(&strip, screen);
}

} // namespace views
