#include <gtest/gtest.h>

#include "recognize/LineSymbols.h"

namespace zelvo {
namespace {

// Symbols from a line written with a space between words; one character each, boxes along x.
std::vector<Symbol> Read(const std::string& line) {
    std::vector<Symbol> symbols;
    bool wordStart = true;
    int x = 0;
    for (size_t at = 0; at < line.size();) {
        if (line[at] == ' ') {
            wordStart = true;
            ++at;
            continue;
        }
        // UTF-8: a character is its lead byte and the continuation bytes after it.
        size_t length = 1;
        while (at + length < line.size() && (line[at + length] & 0xC0) == 0x80) ++length;
        Symbol symbol;
        symbol.text = line.substr(at, length);
        symbol.left = x;
        symbol.right = x + 10;
        symbol.startsWord = wordStart;
        symbols.push_back(symbol);
        wordStart = false;
        x += 12;
        at += length;
    }
    return symbols;
}

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

TEST(LineSymbols, OtherViewsSettleDoubtfulDigitsOnlyWhenTheyAgree) {
    ViewVotes one("¥4?.42");
    EXPECT_TRUE(one.Add("¥45.42"));
    EXPECT_EQ(one.Settled(), "¥45.42");

    ViewVotes split("¥4?.42");
    EXPECT_TRUE(split.Add("¥45.42"));
    EXPECT_TRUE(split.Add("¥46.42"));
    EXPECT_EQ(split.Settled(), "¥4?.42");  // two views, two digits: still in doubt

    ViewVotes contradicted("¥4?.42");
    EXPECT_FALSE(contradicted.Add("¥45.47"));  // a sure digit read otherwise

    ViewVotes otherLength("¥4?.42");
    EXPECT_TRUE(otherLength.Add("¥45.4"));
    EXPECT_TRUE(otherLength.Add("¥4?.42"));
    EXPECT_EQ(otherLength.Settled(), "¥4?.42");

    // A view that reads the sign otherwise still settles the digits.
    ViewVotes sign("¥?.01");
    EXPECT_TRUE(sign.Add("£0.01"));
    EXPECT_EQ(sign.Settled(), "¥0.01");
}

TEST(LineSymbols, SettledDigitsReachTheirSymbols) {
    const std::vector<Symbol> settled = WithDoubtsSettled(Read("合计 ¥4?.4?"), "合计 ¥45.42");
    EXPECT_EQ(LineText(settled), "合计 ¥45.42");
    EXPECT_EQ(LineText(WithDoubtsSettled(Read("£?.06"), "£0.06")), "£0.06");
    EXPECT_EQ(LineWithSignApart(WithDoubtsSettled(Read("£?.06"), "£0.06")), "¥ 0.06");
}

}  // namespace
}  // namespace zelvo
