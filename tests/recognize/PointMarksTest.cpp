#include <gtest/gtest.h>

#include <leptonica/allheaders.h>

#include "recognize/LeptonicaHandles.h"
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
    Line& Shade(int x, int y, int w, int h, int level) {
        BOX* box = boxCreate(x, y, w, h);
        pixSetInRectArbitrary(m_pix, box, static_cast<l_uint32>(level));
        boxDestroy(&box);
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

TEST(PointMarks, ASerifCommaWhoseTailBrokeOffIsOneMark) {
    Line line;
    line.Digits().Block(46, 40, 5, 5).Block(47, 46, 3, 4);  // the head, and its tail below
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
    // A thin serif 5 broken into its top, its bowl and the tail at its left foot: the tail
    // lies under the top, and beside the bowl.
    Line five;
    five.Block(20, 15, 20, 30).Block(60, 15, 20, 12).Block(66, 28, 14, 17).Block(59, 38, 5, 5);
    five.Block(100, 15, 20, 30);
    EXPECT_EQ(CountPointMarks(five.Image(), 20, 120), 0);
    // A whole 5 whose tail touches its foot at a corner and stands half under its upright.
    Line tail;
    tail.Block(20, 15, 20, 30).Block(59, 15, 21, 3).Block(59, 15, 3, 15).Block(59, 27, 21, 3);
    tail.Block(77, 27, 3, 18).Block(62, 42, 18, 3).Block(56, 36, 6, 6).Block(100, 15, 20, 30);
    EXPECT_EQ(CountPointMarks(tail.Image(), 20, 120), 0);
}

TEST(PointMarks, APieceTouchingAStrokeAtACornerCountsOnlyWhenPointSized) {
    // A serif 2 whose thin diagonal broke into its upper part, its foot and a chip at the
    // foot's end that touches the foot only at a corner.
    Line chip;
    chip.Block(20, 15, 20, 30).Block(60, 15, 20, 22).Block(58, 39, 24, 6).Block(82, 37, 2, 2);
    chip.Block(100, 15, 20, 30);
    EXPECT_EQ(CountPointMarks(chip.Image(), 20, 120), 0);
    // A point set so close that it touches the digit before it at a corner.
    Line joined;
    joined.Digits().Block(40, 45, 5, 5);
    EXPECT_EQ(CountPointMarks(joined.Image(), 20, 80), 1);
}

// Digits read with boxes along x; the ink holds a block of each width for each.
struct ReadLine {
    std::vector<Symbol> symbols;
    Line line;
    int x = 10;
    ReadLine& Digit(const char* digit, int width) {
        line.Block(x, 15, width, 30);
        symbols.push_back({digit, x - 2, 15, x + width + 2, 45});
        x += width + 10;
        return *this;
    }
    ReadLine& Point() {
        line.Block(x, 40, 5, 5);
        symbols.push_back({".", x - 1, 40, x + 6, 45});
        x += 12;
        return *this;
    }
    bool MayHidePoint() {
        PixPtr ink(pixThresholdToBinary(line.Image(), 128));  // set where dark
        return MayHideAJoinedPoint(symbols, ink.get());
    }
};

TEST(PointMarks, ADigitWiderThanItsTwinMayCarryAPointJoinedToIt) {
    // "122" whose first 2 is wider by a point run into its foot: "12.2".
    EXPECT_TRUE(ReadLine().Digit("1", 6).Digit("2", 26).Digit("2", 20).MayHidePoint());
    // The point was read after it: nothing is hidden.
    EXPECT_FALSE(ReadLine().Digit("1", 6).Digit("2", 26).Point().Digit("2", 20).MayHidePoint());
    // Digits of one width, and different digits of different widths, hide nothing.
    EXPECT_FALSE(ReadLine().Digit("2", 20).Digit("2", 21).Digit("0", 20).MayHidePoint());
    EXPECT_FALSE(ReadLine().Digit("1", 6).Digit("4", 26).Digit("7", 18).MayHidePoint());
}

TEST(PointMarks, AGlyphSharedWithANeighbourIsNoDigitCarryingAPoint) {
    // Two 1s whose serifs touch make one glyph reaching into the first one's box: wider than
    // the third 1, but no point.
    ReadLine touching;
    touching.Digit("1", 6).Digit("1", 16).Digit("1", 6);
    touching.line.Block(14, 15, 14, 30);  // joins the first two
    EXPECT_FALSE(touching.MayHidePoint());
}

TEST(PointMarks, APointInsideADoubtsBoxIsMissedAllTheSame) {
    // "71?" read for "71.5": the doubt's box holds the point and the 5.
    ReadLine read;
    read.Digit("7", 20).Digit("1", 8).Point().Digit("5", 20);
    read.symbols[3].text = "?";
    std::vector<Symbol> joined = {read.symbols[0], read.symbols[1], read.symbols[3]};
    joined[2].left = read.symbols[2].left;
    EXPECT_TRUE(MissesAPoint(joined, read.line.Image()));
    // Read with its point, the line misses none.
    EXPECT_FALSE(MissesAPoint(read.symbols, read.line.Image()));
}

TEST(PointMarks, ASmallLinesPointOfTwoPixelsIsMissedWhenTheLineIsEnlarged) {
    // "143" read for "1.43" in an uncleaned screen copy: digits nine pixels high and a point of
    // one pixel between the first two, which at this size passes for a speck.
    Line line;
    line.Block(20, 36, 2, 9).Block(27, 36, 6, 9).Block(37, 36, 6, 9).Block(23, 44, 1, 1);
    std::vector<Symbol> read = {
        {"1", 19, 36, 23, 45}, {"4", 26, 36, 34, 45}, {"3", 36, 36, 44, 45}};
    EXPECT_FALSE(MissesAPoint(read, line.Image()));
    EXPECT_TRUE(MissesAPointWhenEnlarged(read, line.Image()));
    // Read with its point, the line misses none.
    read.insert(read.begin() + 1, {".", 23, 44, 24, 45});
    EXPECT_FALSE(MissesAPointWhenEnlarged(read, line.Image()));
    // Digits of the cleaning's size are left to the check on the picture itself.
    ReadLine large;
    large.Digit("1", 8).Digit("4", 20);
    large.line.Block(large.x, 43, 2, 2);
    large.x += 12;
    large.Digit("3", 20);
    EXPECT_FALSE(MissesAPointWhenEnlarged(large.symbols, large.line.Image()));
}

TEST(PointMarks, APointTooPaleForTheSplitIsMissedInTheGrey) {
    // "5117" read for "51.17" whose blurred point is far paler than its digits.
    const auto read = [](int pointSize) {
        ReadLine line;
        line.Digit("5", 20).Digit("1", 8);
        line.line.Shade(line.x, 40, pointSize, pointSize, 215);
        line.x += 12;
        line.Digit("1", 8).Digit("7", 20);
        return line;
    };
    ReadLine pale = read(5);
    EXPECT_FALSE(MissesAPoint(pale.symbols, pale.line.Image()));
    EXPECT_TRUE(MissesAFaintPoint(pale.symbols, pale.line.Image()));
    // Specks as pale as that, which compression and blurring leave beside strokes, are none.
    ReadLine speck = read(2);
    EXPECT_FALSE(MissesAFaintPoint(speck.symbols, speck.line.Image()));
    // Read with its point, the line misses none.
    ReadLine whole;
    whole.Digit("5", 20).Digit("1", 8).Point().Digit("1", 8).Digit("7", 20);
    whole.line.Shade(whole.symbols[2].left + 1, 40, 5, 5, 215);
    EXPECT_FALSE(MissesAFaintPoint(whole.symbols, whole.line.Image()));
}

TEST(PointMarks, AGlyphOutsideEverySymbolIsUnread) {
    PixPtr ink;
    const auto unread = [&](ReadLine& read) {
        ink.reset(pixThresholdToBinary(read.line.Image(), 128));
        return LeavesAGlyphUnread(read.symbols, ink.get());
    };
    ReadLine whole;
    whole.Digit("3", 20).Digit("3", 20).Point().Digit("1", 8).Digit("3", 20);
    EXPECT_FALSE(unread(whole));
    // The recogniser gave only the 1 of "33.13".
    ReadLine dropped;
    dropped.Digit("3", 20).Digit("3", 20).Point().Digit("1", 8).Digit("3", 20);
    dropped.symbols = {dropped.symbols[3]};
    EXPECT_TRUE(unread(dropped));
    // The recogniser gave only the 0 of a display's "1.0", whose 1 is two bars one over the other.
    ReadLine display;
    display.line.Block(10, 15, 4, 14).Block(10, 31, 4, 14);
    display.x = 24;
    display.Point().Digit("0", 20);
    display.symbols = {display.symbols[1]};
    EXPECT_TRUE(unread(display));
    // A field border beside the digits is no character.
    ReadLine framed;
    framed.Digit("4", 20).Digit("2", 20);
    framed.line.Block(150, 2, 2, 56);
    EXPECT_FALSE(unread(framed));
    // A point it did not read is no glyph; the point check answers for that.
    ReadLine point;
    point.Digit("1", 8).Point().Digit("5", 20);
    point.symbols.erase(point.symbols.begin() + 1);
    EXPECT_FALSE(unread(point));
    // A box around the right part of a glyph (a 1's stem, without its flag) reads it; one that
    // reaches past the glyph's end stands on something else (a sign read as a 3).
    ReadLine stem;
    stem.Digit("1", 20);
    stem.symbols[0].left = 24;
    stem.symbols[0].right = 30;
    EXPECT_FALSE(unread(stem));
    stem.symbols[0].right = 36;
    EXPECT_TRUE(unread(stem));
}

}  // namespace
}  // namespace zelvo
