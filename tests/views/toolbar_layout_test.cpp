// Layout of the program button bar, the button faces and the slots' nodes, checked as
// plain values.
#include <gtest/gtest.h>

#include <vector>

#include "../bar/rect_compare.h"
#include "model/voice_book.h"
#include "views/button_layout.h"
#include "views/button_slots.h"
#include "views/category_steps.h"
#include "views/toolbar_layout.h"

using views::BarLayoutInput;
using views::LayoutBar;
using views::SlotRole;

namespace {

BarLayoutInput Input(SIZE client, int32_t view, std::vector<SlotRole> slots) {
    BarLayoutInput in;
    in.client = client;
    in.vertical = client.cx < client.cy;
    in.button = SIZE{40, 40};
    in.margin = 2;
    in.viewFlags = view;
    in.slots = std::move(slots);
    in.resetPaging = true;
    return in;
}

std::vector<SlotRole> Buttons(int n) {
    return std::vector<SlotRole>(static_cast<size_t>(n), SlotRole::Button);
}

int VisibleButtons(const views::BarLayout& l) {
    int n = 0;
    for (const auto& p : l.programs)
        n += p.visible ? 1 : 0;
    return n;
}

} // namespace

TEST(ToolbarLayout, CategoryOnlyViewShowsNoProgramButtonPagingButtonOrSeparator) {
    for (int32_t view : {0x4000, 0x4001, 0x4003, 0xC003})
        for (SIZE client : {SIZE{600, 44}, SIZE{44, 600}}) {
            SCOPED_TRACE(testing::Message() << "view " << view << " client " << client.cx);
            std::vector<SlotRole> slots = Buttons(5);
            slots[1] = SlotRole::Separator;
            const auto l = LayoutBar(Input(client, view, slots));
            EXPECT_EQ(VisibleButtons(l), 0);
            for (const auto* p : {&l.nextH, &l.prevH, &l.nextV, &l.prevV, &l.separator})
                EXPECT_FALSE(p->visible);
            EXPECT_FALSE(l.canPageForward);
        }
}

TEST(ToolbarLayout, NavigationButtonsStackOnANarrowVerticalBar) {
    struct Case {
        LONG width;
        RECT select, parent;
    } cases[] = {
        // 2 x (2 + 24) = 52 is not less than 40: one below the other.
        {40, {2, 12, 26, 36}, {2, 38, 26, 62}},
        {60, {2, 12, 26, 36}, {36, 12, 60, 36}},
    };
    for (const Case& c : cases) {
        const auto l = LayoutBar(Input(SIZE{c.width, 400}, 0, Buttons(3)));
        EXPECT_EQ(l.selectCategory.rect, c.select) << c.width;
        EXPECT_EQ(l.parent.rect, c.parent) << c.width;
    }
}

TEST(ToolbarLayout, ThirtyButtonsPageByTheNumberThatFitted) {
    // A horizontal bar of 600 x 44: program buttons start at x = 84, so 12 fit in the row.
    BarLayoutInput in = Input(SIZE{600, 44}, 0, Buttons(30));
    auto l = LayoutBar(in);
    EXPECT_EQ(l.visibleCount, 12);
    EXPECT_EQ(l.programs[0].rect, (RECT{84, 2, 124, 42}));
    EXPECT_TRUE(l.canPageForward);
    EXPECT_FALSE(l.canPageBack);

    // Page forward as command 6002 does, twice; the last page fits whole.
    std::vector<int> firsts;
    in.resetPaging = false;
    while (l.canPageForward) {
        in.firstVisible = l.firstVisible + l.visibleCount;
        in.visibleCount = l.visibleCount;
        l = LayoutBar(in);
        firsts.push_back(l.firstVisible);
        EXPECT_TRUE(l.canPageBack);
    }
    EXPECT_EQ(firsts, (std::vector<int>{12, 24}));
    EXPECT_EQ(VisibleButtons(l), 6);
    EXPECT_EQ(l.visibleCount, 12); // everything fitted: the count stays

    // The wheel: Shift pages by the same count, Ctrl by half of it, else one button.
    struct Turn {
        int first, delta;
        bool ctrl, shift;
        int expected;
    } turns[] = {
        {0, -120, false, true, 12}, {12, -120, false, true, 24},  {24, -120, false, true, -1},
        {24, 120, false, true, 12}, {0, 120, false, true, -1},    {0, -120, true, false, 6},
        {5, 120, false, false, 4},  {29, -120, false, false, -1}, {3, 120, false, true, 0},
    };
    for (const Turn& t : turns)
        EXPECT_EQ(views::WheelFirstVisible(t.first, 12, 30, t.delta, t.ctrl, t.shift), t.expected)
            << t.first << " " << t.delta;
}

