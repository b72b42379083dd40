// The stored placement: range rules and when the stored sizes can be used.
#include <gtest/gtest.h>

#include "rect_compare.h"

#include "model/placement.h"
#include "bar/monitors.h"
#include "framework/profile.h"
#include "support/test_util.h"

namespace {

const std::wstring kSection = std::wstring(test::kProductKey) + L"\\AppBarInfo";
const RECT kWork{0, 0, 1280, 1000};

// Fits into the one work area above, as the nearest-monitor rule does with one monitor.
RECT FitToWork(const RECT& r) {
    return bar::FitRect(kWork, r);
}

PlacementValues Valid() {
    PlacementValues v;
    v.DockSize[0] = 60;
    v.DockSize[1] = 60;
    v.DockSize[2] = 60;
    v.DockSize[3] = 60;
    v.FloatRect = RECT{100, 100, 600, 220};
    return v;
}

TEST(PlacementTest, StateOutsideTheKnownValuesDocksAtTheBottom) {
    EXPECT_EQ(NormaliseState(-1), STATE_BOTTOM);
    EXPECT_EQ(NormaliseState(7), STATE_BOTTOM);
    EXPECT_EQ(NormaliseState(-3), STATE_BOTTOM);
    EXPECT_EQ(NormaliseState(-2), STATE_FLOAT);
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(NormaliseState(s), s);
}

TEST(PlacementTest, ValidStoredSizesAreUsed) {
    RECT fitted{};
    EXPECT_TRUE(UsablePlacementSizes(Valid(), kWork, FitToWork, fitted));
    EXPECT_EQ(fitted.left, 100);
    EXPECT_EQ(fitted.right, 600);
}

TEST(PlacementTest, OneDockSizeBelowTwentyRejectsAllSizes) {
    PlacementValues v = Valid();
    v.DockSize[STATE_LEFT] = 19;
    RECT fitted{};
    EXPECT_FALSE(UsablePlacementSizes(v, kWork, FitToWork, fitted));
}

TEST(PlacementTest, DockSizesAreBoundByHalfThePrimaryWorkArea) {
    PlacementValues v = Valid();
    v.DockSize[STATE_RIGHT] = 640;
    RECT fitted{};
    EXPECT_TRUE(UsablePlacementSizes(v, kWork, FitToWork, fitted));
    v.DockSize[STATE_RIGHT] = 641;
    EXPECT_FALSE(UsablePlacementSizes(v, kWork, FitToWork, fitted));
    v = Valid();
    v.DockSize[STATE_TOP] = 501;
    EXPECT_FALSE(UsablePlacementSizes(v, kWork, FitToWork, fitted));
}

TEST(PlacementTest, ReversedOrOffScreenFloatingRectanglesAreMendedAndUsed) {
    const struct {
        RECT stored, fitted;
    } cases[] = {
        {{600, 220, 100, 100}, {100, 100, 600, 220}},    // reversed: swapped
        {{3000, -500, 3400, -380}, {880, 0, 1280, 120}}, // off screen: moved into the work area
    };
    for (const auto& c : cases) {
        PlacementValues v = Valid();
        v.FloatRect = c.stored;
        RECT fitted{};
        ASSERT_TRUE(UsablePlacementSizes(v, kWork, FitToWork, fitted)) << c.stored.left;
        EXPECT_TRUE(::EqualRect(&fitted, &c.fitted))
            << fitted.left << "," << fitted.top << " " << fitted.right << "," << fitted.bottom;
    }
}

TEST(PlacementTest, EmptyOrTinyRectanglesAreNotUsable) {
    PlacementValues v = Valid();
    v.FloatRect = RECT{100, 100, 100, 300};
    RECT fitted{};
    EXPECT_FALSE(UsablePlacementSizes(v, kWork, FitToWork, fitted));
    v.FloatRect = RECT{100, 100, 119, 300};
    EXPECT_FALSE(UsablePlacementSizes(v, kWork, FitToWork, fitted));
    // All-zero storage (a first start) is never usable.
    EXPECT_FALSE(UsablePlacementSizes(PlacementValues{}, kWork, FitToWork, fitted));
}

TEST(PlacementTest, FitRectAlignsOversizedRectanglesWithTheAreaStart) {
    const RECT r = bar::FitRect(RECT{10, 20, 110, 120}, RECT{-50, 500, 250, 800});
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 300);
}

// Sizes come back at the resolution the bar runs at; a value of a build that stored no
// resolution is in 96-DPI units.
TEST(PlacementTest, SizesAreReadAtTheBarsResolution) {
    const struct {
        int storedDpi, dpi;
        int32_t dock;
        RECT floatRect;
    } rows[] = {
        {96, 96, 60, {100, 100, 600, 220}},    {96, 144, 90, {150, 150, 900, 330}},
        {96, 192, 120, {200, 200, 1200, 440}}, {144, 96, 40, {67, 67, 400, 147}},
        {120, 120, 60, {100, 100, 600, 220}},  {120, 240, 120, {200, 200, 1200, 440}},
    };
    for (const auto& r : rows) {
        PlacementValues v = Valid();
        v.Dpi = r.storedDpi;
        v.Monitor = 3;
        const PlacementValues at = PlacementAtDpi(v, r.dpi);
        EXPECT_EQ(at.Dpi, r.dpi);
        EXPECT_EQ(at.Monitor, 3);
        for (int32_t size : at.DockSize)
            EXPECT_EQ(size, r.dock) << r.storedDpi << " to " << r.dpi;
        EXPECT_EQ(at.FloatRect, r.floatRect) << r.storedDpi << " to " << r.dpi;
    }
}

TEST(PlacementTest, RoundTripThroughTheRegistry) {
    test::DeleteProductKey();
    fw::Profile profile{L"Tarvo", L"Lark-RunBar"};
    bool asStored = true; // only when every value is there as a save writes it
    PlacementValues defaults = ReadPlacement(profile, &asStored);
    EXPECT_FALSE(asStored);
    EXPECT_EQ(defaults.State, STATE_BOTTOM);
    EXPECT_EQ(defaults.AlwaysOnTop, 1);
    EXPECT_EQ(defaults.AutoHide, 0);
    EXPECT_EQ(defaults.Monitor, -1);
    EXPECT_EQ(defaults.Dpi, 96); // what an older build wrote is in 96-DPI units

    PlacementValues v = Valid();
    v.State = STATE_FLOAT;
    v.AutoHide = 1;
    v.AlwaysOnTop = 0;
    v.Monitor = 65537;
    v.DockSize[STATE_TOP] = 77;
    v.Dpi = 144;
    SavePlacement(profile, v);
    const PlacementValues back = ReadPlacement(profile, &asStored);
    EXPECT_TRUE(asStored);
    EXPECT_TRUE(SamePlacement(back, v));
    EXPECT_EQ(back.State, STATE_FLOAT);
    EXPECT_EQ(back.AutoHide, 1);
    EXPECT_EQ(back.AlwaysOnTop, 0);
    EXPECT_EQ(back.Monitor, 65537);
    EXPECT_EQ(back.DockSize[STATE_TOP], 77);
    EXPECT_EQ(back.FloatRect.right, 600);
    EXPECT_EQ(back.Dpi, 144);

    test::WriteRegDword(kSection, L"State", 7);
    EXPECT_EQ(ReadPlacement(profile, &asStored).State, STATE_BOTTOM);
    EXPECT_FALSE(asStored);
    test::DeleteProductKey();
}

} // namespace
