#pragma once
// The find box: a small top-level popup, an edit field over a list, that lists the buttons
// and categories of the tree whose names match what is typed and hands the chosen one back
// to its owner. It closes when it loses the foreground.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bar/find_entries.h"
#include "framework/gdi.h"
#include "framework/registrations.h"
#include "framework/virtual_list.h"
#include "framework/window.h"
#include "model/find_match.h"
#include "ui/window_dpi.h"

class oVoiceBook;

namespace bar {

enum class FindAction { Launch, ShowCategory, Properties };
// Rows listed at most: more than anyone scrolls through in a box.
constexpr size_t kMaxFindRows = 100;

class CFindBox : public fw::Window {
public:
    // `previous`: the window that had the foreground before the box opened.
    using Chosen = std::function<void(FindAction, uint64_t serial, HWND previous)>;
    explicit CFindBox(Chosen chosen);
    ~CFindBox() override { Destroy(); }

    // Shows the box centred on `workArea` at `dpi` (the owner's monitor's) with `text` typed,
    // listing `list`; the rows' pictures come from the nodes under `root`. Escape gives the
    // foreground back to `previous`.
    bool Open(HWND owner, oVoiceBook* root, std::shared_ptr<const FindList> list,
              const RECT& workArea, int dpi, HWND previous, const std::wstring& text);
    // The same at the resolution of `owner`'s monitor.
    bool Open(HWND owner, oVoiceBook* root, std::shared_ptr<const FindList> list,
              const RECT& workArea, HWND previous, const std::wstring& text) {
        return Open(owner, root, std::move(list), workArea, ui::WindowDpi(owner), previous, text);
    }
    void Close(bool restoreForeground);
    bool IsOpen() const noexcept { return hwnd_ && ::IsWindowVisible(hwnd_); }
    // The rows listed now, as indices into the list (the test hooks and benchmark ask).
    const std::vector<size_t>& Rows() const noexcept { return rows_; }
    // The row selected in the list, or -1.
    int SelectedRow() const noexcept { return list_.Selected(); }
    void Refilter();

    bool PreTranslateMessage(MSG& msg) override;

protected:
    bool OnCreate(const CREATESTRUCTW& cs) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnMouseWheel(UINT keys, short delta, POINT screen) override;
    void OnActivate(UINT state, HWND other, bool minimized) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnTimer(UINT_PTR id) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Font, row height and gaps for the resolution of the monitor the box is on.
    void AdoptDpi(int dpi);
    int Scaled(int value) const;
    void PaintRow(HDC dc, const RECT& rect, int row, bool selected);
    void DescribeRow(int row, fw::AccessibleInfo& info) const;
    void Choose(bool properties);
    // Gives the foreground to `window` and keeps it there while the hidden box's loss of the
    // focus settles: under Wine that news can arrive later and leave no window active.
    void GiveForegroundTo(HWND window);

    Chosen chosen_;
    oVoiceBook* root_ = nullptr;
    std::shared_ptr<const FindList> entries_;
    model::FindSession session_;
    std::vector<size_t> rows_;
    HWND edit_ = nullptr;
    fw::VirtualList list_;
    HWND previous_ = nullptr;
    HWND settling_ = nullptr;
    int settleTicks_ = 0;
    fw::Timer settleTimer_;
    fw::Font font_;
    int dpi_ = 0;
    int rowHeight_ = 20;
    std::wstring categoryMark_;
    bool quiet_ = false;
};

} // namespace bar
