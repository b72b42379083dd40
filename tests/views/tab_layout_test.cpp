// The tab strip's layout and scrolling rules, the category content menu's walk and the
// category menu's greying, checked as plain values (the menu from the program's resources).
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "framework/resources.h"
#include "model/preferences.h"
#include "model/voice_book.h"
#include "resource.h"
#include "views/category_menu.h"
#include "views/tab_layout.h"

namespace {

// Three 40-pixel names end exactly at the area's right edge of a strip 212 pixels wide:
// 1 + 2 * (40 + 18 - 5) + 40 + 18 = 165 = 212 - 1 - 46.
constexpr SIZE kExactStrip{212, 24};
const std::vector<int> kThree{40, 40, 40};

TEST(TabLayout, FrameOfBothOrientations) {
    const views::TabStripFrame h = views::LayOutTabStripFrame(SIZE{300, 30}, false);
    EXPECT_EQ((std::vector<LONG>{h.area.left, h.area.right, h.area.bottom, h.separator.left,
                                 h.prev.x, h.next.x, h.next.y}),
              (std::vector<LONG>{1, 253, 20, 255, 258, 278, 2})); // at most 19 high
    const views::TabStripFrame v = views::LayOutTabStripFrame(SIZE{24, 300}, true);
    EXPECT_EQ((std::vector<LONG>{v.area.left, v.area.right, v.area.bottom, v.separator.top,
                                 v.prev.y, v.next.y, v.next.x}),
              (std::vector<LONG>{3, 23, 253, 255, 258, 278, 2})); // the rightmost 20 pixels
    // At twice the resolution every part is twice as large, the strip's ends where they were.
    const views::TabStripFrame d =
        views::LayOutTabStripFrame(SIZE{300, 60}, false, true, {40, 92, 38, 40, 36, 40, 10, 32});
    EXPECT_EQ((std::vector<LONG>{d.area.right, d.area.bottom, d.separator.left, d.separator.right,
                                 d.prev.x, d.next.x, d.next.y}),
              (std::vector<LONG>{207, 39, 211, 215, 218, 258, 2}));
}

TEST(TabLayout, ThreeTabsThatFitExactlyAreAllShownOverlapping) {
    const views::TabStripFrame f = views::LayOutTabStripFrame(kExactStrip, false);
    const views::TabLayout all = views::LayOutTabs(kThree, 0, f.area, false, false);
    ASSERT_EQ(all.visibleCount(), 3);
    EXPECT_EQ(all.rects[0].left, 1);
    EXPECT_EQ(all.rects[1].left, 54); // overlapping the first by 5 pixels
    EXPECT_EQ(all.rects[2].right, f.area.right);
}

TEST(TabLayout, ScrollButtonsOnlyWhenTheTabsDoNotFitAndScrollingEndsWithTheLastTabInView) {
    // Three 40-pixel tabs end at 165: a strip 166 long holds them without scroll buttons; one
    // pixel less and the buttons take 46, leaving room for the last two tabs.
    const std::vector<int> ten(10, 40);
    struct Case {
        SIZE client;
        bool vertical;
        std::vector<int> widths;
        int first;
        bool scrolls;
        int expectedFirst;
        bool next, prev;
    } cases[] = {
        {{166, 24}, false, kThree, 2, false, 0, false, false}, // a strip that grew shows all
        {{165, 24}, false, kThree, 0, true, 0, true, false},
        {{165, 24}, false, kThree, 2, true, 1, false, true}, // the last tab in view: no further
        {{24, 165}, true, kThree, 5, true, 1, false, true},
        {{200, 24}, false, ten, 9, true, 8, false, true}, // the last two fit
        {{200, 24}, false, {}, 0, false, 0, false, false},
        {{100, 24}, false, {300}, 0, true, 0, false, false}, // one tab longer than any room
    };
    for (const Case& c : cases) {
        const views::TabStripPlan p =
            views::PlanTabStrip(c.client, c.vertical, c.widths, c.first, false);
        EXPECT_EQ((std::vector<int>{p.frame.scrolls, p.firstVisible, p.next, p.prev}),
                  (std::vector<int>{c.scrolls, c.expectedFirst, c.next, c.prev}))
            << c.client.cx << "x" << c.client.cy << " " << c.widths.size() << " tabs from "
            << c.first;
        EXPECT_EQ(p.frame.area.right, c.client.cx - 1 - (c.scrolls && !c.vertical ? 46 : 0));
    }
}

TEST(TabLayout, ScrollingStopsBeforeTheFirstTabAndOnceTheLastIsInView) {
    const std::vector<int> ten(10, 40);
    const struct {
        SIZE client;
        std::vector<int> widths;
        int first, step, scrolled;
    } cases[] = {
        {{165, 24}, kThree, 0, 1, 1},  {{165, 24}, kThree, 1, 1, 1}, // the last tab is in view
        {{165, 24}, kThree, 1, -1, 0}, {{165, 24}, kThree, 0, -1, 0}, {{200, 24}, ten, 7, 1, 8},
        {{200, 24}, ten, 8, 1, 8},     {{166, 24}, kThree, 0, 1, 0}, // everything fits: no
                                                                     // scrolling at all
    };
    for (const auto& c : cases)
        EXPECT_EQ(views::ScrolledFirstVisible(c.client, false, c.widths, c.first, c.step, false),
                  c.scrolled)
            << c.widths.size() << " tabs from " << c.first << " by " << c.step;
}

TEST(TabLayout, IconsMakeEveryTabTwentyLongerAndTheFirstCutOffTabIsCounted) {
    const views::TabStripFrame f = views::LayOutTabStripFrame(kExactStrip, false);
    const views::TabLayout plain = views::LayOutTabs(kThree, 0, f.area, false, false);
    const views::TabLayout icons = views::LayOutTabs(kThree, 0, f.area, false, true);
    ASSERT_EQ(icons.visibleCount(), 3); // the third cut off
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(icons.rects[i].right - icons.rects[i].left,
                  plain.rects[i].right - plain.rects[i].left + 20);
    EXPECT_FALSE(views::TabWhollyInside(icons.rects[2], f.area));
    // A vertical strip runs top to bottom, one pixel short of the area's right edge.
    const views::TabStripFrame v = views::LayOutTabStripFrame(SIZE{24, 212}, true);
    const views::TabLayout down = views::LayOutTabs(kThree, 0, v.area, true, false);
    ASSERT_EQ(down.visibleCount(), 3);
    EXPECT_EQ(down.rects[1].top, 54);
    EXPECT_EQ(down.rects[1].right, v.area.right - 1);
}

TEST(TabLayout, BringingATabIntoView) {
    // Ten tabs of which about three fit.
    const std::vector<int> ten(10, 40);
    const views::TabStripFrame f = views::LayOutTabStripFrame(SIZE{200, 24}, false);
    struct Case {
        int index, first, expected;
    } cases[] = {
        {1, 0, 0},             // among the visible ones
        {-1, 4, 4},            // outside the list
        {10, 4, 4}, {2, 4, 2}, // before the first visible one
        {9, 0, 8},             // far beyond: scrolled until shown, then once more as it was cut off
        {5, 0, 4},  {2, 0, 1}, // the last visible one, cut off: once more
        {9, 9, 9},             // the last tab alone
    };
    for (const Case& c : cases) {
        const int first = views::FirstVisibleToShow(c.index, ten, c.first, f.area, false, false);
        EXPECT_EQ(first, c.expected) << "tab " << c.index << " from " << c.first;
        if (c.index >= 0 && c.index < 10) {
            const views::TabLayout l = views::LayOutTabs(ten, first, f.area, false, false);
            EXPECT_GE(c.index, first);
            EXPECT_LT(c.index, first + l.visibleCount());
        }
    }
}

oVoiceBook* Category(oVoiceBook& parent, const wchar_t* name) {
    return parent.AddChild(CategoryFields(name));
}
oVoiceBook* Button(oVoiceBook& parent, const wchar_t* name) {
    return parent.AddChild(ButtonFields(name, L"x.exe"));
}

TEST(CategoryContentMenu, ButtonsAreNumberedOverTheWholeMenuAndSubCategoriesNest) {
    oVoiceBook root;
    oVoiceBook* top = Category(root, L"Top");
    oVoiceBook* a = Button(*top, L"A");
    Button(*top, L"-")->SetRole(ROLE_SEPARATOR);
    oVoiceBook* sub = Category(*top, L"Sub");
    oVoiceBook* b = Button(*sub, L"B");
    oVoiceBook* deeper = Category(*sub, L"Deeper");
    oVoiceBook* c = Button(*deeper, L"C");
    oVoiceBook* d = Button(*top, L"D");
    top->AddChild(NewNodeFields(L"old", KIND_OLD_ITEM, 0)); // not an item: left out

    using E = views::ContentMenuEntry;
    const views::ContentMenu menu = views::WalkCategoryContent(*top, 12000, 12999);
    const std::vector<std::pair<E::Kind, oVoiceBook*>> expected{{E::Item, a},
                                                                {E::Separator, nullptr},
                                                                {E::SubMenuBegin, sub},
                                                                {E::Item, b},
                                                                {E::SubMenuBegin, deeper},
                                                                {E::Item, c},
                                                                {E::SubMenuEnd, nullptr},
                                                                {E::SubMenuEnd, nullptr},
                                                                {E::Item, d}};
    ASSERT_EQ(menu.entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(menu.entries[i].kind, expected[i].first) << i;
        EXPECT_EQ(menu.entries[i].node, expected[i].second) << i;
    }
    EXPECT_EQ(menu.nodes, (std::vector<oVoiceBook*>{a, b, c, d}));
    EXPECT_EQ(menu.entries[8].id, 12003u);

    // The built menu holds the same: three items and a sub-menu with its own.
    fw::Menu popup = views::BuildPopupMenu(menu.entries);
    ASSERT_TRUE(popup);
    EXPECT_EQ(::GetMenuItemCount(popup.get()), 4);
    HMENU subMenu = ::GetSubMenu(popup.get(), 2);
    ASSERT_NE(subMenu, nullptr);
    EXPECT_EQ(::GetMenuItemID(subMenu, 0), 12001u);
    EXPECT_EQ(::GetMenuItemID(::GetSubMenu(subMenu, 1), 0), 12002u);

    // Items beyond the command range are left out rather than taking other commands.
    EXPECT_EQ(views::WalkCategoryContent(*top, 12000, 12001).nodes.size(), 2u);
}

TEST(CategoryMenu, WithoutACategoryTheCategoryCommandsAreGreyedAndChecksFollowTheViewWord) {
    for (bool onCategory : {false, true}) {
        fw::Menu menu = fw::LoadResMenu(IDR_CATEGORY_MENU);
        ASSERT_TRUE(menu) << ::GetLastError();
        HMENU popup = ::GetSubMenu(menu.get(), 0);
        views::ApplyCategoryMenuState(popup, onCategory, VIEW_TAB_STRIP | VIEW_TAB_ICONS);
        const auto state = [popup](UINT id) { return ::GetMenuState(popup, id, MF_BYCOMMAND); };
        for (UINT id : {ID_DELETE_CATEGORY, ID_CATEGORY_PROPERTIES, ID_REFRESH_CATEGORY})
            EXPECT_EQ((state(id) & MF_GRAYED) != 0, !onCategory) << id;
        EXPECT_EQ(state(ID_ADD_CATEGORY) & MF_GRAYED, 0u);
        EXPECT_EQ(state(ID_VIEW_ICON) & MF_CHECKED, 0u);
        EXPECT_NE(state(ID_VIEW_TAB) & MF_CHECKED, 0u);
        EXPECT_NE(state(ID_VIEW_TAB_ICON) & MF_CHECKED, 0u);
    }
}

} // namespace
