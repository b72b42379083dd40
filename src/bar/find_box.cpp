#include "bar/find_box.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/resources.h"
#include "model/dpi_units.h"
#include "model/voice_book.h"
#include "resource.h"
#include "ui/dpi_fonts.h"
#include "ui/image_lists.h"
#include "ui/window_dpi.h"

namespace bar {

namespace {
constexpr UINT_PTR kSettleTimer = 1;
constexpr UINT kSettleTickMs = 50;
constexpr int kSettleTicks = 10;

void Activate(HWND window) {
    ::SetForegroundWindow(window);
    // A window of this thread (the bar itself) is made active here too.
    if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId())
        ::SetActiveWindow(window);
}
constexpr wchar_t kClassName[] = L"LarkFindBox";
constexpr UINT kEditId = 1;
constexpr UINT kListId = 2;
constexpr int kWidth = 420; // at 96 dots per inch
constexpr int kHeight = 320;
constexpr int kGap = 4;
} // namespace

CFindBox::CFindBox(Chosen chosen)
    : chosen_(std::move(chosen)),
      list_([this](HDC dc, const RECT& rect, int row,
                   bool selected) { PaintRow(dc, rect, row, selected); },
            [this](int) { Choose(false); },
            [this](int row, fw::AccessibleInfo& info) { DescribeRow(row, info); }) {}

bool CFindBox::Open(HWND owner, oVoiceBook* root, std::shared_ptr<const FindList> list,
                    const RECT& workArea, int dpi, HWND previous, const std::wstring& text) {
    if (!hwnd_) {
        if (!RegisterClass(kClassName, 0, ::LoadCursorW(nullptr, IDC_ARROW),
                           ::GetSysColorBrush(COLOR_BTNFACE)))
            return false;
        const RECT none{0, 0, 0, 0};
        if (!Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"",
                    WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, none, owner, 0))
            return false;
    }
    // A new opening ends the wait for an earlier closing to settle: that would take the
    // foreground from the box back to where the earlier one went.
    settleTimer_.Stop();
    settling_ = nullptr;
    root_ = root;
    entries_ = list ? std::move(list) : std::make_shared<const FindList>();
    session_.Reset();
    previous_ = previous;
    AdoptDpi(dpi);
    const int cx = Scaled(kWidth);
    const int cy = Scaled(kHeight);
    const int x = workArea.left + std::max(0L, (workArea.right - workArea.left - cx) / 2);
    const int y = workArea.top + std::max(0L, (workArea.bottom - workArea.top - cy) / 2);
    quiet_ = true; // one ranking for the text and the list together
    ::SetWindowTextW(edit_, text.c_str());
    quiet_ = false;
    Refilter();
    ::SetWindowPos(hwnd_, HWND_TOPMOST, x, y, cx, cy, SWP_SHOWWINDOW);
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(edit_);
    ::SendMessageW(edit_, EM_SETSEL, text.size(), text.size());
    return true;
}

void CFindBox::Close(bool restoreForeground) {
    if (!IsOpen())
        return;
    const HWND previous = previous_;
    previous_ = nullptr;
    ::ShowWindow(hwnd_, SW_HIDE);
    entries_.reset();
    session_.Reset();
    rows_.clear();
    list_.SetCount(0);
    if (restoreForeground && previous && ::IsWindow(previous))
        GiveForegroundTo(previous);
}

void CFindBox::GiveForegroundTo(HWND window) {
    Activate(window);
    // Another program's window is left to the system: retaking it could undo a later change.
    if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId())
        return;
    settling_ = window;
    settleTicks_ = kSettleTicks;
    settleTimer_.Start(hwnd_, kSettleTimer, kSettleTickMs);
}

void CFindBox::OnTimer(UINT_PTR id) {
    if (id != kSettleTimer)
        return;
    // Only a foreground that went to no window is taken back; one the user chose stays.
    const HWND window = settling_;
    if (--settleTicks_ <= 0 || !::IsWindow(window)) {
        settleTimer_.Stop();
        settling_ = nullptr;
        return;
    }
    if (!::GetForegroundWindow())
        Activate(window);
}

void CFindBox::Refilter() {
    const int length = ::GetWindowTextLengthW(edit_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit_, text.data(), length + 1)));
    rows_ =
        entries_ ? session_.Rank(entries_->candidates, text, kMaxFindRows) : std::vector<size_t>();
    list_.SetCount(static_cast<int>(rows_.size()));
}

bool CFindBox::PreTranslateMessage(MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != edit_ && msg.hwnd != list_.hwnd()))
        return false;
    switch (msg.wParam) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        // The field keeps the focus; the list moves.
        ::SendMessageW(list_.hwnd(), WM_KEYDOWN, msg.wParam, msg.lParam);
        return true;
    case VK_RETURN:
        Choose(::GetKeyState(VK_SHIFT) < 0);
        return true;
    case VK_ESCAPE:
        Close(true);
        return true;
    default:
        return false;
    }
}

bool CFindBox::OnCreate(const CREATESTRUCTW&) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    edit_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0,
                              hwnd_, reinterpret_cast<HMENU>(kEditId), instance, nullptr);
    // No data of its own: the rows are drawn from the ranking, so a new list is one count.
    if (!edit_ || !list_.CreateIn(hwnd_, kListId, WS_EX_CLIENTEDGE))
        return false;
    AdoptDpi(ui::WindowDpi(hwnd_));
    ::SendMessageW(edit_, EM_SETLIMITTEXT, 200, 0);
    categoryMark_ = fw::LoadResString(IDS_FIND_CATEGORY);
    return true;
}

