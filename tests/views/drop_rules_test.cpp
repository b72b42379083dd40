// Answers of a drag over the bar and where a dropped node goes, as a table.
#include <gtest/gtest.h>

#include "views/drop_rules.h"

using namespace views;

TEST(DropRules, AnswerAndInsertionByTarget) {
    const uint32_t files = OutsideDragFlags(true), address = OutsideDragFlags(false);
    const uint32_t ownButton = kDragIsButton | 2, ownCategory = 2;
    struct Case {
        const char* what;
        uint32_t flags;
        DropTargetFacts target;
        bool into;
        Insertion insertion;
    };
    const DropTargetFacts none{};
    const DropTargetFacts buttonEdge{TargetKind::Button, 2, true, false, false};
    const DropTargetFacts buttonMiddle{TargetKind::Button, 2, true, false, true};
    const DropTargetFacts separatorMiddle{TargetKind::Button, 2, false, false, true};
    const DropTargetFacts topCategory{TargetKind::Category, 1, true, false, false};
    const DropTargetFacts subEdge{TargetKind::Category, 2, true, false, false};
    const DropTargetFacts subMiddle{TargetKind::Category, 2, true, false, true};
    const DropTargetFacts goUp{TargetKind::Category, 2, false, true, true};
    // Beside the buttons, paged one step: the button scrolled out before the first is "Go Up".
    const DropTargetFacts goUpScrolledOut{TargetKind::Button, 2, false, true, false};
    const Case cases[] = {
        {"files, nothing under", files, none, false, Insertion::FirstOfShown},
        {"files, edge of a button", files, buttonEdge, false, Insertion::AfterTarget},
        {"files, middle of a button opens", files, buttonMiddle, true, Insertion::AfterTarget},
        {"address, middle of a button", address, buttonMiddle, false, Insertion::AfterTarget},
        {"files, middle of a separator", files, separatorMiddle, false, Insertion::AfterTarget},
        {"files, top-level category", files, topCategory, true, Insertion::IntoTarget},
        {"address, top-level category", address, topCategory, true, Insertion::IntoTarget},
        {"files, edge of a sub-category", files, subEdge, false, Insertion::AfterTarget},
        {"files, middle of a sub-category", files, subMiddle, true, Insertion::IntoTarget},
        {"files, Go Up", files, goUp, false, Insertion::FirstOfShown},
        {"files, Go Up scrolled out", files, goUpScrolledOut, false, Insertion::FirstOfShown},
        {"own button, middle of a button", ownButton, buttonMiddle, false, Insertion::AfterTarget},
        {"own button, same-depth category middle", ownButton, subMiddle, true,
         Insertion::IntoTarget},
        {"own button, category button", ownButton, topCategory, true, Insertion::IntoTarget},
        {"own category", ownCategory, subMiddle, false, Insertion::AfterTarget},
    };
    for (const Case& c : cases) {
        const bool into = DropsInto(c.flags, c.target);
        EXPECT_EQ(into, c.into) << c.what;
        EXPECT_EQ(InsertionFor(c.target, into), c.insertion) << c.what;
    }
}