// What the start-up reads of the start category before the first paint: never fewer
// buttons than a page shows.
TEST(ToolbarLayout, NoPageHoldsMoreThanItsCapacity) {
    const struct {
        SIZE client, button;
        int32_t spacing;
    } bars[] = {{{600, 44}, {40, 40}, 0},  {{44, 900}, {40, 40}, 3}, {{1920, 130}, {24, 24}, 0},
                {{300, 300}, {16, 16}, 1}, {{30, 30}, {40, 40}, 0},  {{1280, 44}, {40, 40}, 2}};
    for (const auto& bar : bars) {
        BarLayoutInput in = Input(bar.client, 0, Buttons(5000));
        in.button = bar.button;
        in.spacing = bar.spacing;
        const auto l = LayoutBar(in);
        EXPECT_LE(static_cast<size_t>(VisibleButtons(l)),
                  views::PageCapacity(bar.client, bar.button))
            << bar.client.cx << "x" << bar.client.cy;
    }
    EXPECT_EQ(views::PageCapacity(SIZE{600, 44}, SIZE{40, 40}), 32u);
    EXPECT_EQ(views::PageCapacity(SIZE{-5, 0}, SIZE{0, 0}), 1u);
}

// The windows a page needs: its shown places from the first on, never more than the limit.
TEST(ToolbarLayout, PageWindowsCountTheShownPlacesFromTheFirst) {
    // 600 x 44: 12 buttons a page; 5,000 slots, paged to 12 and to the last, partial page.
    BarLayoutInput in = Input(SIZE{600, 44}, 0, std::vector<SlotRole>(5000, SlotRole::Button));
    struct Case {
        int first, limit, expected;
    } cases[] = {{0, 1000, 12}, {12, 1000, 12}, {4992, 1000, 8}, {0, 5, 5}, {5000, 1000, 0}};
    for (const Case& c : cases) {
        in.firstVisible = c.first;
        in.resetPaging = false;
        const auto l = LayoutBar(in);
        EXPECT_EQ(views::PageWindowCount(l.programs, c.first, c.limit), c.expected) << c.first;
    }
}

