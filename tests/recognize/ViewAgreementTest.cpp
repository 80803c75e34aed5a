#include <gtest/gtest.h>

#include "recognize/ViewAgreement.h"
#include "tests/recognize/WrittenSymbols.h"

namespace zelvo {
namespace {

TEST(ViewAgreement, AViewsDigitsMustFitWhatTheLineSawAtTheirPlace) {
    // "A5.51" for "45.51": a letter under a view's digit is the misread digit.
    const std::vector<Symbol> misread = Read("A5.51");
    EXPECT_TRUE(ViewDigitsFitTheLine(misread, Read("45.51")));
    EXPECT_FALSE(ViewDigitsFitTheLine(misread, Read("46.51")));  // another sure digit
    // A doubt allows its own candidates, or any digit when it has none.
    std::vector<Symbol> doubted = Read("¥?898");
    doubted[1].candidates = "0";
    EXPECT_FALSE(ViewDigitsFitTheLine(doubted, Read("¥6898")));
    doubted[1].candidates = "06";
    EXPECT_TRUE(ViewDigitsFitTheLine(doubted, Read("¥6898")));
    doubted[1].candidates.clear();
    EXPECT_TRUE(ViewDigitsFitTheLine(doubted, Read("¥6898")));
    // Marks and signs a view reads are not judged here.
    EXPECT_TRUE(ViewDigitsFitTheLine(Read("2:59"), Read("2.59")));
}

TEST(ViewAgreement, OneDigitOverSeveralCharactersOfTheLineDoesNotFit) {
    // "¥54.6" read "??4.6" in the line; a view ran the sign, the 5 and the 4 into one "4".
    const std::vector<Symbol> line = Read("??4.6");
    std::vector<Symbol> view = Read("4.6");
    view[0].left = line[0].left;
    view[0].right = line[2].right;
    EXPECT_FALSE(ViewDigitsFitTheLine(line, view));
    // A doubt the recogniser put on the glyph of a sure digit is that glyph read twice.
    std::vector<Symbol> readTwice = Read("0.03");
    Symbol twice = readTwice[3];
    twice.text = "?";
    twice.candidates = "38";
    twice.left += 2;
    readTwice.insert(readTwice.begin() + 3, twice);
    EXPECT_TRUE(ViewDigitsFitTheLine(readTwice, Read("0.03")));
    // The line's point boxed a sliver wide at the foot of the next digit ("506 . 36") is no
    // character under the view's digit.
    std::vector<Symbol> pointOnTheEdge = Read("6.3");
    pointOnTheEdge[1].left = pointOnTheEdge[2].left;
    pointOnTheEdge[1].right = pointOnTheEdge[2].left + 1;
    EXPECT_TRUE(ViewDigitsFitTheLine(pointOnTheEdge, Read("6.3")));
}

TEST(ViewAgreement, ABoxStartedWithTheOneBeforeIsCutWhereItConfirmsADigitOfTheLine) {
    // The line read "?4.56", its sign in doubt; a view read "¥4.56", the 4's box starting where
    // the sign's does.
    const std::vector<Symbol> line = Read("?4.56");
    std::vector<Symbol> view = Read("¥4.56");
    view[1].left = view[0].left;
    EXPECT_FALSE(ViewDigitsFitTheLine(line, view));
    const std::vector<Symbol> cut = StartedAfterTheOneBefore(view, line);
    EXPECT_EQ(cut[1].left, view[0].right);
    EXPECT_TRUE(ViewDigitsFitTheLine(line, cut));
    // A box reaching into the one before, over a doubt that names its digit, is cut alike; over a
    // doubt that rules the digit out it stays.
    std::vector<Symbol> doubted = Read("5?.56");
    doubted[1].candidates = "47";
    std::vector<Symbol> reaching = Read("54.56");
    reaching[1].left = reaching[0].left + 3;
    EXPECT_EQ(StartedAfterTheOneBefore(reaching, doubted)[1].left, reaching[0].right);
    EXPECT_TRUE(ViewDigitsFitTheLine(doubted, StartedAfterTheOneBefore(reaching, doubted)));
    doubted[1].candidates = "17";
    EXPECT_EQ(StartedAfterTheOneBefore(reaching, doubted)[1].left, reaching[1].left);
    // Over what the line read as letters (the sign and a zero blurred into one blot, which the
    // view's templates named a 4) the box stays as read.
    std::vector<Symbol> named = Read("v4.13");
    named[1].left = named[0].left;
    EXPECT_EQ(StartedAfterTheOneBefore(named, Read("Ve.13"))[1].left, named[0].left);
}

TEST(ViewAgreement, AViewsSymbolsArePlacedBackByItsScale) {
    std::vector<Symbol> view = Read("12");
    view[1].top = 3;
    view[1].bottom = 15;
    const std::vector<Symbol> placed = PlacedInLine(view, 0.6f);
    EXPECT_EQ(placed[0].left, 0);
    EXPECT_EQ(placed[0].right, 17);  // 10 / 0.6, rounded
    EXPECT_EQ(placed[1].left, 20);
    EXPECT_EQ(placed[1].right, 37);
    EXPECT_EQ(placed[1].top, 5);
    EXPECT_EQ(placed[1].bottom, 25);
}

}  // namespace
}  // namespace zelvo
