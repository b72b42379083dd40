#pragma once
// Access to a dialog's controls by identifier, so that filling a dialog and reading it back
// takes a line per value. Dialogs and property pages are built on it.
#include "framework/message_target.h"

#include <optional>
#include <string>

namespace fw {

class DialogControls : public MessageTarget {
public:
    HWND Item(int id) const noexcept { return ::GetDlgItem(hwnd_, id); }

    std::wstring ItemText(int id) const;
    void SetItemText(int id, const std::wstring& text) const noexcept;
    // The control's text as a decimal number; nothing when it is empty or not a number.
    std::optional<int> ItemInt(int id) const noexcept;
    void SetItemInt(int id, int value) const noexcept;
    // Most characters an edit control (or a combo box's edit part) accepts.
    void LimitText(int id, int maxChars) const noexcept;

    bool IsChecked(int id) const noexcept;
    void SetChecked(int id, bool checked) const noexcept;
    void EnableItem(int id, bool enable) const noexcept;
    void ShowItem(int id, bool show) const noexcept;

    // Combo boxes and list boxes alike: the control's class decides which messages are sent.
    // Indices are zero-based; -1 means none.
    int AddString(int id, const std::wstring& text, LPARAM data = 0) const noexcept;
    int InsertString(int id, int index, const std::wstring& text, LPARAM data = 0) const noexcept;
    bool DeleteString(int id, int index) const noexcept;
    void ResetContent(int id) const noexcept;
    int ItemCount(int id) const noexcept;
    std::wstring StringAt(int id, int index) const;
    LPARAM DataAt(int id, int index) const noexcept;
    int Selection(int id) const noexcept;
    void Select(int id, int index) const noexcept;
    // Selects the first entry carrying `data`; false (and nothing selected) when none does.
    bool SelectData(int id, LPARAM data) const noexcept;
};

} // namespace fw
