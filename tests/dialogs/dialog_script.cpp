#include "dialog_script.h"

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_util.h"

namespace script {
namespace {

struct Match {
    std::function<bool(HWND)> test;
    DWORD pid = ::GetCurrentProcessId();
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
    auto* m = reinterpret_cast<Match*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    if (pid != m->pid || !::IsWindowVisible(hwnd) || std::wstring(cls) != L"#32770" ||
        !m->test(hwnd))
        return TRUE;
    m->found = hwnd;
    return FALSE;
}

bool OwnedBy(HWND hwnd, HWND owner) {
    return !owner || ::GetWindow(hwnd, GW_OWNER) == owner;
}

// A dialog owned by `owner` lives in the owner's process, which may be another program.
HWND WaitForWindow(HWND owner, const std::function<bool(HWND)>& test) {
    Match m{[&](HWND hwnd) { return OwnedBy(hwnd, owner) && test(hwnd); }};
    if (owner)
        ::GetWindowThreadProcessId(owner, &m.pid);
    test::WaitUntil(
        [&] {
            ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&m));
            return m.found != nullptr;
        },
        kWaitMs);
    return m.found;
}

// The file name box: an edit inside the explorer-style dialog's combo box, or on its own.
BOOL CALLBACK FindNameBox(HWND child, LPARAM lp) {
    wchar_t cls[8] = {};
    ::GetClassNameW(child, cls, 8);
    const int id = ::GetDlgCtrlID(child);
    if (::lstrcmpiW(cls, L"Edit") != 0 || (id != cmb13 && id != edt1))
        return TRUE;
    *reinterpret_cast<HWND*>(lp) = child;
    return FALSE;
}

HWND SendItem(HWND tree, UINT msg, WPARAM wp, HTREEITEM item) {
    return reinterpret_cast<HWND>(::SendMessageW(tree, msg, wp, reinterpret_cast<LPARAM>(item)));
}

// The root's child item of the folder chooser's tree named `name`.
HTREEITEM FindRootChild(HWND tree, const std::wstring& name) {
    auto next = [&](UINT how, HTREEITEM from) {
        return reinterpret_cast<HTREEITEM>(SendItem(tree, TVM_GETNEXTITEM, how, from));
    };
    HTREEITEM root = next(TVGN_ROOT, nullptr);
    SendItem(tree, TVM_EXPAND, TVE_EXPAND, root);
    for (HTREEITEM item = next(TVGN_CHILD, root); item; item = next(TVGN_NEXT, item)) {
        wchar_t text[MAX_PATH] = {};
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = MAX_PATH;
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        if (name == text)
            return item;
    }
    return nullptr;
}

// The text of the folder chooser's selected item.
std::wstring CaretText(HWND tree) {
    wchar_t text[MAX_PATH] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = reinterpret_cast<HTREEITEM>(SendItem(tree, TVM_GETNEXTITEM, TVGN_CARET, nullptr));
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    if (tv.hItem)
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

// A dialog answers once its creation is over and its loop runs (in whichever process).
bool Answering(HWND dialog) {
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &answer) != 0;
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

void RunDialog(const std::wstring& caption, const std::function<void()>& open,
               const std::function<void(HWND)>& drive, HWND owner) {
    Run(open, [&] {
        HWND dialog = WaitForDialog(caption, owner);
        ASSERT_NE(dialog, nullptr) << "no dialog \"" << testing::PrintToString(caption) << "\"";
        drive(dialog);
    });
}

HWND WaitForDialog(const std::wstring& caption, HWND owner) {
    return WaitForWindow(owner, [&](HWND hwnd) { return Text(hwnd) == caption; });
}

test::SeenDialog AnswerMessageBox(HWND owner, int button) {
    HWND box =
        WaitForWindow(owner, [&](HWND hwnd) { return ::GetDlgItem(hwnd, 0xFFFF) != nullptr; });
    if (!box || !Answering(box)) {
        ADD_FAILURE() << "no message box answered: " << test::SystemErrorText(::GetLastError());
        return {};
    }
    test::SeenDialog seen = test::DescribeDialog(box);
    test::PressButton(box, button);
    WaitGone(box);
    return seen;
}

bool AnswerFileOpen(HWND owner, const std::wstring& path) {
    HWND dialog = WaitForWindow(
        owner, [&](HWND hwnd) { return ::GetDlgItem(hwnd, cmb13) || ::GetDlgItem(hwnd, edt1); });
    HWND box = nullptr;
    if (dialog && Answering(dialog))
        ::EnumChildWindows(dialog, &FindNameBox, reinterpret_cast<LPARAM>(&box));
    if (!box) {
        ADD_FAILURE() << "no file dialog with a name box: "
                      << test::SystemErrorText(::GetLastError());
        return false;
    }
    // Typed, so that the dialog's own boxes learn of it as of a user's input; typed again
    // should the dialog still have been filling in its proposal.
    const bool typed = test::WaitUntil(
        [&] {
            if (!::IsWindowEnabled(box))
                return false;
            ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
            for (wchar_t c : path)
                ::SendMessageW(box, WM_CHAR, c, 1);
            return Text(box) == path;
        },
        kWaitMs);
    EXPECT_TRUE(typed) << "the name box says " << testing::PrintToString(Text(box));
    test::PressButton(dialog, IDOK);
    return typed && WaitGone(dialog);
}

bool AnswerFolderChooser(HWND owner, const std::wstring& path, const std::wstring& child) {
    HWND dialog = WaitForWindow(owner, [&](HWND hwnd) {
        return ::FindWindowExW(hwnd, nullptr, WC_TREEVIEWW, nullptr) != nullptr;
    });
    if (!dialog)
        return false;
    HWND tree = ::FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
    HTREEITEM item = nullptr;
    if (!child.empty() &&
        test::WaitUntil([&] { return (item = FindRootChild(tree, child)) != nullptr; }, kWaitMs))
        SendItem(tree, TVM_SELECTITEM, TVGN_CARET, item);
    else if (!path.empty()) {
        // The chooser may still be setting itself up and choose its own start: select until
        // the folder is the one selected.
        const std::wstring leaf = path.substr(path.find_last_of(L'\\') + 1);
        test::WaitUntil(
            [&] {
                ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                               reinterpret_cast<LPARAM>(path.c_str()));
                return CaretText(tree) == leaf;
            },
            kWaitMs);
    }
    test::PressButton(dialog, path.empty() && !item ? IDCANCEL : IDOK);
    return WaitGone(dialog) && (child.empty() || item);
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
