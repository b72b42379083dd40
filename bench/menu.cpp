// Where the time of the ToolBar menu's submenus goes: the submenu of the last of 50 categories
// of 20, 200 and 1,000 buttons tracked in this process until it is shown and painted, beside a
// plain menu of as many text items and a menu of as many items with owner-drawn pictures
// (Wine's own price for a menu that long) in interleaved rounds. The ToolBar menu's submenu is
// filled as it opens; the first opening also makes the pictures of the buttons it shows, later
// ones find them kept. "By keys": the submenu opened from the menu above it by Up and Right, as
// the start-up benchmark opens it in the bar, beside a plain pictured menu opened so, and
// beside the same with a dialog as the menu's owner (as the bar's window is): Wine asks the
// window server to keep each answer of a dialog, and the menu asks its owner about every item.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bar/toolbar_menu.h"
#include "model/voice_book.h"
#include "shell/program_icon.h"
#include "ui/image_lists.h"
#include "ui/menu_picture.h"

#include "clock.h"
#include "process.h"

namespace {

using bench::Median;
using bench::NowMs;

constexpr int kCategories = 50;
bar::ToolBarMenu* g_menu = nullptr;
oVoiceBook* g_root = nullptr;

// The owner of the menus: fills the ToolBar menu's submenus and draws the pictures, as the
// bar does; the plain menus' pictures are the missing-program picture.
LRESULT CALLBACK Owner(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITMENUPOPUP:
        if (g_menu)
            g_menu->Open(reinterpret_cast<HMENU>(wp), *g_root);
        return 0;
    case WM_MEASUREITEM:
        ui::MeasureMenuPicture(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp),
                               icons::List(icons::ListKind::SmallColour));
        return TRUE;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (!g_menu || !g_menu->DrawPicture(item, *g_root))
            ui::DrawMenuPicture(icons::List(icons::ListKind::SmallColour), icons::kPictureMissing,
                                item);
        return TRUE;
    }
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

// The same answers from a dialog, kept as a dialog keeps them.
INT_PTR CALLBACK DialogOwner(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_INITMENUPOPUP && msg != WM_MEASUREITEM && msg != WM_DRAWITEM)
        return FALSE;
    ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, Owner(hwnd, msg, wp, lp));
    return TRUE;
}

HWND MakeDialogOwner() {
    // A template of no controls; the three words after it say no menu, class or title.
    struct {
        DLGTEMPLATE head;
        WORD none[3];
    } dialog{};
    dialog.head.style = WS_POPUP | WS_VISIBLE;
    dialog.head.cx = 10;
    dialog.head.cy = 10;
    return ::CreateDialogIndirectParamW(nullptr, &dialog.head, nullptr, &DialogOwner, 0);
}

// Tracks `menu` and returns the time until it is shown and painted, which a second thread
// watches for; that thread then closes it with Escape.
double TimeTrack(HMENU menu, HWND owner) {
    std::atomic<double> shown{-1};
    std::atomic<bool> tracking{true};
    const DWORD pid = ::GetCurrentProcessId();
    double start = 0;
    std::thread watcher([&] {
        while (tracking) {
            HWND popup = bench::FindTopLevel(pid, nullptr, L"#32768", true);
            if (popup && !::GetUpdateRect(popup, nullptr, FALSE)) {
                shown = NowMs();
                ::PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
                return;
            }
            ::Sleep(1);
        }
    });
    start = NowMs();
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 10, 10, 0, owner, nullptr);
    tracking = false;
    watcher.join();
    return shown >= 0 ? shown - start : -1;
}

// Tracks the whole `top` menu; once it shows, its last item's submenu is opened by keys, as
// a user reaches it: the time from those keys until the submenu is shown and painted.
double TimeFromTop(HMENU top, HWND owner) {
    std::atomic<double> shown{-1};
    std::atomic<bool> tracking{true};
    const DWORD pid = ::GetCurrentProcessId();
    double start = 0;
    std::thread watcher([&] {
        HWND popup = nullptr;
        while (tracking && !(popup = bench::FindTopLevel(pid, nullptr, L"#32768", true)))
            ::Sleep(1);
        start = NowMs();
        for (WPARAM key : {VK_UP, VK_RIGHT})
            ::PostMessageW(popup, WM_KEYDOWN, key, 0);
        while (tracking && bench::ShownMenus(pid) < 2)
            ::Sleep(1);
        shown = NowMs();
        for (WPARAM key : {VK_ESCAPE, VK_ESCAPE})
            ::PostMessageW(popup, WM_KEYDOWN, key, 0);
    });
    ::TrackPopupMenu(top, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 10, 10, 0, owner, nullptr);
    tracking = false;
    watcher.join();
    return shown >= 0 && start > 0 ? shown - start : -1;
}

