#include <gtest/gtest.h>

#include <leptonica/allheaders.h>

#include "recognize/PointMarks.h"

namespace zelvo {
namespace {

// A white line with black blocks standing for characters and marks, as the cleaning writes it.
class Line {
public:
    Line() : m_pix(pixCreate(200, 60, 8)) { pixSetAll(m_pix); }
    ~Line() { pixDestroy(&m_pix); }
    Line& Block(int x, int y, int w, int h) {
        pixRasterop(m_pix, x, y, w, h, PIX_CLR, nullptr, 0, 0);
        return *this;
    }
    // Two digits 30 pixels high standing on the baseline at y = 45, 30 to 130 apart.
    Line& Digits() { return Block(20, 15, 20, 30).Block(60, 15, 20, 30); }
    Pix* Image() { return m_pix; }

private:
    Pix* m_pix;
};

TEST(PointMarks, APointOnTheBaselineBetweenDigitsCounts) {
    Line line;
    line.Digits().Block(46, 40, 5, 5);
    EXPECT_EQ(CountPointMarks(line.Image(), 20, 80), 1);
    pixInvert(line.Image(), line.Image());  // light text on a dark ground
    EXPECT_EQ(CountPointMarks(line.Image(), 20, 80), 1);
}

TEST(PointMarks, MarksThatAreNoPointsDoNotCount) {
    Line high;
    high.Digits().Block(46, 16, 5, 5);  // a dot at the top, as in a label's character
    EXPECT_EQ(CountPointMarks(high.Image(), 20, 80), 0);
    Line outside;
    outside.Digits().Block(46, 40, 5, 5);  // a colon's dot before the number
    EXPECT_EQ(CountPointMarks(outside.Image(), 60, 80), 0);
    Line speck;
    speck.Digits().Block(48, 44, 1, 1);
    EXPECT_EQ(CountPointMarks(speck.Image(), 20, 80), 0);
    Line empty;
    EXPECT_EQ(CountPointMarks(empty.Image(), 0, 200), 0);
    // A serif's foot cut off from its stroke lies under its character, not between two.
    Line serif;
    serif.Block(20, 15, 20, 30).Block(60, 15, 20, 26).Block(100, 15, 20, 30).Block(66, 42, 5, 4);
    EXPECT_EQ(CountPointMarks(serif.Image(), 20, 120), 0);
}

}  // namespace
}  // namespace zelvo
