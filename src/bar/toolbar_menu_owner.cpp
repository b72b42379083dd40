#include "bar/toolbar_menu_owner.h"

#include <utility>

#include "bar/toolbar_menu.h"

namespace bar {

namespace {
constexpr wchar_t kClassName[] = L"LarkToolBarMenuOwner";
} // namespace

ToolBarMenuOwner::ToolBarMenuOwner(ToolBarMenu& menu, std::function<oVoiceBook&()> root)
    : menu_(menu), root_(std::move(root)) {}

ToolBarMenuOwner::~ToolBarMenuOwner() {
    Destroy();
}

UINT ToolBarMenuOwner::TrackAtCursor(HMENU menu, HWND bar) {
    bar_ = bar;
    if (!hwnd() && fw::Window::RegisterClass(kClassName))
        Create(0, kClassName, L"", WS_POPUP, RECT{}, bar, 0);
    // Without a window of its own the bar hears the menu, as it can answer it too (slowly).
    return bar::TrackAtCursor(menu, hwnd() ? hwnd() : bar);
}

void ToolBarMenuOwner::OnInitMenuPopup(HMENU popup, UINT, bool) {
    menu_.Open(popup, root_());
}

void ToolBarMenuOwner::OnMeasureItem(UINT, MEASUREITEMSTRUCT& item) {
    ToolBarMenu::MeasurePicture(item);
}

void ToolBarMenuOwner::OnDrawItem(UINT, DRAWITEMSTRUCT& item) {
    menu_.DrawPicture(item, root_());
}

LRESULT ToolBarMenuOwner::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The bar hides its tips while a menu is open.
    if ((msg == WM_ENTERMENULOOP || msg == WM_EXITMENULOOP) && bar_)
        ::SendMessageW(bar_, msg, wp, lp);
    SetMsgHandled(false);
    return 0;
}

} // namespace bar
