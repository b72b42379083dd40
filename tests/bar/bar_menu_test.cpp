// The bar menu as the settings prepare it, the Monitor submenu from lists of monitors, and
// the menu of the whole tree with its commands.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "bar/bar_menu.h"
#include "bar/hotkey.h"
#include "bar/menu_state.h"
#include "bar/monitor_menu.h"
#include "bar/toolbar_menu.h"
#include "bar/toolbar_menu_owner.h"
#include "bar/tray_icon.h"
#include "model/placement.h"
#include "model/preferences.h"
#include "model/voice_book.h"
#include "resource.h"
#include "support/test_util.h"

namespace {

using namespace bar;

bool Greyed(HMENU m, UINT id) {
    return (::GetMenuState(m, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}
bool Checked(HMENU m, UINT id) {
    return (::GetMenuState(m, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}
std::wstring Text(HMENU m, UINT position) {
    wchar_t text[128] = {};
    ::GetMenuStringW(m, position, text, 128, MF_BYPOSITION);
    return text;
}

TEST(BarMenuStateTest, TheHoldFlagGreysTheItemsThatOpenDialogsOrEnd) {
    BarMenuInput in;
    in.held = true;
    const BarMenuState s = PrepareBarMenu(in);
    for (UINT id : {ID_PREFERENCES, ID_AUTO_HIDE_TIME, ID_APP_ABOUT, ID_APP_EXIT})
        EXPECT_TRUE(s.Greyed(id)) << id;
    EXPECT_FALSE(s.Greyed(ID_ALWAYS_ON_TOP));
    in.held = false;
    EXPECT_FALSE(PrepareBarMenu(in).Greyed(ID_APP_EXIT));
}

TEST(BarMenuStateTest, TrayOnlyGreysSizesViewsAndTheBarsBehaviourAndMarksHide) {
    BarMenuInput in;
    in.trayOnly = true;
    in.state = STATE_FLOAT;
    in.viewFlags = VIEW_TAB_STRIP;
    const BarMenuState s = PrepareBarMenu(in);
    for (UINT id = ID_BUTTON_SIZE_SMALL; id <= ID_BUTTON_SIZE_VERY_LARGE_LONG; ++id)
        EXPECT_TRUE(s.Greyed(id)) << id;
    for (UINT id : {ID_VIEW_ICON, ID_VIEW_TAB, ID_VIEW_TAB_ICON, ID_VIEW_CATEGORY_ONLY,
                    ID_ALWAYS_ON_TOP, ID_AUTO_HIDE, ID_AUTO_HIDE_TIME})
        EXPECT_TRUE(s.Greyed(id)) << id;
    EXPECT_EQ(s.position.chosen, static_cast<UINT>(ID_POSITION_TRAY_ONLY));
    // The positions stay: they bring the bar back.
    EXPECT_FALSE(s.Greyed(ID_POSITION_LEFT));
}

TEST(BarMenuStateTest, RadioMarksFollowStateSizeAndSpacing) {
    const struct {
        int32_t state, size, spacing;
        UINT position, sizeItem, spacingItem;
    } cases[] = {
        {STATE_LEFT, 0, 0, ID_POSITION_LEFT, ID_BUTTON_SIZE_LARGE, 6200},
        {STATE_TOP, 1, 1, ID_POSITION_TOP, ID_BUTTON_SIZE_SMALL, 6201},
        {STATE_RIGHT, 2, 2, ID_POSITION_RIGHT, ID_BUTTON_SIZE_MEDIUM, 6202},
        {STATE_BOTTOM, 3, 3, ID_POSITION_BOTTOM, ID_BUTTON_SIZE_VERY_LARGE, 6203},
        {STATE_FLOAT, 6, 4, ID_POSITION_CENTER, ID_BUTTON_SIZE_VERY_LARGE_LONG, 0},
        {STATE_NONE, 7, -1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        BarMenuInput in;
        in.state = c.state;
        in.buttonSize = c.size;
        in.buttonSpacing = c.spacing;
        const BarMenuState s = PrepareBarMenu(in);
        EXPECT_EQ(s.position.chosen, c.position) << c.state;
        EXPECT_EQ(s.size.chosen, c.sizeItem) << c.size;
        EXPECT_EQ(s.spacing.chosen, c.spacingItem) << c.spacing;
    }
}

TEST(BarMenuStateTest, ViewChecksAndTheirGreying) {
    const struct {
        int32_t flags;
        bool icon, tab, tabIcon, only, tabIconGrey, viewsGrey;
    } cases[] = {
        {0x8003, true, true, true, false, false, false},
        {0x0001, true, false, false, false, true, false},
        {0x8000, false, false, true, false, true, false},
        {0x4002, false, true, false, true, true, true},
    };
    for (const auto& c : cases) {
        BarMenuInput in;
        in.viewFlags = c.flags;
        const BarMenuState s = PrepareBarMenu(in);
        EXPECT_EQ(s.Checked(ID_VIEW_ICON), c.icon) << c.flags;
        EXPECT_EQ(s.Checked(ID_VIEW_TAB), c.tab) << c.flags;
        EXPECT_EQ(s.Checked(ID_VIEW_TAB_ICON), c.tabIcon) << c.flags;
        EXPECT_EQ(s.Checked(ID_VIEW_CATEGORY_ONLY), c.only) << c.flags;
        EXPECT_EQ(s.Greyed(ID_VIEW_TAB_ICON), c.tabIconGrey) << c.flags;
        EXPECT_EQ(s.Greyed(ID_VIEW_ICON), c.viewsGrey) << c.flags;
        EXPECT_EQ(s.Greyed(ID_VIEW_TAB), c.viewsGrey) << c.flags;
    }
}

std::vector<oMonitorInfo> Monitors(size_t count, size_t primary) {
    std::vector<oMonitorInfo> list(count);
    for (size_t i = 0; i < count; ++i) {
        list[i].handle = reinterpret_cast<HMONITOR>(0x10001 + 2 * i);
        list[i].info.dwFlags = i == primary ? MONITORINFOF_PRIMARY : 0;
    }
    return list;
}

TEST(BarMenuTest, TheLoadedMenuReadsInOrderWithItsStatesAndInsertedPopups) {
    BarMenuInput in;
    in.held = true;
    in.state = STATE_BOTTOM;
    in.buttonSize = 3;
    in.buttonSpacing = 2;
    in.alwaysOnTop = true;
    const auto list = Monitors(3, 1);
    const BarMenu menu(
        in, BuildMonitorMenu(list, list[1].handle, false, L"Primary Monitor", L"Sub Monitor"));
    HMENU m = menu.Popup();
    ASSERT_NE(m, nullptr) << ::GetLastError();
    const std::vector<std::wstring> expected = {L"&Preferences...",
                                                L"",
                                                L"&Position",
                                                L"&Monitor",
                                                L"A&lways on Top",
                                                L"",
                                                L"&Button Size",
                                                L"Button &Spacing",
                                                L"Category Button &View",
                                                L"Show Category Button &Only",
                                                L"",
                                                L"Auto &Hide",
                                                L"Adjust Auto Hide &Time...",
                                                L"",
                                                L"&Export...",
                                                L"&Import...",
                                                L"",
                                                L"&About larkRunBar...",
                                                L"&Goto Tarvo's homepage",
                                                L"E&xit"};
    ASSERT_EQ(::GetMenuItemCount(m), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Text(m, static_cast<UINT>(i)), expected[i]) << i;
    EXPECT_TRUE(Greyed(m, ID_APP_EXIT));
    EXPECT_TRUE(Greyed(m, ID_IMPORT_TREE));
    EXPECT_TRUE(Checked(m, ID_ALWAYS_ON_TOP));
    EXPECT_TRUE(Checked(m, ID_POSITION_BOTTOM));
    EXPECT_TRUE(Checked(m, ID_BUTTON_SIZE_VERY_LARGE));
    EXPECT_FALSE(Checked(m, ID_BUTTON_SIZE_LARGE));
    EXPECT_TRUE(Checked(m, 6202));
    HMENU monitors = ::GetSubMenu(m, 3);
    EXPECT_EQ(::GetMenuDefaultItem(monitors, FALSE, 0), 6101u);
    EXPECT_TRUE(Checked(monitors, 6101));
}

TEST(MonitorMenuTest, ItemsCountOnlyTheOtherMonitorsAndTheTwelfthIsNotRouted) {
    const struct {
        size_t count, primary, nearest;
        std::vector<std::wstring> texts;
    } cases[] = {
        {1, 0, 0, {L"Primary Monitor"}},
        {3, 1, 2, {L"Sub Monitor 1", L"Primary Monitor", L"Sub Monitor 2"}},
        {12, 0, 11, {}},
    };
    for (const auto& c : cases) {
        const auto list = Monitors(c.count, c.primary);
        const MonitorMenu m = BuildMonitorMenu(list, list[c.nearest].handle, false,
                                               L"Primary Monitor", L"Sub Monitor");
        ASSERT_EQ(m.items.size(), c.count);
        for (size_t i = 0; i < c.texts.size(); ++i)
            EXPECT_EQ(m.items[i].text, c.texts[i]);
        EXPECT_TRUE(m.items[c.primary].isDefault);
        EXPECT_EQ(m.checked, ID_MONITOR_FIRST + c.nearest);
        EXPECT_EQ(MonitorForCommand(list, ID_MONITOR_FIRST + static_cast<UINT>(c.count) - 1),
                  list.back().handle);
        EXPECT_EQ(MonitorForCommand(list, ID_MONITOR_FIRST + static_cast<UINT>(c.count)), nullptr);
    }
    EXPECT_EQ(BuildMonitorMenu(Monitors(12, 0), nullptr, false, L"P", L"S").items.back().text,
              L"S 11");
    EXPECT_TRUE(IsRoutedMonitorCommand(6110));
    EXPECT_FALSE(IsRoutedMonitorCommand(6111));
    // Hidden in the tray: listed, greyed; no nearest monitor in the list marks the first.
    const MonitorMenu tray = BuildMonitorMenu(Monitors(2, 0), nullptr, true, L"P", L"S");
    EXPECT_TRUE(tray.items[0].greyed && tray.items[1].greyed);
    EXPECT_EQ(tray.checked, static_cast<UINT>(ID_MONITOR_FIRST));
}

TEST(HotKeyAndTrayTest, CodesAndNotifications) {
    const HotKeyChord ctrlAltA = HotKeyFromCode(0x60041);
    EXPECT_TRUE(ctrlAltA.active);
    EXPECT_EQ(ctrlAltA.modifiers, static_cast<UINT>(MOD_CONTROL | MOD_ALT));
    EXPECT_EQ(ctrlAltA.key, 0x41u);
    EXPECT_EQ(HotKeyFromCode(0x190070).modifiers, static_cast<UINT>(MOD_SHIFT)); // bit 19 ignored
    EXPECT_FALSE(HotKeyFromCode(0).active);
    EXPECT_FALSE(HotKeyFromCode(-5).active);

    EXPECT_EQ(TrayActionFor(101, WM_RBUTTONUP, 1), TrayAction::Nothing);
    EXPECT_EQ(TrayActionFor(100, WM_LBUTTONDOWN, 1), TrayAction::Nothing);
    EXPECT_EQ(TrayActionFor(100, WM_LBUTTONUP, 1), TrayAction::ToolBarMenu);
    EXPECT_EQ(TrayActionFor(100, WM_LBUTTONUP, 0), TrayAction::Foreground);
    EXPECT_EQ(TrayActionFor(100, WM_LBUTTONUP, -1), TrayAction::Foreground);
    EXPECT_EQ(TrayActionFor(100, WM_RBUTTONUP, 0), TrayAction::BarMenu);
    EXPECT_EQ(TrayActionFor(100, WM_MOUSEMOVE, 1), TrayAction::NotHandled);
}

// Two categories of three buttons, the first with a separator among them.
class ToolBarMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* category : {L"Work", L"Play"}) {
            oVoiceBook* c = root_.AddChild(NewNodeFields(category, 0x12, 0));
            for (int i = 0; i < 3; ++i) {
                const std::wstring name = std::wstring(category) + std::to_wstring(i);
                c->AddChild(ButtonFields(name, L"x.exe"));
                if (i == 0 && c == root_.FirstChild())
                    c->AddChild(ButtonFields(L"sep"))->SetRole(ROLE_SEPARATOR);
            }
        }
        root_.AddChild(NewNodeFields(L"old kind", 0x22, 0));
    }
    oVoiceBook root_;
};

TEST_F(ToolBarMenuTest, SubmenusAreFilledAndNumberedAsTheyOpen) {
    ToolBarMenu builder;
    fw::Menu menu = builder.Build(root_);
    ASSERT_TRUE(menu) << ::GetLastError();
    ASSERT_EQ(::GetMenuItemCount(menu.get()), 2); // the node of an older kind is left out
    HMENU work = ::GetSubMenu(menu.get(), 0);
    HMENU play = ::GetSubMenu(menu.get(), 1);
    ASSERT_TRUE(work && play);
    EXPECT_EQ(Text(menu.get(), 1), L"Play");
    EXPECT_EQ(::GetMenuItemCount(work), 0);
    EXPECT_EQ(builder.Numbered(), 0u);
    ASSERT_TRUE(builder.Open(work, root_));
    ASSERT_EQ(::GetMenuItemCount(work), 4);
    EXPECT_EQ(::GetMenuItemID(work, 0), 12000u);
    EXPECT_TRUE(::GetMenuState(work, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(::GetMenuItemID(work, 2), 12001u);
    EXPECT_EQ(::GetMenuItemID(work, 3), 12002u);
    // A sibling takes the same numbers; opened again, the first has them back.
    ASSERT_TRUE(builder.Open(play, root_));
    for (UINT i = 0; i < 3; ++i) {
        EXPECT_EQ(::GetMenuItemID(play, i), 12000u + i);
        EXPECT_EQ(Text(play, i), L"Play" + std::to_wstring(i));
    }
    EXPECT_EQ(builder.Numbered(), 3u);
    EXPECT_EQ(builder.NodeForCommand(12001, root_)->m_strName, L"Play1");
    builder.Open(work, root_);
    EXPECT_EQ(builder.NodeForCommand(12001, root_)->m_strName, L"Work1");
    EXPECT_FALSE(builder.Open(::GetSubMenu(menu.get(), 5), root_));

    // Pictures are made when their item is first drawn.
    oVoiceBook* work1 = builder.NodeForCommand(12001, root_);
    EXPECT_LT(work1->m_nImage, 0);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA;
    ASSERT_TRUE(::GetMenuItemInfoW(work, 2, TRUE, &mii));
    fw::MemoryDC dc(::CreateCompatibleDC(nullptr));
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemData = mii.dwItemData;
    draw.hDC = dc.get();
    ASSERT_TRUE(builder.DrawPicture(draw, root_));
    EXPECT_GE(work1->m_nImage, 0);
    // Pictures that wait for idleness show the default until they are made.
    builder.SetPicturesWaitForIdle(true);
    ASSERT_TRUE(::GetMenuItemInfoW(work, 3, TRUE, &mii));
    draw.itemData = mii.dwItemData;
    ASSERT_TRUE(builder.DrawPicture(draw, root_));
    oVoiceBook* work2 = builder.NodeForCommand(12002, root_);
    EXPECT_LT(work2->m_nImage, 0);
    EXPECT_TRUE(builder.PicturesWaiting());
    EXPECT_TRUE(builder.MakeWaitingPictures(root_, 1000));
    EXPECT_GE(work2->m_nImage, 0);
    EXPECT_FALSE(builder.PicturesWaiting());
}

TEST_F(ToolBarMenuTest, PicturesTwoLevelsDownAreMadeForTheirNodesAndNoneForANodeGoneSince) {
    oVoiceBook* inner = root_.FirstChild()->AddChild(NewNodeFields(L"Inner", 0x12, 0));
    oVoiceBook* deep = inner->AddChild(ButtonFields(L"deep", L"x.exe"));
    inner->AddChild(ButtonFields(L"gone", L"x.exe"));
    ToolBarMenu builder;
    fw::Menu menu = builder.Build(root_);
    HMENU work = ::GetSubMenu(menu.get(), 0);
    ASSERT_TRUE(builder.Open(work, root_));
    HMENU innerMenu = ::GetSubMenu(work, 4);
    ASSERT_TRUE(builder.Open(innerMenu, root_));
    inner->RemoveChild(deep->Next());
    fw::MemoryDC dc(::CreateCompatibleDC(nullptr));
    const auto draw = [&](HMENU m, UINT position) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_DATA;
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_MENU;
        item.hDC = dc.get();
        item.itemData = ::GetMenuItemInfoW(m, position, TRUE, &mii) ? mii.dwItemData : 0;
        return builder.DrawPicture(item, root_);
    };
    EXPECT_TRUE(draw(innerMenu, 0));
    EXPECT_GE(deep->m_nImage, 0);
    EXPECT_TRUE(draw(work, 4));
    EXPECT_GE(inner->m_nImage, 0);
    EXPECT_TRUE(draw(innerMenu, 1)); // its node has left the tree: the missing picture
}

TEST_F(ToolBarMenuTest, ACommandNoOpenMenuNumberedOrForADeletedButtonFindsNothing) {
    ToolBarMenu builder;
    fw::Menu menu = builder.Build(root_);
    builder.Open(::GetSubMenu(menu.get(), 1), root_);
    menu.reset();
    builder.Closed(); // the numbers stay
    for (UINT id : {11999u, 12003u, 12999u, 13000u})
        EXPECT_EQ(builder.NodeForCommand(id, root_), nullptr) << id;
    oVoiceBook* play = root_.FirstChild()->Next();
    ASSERT_NE(builder.NodeForCommand(12000, root_), nullptr);
    play->RemoveChild(play->FirstChild());
    EXPECT_EQ(builder.NodeForCommand(12000, root_), nullptr);
    EXPECT_EQ(builder.NodeForCommand(12001, root_)->m_strName, L"Play1");
    // A new button in the old one's place is not run by the old command either.
    play->AddChild(ButtonFields(L"newcomer", L"x.exe"));
    EXPECT_EQ(builder.NodeForCommand(12000, root_), nullptr);
}

// A menu of `thread` shown with nothing left to paint, once `count` of them are.
HWND PaintedMenu(DWORD thread, int count) {
    std::pair<int, HWND> found{0, nullptr};
    ::EnumThreadWindows(
        thread,
        [](HWND w, LPARAM p) -> BOOL {
            auto& f = *reinterpret_cast<std::pair<int, HWND>*>(p);
            wchar_t cls[16] = {};
            if (::IsWindowVisible(w) && ::GetClassNameW(w, cls, 16) &&
                std::wstring(cls) == L"#32768" && !::GetUpdateRect(w, nullptr, FALSE)) {
                ++f.first;
                f.second = w;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.first >= count ? found.second : nullptr;
}

TEST_F(ToolBarMenuTest, ItsOwnWindowFillsAndDrawsASubmenuOpenedByKeys) {
    HWND bar = ::CreateWindowExW(0, L"STATIC", L"bar", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(bar, nullptr) << ::GetLastError();
    ::SetForegroundWindow(bar);
    ToolBarMenu builder;
    ToolBarMenuOwner owner(builder, [this]() -> oVoiceBook& { return root_; });
    const fw::Menu menu = builder.Build(root_);
    const DWORD thread = ::GetCurrentThreadId();
    bool opened = false;
    std::thread keys([&] {
        // Play, the last item, opened once the menu has painted; both closed once it has.
        HWND top = nullptr;
        if (test::WaitUntil([&] { return (top = PaintedMenu(thread, 1)) != nullptr; },
                            test::kPatientMs)) {
            for (WPARAM key : {VK_UP, VK_RIGHT})
                ::PostMessageW(top, WM_KEYDOWN, key, 0);
            opened = test::WaitUntil([&] { return PaintedMenu(thread, 2); }, test::kPatientMs);
            // The menu idle (Wine says so when its queue is empty, which a busy machine can
            // put off): each time at least one waiting picture is made, of five.
            HWND ownerWindow = ::FindWindowW(L"LarkToolBarMenuOwner", nullptr);
            for (int i = 0; i < 5; ++i)
                ::SendMessageW(ownerWindow, WM_ENTERIDLE, MSGF_MENU, 0);
        }
        for (WPARAM key : {VK_ESCAPE, VK_ESCAPE})
            ::PostMessageW(top, WM_KEYDOWN, key, 0);
    });
    owner.TrackAtCursor(menu.get(), bar);
    keys.join();
    ::DestroyWindow(bar);
    EXPECT_TRUE(opened);
    EXPECT_EQ(builder.Numbered(), 3u);
    EXPECT_GE(root_.FirstChild()->Next()->FirstChild()->m_nImage, 0);
}

TEST(ToolBarMenuRunsTest, EntriesSplitIntoRunsThatFitTheirRoom) {
    // B a button, S a separator, C a category; runs as "begin-end" pairs.
    const struct {
        const char* entries;
        size_t room;
        const char* runs;
    } cases[] = {
        {"", 5, "0-0 "},         {"BBB", 3, "0-3 "},      {"BBB", 2, "0-2 2-3 "},
        {"BC", 2, "0-2 "},       {"BC", 1, "0-1 1-2 "},   {"CBB", 2, "0-2 2-3 "},
        {"SBSB", 1, "0-3 3-4 "}, {"CCC", 1, "0-3 "},      {"BBBBB", 2, "0-2 2-4 4-5 "},
        {"BCBC", 3, "0-4 "},     {"BCBC", 2, "0-2 2-4 "},
    };
    for (const auto& c : cases) {
        std::vector<MenuEntry> entries;
        for (const char* e = c.entries; *e; ++e) // in the order of the enumeration
            entries.push_back(static_cast<MenuEntry>(std::string("BSC").find(*e)));
        std::string runs;
        for (const EntryRun& r : SplitIntoRuns(entries, c.room))
            runs += std::to_string(r.begin) + "-" + std::to_string(r.end) + " ";
        EXPECT_EQ(runs, c.runs) << c.entries << " in " << c.room;
    }
}

// Opens `menu` and everything below it as a user would, one path at a time, and checks that
// each button's number names it while its menu is open; returns the buttons reached.
size_t ReachEveryButton(ToolBarMenu& builder, HMENU menu, oVoiceBook& root) {
    EXPECT_TRUE(builder.Open(menu, root));
    size_t reached = 0;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
        if (HMENU sub = ::GetSubMenu(menu, i))
            reached += ReachEveryButton(builder, sub, root);
    // Closed submenus leave the numbers of the menus they hang from alone.
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        const UINT id = ::GetMenuItemID(menu, i);
        if (::GetSubMenu(menu, i) || id == 0)
            continue;
        EXPECT_TRUE(id >= 12000u && id <= 12999u) << id;
        const oVoiceBook* node = builder.NodeForCommand(id, root);
        EXPECT_TRUE(node && node->m_strName == Text(menu, static_cast<UINT>(i))) << id;
        ++reached;
    }
    return reached;
}

TEST(ToolBarMenuRunsTest, EveryButtonOfAHugeTreeIsReachableInsideTheRange) {
    oVoiceBook root;
    size_t buttons = 0;
    auto add = [&](oVoiceBook& category, int count) {
        for (int i = 0; i < count; ++i)
            category.AddChild(ButtonFields(L"b" + std::to_wstring(buttons++), L"x.exe"));
    };
    oVoiceBook* big = root.AddChild(CategoryFields(L"Big"));
    add(*big, 1500);
    oVoiceBook* inner = big->AddChild(CategoryFields(L"Inner"));
    add(*inner, 990);
    add(*inner->AddChild(CategoryFields(L"Deep")), 30);
    add(*root.AddChild(CategoryFields(L"Small")), 20);
    ToolBarMenu builder;
    fw::Menu menu = builder.Build(root);
    ASSERT_TRUE(menu);
    EXPECT_EQ(ReachEveryButton(builder, menu.get(), root), buttons);
    // The big category lists its runs, named by their first and last buttons.
    EXPECT_EQ(Text(::GetSubMenu(menu.get(), 0), 0), L"b0 \u2013 b999");
}

} // namespace

namespace {

TEST(MenuPicturesTest, TheStripHoldsEveryPictureAndTheBarMenuAsksForThem) {
    bar::MenuPictures pictures;
    // Each size of the bar's resolutions has them all.
    for (const int size : {32, 24, 16}) {
        pictures.SetSize(size);
        EXPECT_EQ(pictures.Count(), bar::PIC_COUNT) << size;
    }
    const bar::BarMenu menu(bar::BarMenuInput{}, bar::MonitorMenu{}, &pictures);
    auto data = [&](UINT id) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_BITMAP | MIIM_DATA;
        ::GetMenuItemInfoW(menu.Popup(), id, FALSE, &mii);
        MEASUREITEMSTRUCT m{};
        m.CtlType = ODT_MENU;
        m.itemData = mii.dwItemData;
        const bool asks = mii.hbmpItem == HBMMENU_CALLBACK && pictures.Measure(m);
        return asks ? static_cast<int>(mii.dwItemData & 0xFFFF) : -1;
    };
    EXPECT_EQ(data(ID_POSITION_TOP), bar::PIC_POSITION);
    EXPECT_EQ(data(ID_BUTTON_SIZE_LARGE_LONG), bar::PIC_SIZE);
    EXPECT_EQ(data(ID_APP_EXIT), bar::PIC_EXIT);
    EXPECT_EQ(data(ID_BUTTON_SPACING_FIRST), -1);
}

} // namespace