int CFindBox::Scaled(int value) const {
    return model::ScaleForDpi(value, dpi_);
}

void CFindBox::AdoptDpi(int dpi) {
    if (dpi <= 0 || (dpi == dpi_ && font_))
        return;
    dpi_ = dpi;
    fw::Font made = ui::MessageFont(dpi);
    const HFONT font = made ? made.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    font_ = std::move(made); // the field no longer holds the one it replaces
    TEXTMETRICW tm{};
    {
        fw::WindowDC dc(hwnd_);
        fw::SelectObjectScope select(dc.get(), font);
        ::GetTextMetricsW(dc.get(), &tm);
    }
    rowHeight_ = std::max<int>(tm.tmHeight, icons::SmallPictureSize()) + 4;
    list_.SetRowHeight(rowHeight_);
}

LRESULT CFindBox::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_DPICHANGED)
        return fw::Window::OnMessage(msg, wp, lp);
    // Moved to a monitor of another scale: made again for it, in the system's rectangle.
    AdoptDpi(LOWORD(wp));
    const RECT& r = *reinterpret_cast<const RECT*>(lp);
    ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void CFindBox::OnSize(UINT, int cx, int cy) {
    const int gap = Scaled(kGap);
    const int editHeight = Scaled(24);
    ::MoveWindow(edit_, gap, gap, cx - 2 * gap, editHeight, TRUE);
    ::MoveWindow(list_.hwnd(), gap, 2 * gap + editHeight, cx - 2 * gap,
                 std::max(0, cy - 3 * gap - editHeight), TRUE);
}

void CFindBox::OnCommand(UINT id, UINT code, HWND) {
    if (id == kEditId && code == EN_CHANGE && !quiet_)
        Refilter();
}

void CFindBox::OnMouseWheel(UINT keys, short delta, POINT screen) {
    // The wheel reaches the field that has the focus; it is meant for the list.
    ::SendMessageW(list_.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(delta)),
                   MAKELPARAM(screen.x, screen.y));
}

void CFindBox::DescribeRow(int row, fw::AccessibleInfo& info) const {
    if (!entries_ || row < 0 || static_cast<size_t>(row) >= rows_.size())
        return;
    const FindEntry& entry = entries_->entries[rows_[static_cast<size_t>(row)]];
    const auto* node =
        root_ ? static_cast<const oVoiceBook*>(root_->FindBySerial(entry.serial)) : nullptr;
    if (!node)
        return;
    // As the row reads: the name, the category mark, and the path as the description.
    info.name = node->m_strName;
    if (entry.category)
        info.name += L" " + categoryMark_;
    info.description = CategoryPath(*node);
    info.defaultAction = fw::LoadResString(entry.category ? IDS_ACTION_SWITCH : IDS_ACTION_OPEN);
}

void CFindBox::PaintRow(HDC dc, const RECT& rect, int row, bool selected) {
    ::FillRect(dc, &rect, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (!entries_ || row < 0 || static_cast<size_t>(row) >= rows_.size())
        return;
    const FindEntry& entry = entries_->entries[rows_[static_cast<size_t>(row)]];
    // Only rows in sight come here: their pictures are made (and kept by the node) now.
    auto* node = root_ ? static_cast<oVoiceBook*>(root_->FindBySerial(entry.serial)) : nullptr;
    if (!node)
        return; // gone from the tree since the box opened
    RECT r = rect;
    const int icon = icons::SmallPictureSize();
    icons::DrawSmall(*node, dc, r.left + 2, r.top + (r.bottom - r.top - icon) / 2, false, false,
                     false);
    r.left += icon + 6;
    const HGDIOBJ old =
        ::SelectObject(dc, font_ ? font_.get() : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::wstring name = node->m_strName;
    if (entry.category)
        name += L" " + categoryMark_;
    RECT measured = r;
    ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &measured,
                DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    // The category path in the rest of the row, in the quieter colour.
    r.left = std::min(r.right, measured.right + 12);
    r.right -= 4;
    if (!selected)
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    const std::wstring path = CategoryPath(*node);
    ::DrawTextW(dc, path.c_str(), static_cast<int>(path.size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_RIGHT | DT_PATH_ELLIPSIS);
    ::SelectObject(dc, old);
}

void CFindBox::OnActivate(UINT state, HWND, bool) {
    // Clicking elsewhere puts the box away; the foreground stays where the click put it.
    if (state == WA_INACTIVE)
        Close(false);
}

void CFindBox::Choose(bool properties) {
    const int index = list_.Selected();
    if (!entries_ || index < 0 || static_cast<size_t>(index) >= rows_.size())
        return;
    const FindEntry& entry = entries_->entries[rows_[static_cast<size_t>(index)]];
    const uint64_t serial = entry.serial;
    const FindAction action = properties       ? FindAction::Properties
                              : entry.category ? FindAction::ShowCategory
                                               : FindAction::Launch;
    // The user goes on where they were; what is launched then takes the foreground itself.
    const HWND previous = previous_;
    Close(action == FindAction::Launch);
    if (chosen_)
        chosen_(action, serial, previous);
}

} // namespace bar
