// Monitor logic over lists: which monitor a bar docks on, and fitting rectangles.
#include <gtest/gtest.h>

#include "rect_compare.h"

#include "bar/monitors.h"

namespace {

using namespace bar;

HMONITOR Handle(intptr_t v) {
    return reinterpret_cast<HMONITOR>(v);
}

std::vector<oMonitorInfo> List(std::initializer_list<intptr_t> handles) {
    std::vector<oMonitorInfo> list;
    for (intptr_t h : handles) {
        oMonitorInfo m;
        m.handle = Handle(h);
        list.push_back(m);
    }
    return list;
}

TEST(MonitorListTest, TheBarKeepsItsMonitorWhileItExists) {
    const auto list = List({0x10001, 0x20003, 0x30005});
    EXPECT_EQ(DockingMonitor(list, Handle(0x20003), Handle(0x10001)), Handle(0x20003));
    EXPECT_TRUE(MonitorListHas(list, Handle(0x30005)));
}

TEST(MonitorListTest, AStaleOrStoredHandleFallsBackToThePrimary) {
    const auto list = List({0x10001, 0x20003});
    EXPECT_EQ(DockingMonitor(list, Handle(0x40007), Handle(0x10001)), Handle(0x10001));
    EXPECT_EQ(DockingMonitor(list, MonitorFromStored(-1), Handle(0x10001)), Handle(0x10001));
    EXPECT_EQ(DockingMonitor(list, nullptr, Handle(0x20003)), Handle(0x20003));
    EXPECT_EQ(DockingMonitor({}, Handle(0x10001), Handle(0x10001)), Handle(0x10001));
}

TEST(MonitorListTest, StoredValuesRoundTrip) {
    EXPECT_EQ(MonitorToStored(MonitorFromStored(0x10001)), 0x10001);
    EXPECT_EQ(MonitorToStored(MonitorFromStored(-1)), -1);
}

TEST(MonitorListTest, TheRealListHoldsThePrimaryMonitor) {
    const auto list = BuildMonitorList();
    ASSERT_FALSE(list.empty());
    EXPECT_TRUE(MonitorListHas(list, PrimaryMonitor()));
    EXPECT_EQ(DockingMonitor(list, MonitorFromStored(12345), PrimaryMonitor()), PrimaryMonitor());
}

TEST(FitRectTest, KeepsTheSizeAndMovesIntoTheArea) {
    const RECT area{0, 0, 1280, 984};
    EXPECT_EQ(FitRect(area, RECT{1000, 900, 1503, 1024}), (RECT{777, 860, 1280, 984}));
    EXPECT_EQ(FitRect(area, RECT{-50, -10, 453, 114}), (RECT{0, 0, 503, 124}));
    EXPECT_EQ(FitRect(area, RECT{10, 10, 20, 20}), (RECT{10, 10, 20, 20}));
    // Larger than the area: aligned with its left and top edges.
    EXPECT_EQ(FitRect(RECT{100, 50, 400, 150}, RECT{500, 500, 900, 700}),
              (RECT{100, 50, 500, 250}));
}

} // namespace