TEST(DropRules, EffectsAndMiddleThird) {
    EXPECT_EQ(DragOverEffect(true), static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(DragOverEffect(false), static_cast<DWORD>(DROPEFFECT_COPY));
    const DWORD all = DROPEFFECT_MOVE | DROPEFFECT_COPY | DROPEFFECT_LINK;
    EXPECT_EQ(FinalDropEffect(all), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(FinalDropEffect(DROPEFFECT_MOVE), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(FinalDropEffect(DROPEFFECT_LINK | DROPEFFECT_MOVE),
              static_cast<DWORD>(DROPEFFECT_LINK));
    EXPECT_EQ(AllowedEffect(DROPEFFECT_MOVE, DROPEFFECT_COPY), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(AllowedEffect(DROPEFFECT_MOVE, all), static_cast<DWORD>(DROPEFFECT_MOVE));
    bool into = false;
    EXPECT_TRUE(IntoFromEffect(DROPEFFECT_MOVE, into) && into);
    EXPECT_TRUE(IntoFromEffect(DROPEFFECT_LINK, into) && !into);
    EXPECT_FALSE(IntoFromEffect(DROPEFFECT_NONE, into));
    const RECT r{0, 0, 30, 60};
    EXPECT_TRUE(InMiddleThird(r, POINT{15, 30}));
    EXPECT_FALSE(InMiddleThird(r, POINT{9, 30}));
    EXPECT_FALSE(InMiddleThird(r, POINT{15, 41}));
}

TEST(DropRules, ButtonsDraggedOnTheBarMarkAndLand) {
    const DropTargetFacts none{};
    const DropTargetFacts button{TargetKind::Button, 2, true, false, true};
    const DropTargetFacts topCategory{TargetKind::Category, 1, true, false, false};
    const DropTargetFacts subEdge{TargetKind::Category, 2, true, false, false};
    const DropTargetFacts subMiddle{TargetKind::Category, 2, true, false, true};
    const DropTargetFacts goUp{TargetKind::Category, 9999, false, true, true}; // its own depth
    struct Case {
        const char* what;
        bool button;
        int depth;
        DropTargetFacts target;
        MarkOn mark;
        bool into;
        Insertion insertion;
    };
    const Case cases[] = {
        {"button, nothing under", true, 2, none, MarkOn::FirstProgram, false,
         Insertion::FirstOfShown},
        {"button onto a button", true, 2, button, MarkOn::Target, false, Insertion::AfterTarget},
        {"button, top-level category", true, 2, topCategory, MarkOn::Target, true,
         Insertion::IntoTarget},
        {"button, edge of a sub-category", true, 2, subEdge, MarkOn::Target, false,
         Insertion::AfterTarget},
        {"button, middle of a sub-category", true, 2, subMiddle, MarkOn::Target, true,
         Insertion::IntoTarget},
        {"button, Go Up", true, 2, goUp, MarkOn::Target, false, Insertion::FirstOfShown},
        {"top category, nothing under", false, 1, none, MarkOn::FirstCategory, false,
         Insertion::FirstOfRoot},
        {"top category onto another", false, 1, topCategory, MarkOn::Target, false,
         Insertion::AfterTarget},
        {"sub-category, nothing under", false, 2, none, MarkOn::FirstProgram, false,
         Insertion::FirstOfShown},
        {"sub-category, middle of another", false, 2, subMiddle, MarkOn::Target, false,
         Insertion::AfterTarget},
    };
    for (const Case& c : cases) {
        const DropMark mark = MarkFor(OwnDragFlags(c.depth, c.button, false), c.target, true);
        EXPECT_EQ(mark.on, c.mark) << c.what;
        EXPECT_EQ(mark.into, c.into) << c.what;
        EXPECT_EQ(mark.after, c.target.kind != TargetKind::None) << c.what;
        EXPECT_EQ(InsertionForDragged(c.button, c.depth, c.target), c.insertion) << c.what;
    }
    EXPECT_EQ(MarkFor(OwnDragFlags(2, true, false), none, false).on, MarkOn::Nothing);
    const RECT w{10, 0, 50, 40};
    EXPECT_EQ(MarkRect(w, DropMark{MarkOn::Target, true, false}).left, 48);
    EXPECT_EQ(MarkRect(w, DropMark{MarkOn::Target, false, false}).right, 12);
    EXPECT_EQ(MarkRect(w, DropMark{MarkOn::Target, true, true}).left, 10);
}

TEST(DropRules, AButtonReleasedDropsWhatItsCursorShowed) {
    const struct {
        bool overButton, insideBar, ctrl;
        DragCursor cursor;
        UINT drop;
    } cases[] = {
        {true, true, false, DragCursor::Arrow, 0u}, // a click
        {true, true, true, DragCursor::Arrow, 0u},
        {false, true, false, DragCursor::Move, WM_LARK_DROP_MOVE},
        {false, true, true, DragCursor::Copy, WM_LARK_DROP_COPY},
        {false, false, true, DragCursor::Remove, WM_LARK_DROP_REMOVE},
        {false, false, false, DragCursor::Arrow, 0u}, // let go outside: nothing happens
    };
    for (const auto& c : cases) {
        const DragCursor cursor = ChooseDragCursor(c.overButton, c.insideBar, c.ctrl);
        EXPECT_EQ(cursor, c.cursor) << c.overButton << c.insideBar << c.ctrl;
        EXPECT_EQ(DropMessageFor(cursor), c.drop) << c.overButton << c.insideBar << c.ctrl;
    }
}