TEST(ToolbarLayout, PagingNeverLeavesAnEmptyPage) {
    struct Case {
        int first, step, used, expected;
    } cases[] = {{0, 12, 30, 12}, {24, 12, 30, -1}, {24, 12, 37, 36}, {12, -12, 30, 0},
                 {5, -12, 30, 0}, {0, -12, 30, -1}, {0, 0, 30, -1},   {0, 12, 0, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(views::PagedFirstVisible(c.first, c.step, c.used), c.expected)
            << c.first << " " << c.step << " " << c.used;
}

TEST(ToolbarLayout, SeparatorIsAFullLineOnAVerticalBarAndANarrowCellOnAHorizontalOne) {
    using R = SlotRole;
    // Vertical 48 x 400: the program area starts at y = 84, rows start at x = 2.
    auto v = LayoutBar(Input(SIZE{48, 400}, 0, {R::Button, R::Separator, R::Button}));
    EXPECT_EQ(v.programs[0].rect, (RECT{2, 84, 42, 124}));
    EXPECT_EQ(v.programs[1].rect, (RECT{2, 124, 46, 134})); // below the row, w - 2M wide
    EXPECT_EQ(v.programs[2].rect, (RECT{2, 134, 42, 174}));
    v = LayoutBar(Input(SIZE{48, 400}, 0, {R::Separator, R::Button}));
    EXPECT_EQ(v.programs[0].rect, (RECT{2, 84, 46, 94})); // an empty row: where it starts
    EXPECT_EQ(v.programs[1].rect, (RECT{2, 94, 42, 134}));

    const auto h = LayoutBar(Input(SIZE{600, 44}, 0, {R::Button, R::Separator, R::Button}));
    EXPECT_EQ(h.programs[1].rect, (RECT{124, 2, 134, 42})); // W/4 wide, in the flow
    EXPECT_EQ(h.programs[2].rect, (RECT{134, 2, 174, 42}));
}

TEST(ToolbarLayout, SlotsAndGaps) {
    // Icon view on a vertical bar: category cells, the line below them, the tab strip.
    BarLayoutInput in = Input(SIZE{68, 400}, 0x0003, Buttons(2));
    in.categoryWindows = in.categoryNodes = 3;
    auto l = LayoutBar(in);
    EXPECT_FALSE(l.selectCategory.visible);
    EXPECT_EQ(l.categories[0].rect, (RECT{2, 12, 26, 36}));
    EXPECT_EQ(l.categories[1].rect, (RECT{26, 12, 50, 36}));
    EXPECT_EQ(l.categories[2].rect, (RECT{2, 36, 26, 60})); // a new row
    EXPECT_EQ(l.separator.rect, (RECT{0, 62, 68, 64}));
    EXPECT_EQ(l.tabs.rect, (RECT{0, 68, 24, 398}));
    EXPECT_EQ(l.nextV.rect, (RECT{55, 68, 67, 80}));
    EXPECT_EQ(l.programs[0].rect, (RECT{26, 82, 66, 122})); // right of the tab strip
    // Spacing 2 adds H/4 to a vertical cell.
    in.spacing = 2;
    l = LayoutBar(in);
    EXPECT_EQ(l.programs[1].rect, (RECT{26, 132, 66, 182}));
    // Nothing moves for a negative area.
    in.client = SIZE{-1, 40};
    EXPECT_FALSE(LayoutBar(in).applies);
}

// Twice the resolution, twice every size: each rectangle is the one at 96 DPI doubled, so no
// size of the layout escapes the resolution.
TEST(ToolbarLayout, EveryRectangleDoublesAtTwiceTheResolution) {
    const auto twice = [](const RECT& r) {
        return RECT{2 * r.left, 2 * r.top, 2 * r.right, 2 * r.bottom};
    };
    for (const SIZE client : {SIZE{600, 90}, SIZE{90, 500}}) {
        for (const int32_t view : {0x0000, 0x0003, 0x4001, 0x8003}) {
            BarLayoutInput in = Input(client, view, Buttons(12));
            in.slots[3] = SlotRole::Separator;
            in.spacing = 2;
            in.categoryWindows = in.categoryNodes = 4;
            BarLayoutInput at192 = in;
            at192.client = SIZE{2 * client.cx, 2 * client.cy};
            at192.button = SIZE{80, 80};
            at192.margin = 4;
            views::LayoutSizes& z = at192.sizes;
            for (int* value : {&z.category, &z.grip, &z.paging, &z.tabStrip, &z.line,
                               &z.navigationInset, &z.menuGlyph})
                *value *= 2;
            const views::BarLayout a = LayoutBar(in);
            const views::BarLayout b = LayoutBar(at192);
            const views::Place* places[][2] = {
                {&a.grip, &b.grip},     {&a.selectCategory, &b.selectCategory},
                {&a.parent, &b.parent}, {&a.nextH, &b.nextH},
                {&a.prevH, &b.prevH},   {&a.nextV, &b.nextV},
                {&a.prevV, &b.prevV},   {&a.separator, &b.separator},
                {&a.tabs, &b.tabs}};
            for (const auto& p : places) {
                EXPECT_EQ(p[0]->visible, p[1]->visible) << view;
                EXPECT_EQ(twice(p[0]->rect), p[1]->rect) << view << " " << client.cx;
            }
            for (size_t i = 0; i < a.categories.size(); ++i)
                EXPECT_EQ(twice(a.categories[i].rect), b.categories[i].rect) << view;
            for (size_t i = 0; i < a.programs.size(); ++i)
                EXPECT_EQ(twice(a.programs[i].rect), b.programs[i].rect) << view << " " << i;
            EXPECT_EQ(twice(a.programArea), b.programArea) << view;
            EXPECT_EQ(a.visibleCount, b.visibleCount) << view;
        }
    }
}

// A button at a higher resolution keeps the arrangement of its 96-DPI size, scaled.
TEST(ButtonFace, ArrangedAsAt96Dpi) {
    const struct {
        int w, h, dpi;
        views::ButtonFaceClass faceClass;
        int iconSize;
        POINT icon;
        RECT text;
    } rows[] = {
        {60, 60, 144, views::FACE_LARGE_ICON, 48, {6, 6}, {}},
        {180, 60, 144, views::FACE_LARGE_ICON_TEXT, 48, {6, 6}, {60, 0, 177, 60}},
        {112, 112, 192, views::FACE_ICON_ABOVE_TEXT, 64, {24, 8}, {4, 76, 108, 112}},
        {36, 36, 144, views::FACE_SMALL_ICON, 24, {6, 6}, {}},
    };
    for (const auto& r : rows) {
        const views::ButtonFace f = views::LayOutButtonFace(r.w, r.h, false, false, r.dpi);
        EXPECT_EQ(f.faceClass, r.faceClass) << r.w;
        EXPECT_EQ(f.iconSize, r.iconSize) << r.w;
        EXPECT_EQ(f.icon.x, r.icon.x) << r.w;
        EXPECT_EQ(f.icon.y, r.icon.y) << r.w;
        EXPECT_EQ(f.text, r.text) << r.w;
    }
    // A single row centres icon and name with the icon's room, glyph and margin scaled.
    const struct {
        int w, text, dpi;
        bool glyph;
        int offset;
    } singles[] = {{104, 40, 96, false, 22},
                   {156, 60, 144, false, 33},
                   {156, 60, 144, true, 24},
                   {156, 120, 144, false, -1}};
    for (const auto& r : singles)
        EXPECT_EQ(views::SingleRowOffset(views::FACE_SMALL_ICON_TEXT, r.w, r.text, r.glyph, r.dpi),
                  r.offset)
            << r.w << " " << r.text;
    // The menu glyph likewise: its size, its room at the right and its distances.
    const struct {
        int w, h, dpi;
        views::ButtonFaceClass faceClass;
        int textRight, glyphSize;
        POINT at;
    } glyphs[] = {
        {40, 40, 96, views::FACE_LARGE_ICON, 0, 16, {28, 17}},
        {60, 60, 144, views::FACE_LARGE_ICON, 0, 24, {42, 25}},
        {240, 80, 192, views::FACE_LARGE_ICON_TEXT, 150, 32, {158, 34}},
    };
    for (const auto& g : glyphs) {
        EXPECT_EQ(views::LayOutButtonFace(g.w, g.h, true, false, g.dpi).glyphSize, g.glyphSize);
        const POINT at = views::MenuGlyphPosition(g.faceClass, g.w, g.h, g.textRight, g.dpi);
        EXPECT_EQ(at.x, g.at.x) << g.w;
        EXPECT_EQ(at.y, g.at.y) << g.w;
    }
}

TEST(ButtonFace, ThreeDrawingLayouts) {
    struct Case {
        int w, h;
        views::ButtonFaceClass faceClass;
        POINT icon;
        bool hasText;
        RECT text;
    } cases[] = {
        {40, 40, views::FACE_LARGE_ICON, {4, 4}, false, {}},
        {120, 40, views::FACE_LARGE_ICON_TEXT, {4, 4}, true, {40, 0, 118, 40}},
        {56, 56, views::FACE_ICON_ABOVE_TEXT, {12, 4}, true, {2, 38, 54, 56}},
    };
    for (const Case& c : cases) {
        const views::ButtonFace f = views::LayOutButtonFace(c.w, c.h, false, false);
        EXPECT_EQ(f.faceClass, c.faceClass) << c.w;
        EXPECT_EQ(f.iconSize, 32);
        EXPECT_EQ(f.icon.x, c.icon.x);
        EXPECT_EQ(f.icon.y, c.icon.y);
        ASSERT_EQ(f.hasText, c.hasText);
        if (c.hasText) {
            EXPECT_EQ(f.text, c.text);
        }
    }
    // Pressed moves the face; the menu glyph takes 12 pixels from the width.
    EXPECT_EQ(views::LayOutButtonFace(40, 40, false, true).icon.x, 5);
    EXPECT_EQ(views::ChooseFaceClass(56, 56, true), views::FACE_LARGE_ICON);
    EXPECT_EQ(views::LayOutButtonFace(120, 40, true, false).text.right, 108);

    // The name under a 56-pixel icon: one line with an ellipsis when two do not fit.
    HDC dc = ::CreateCompatibleDC(nullptr);
    ASSERT_TRUE(dc) << ::GetLastError();
    ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    const RECT under{2, 38, 54, 56};
    auto t = views::MeasureButtonText(dc, L"Spreadsheet Calculator", under, true);
    EXPECT_TRUE(t.format & DT_SINGLELINE);
    EXPECT_TRUE(t.format & DT_END_ELLIPSIS);
    EXPECT_EQ(t.rect.bottom - t.rect.top, tm.tmHeight);
    // Beside a 32-pixel icon two lines fit, centred in the height.
    t = views::MeasureButtonText(dc, L"Spreadsheet Calculator", RECT{40, 0, 118, 40}, false);
    EXPECT_TRUE(t.format & DT_WORDBREAK);
    EXPECT_EQ(t.rect.bottom - t.rect.top, 2 * tm.tmHeight);
    EXPECT_EQ(t.rect.top, (40 - 2 * tm.tmHeight) / 2);
    ::DeleteDC(dc);
}

TEST(ButtonSlots, GoUpComesFirstBelowTheTopLevelOnly) {
    oVoiceBook root;
    oVoiceBook goUp;
    goUp.SetRole(ROLE_GO_UP);
    oVoiceBook* top = root.AddChild(CategoryFields(L"Top"));
    oVoiceBook* sub = top->AddChild(CategoryFields(L"Sub"));
    oVoiceBook* a = sub->AddChild(ButtonFields(L"A", L"a.exe"));
    sub->AddChild(NewNodeFields(L"Old", KIND_OLD_ITEM, 0)); // not shown
    oVoiceBook* b = sub->AddChild(ButtonFields(L"B", L"b.exe"));
    EXPECT_EQ(views::ProgramButtonNodes(*top, &goUp), (std::vector<oVoiceBook*>{sub}));
    EXPECT_EQ(views::ProgramButtonNodes(*sub, &goUp), (std::vector<oVoiceBook*>{&goUp, a, b}));
}

TEST(CategorySteps, NextTopCategoryWrapsAndParentStopsBelowTheRoot) {
    oVoiceBook root, empty;
    root.AddChild(ButtonFields(L"Lone", L"lone.exe")); // never shown as a category
    oVoiceBook* a = root.AddChild(CategoryFields(L"A"));
    oVoiceBook* between = root.AddChild(ButtonFields(L"B", L"b.exe"));
    oVoiceBook* c = root.AddChild(CategoryFields(L"C"));
    oVoiceBook* sub = c->AddChild(CategoryFields(L"Sub"));
    const struct {
        const oVoiceBook* current;
        oVoiceBook* next;
    } steps[] = {{nullptr, a}, {a, c}, {between, c}, {c, a}};
    for (const auto& s : steps)
        EXPECT_EQ(views::NextTopCategory(root, s.current), s.next);
    EXPECT_EQ(views::NextTopCategory(empty, nullptr), nullptr);
    EXPECT_EQ(views::ParentCategoryOf(sub), c);
    EXPECT_EQ(views::ParentCategoryOf(c), nullptr); // the root is no category
    EXPECT_EQ(views::ParentCategoryOf(nullptr), nullptr);
}
