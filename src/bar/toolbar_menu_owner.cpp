#include "bar/toolbar_menu_owner.h"

#include <utility>

#include "bar/toolbar_menu.h"

namespace bar {

namespace {
constexpr wchar_t kClassName[] = L"LarkToolBarMenuOwner";
// Pictures made at a time while the menu is idle: keys and the mouse wait no longer.
constexpr double kPictureBudgetMs = 15;

// This thread's menu windows draw their items again.
void RedrawMenus() {
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND w, LPARAM) -> BOOL {
            wchar_t name[16] = {};
            if (::IsWindowVisible(w) && ::GetClassNameW(w, name, 16) &&
                ::lstrcmpW(name, L"#32768") == 0)
                ::InvalidateRect(w, nullptr, FALSE);
            return TRUE;
        },
        0);
}
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
    // Without a window of its own the bar hears the menu, as it can answer it too (slowly),
    // and makes each picture as it is first drawn.
    menu_.SetPicturesWaitForIdle(hwnd() != nullptr);
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
    // The menu has shown what it has and waits: pictures drawn as defaults are made now. A
    // message to this window brings the next wait, and with it the rest.
    if (msg == WM_ENTERIDLE && wp == MSGF_MENU) {
        if (menu_.MakeWaitingPictures(root_(), kPictureBudgetMs))
            RedrawMenus();
        if (menu_.PicturesWaiting())
            ::PostMessageW(hwnd(), WM_NULL, 0, 0);
        return 0;
    }
    // The bar hides its tips while a menu is open.
    if ((msg == WM_ENTERMENULOOP || msg == WM_EXITMENULOOP) && bar_)
        ::SendMessageW(bar_, msg, wp, lp);
    SetMsgHandled(false);
    return 0;
}

} // namespace bar
