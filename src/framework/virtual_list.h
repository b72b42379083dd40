#pragma once
// A list of equal rows that keeps no rows of its own: it knows their count, paints only the
// rows in sight through its owner's painter, and moves a selection by keys, clicks and the
// wheel. A new list is one count, whatever its length. A click selects without taking the
// keyboard focus, so a field beside the list can keep it and hand the list its keys.
#include <windows.h>

#include <functional>

#include "framework/accessible.h"
#include "framework/row_scroll.h"
#include "framework/window.h"

namespace fw {

class VirtualList : public Window {
public:
    // Paints `row` into `rect` of `dc`; the background is the painter's.
    using PaintRow = std::function<void(HDC dc, const RECT& rect, int row, bool selected)>;
    // A row was double-clicked.
    using Activated = std::function<void(int row)>;

    // What a row tells assistive programs: its name, description and default action (the
    // list adds the role and the states).
    using DescribeRow = std::function<void(int row, AccessibleInfo& info)>;

    VirtualList(PaintRow paint, Activated activated, DescribeRow describe = nullptr)
        : paint_(std::move(paint)), activated_(std::move(activated)),
          describe_(std::move(describe)) {}
    ~VirtualList() override { Destroy(); }

    // A child of `parent`, with a vertical scroll bar.
    bool CreateIn(HWND parent, UINT id, DWORD exStyle);
    void SetRowHeight(int height);
    // A new list of `count` rows: the first one selected, scrolled to the top.
    void SetCount(int count);
    int Count() const noexcept { return view_.count; }
    int Selected() const noexcept { return view_.selected; }
    int Top() const noexcept { return view_.top; }

protected:
    void OnPaint() override;
    bool OnEraseBackground(HDC dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnLButtonDown(UINT keys, POINT client) override;
    void OnLButtonDblClk(UINT keys, POINT client) override;
    void OnMouseWheel(UINT keys, short delta, POINT screen) override;
    void OnVScroll(UINT code, int position, HWND scrollBar) override;
    UINT OnGetDlgCode(const MSG* msg) override;
    // Answers assistive programs: a list, its rows list items.
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Describe(AccessibleQuery& q);
    // The keyboard is in the list or a field beside it that hands it its keys.
    bool HasKeyboard() const;
    // A new selected row is announced as focused while the keyboard is here.
    void AnnounceSelection();
    // Takes the new view: the scroll bar follows and what changed is painted again.
    void Apply(const RowScroll& next);
    void UpdateScrollBar();

    struct ScrollState {
        int max = -1;
        int page = 0;
        int top = 0;
        bool operator==(const ScrollState& o) const noexcept {
            return max == o.max && page == o.page && top == o.top;
        }
    };

    PaintRow paint_;
    Activated activated_;
    DescribeRow describe_;
    RowScroll view_;
    int rowHeight_ = 20;
    ScrollState scrollState_;
    int wheelRest_ = 0; // wheel turns short of a row, kept for the next
};

} // namespace fw
