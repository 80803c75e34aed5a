#include "shell/Layout.h"

#include <gtest/gtest.h>

namespace zelvo {
namespace {

TEST(MainWindowPlacement, WideDesktopKeepsTheDesignSizeDockedBottomLeft) {
    WindowPlacement p = PlaceMainWindow({0, 0, 1920, 1040});
    EXPECT_EQ(p.width, 960);
    EXPECT_EQ(p.height, 706);
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, 332);
    EXPECT_FALSE(p.smallScreen);
    EXPECT_DOUBLE_EQ(p.scale.sx, 1.0);
    EXPECT_DOUBLE_EQ(p.scale.sy, 1.0);
}

TEST(MainWindowPlacement, LowDesktopIsSmallScreenAndScaled) {
    WindowPlacement p = PlaceMainWindow({0, 0, 1366, 728});
    EXPECT_TRUE(p.smallScreen);
    EXPECT_EQ(p.width, 890);
    EXPECT_EQ(p.height, 655);
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, 71);
    EXPECT_NEAR(p.scale.sx, 0.9271, 0.0001);
    EXPECT_NEAR(p.scale.sy, 0.9278, 0.0001);
    EXPECT_EQ(p.scale.X(300), 278);
    EXPECT_EQ(p.scale.Y(64), 59);
}

TEST(MainWindowPlacement, NarrowDesktopTakesTheWidthBranch) {
    WindowPlacement p = PlaceMainWindow({0, 0, 800, 600});
    EXPECT_TRUE(p.smallScreen);
    EXPECT_EQ(p.width, 720);
    EXPECT_EQ(p.height, 529);
    EXPECT_DOUBLE_EQ(p.scale.sx, 0.75);
    EXPECT_NEAR(p.scale.sy, 0.7493, 0.0001);
    EXPECT_EQ(p.y, 600 - 529 - 2);
}

TEST(MainWindowPlacement, WorkAreaOffsetMovesTheDock) {
    // A task bar on the left and the top of the screen.
    WindowPlacement p = PlaceMainWindow({60, 30, 1860, 1050});
    EXPECT_EQ(p.x, 62);
    EXPECT_EQ(p.y, 30 + 1050 - 706 - 2);
}

TEST(MainWindowPlacement, TallDesktopBelowTheWidthLimitIsSmall) {
    WindowPlacement p = PlaceMainWindow({0, 0, 1000, 1200});
    EXPECT_TRUE(p.smallScreen);
    EXPECT_EQ(p.width, 900);
    EXPECT_EQ(p.height, 661);
}

}  // namespace
}  // namespace zelvo
