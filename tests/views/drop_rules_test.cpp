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
