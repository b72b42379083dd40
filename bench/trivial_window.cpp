// The baselines of the start-up figures: a trivial window program (one plain window that
// answers messages, nothing of the program linked in), started with --window by the
// benchmarks; on its own it has nothing to measure. `--window a.dll b.dll` loads those
// libraries before it makes its window.
//
// `--floor <title> <file> <windows> <shown> <items> a.dll ...` is what any program that shows
// the bar's windows pays under Wine: the libraries loaded, the file read whole with no decoding
// (none when `file` is "-"), and `windows` plain child windows made hidden in a strip (child
// 6000 of a window titled `title`, numbered from 10000 as the bar's program buttons are),
// `shown` of them placed and shown in one batch. Its window answers WM_HOTKEY as the bar does,
// with a menu of 50 submenus, each filled as it opens with `items` pictured items: what Wine
// alone costs the bar's whole-tree menu.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kTitle[] = L"lark bench trivial window";

LRESULT CALLBACK PlainChild(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    PAINTSTRUCT ps{};
    HDC dc = ::BeginPaint(hwnd, &ps);
    ::FillRect(dc, &ps.rcPaint, ::GetSysColorBrush(COLOR_BTNFACE));
    ::EndPaint(hwnd, &ps);
    return 0;
}

constexpr int kMenuCategories = 50;
constexpr int kPicture = 16;
int g_menuItems = 0;

// The cheapest menu of the bar's shape: no tree behind it, a filled square for each picture.
LRESULT CALLBACK FloorTop(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_HOTKEY: {
        HMENU menu = ::CreatePopupMenu();
        for (int c = 0; c < kMenuCategories; ++c)
            ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()),
                          (L"Category " + std::to_wstring(c)).c_str());
        POINT at{};
        ::GetCursorPos(&at);
        ::SetForegroundWindow(hwnd);
        ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x,
                         at.y, 0, hwnd, nullptr);
        ::DestroyMenu(menu);
        return 0;
    }
    case WM_INITMENUPOPUP: {
        const auto popup = reinterpret_cast<HMENU>(wp);
        if (::GetMenuItemCount(popup) != 0 || HIWORD(lp))
            return 0;
        for (int i = 0; i < g_menuItems; ++i) {
            const std::wstring text = L"Program " + std::to_wstring(i);
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof(mii);
            mii.fMask = MIIM_STRING | MIIM_ID | MIIM_BITMAP;
            mii.dwTypeData = const_cast<wchar_t*>(text.c_str());
            mii.wID = static_cast<UINT>(100 + i);
            mii.hbmpItem = HBMMENU_CALLBACK;
            ::InsertMenuItemW(popup, static_cast<UINT>(i), TRUE, &mii);
        }
        return 0;
    }
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        item.itemWidth = kPicture + kPicture / 4;
        item.itemHeight = kPicture;
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        const RECT r{item.rcItem.left, item.rcItem.top, item.rcItem.left + kPicture,
                     item.rcItem.top + kPicture};
        ::FillRect(item.hDC, &r, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        return TRUE;
    }
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

bool ReadWhole(const char* path) {
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file, &size);
    std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    const bool ok =
        ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
        read == bytes.size();
    ::CloseHandle(file);
    return ok;
}

HWND MakeFloorWindows(const wchar_t* title, int windows, int shown) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &PlainChild;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"LarkBenchPlainChild";
    if (!::RegisterClassExW(&wc))
        return nullptr;
    wc.lpfnWndProc = &FloorTop;
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"LarkBenchFloor";
    if (!::RegisterClassExW(&wc))
        return nullptr;
    const int w = ::GetSystemMetrics(SM_CXSCREEN);
    const int h = ::GetSystemMetrics(SM_CYSCREEN);
    HWND top =
        ::CreateWindowExW(0, wc.lpszClassName, title, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                          h - 60, w, 60, nullptr, nullptr, nullptr, nullptr);
    HWND strip = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                   w, 60, top, reinterpret_cast<HMENU>(6000), nullptr, nullptr);
    std::vector<HWND> children;
    for (int i = 0; i < windows; ++i)
        children.push_back(::CreateWindowExW(
            0, wc.lpszClassName, L"", WS_CHILD, 0, 0, 0, 0, strip,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(10000 + i % 1000)), nullptr, nullptr));
    HDWP batch = ::BeginDeferWindowPos(shown);
    for (int i = 0; i < shown && i < windows && batch; ++i)
        batch = ::DeferWindowPos(batch, children[static_cast<size_t>(i)], nullptr, i * 40, 0, 38,
                                 38, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (batch)
        ::EndDeferWindowPos(batch);
    return top;
}

} // namespace

int main(int argc, char** argv) {
    const bool floor = argc >= 7 && std::strcmp(argv[1], "--floor") == 0;
    if (!floor && (argc < 2 || std::strcmp(argv[1], "--window") != 0)) {
        std::printf("(the baseline window program of the start-up benchmarks)\n");
        return 0;
    }
    // Libraries named after the arguments are loaded first: what loading them costs a program.
    for (int i = floor ? 7 : 2; i < argc; ++i)
        if (!::LoadLibraryA(argv[i]))
            return 2;
    HWND w = nullptr;
    if (floor) {
        if (std::strcmp(argv[3], "-") != 0 && !ReadWhole(argv[3]))
            return 3;
        wchar_t title[64] = {};
        ::MultiByteToWideChar(CP_UTF8, 0, argv[2], -1, title, 64);
        g_menuItems = std::atoi(argv[6]);
        w = MakeFloorWindows(title, std::atoi(argv[4]), std::atoi(argv[5]));
    } else {
        w = ::CreateWindowExW(0, L"STATIC", kTitle, WS_POPUP | WS_VISIBLE, 0, 0, 300, 60, nullptr,
                              nullptr, nullptr, nullptr);
    }
    if (!w)
        return 1;
    MSG msg;
    // WM_USER + 1 ends it.
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_USER + 1)
        ::DispatchMessageW(&msg);
    return 0;
}
