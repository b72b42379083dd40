#pragma once
// A drop-down list whose entries show an icon before their text. The list box must be
// owner-drawn with strings (CBS_OWNERDRAWFIXED | CBS_HASSTRINGS); its parent passes the
// drawing requests on to DrawItem.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/gdi.h"

namespace ui {

class CXComboBox {
public:
    CXComboBox() = default;
    CXComboBox(const CXComboBox&) = delete;
    CXComboBox& operator=(const CXComboBox&) = delete;

    // Takes over the control: its entries are as high as a small icon needs.
    void Attach(HWND combo);
    HWND hwnd() const noexcept { return m_hwnd; }
    // Appends an entry; the icon is copied into the control's own list (null: no icon).
    int AddItem(const std::wstring& text, HICON icon, LPARAM data);
    HIMAGELIST Images() const noexcept { return m_images.get(); }
    // Index of the entry's picture in Images(); -1 when it has none.
    int ImageOf(int item) const noexcept;

    void DrawItem(const DRAWITEMSTRUCT& item) const;

private:
    HWND m_hwnd = nullptr;
    fw::ImageList m_images;
    int m_nIconPixels = 16;
    std::vector<int> m_imageOfItem;
};

} // namespace ui
