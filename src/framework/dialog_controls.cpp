#include "framework/dialog_controls.h"

#include <cerrno>
#include <climits>
#include <cwchar>

namespace fw {
namespace {

// The messages of the two list-like controls, which differ only in their numbers.
struct ListMessages {
    UINT add, insert, remove, reset, count, textLength, text, getData, setData, getSel, setSel;
    LRESULT error;
};
constexpr ListMessages kComboMessages{
    CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,  CB_GETLBTEXTLEN,
    CB_GETLBTEXT, CB_GETITEMDATA,  CB_SETITEMDATA,  CB_GETCURSEL,    CB_SETCURSEL, CB_ERR};
constexpr ListMessages kListMessages{
    LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,  LB_GETTEXTLEN,
    LB_GETTEXT,   LB_GETITEMDATA,  LB_SETITEMDATA,  LB_GETCURSEL,    LB_SETCURSEL, LB_ERR};

bool IsComboBox(HWND control) noexcept {
    wchar_t name[32] = {};
    ::GetClassNameW(control, name, 32);
    return ::lstrcmpiW(name, L"ComboBox") == 0;
}

const ListMessages& MessagesFor(HWND control) noexcept {
    return IsComboBox(control) ? kComboMessages : kListMessages;
}

int ToIndex(LRESULT r, const ListMessages& m) noexcept {
    return r == m.error || r < 0 ? -1 : static_cast<int>(r);
}

} // namespace

std::wstring DialogControls::ItemText(int id) const {
    HWND control = Item(id);
    const int length = control ? ::GetWindowTextLengthW(control) : 0;
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int n = ::GetWindowTextW(control, text.data(), length + 1);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

void DialogControls::SetItemText(int id, const std::wstring& text) const noexcept {
    ::SetDlgItemTextW(hwnd_, id, text.c_str());
}

std::optional<int> DialogControls::ItemInt(int id) const noexcept {
    wchar_t text[32] = {};
    if (::GetDlgItemTextW(hwnd_, id, text, 32) <= 0)
        return std::nullopt;
    wchar_t* end = nullptr;
    errno = 0;
    const long value = std::wcstol(text, &end, 10);
    while (end && (*end == L' ' || *end == L'\t'))
        ++end;
    if (end == text || (end && *end) || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

void DialogControls::SetItemInt(int id, int value) const noexcept {
    ::SetDlgItemInt(hwnd_, id, static_cast<UINT>(value), TRUE);
}

void DialogControls::LimitText(int id, int maxChars) const noexcept {
    HWND control = Item(id);
    ::SendMessageW(control, IsComboBox(control) ? CB_LIMITTEXT : EM_LIMITTEXT,
                   static_cast<WPARAM>(maxChars), 0);
}

bool DialogControls::IsChecked(int id) const noexcept {
    return ::IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
}

void DialogControls::SetChecked(int id, bool checked) const noexcept {
    ::CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void DialogControls::EnableItem(int id, bool enable) const noexcept {
    ::EnableWindow(Item(id), enable ? TRUE : FALSE);
}

void DialogControls::ShowItem(int id, bool show) const noexcept {
    ::ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE);
}

int DialogControls::AddString(int id, const std::wstring& text, LPARAM data) const noexcept {
    return InsertString(id, -1, text, data);
}

int DialogControls::InsertString(int id, int index, const std::wstring& text,
                                 LPARAM data) const noexcept {
    HWND control = Item(id);
    const ListMessages& m = MessagesFor(control);
    // Adding keeps a sorted control's order; inserting places the entry where it is asked.
    const LRESULT r =
        index < 0 ? ::SendMessageW(control, m.add, 0, reinterpret_cast<LPARAM>(text.c_str()))
                  : ::SendMessageW(control, m.insert, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(text.c_str()));
    const int at = ToIndex(r, m);
    if (at >= 0)
        ::SendMessageW(control, m.setData, static_cast<WPARAM>(at), data);
    return at;
}

bool DialogControls::DeleteString(int id, int index) const noexcept {
    HWND control = Item(id);
    const ListMessages& m = MessagesFor(control);
    return ToIndex(::SendMessageW(control, m.remove, static_cast<WPARAM>(index), 0), m) >= 0;
}

void DialogControls::ResetContent(int id) const noexcept {
    HWND control = Item(id);
    ::SendMessageW(control, MessagesFor(control).reset, 0, 0);
}

int DialogControls::ItemCount(int id) const noexcept {
    HWND control = Item(id);
    const ListMessages& m = MessagesFor(control);
    const int n = ToIndex(::SendMessageW(control, m.count, 0, 0), m);
    return n < 0 ? 0 : n;
}

std::wstring DialogControls::StringAt(int id, int index) const {
    HWND control = Item(id);
    const ListMessages& m = MessagesFor(control);
    const int length =
        ToIndex(::SendMessageW(control, m.textLength, static_cast<WPARAM>(index), 0), m);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int n = ToIndex(::SendMessageW(control, m.text, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(text.data())),
                          m);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

LPARAM DialogControls::DataAt(int id, int index) const noexcept {
    HWND control = Item(id);
    const ListMessages& m = MessagesFor(control);
    const LRESULT r = ::SendMessageW(control, m.getData, static_cast<WPARAM>(index), 0);
    return r == m.error ? 0 : static_cast<LPARAM>(r);
}

int DialogControls::Selection(int id) const noexcept {
    HWND control = Item(id);
    const ListMessages& m = MessagesFor(control);
    return ToIndex(::SendMessageW(control, m.getSel, 0, 0), m);
}

void DialogControls::Select(int id, int index) const noexcept {
    HWND control = Item(id);
    ::SendMessageW(control, MessagesFor(control).setSel, static_cast<WPARAM>(index), 0);
}

bool DialogControls::SelectData(int id, LPARAM data) const noexcept {
    const int count = ItemCount(id);
    for (int i = 0; i < count; ++i) {
        if (DataAt(id, i) == data) {
            Select(id, i);
            return true;
        }
    }
    Select(id, -1);
    return false;
}

} // namespace fw
