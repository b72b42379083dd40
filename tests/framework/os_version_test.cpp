// The operating-system version code behind the version-dependent choices.
#include <gtest/gtest.h>

#include "framework/os_version.h"

namespace {

TEST(OsVersionTest, ConsumerFamily) {
    EXPECT_EQ(OsVersionCode(1, 4, 0), 1);
    EXPECT_EQ(OsVersionCode(1, 4, 9), 1);
    EXPECT_EQ(OsVersionCode(1, 4, 10), 2);
    EXPECT_EQ(OsVersionCode(1, 4, 89), 2);
    EXPECT_EQ(OsVersionCode(1, 4, 90), 3);
    EXPECT_EQ(OsVersionCode(1, 5, 0), 3);
    EXPECT_EQ(OsVersionCode(1, 3, 0), 0);
}

TEST(OsVersionTest, NtFamily) {
    EXPECT_EQ(OsVersionCode(2, 4, 0), 4);
    EXPECT_EQ(OsVersionCode(2, 5, 0), 5);
    EXPECT_EQ(OsVersionCode(2, 5, 1), 6);
    EXPECT_EQ(OsVersionCode(2, 5, 2), 6);
    EXPECT_EQ(OsVersionCode(2, 6, 0), 7);
    EXPECT_EQ(OsVersionCode(2, 6, 1), 8);
    EXPECT_EQ(OsVersionCode(2, 6, 2), 9);
    EXPECT_EQ(OsVersionCode(2, 6, 3), 10);
    EXPECT_EQ(OsVersionCode(2, 6, 4), 10);
    EXPECT_EQ(OsVersionCode(2, 10, 0), 11);
    EXPECT_EQ(OsVersionCode(2, 11, 0), 11);
    EXPECT_EQ(OsVersionCode(2, 3, 51), 0);
    EXPECT_EQ(OsVersionCode(0, 10, 0), 0);
    EXPECT_EQ(OsVersionCode(3, 10, 0), 0);
}

TEST(OsVersionTest, WindowsEightOrLater) {
    EXPECT_TRUE(IsWindows8OrLater(9, 6, 2));
    EXPECT_TRUE(IsWindows8OrLater(10, 6, 3));
    EXPECT_TRUE(IsWindows8OrLater(11, 10, 0));
    EXPECT_FALSE(IsWindows8OrLater(8, 6, 1));
    EXPECT_FALSE(IsWindows8OrLater(6, 5, 1));
}

TEST(OsVersionTest, RunningSystemIsKnown) {
    const OsVersionInfo v = QueryOsVersion();
    EXPECT_EQ(v.platformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_GT(OsVersionCode(v.platformId, v.major, v.minor), 0);
}

} // namespace
