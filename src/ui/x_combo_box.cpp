#include "ui/x_combo_box.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/window_dpi.h"

namespace ui {
namespace {
constexpr int kGap = 3;
} // namespace

void CXComboBox::Attach(HWND combo) {
    m_hwnd = combo;
    // Small icons as the monitor of the dialog shows them.
    m_nIconPixels = SystemMetricAt(SM_CXSMICON, WindowDpi(combo));
    m_images.reset(::ImageList_Create(m_nIconPixels, m_nIconPixels, ILC_COLOR32 | ILC_MASK, 0, 10));
    m_imageOfItem.clear();
    // The template's measuring came before anyone could answer it: set the heights here.
    const fw::WindowDC dc(combo);
    TEXTMETRICW tm{};
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(combo, WM_GETFONT, 0, 0));
    {
        fw::SelectObjectScope use(dc.get(), font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
        ::GetTextMetricsW(dc.get(), &tm);
    }
    const int height = std::max<int>(m_nIconPixels + 2, tm.tmHeight + 2);
    ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
    ::SendMessageW(combo, CB_SETITEMHEIGHT, 0, height);
}

int CXComboBox::AddItem(const std::wstring& text, HICON icon, LPARAM data) {
    const auto at = static_cast<int>(
        ::SendMessageW(m_hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    if (at < 0)
        return -1;
    ::SendMessageW(m_hwnd, CB_SETITEMDATA, static_cast<WPARAM>(at), data);
    const int image = icon && m_images ? ::ImageList_AddIcon(m_images.get(), icon) : -1;
    if (static_cast<size_t>(at) >= m_imageOfItem.size())
        m_imageOfItem.resize(static_cast<size_t>(at) + 1, -1);
    m_imageOfItem[static_cast<size_t>(at)] = image;
    return at;
}

int CXComboBox::ImageOf(int item) const noexcept {
    return item >= 0 && static_cast<size_t>(item) < m_imageOfItem.size()
               ? m_imageOfItem[static_cast<size_t>(item)]
               : -1;
}

void CXComboBox::DrawItem(const DRAWITEMSTRUCT& item) const {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    RECT rc = item.rcItem;
    ::FillRect(item.hDC, &rc,
               ::GetSysColorBrush(selected && !disabled ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int index = static_cast<int>(item.itemID);
    if (index < 0)
        return;
    const int image = ImageOf(index);
    if (image >= 0) {
        const int y = rc.top + (rc.bottom - rc.top - m_nIconPixels) / 2;
        ::ImageList_Draw(m_images.get(), image, item.hDC, rc.left + 2, y, ILD_TRANSPARENT);
    }
    rc.left += 2 + m_nIconPixels + kGap;
    const auto length = ::SendMessageW(m_hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length > 0) {
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        ::SendMessageW(m_hwnd, CB_GETLBTEXT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        ::SetBkMode(item.hDC, TRANSPARENT);
        ::SetTextColor(item.hDC, ::GetSysColor(disabled   ? COLOR_GRAYTEXT
                                               : selected ? COLOR_HIGHLIGHTTEXT
                                                          : COLOR_WINDOWTEXT));
        ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &rc,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        ::DrawFocusRect(item.hDC, &item.rcItem);
}

} // namespace ui
