// Pictures beside menu items take the room of the list they are drawn from.
#include <gtest/gtest.h>

#include "framework/gdi.h"
#include "ui/menu_picture.h"

namespace {

TEST(MenuPicture, TheRoomFollowsTheListsSize) {
    const struct {
        int size;
        UINT width;
    } rows[] = {{16, 20}, {24, 30}, {32, 40}};
    for (const auto& r : rows) {
        fw::ImageList list(::ImageList_Create(r.size, r.size, ILC_COLOR32 | ILC_MASK, 1, 1));
        ASSERT_TRUE(list) << ::GetLastError();
        MEASUREITEMSTRUCT item{};
        ui::MeasureMenuPicture(item, list.get());
        EXPECT_EQ(item.itemWidth, r.width) << r.size;
        EXPECT_EQ(item.itemHeight, static_cast<UINT>(r.size));
    }
}

} // namespace
