// Where dialogs open: off the bar, inside the work area, beside the dialog that opened them.
#include <gtest/gtest.h>

#include "framework/dialog_placement.h"

namespace {

TEST(DialogPlacementTest, OpensInTheWorkAreaOffTheBarAndBesideItsOwner) {
    const RECT screen{0, 0, 1280, 1024}, small{0, 0, 800, 600}, top{0, 0, 1280, 40},
        bottom{0, 984, 1280, 1024}, none{};
    const struct {
        RECT work, bar, owner, ownerButtons, dialog;
        POINT expected;
    } cases[] = {
        {screen, top, none, none, {3, 3, 403, 323}, {3, 40}},
        {screen, bottom, none, none, {3, 987, 403, 1307}, {3, 664}},
        {screen, {0, 0, 40, 1024}, none, none, {3, 3, 403, 323}, {40, 3}},
        {screen, {1240, 0, 1280, 1024}, none, none, {1243, 3, 1643, 323}, {840, 3}},
        // A floating bar: the nearest free side.
        {screen, {500, 400, 800, 440}, none, none, {503, 403, 903, 723}, {503, 440}},
        // Where the system put it when that is free; back inside the work area.
        {screen, top, none, none, {440, 352, 840, 672}, {440, 352}},
        {screen, none, none, none, {1200, 900, 1600, 1220}, {880, 704}},
        // On the bar only when no free part holds it.
        {small, top, none, none, {3, 3, 703, 583}, {3, 3}},
        // Beside its owner: below, or above it over a bar at the bottom.
        {screen, top, {3, 40, 403, 360}, {280, 320, 395, 350}, {6, 65, 396, 305}, {3, 360}},
        {screen, bottom, {3, 664, 403, 984}, {280, 944, 395, 974}, {6, 689, 396, 929}, {3, 424}},
        // No free place: covering the owner, but not its buttons.
        {small, top, {200, 140, 600, 460}, {480, 420, 590, 450}, {203, 165, 593, 405}, {0, 140}},
    };
    for (const auto& c : cases) {
        const POINT at = fw::PlaceDialog({c.work, c.bar, c.owner, c.ownerButtons}, c.dialog);
        EXPECT_EQ(at.x, c.expected.x) << "case " << (&c - cases);
        EXPECT_EQ(at.y, c.expected.y) << "case " << (&c - cases);
    }
}

} // namespace
