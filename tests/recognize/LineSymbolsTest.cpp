#include <gtest/gtest.h>

#include "recognize/LineSymbols.h"
#include "tests/recognize/WrittenSymbols.h"

namespace zelvo {
namespace {

TEST(LineSymbols, TheNumberIsTheRunWithTheMostDigits) {
    const auto runText = [](const std::string& line) {
        const std::vector<Symbol> symbols = Read(line);
        const std::optional<NumberRun> run = FindNumberRun(symbols);
        if (!run) return std::string("none");
        std::string text;
        for (size_t i = run->begin; i < run->end; ++i) text += symbols[i].text;
        return text;
    };
    EXPECT_EQ(runText("合计 ¥128.50 元"), "128.50");
    EXPECT_EQ(runText("¥337 .9?"), "337.9?");  // a point set apart joins its digits
    EXPECT_EQ(runText("4 1,280.50"), "1,280.50");
    EXPECT_EQ(runText("¥48 03"), "48");  // no point: two words are two numbers
    EXPECT_EQ(runText("Sit: ¥"), "none");
    EXPECT_EQ(runText(""), "none");
}

TEST(LineSymbols, AMisreadSignGluedToTheNumberIsWrittenAsTheSign) {
    EXPECT_EQ(LineWithSignApart(Read("£3249")), "¥ 3249");
    EXPECT_EQ(LineWithSignApart(Read("金额 : W0.06")), "金额 : ¥ 0.06");
    EXPECT_EQ(LineWithSignApart(Read("$27 元")), "¥ 27 元");
    // A digit the recogniser took for a letter is no sign: the amount stays in doubt.
    EXPECT_EQ(LineWithSignApart(Read("l28.50")), "l28.50");
    EXPECT_EQ(LineWithSignApart(Read("S5.00")), "S5.00");
    // Only the mark glued to the number: a word before it is a label.
    EXPECT_EQ(LineWithSignApart(Read("V 12.00")), "V 12.00");
    EXPECT_EQ(LineWithSignApart(Read("12.00")), "12.00");
}

TEST(LineSymbols, ABoxStretchedOverTheNextSymbolEndsWhereThatOneStarts) {
    std::vector<Symbol> symbols = Read("¥3元");
    symbols[1].right = symbols[2].right + 20;  // "3" over the unit and past it
    symbols[2].left -= 3;                      // the unit kerned under the "3"
    const int unitLeft = symbols[2].left;
    CutBoxesAtTheNextSymbol(symbols);
    EXPECT_EQ(symbols[1].right, unitLeft);
    // Glyphs kerned into each other overlap a little; those boxes stay as they are.
    std::vector<Symbol> kerned = Read("17");
    kerned[0].right = kerned[1].left + 3;
    CutBoxesAtTheNextSymbol(kerned);
    EXPECT_EQ(kerned[0].right, kerned[1].left + 3);
    // A box that starts where the next one does is not cut to nothing.
    std::vector<Symbol> same = Read("1.");
    same[1].left = same[0].left;
    same[0].right = 30;
    CutBoxesAtTheNextSymbol(same);
    EXPECT_EQ(same[0].right, 30);
}

TEST(LineSymbols, ABoxHoldingTheOneBeforeStartsWhereThatOneEnds) {
    // "51.50": the zero boxed from where the 5 starts, 1 or 2 pixels either way.
    std::vector<Symbol> symbols = Read("5.50");
    symbols[3].left = symbols[2].left + 1;
    StartBoxesAfterTheSymbolBefore(symbols);
    EXPECT_EQ(symbols[3].left, symbols[2].right);
    std::vector<Symbol> earlier = Read("5.50");
    earlier[3].left = earlier[2].left - 2;
    StartBoxesAfterTheSymbolBefore(earlier);
    EXPECT_EQ(earlier[3].left, earlier[2].right);
    // A doubt on the glyph the next digit stands on: one glyph read twice, both boxes as read.
    std::vector<Symbol> twice = Read("0.0?3");
    twice[4].left = twice[3].left + 3;
    StartBoxesAfterTheSymbolBefore(twice);
    EXPECT_EQ(twice[4].left, twice[3].left + 3);
    // A box a sliver wide (a colon's edge read as a digit) says nothing of where the next starts.
    std::vector<Symbol> sliver = Read(":?0");
    sliver[1].right = sliver[1].left + 2;
    sliver[2].left = sliver[1].left;
    StartBoxesAfterTheSymbolBefore(sliver);
    EXPECT_EQ(sliver[2].left, sliver[1].left);
    // After a doubt run into the next digit's glyph, that glyph does start where the doubt does.
    std::vector<Symbol> joined = Read("1.?9");
    joined[2].runTogether = true;
    joined[3].left = joined[2].left;
    StartBoxesAfterTheSymbolBefore(joined);
    EXPECT_EQ(joined[3].left, joined[2].left);
}

// The same line read in a view scaled by `scale`: boxes scaled alike.
std::vector<Symbol> Scaled(std::vector<Symbol> symbols, float scale) {
    for (Symbol& symbol : symbols) {
        symbol.left = static_cast<int>(symbol.left * scale);
        symbol.right = static_cast<int>(symbol.right * scale);
    }
    return symbols;
}

TEST(LineSymbols, OtherViewsSettleDoubtfulDigitsOnlyWhenTheyAgree) {
    ViewVotes one(Read("¥4?.42"));
    EXPECT_TRUE(one.Add(Read("¥45.42"), 1.0f));
    EXPECT_EQ(LineText(one.Settled()), "¥45.42");

    ViewVotes split(Read("¥4?.42"));
    EXPECT_TRUE(split.Add(Read("¥45.42"), 1.0f));
    EXPECT_TRUE(split.Add(Read("¥46.42"), 1.0f));
    EXPECT_EQ(LineText(split.Settled()), "¥4?.42");  // two views, two digits: still in doubt

    ViewVotes contradicted(Read("¥4?.42"));
    EXPECT_FALSE(contradicted.Add(Read("¥45.47"), 1.0f));  // a sure digit read otherwise

    // A view in doubt where the line is sure: only a doubt among other digits contradicts it
    // (an italic "1" the glyph shapes took for a 7, which a view doubted between 1 and 2).
    std::vector<Symbol> doubting = Read("108?.35");
    doubting[3].candidates = "12";
    EXPECT_FALSE(ViewVotes(Read("1087.35")).Add(doubting, 1.0f));
    doubting[3].candidates = "17";
    EXPECT_TRUE(ViewVotes(Read("1087.35")).Add(doubting, 1.0f));

    ViewVotes inDoubtToo(Read("¥4?.42"));
    EXPECT_TRUE(inDoubtToo.Add(Read("¥4?.42"), 1.0f));
    EXPECT_EQ(LineText(inDoubtToo.Settled()), "¥4?.42");
}

TEST(LineSymbols, AViewOfAnotherLengthVotesWhereItsSymbolsStand) {
    // A smaller view that lost the sign: its digits still stand on the line's.
    std::vector<Symbol> view = Scaled(Read("¥45.42"), 0.6f);
    view.erase(view.begin());
    ViewVotes lostSign(Read("¥4?.42"));
    EXPECT_TRUE(lostSign.Add(view, 0.6f));
    EXPECT_EQ(LineText(lostSign.Settled()), "¥45.42");

    // One wide mark across the sign and the first digit belongs to neither.
    const std::vector<Symbol> line = Read("?4.42");
    std::vector<Symbol> wide(line.begin() + 1, line.end());
    wide[0].left = line[0].left;
    ViewVotes straddled(line);
    EXPECT_TRUE(straddled.Add(wide, 1.0f));
    EXPECT_EQ(LineText(straddled.Settled()), "?4.42");
}

TEST(LineSymbols, OnlyADoubtBetweenSignAndDigitIsSettledAsTheSign) {
    std::vector<Symbol> line = Read("应 收 ?7.2");
    line[2].maybeSign = true;
    ViewVotes digit(line);
    EXPECT_TRUE(digit.Add(Read("应 收 77.2"), 1.0f));
    EXPECT_EQ(LineText(digit.Settled()), "应 收 ?7.2");  // "77.2" may be "¥7.2"

    ViewVotes sign(line);
    EXPECT_TRUE(sign.Add(Read("应 收 F7.2"), 1.0f));
    const std::vector<Symbol> settled = sign.Settled();
    EXPECT_EQ(LineText(settled), "应 收 ¥7.2");
    EXPECT_EQ(LineWithSignApart(settled), "应 收 ¥ 7.2");

    // A doubt between digits alone is no sign, whatever a view makes of it: taking it for one
    // would drop a digit from the amount.
    line[2].maybeSign = false;
    line[2].candidates = "57";
    ViewVotes digits(line);
    EXPECT_TRUE(digits.Add(Read("应 收 ¥7.2"), 1.0f));
    EXPECT_EQ(LineText(digits.Settled()), "应 收 ?7.2");
}

}  // namespace
}  // namespace zelvo
