#include "dialog_script.h"

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <atomic>
#include <thread>
#include <vector>

#include "support/test_util.h"

namespace script {
namespace {

struct Match {
    std::function<bool(HWND)> test;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
    auto* m = reinterpret_cast<Match*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    if (pid != ::GetCurrentProcessId() || !::IsWindowVisible(hwnd) ||
        std::wstring(cls) != L"#32770" || !m->test(hwnd))
        return TRUE;
    m->found = hwnd;
    return FALSE;
}

HWND WaitForWindow(std::function<bool(HWND)> test) {
    Match m{std::move(test)};
    test::WaitUntil(
        [&] {
            ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&m));
            return m.found != nullptr;
        },
        kWaitMs);
    return m.found;
}

// The edit control at or below `window` that carries `id`.
HWND FindEdit(HWND window, int id) {
    wchar_t cls[16] = {};
    ::GetClassNameW(window, cls, 16);
    if (::lstrcmpiW(cls, L"Edit") == 0 && ::GetDlgCtrlID(window) == id)
        return window;
    for (HWND child = ::FindWindowExW(window, nullptr, nullptr, nullptr); child;
         child = ::FindWindowExW(window, child, nullptr, nullptr)) {
        if (HWND edit = FindEdit(child, id))
            return edit;
    }
    return nullptr;
}

bool OwnedBy(HWND hwnd, HWND owner) {
    return !owner || ::GetWindow(hwnd, GW_OWNER) == owner;
}

} // namespace

void Run(const std::function<void()>& open, const std::function<void()>& drive) {
    std::atomic<bool> opened{false};
    std::thread driver([&] {
        drive();
        // Whatever the script left open is cancelled, innermost first.
        while (!opened) {
            Match m{[](HWND) { return true; }};
            ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&m));
            if (m.found)
                ::PostMessageW(m.found, WM_COMMAND, IDCANCEL, 0);
            ::Sleep(200);
        }
    });
    open();
    opened = true;
    driver.join();
}

HWND WaitForDialog(const std::wstring& caption, HWND owner) {
    return WaitForWindow([&](HWND hwnd) { return Text(hwnd) == caption && OwnedBy(hwnd, owner); });
}

test::SeenDialog AnswerMessageBox(HWND owner, int button) {
    HWND box = WaitForWindow(
        [&](HWND hwnd) { return OwnedBy(hwnd, owner) && ::GetDlgItem(hwnd, 0xFFFF) != nullptr; });
    if (!box)
        return {};
    test::SeenDialog seen = test::DescribeDialog(box);
    test::PressButton(box, button);
    WaitGone(box);
    return seen;
}

bool AnswerFileOpen(HWND owner, const std::wstring& path) {
    HWND dialog = WaitForWindow([&](HWND hwnd) {
        return OwnedBy(hwnd, owner) && (::GetDlgItem(hwnd, cmb13) || ::GetDlgItem(hwnd, edt1));
    });
    if (!dialog)
        return false;
    // The file name box: an edit inside the explorer-style dialog's combo box, or on its own.
    HWND box = nullptr;
    for (HWND child = ::FindWindowExW(dialog, nullptr, nullptr, nullptr); child && !box;
         child = ::FindWindowExW(dialog, child, nullptr, nullptr)) {
        const int id = ::GetDlgCtrlID(child);
        if (id == cmb13 || id == edt1)
            box = FindEdit(child, id);
    }
    if (!box)
        return false;
    test::WaitUntil([&] { return ::IsWindowEnabled(box) != FALSE; }, kWaitMs);
    // Typed, so that the dialog's own boxes learn of it as of a user's input.
    ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    for (wchar_t c : path)
        ::SendMessageW(box, WM_CHAR, c, 1);
    test::PressButton(dialog, IDOK);
    return WaitGone(dialog);
}

bool AnswerFolderChooser(HWND owner, const std::wstring& path) {
    HWND dialog = WaitForWindow([&](HWND hwnd) {
        return OwnedBy(hwnd, owner) && ::FindWindowExW(hwnd, nullptr, WC_TREEVIEWW, nullptr);
    });
    if (!dialog)
        return false;
    if (path.empty()) {
        test::PressButton(dialog, IDCANCEL);
    } else {
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        test::PressButton(dialog, IDOK);
    }
    return WaitGone(dialog);
}

bool AnswerFolderChooserWithChild(HWND owner, const std::wstring& name) {
    HWND dialog = WaitForWindow([&](HWND hwnd) {
        return OwnedBy(hwnd, owner) && ::FindWindowExW(hwnd, nullptr, WC_TREEVIEWW, nullptr);
    });
    if (!dialog)
        return false;
    HWND tree = ::FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
    HTREEITEM found = nullptr;
    test::WaitUntil(
        [&] {
            const auto root =
                reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
            auto item = reinterpret_cast<HTREEITEM>(
                ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
            for (; item && !found;
                 item = reinterpret_cast<HTREEITEM>(::SendMessageW(
                     tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
                wchar_t text[MAX_PATH] = {};
                TVITEMW tv{};
                tv.mask = TVIF_TEXT;
                tv.hItem = item;
                tv.pszText = text;
                tv.cchTextMax = MAX_PATH;
                ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
                if (name == text)
                    found = item;
            }
            return found != nullptr;
        },
        kWaitMs);
    if (!found) {
        test::PressButton(dialog, IDCANCEL);
        return false;
    }
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(found));
    test::PressButton(dialog, IDOK);
    return WaitGone(dialog);
}

void Click(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void Press(HWND dialog, int id) {
    test::PressButton(dialog, id);
}

void SetText(HWND dialog, int id, const std::wstring& text) {
    ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring Text(HWND window) {
    std::vector<wchar_t> buf(4096);
    ::SendMessageW(window, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    return buf.data();
}

std::wstring Text(HWND dialog, int id) {
    return Text(::GetDlgItem(dialog, id));
}

void Type(HWND dialog, int id, const std::wstring& text) {
    HWND control = ::GetDlgItem(dialog, id);
    HWND edit = ::FindWindowExW(control, nullptr, L"Edit", nullptr);
    if (!edit)
        edit = control;
    for (wchar_t c : text)
        ::SendMessageW(edit, WM_CHAR, c, 1);
}

HWND Focus(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

bool WaitGone(HWND window) {
    return test::WaitUntil([&] { return !::IsWindow(window); }, kWaitMs);
}

} // namespace script