HMENU PlainMenu(int items, bool pictures) {
    HMENU menu = ::CreatePopupMenu();
    for (int i = 0; i < items; ++i) {
        const std::wstring text = L"Program " + std::to_wstring(i);
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STRING | MIIM_ID | (pictures ? MIIM_BITMAP : 0);
        mii.dwTypeData = const_cast<wchar_t*>(text.c_str());
        mii.wID = static_cast<UINT>(100 + i);
        mii.hbmpItem = HBMMENU_CALLBACK;
        ::InsertMenuItemW(menu, static_cast<UINT>(i), TRUE, &mii);
    }
    return menu;
}

} // namespace

int main() {
    ::OleInitialize(nullptr);
    icons::SetTargetIconSource(&shell::GetNodeTargetIcons);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Owner;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LarkBenchMenuOwner";
    ::RegisterClassExW(&wc);
    HWND owner = ::CreateWindowExW(0, wc.lpszClassName, L"menu owner", WS_POPUP | WS_VISIBLE, 0, 0,
                                   10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND dialog = MakeDialogOwner();
    ::SetForegroundWindow(owner);
    std::printf("a submenu until shown and painted, ms: best and median of 7 interleaved rounds\n");
    std::printf("%7s | %17s | %17s | %17s | %17s | %17s | %17s | %17s\n", "items",
                "plain text items", "with pictures", "ToolBar, first", "ToolBar, later",
                "pictures, by keys", "ToolBar, by keys", "dialog owner, keys");
    for (const int items : {20, 200, 1000}) {
        // 50 categories of `items` buttons; a fresh tree each round, so that the first
        // opening makes its pictures.
        std::vector<double> plain, pictured, first, later, plainKeys, fromTop, fromDialog;
        for (int round = 0; round < 7; ++round) {
            HMENU menu = PlainMenu(items, false);
            plain.push_back(TimeTrack(menu, owner));
            ::DestroyMenu(menu);
            menu = PlainMenu(items, true);
            pictured.push_back(TimeTrack(menu, owner));
            ::DestroyMenu(menu);
            // The same opened by keys from a menu above it.
            menu = ::CreatePopupMenu();
            ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(PlainMenu(items, true)),
                          L"Category");
            plainKeys.push_back(TimeFromTop(menu, owner));
            ::DestroyMenu(menu);

            oVoiceBook root;
            root.ResetAll(L"ToolBar");
            for (int c = 0; c < kCategories; ++c) {
                oVoiceBook* cat = root.AddChild(CategoryFields(L"Category " + std::to_wstring(c)));
                for (int i = 0; i < items; ++i) {
                    const std::wstring n = std::to_wstring(c * items + i);
                    cat->AddChild(ButtonFields(L"Program " + n, L"C:\\Program Files\\Vendor " + n +
                                                                    L"\\program.exe"));
                }
            }
            // A fresh tree starts the lists afresh; the bar reads their library's icons once it
            // is idle after start-up, long before its menu opens.
            icons::CompleteImageLists();
            bar::ToolBarMenu toolBar;
            g_menu = &toolBar;
            g_root = &root;
            for (std::vector<double>* times : {&first, &later}) {
                {
                    const fw::Menu top = toolBar.Build(root);
                    times->push_back(TimeTrack(::GetSubMenu(top.get(), kCategories - 1), owner));
                }
                toolBar.Closed();
            }
            {
                const fw::Menu top = toolBar.Build(root);
                fromTop.push_back(TimeFromTop(top.get(), owner));
            }
            toolBar.Closed();
            if (dialog) {
                const fw::Menu top = toolBar.Build(root);
                fromDialog.push_back(TimeFromTop(top.get(), dialog));
            }
            toolBar.Closed();
            g_menu = nullptr;
        }
        const auto cell = [](const std::vector<double>& t) {
            return bench::Format("%7.1f %7.1f", *std::min_element(t.begin(), t.end()), Median(t));
        };
        std::printf("%7d | %17s | %17s | %17s | %17s | %17s | %17s | %17s\n", items,
                    cell(plain).c_str(), cell(pictured).c_str(), cell(first).c_str(),
                    cell(later).c_str(), cell(plainKeys).c_str(), cell(fromTop).c_str(),
                    fromDialog.empty() ? "-" : cell(fromDialog).c_str());
        bench::TableRow(
            "whole-tree menu, a category's submenu (in the process)",
            bench::Format("%d of %d", items, items * kCategories),
            bench::Format("first %.0f ms, later %.0f ms (medians)", Median(first), Median(later)),
            bench::Format("Wine's menu of as many pictured items %.0f ms", Median(pictured)),
            "within 100 ms", Median(first) <= 100 && Median(later) <= 100 ? "met" : "not met");
    }
    if (dialog)
        ::DestroyWindow(dialog);
    ::DestroyWindow(owner);
    ::OleUninitialize();
    return 0;
}
