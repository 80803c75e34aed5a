#include <gtest/gtest.h>

#include "capture/CaptureRect.h"
#include "capture/ScreenCopy.h"

namespace zelvo {
namespace {

CaptureRect Parsed(const std::string& text, CaptureRect start = {}) {
    EXPECT_TRUE(ParseCutRect(text, start)) << text;
    return start;
}

TEST(CutRect, StoredTextGivesTheFourEdges) {
    EXPECT_EQ(Parsed("812,40,1010,88"), (CaptureRect{812, 40, 1010, 88}));
    EXPECT_EQ(Parsed(""), (CaptureRect{0, 0, 0, 0}));
    EXPECT_EQ(Parsed("", {1, 2, 3, 4}), (CaptureRect{0, 0, 0, 0}));
    EXPECT_EQ(Parsed("-5,+7,100,-0"), (CaptureRect{-5, 7, 100, 0}));
    EXPECT_EQ(Parsed(" 10,  20,30 ,40"), (CaptureRect{10, 20, 30, 40}));
    // Each number is read from its leading characters; none gives 0.
    EXPECT_EQ(Parsed("10px,x,3 0,40,50"), (CaptureRect{10, 0, 3, 40}));
    EXPECT_EQ(Parsed(",,,"), (CaptureRect{0, 0, 0, 0}));
}

TEST(CutRect, MissingCommasLeaveTheLaterFieldsAsTheyWere) {
    EXPECT_EQ(Parsed("100", {1, 2, 3, 4}), (CaptureRect{100, 2, 3, 4}));
    EXPECT_EQ(Parsed("100,50", {1, 2, 3, 4}), (CaptureRect{100, 50, 3, 4}));
    EXPECT_EQ(Parsed("100,50,300", {1, 2, 3, 4}), (CaptureRect{100, 50, 300, 4}));
}

TEST(CutRect, NumbersBeyondThirtyTwoBitsMakeTheRegionUnusable) {
    CaptureRect rect{1, 2, 3, 4};
    EXPECT_FALSE(ParseCutRect("99999999999,0,10,10", rect));
    EXPECT_FALSE(ParseCutRect("0,0,2147483648,10", rect));
    EXPECT_EQ(rect, (CaptureRect{1, 2, 3, 4}));
    EXPECT_EQ(Parsed("-2147483648,0,2147483647,1"),
              (CaptureRect{-2147483647 - 1, 0, 2147483647, 1}));
}

TEST(CutRect, TextRoundTrips) {
    const CaptureRect rect{-3, 40, 1010, 88};
    EXPECT_EQ(CutRectText(rect), "-3,40,1010,88");
    EXPECT_EQ(Parsed(CutRectText(rect)), rect);
}

TEST(CaptureClamp, TheCopyStaysOnThePrimaryDisplay) {
    const QSize display(1920, 1080);
    EXPECT_EQ(ClampToDisplay({100, 50, 300, 90}, display), QRect(100, 50, 200, 40));
    EXPECT_EQ(ClampToDisplay({1800, 1000, 2100, 1200}, display), QRect(1800, 1000, 120, 80));
    EXPECT_EQ(ClampToDisplay({-20, -10, 30, 40}, display), QRect(0, 0, 30, 40));
    // Empty rectangles, and ones wholly off the display, copy nothing.
    EXPECT_TRUE(ClampToDisplay({0, 0, 0, 0}, display).isEmpty());
    EXPECT_TRUE(ClampToDisplay({300, 90, 100, 50}, display).isEmpty());
    EXPECT_TRUE(ClampToDisplay({2000, 10, 2100, 40}, display).isEmpty());
}

}  // namespace
}  // namespace zelvo
