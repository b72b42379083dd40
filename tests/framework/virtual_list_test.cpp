// The virtual list: its row arithmetic as a table, and the window painting only the rows in
// sight of a long list while keys, the wheel and the scroll bar move it.
#include <gtest/gtest.h>

#include <vector>

#include "framework/row_scroll.h"
#include "framework/virtual_list.h"
#include "support/test_util.h"

namespace {

TEST(RowScrollTest, KeysMoveTheSelectionAndTheTopFollowsIt) {
    const struct {
        int count, top, selected, fullRows;
        UINT key;
        int wantTop, wantSelected;
    } cases[] = {
        {100, 0, 0, 10, VK_DOWN, 0, 1},      {100, 0, 9, 10, VK_DOWN, 1, 10},
        {100, 5, 5, 10, VK_UP, 4, 4},        {100, 0, 0, 10, VK_UP, 0, 0},
        {100, 0, 0, 10, VK_NEXT, 0, 9},      {100, 0, 9, 10, VK_NEXT, 9, 18},
        {100, 50, 55, 10, VK_PRIOR, 46, 46}, {100, 0, 3, 10, VK_END, 90, 99},
        {100, 90, 99, 10, VK_HOME, 0, 0},    {5, 0, 4, 10, VK_NEXT, 0, 4},
        {100, 0, -1, 10, VK_DOWN, 0, 0},     {0, 0, -1, 10, VK_DOWN, 0, -1},
        {100, 0, 0, 10, 'A', 0, 0},          {100, 95, 95, 10, VK_DOWN, 90, 96},
        {100, 0, 0, 1, VK_NEXT, 1, 1},
    };
    for (const auto& c : cases) {
        const fw::RowScroll next =
            fw::RowScroll{c.count, c.top, c.selected, c.fullRows}.AfterKey(c.key);
        EXPECT_EQ(next.top, c.wantTop)
            << c.count << " " << c.top << " " << c.selected << " " << c.key;
        EXPECT_EQ(next.selected, c.wantSelected)
            << c.count << " " << c.top << " " << c.selected << " " << c.key;
    }
}

TEST(RowScrollTest, TheTopStaysWithinTheListAndClicksFindTheirRow) {
    const struct {
        int count, fullRows, wanted, wantTop;
    } scrolls[] = {{100, 10, 95, 90}, {100, 10, -3, 0}, {5, 10, 3, 0}, {100, 10, 42, 42}};
    for (const auto& s : scrolls)
        EXPECT_EQ((fw::RowScroll{s.count, 0, 0, s.fullRows}.ScrolledTo(s.wanted).top), s.wantTop)
            << s.count << " " << s.wanted;
    const struct {
        int count, top, y, wantRow;
    } clicks[] = {{100, 10, 0, 10}, {100, 10, 39, 11}, {5, 0, 100, -1}, {5, 0, -1, -1}};
    for (const auto& c : clicks)
        EXPECT_EQ((fw::RowScroll{c.count, c.top, 0, 10}.RowAt(c.y, 20)), c.wantRow) << c.y;
}

TEST(VirtualListTest, ALongListPaintsOnlyTheRowsInSightAndScrollsByKeysWheelAndBar) {
    constexpr int kRow = 20;
    std::vector<int> painted;
    int activated = -1;
    fw::VirtualList list([&](HDC, const RECT&, int row, bool) { painted.push_back(row); },
                         [&](int row) { activated = row; });
    const HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 400,
                                          nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent) << ::GetLastError();
    ASSERT_TRUE(list.CreateIn(parent, 1, 0)) << ::GetLastError();
    list.SetRowHeight(kRow);
    ASSERT_TRUE(::MoveWindow(list.hwnd(), 0, 0, 200, 10 * kRow + kRow / 2, TRUE));
    list.SetCount(100000);
    ::UpdateWindow(list.hwnd());
    // Ten whole rows and half of the eleventh.
    EXPECT_EQ(painted, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    const auto scrollPos = [&] {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        EXPECT_TRUE(::GetScrollInfo(list.hwnd(), SB_VERT, &info)) << ::GetLastError();
        EXPECT_EQ(info.nMax, 99999);
        EXPECT_EQ(info.nPage, 10u);
        return info.nPos;
    };
    ::SendMessageW(list.hwnd(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(list.Selected(), 99999);
    EXPECT_EQ(list.Top(), 99990);
    EXPECT_EQ(scrollPos(), 99990);
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    ::SendMessageW(list.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(list.Top(), 99990 - static_cast<int>(lines));
    ::SendMessageW(list.hwnd(), WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    EXPECT_EQ(list.Top(), 0);
    EXPECT_EQ(scrollPos(), 0);

    painted.clear();
    ::UpdateWindow(list.hwnd());
    EXPECT_LE(painted.size(), 11u);
    ::SendMessageW(list.hwnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 2 * kRow + 3));
    EXPECT_EQ(list.Selected(), 2);
    EXPECT_EQ(activated, 2);
    list.Destroy();
    ::DestroyWindow(parent);
}

} // namespace
