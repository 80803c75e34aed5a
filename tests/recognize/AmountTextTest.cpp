#include <gtest/gtest.h>

#include "recognize/CRecognizeApp.h"

namespace zelvo {
namespace {

std::u16string Modified(std::u16string text) {
    CRecognizeApp::ModifyAccount(text);
    return text;
}

struct Case {
    std::u16string recognised;
    std::u16string amount;
};

TEST(ModifyAccount, KeepsTheAmountAndDropsWhatSurroundsIt) {
    const Case cases[] = {
        {u"128.50", u"128.50"},
        {u"12.5", u"12.5"},
        {u"36", u"36"},
        {u"0.01", u"0.01"},
        {u"99999.99", u"99999.99"},
        {u"\uFFE5128.50", u"128.50"},
        {u"\u00A5 128.50", u"128.50"},
        {u"RMB 66.00", u"66.00"},
        {u"合计：1,280.50", u"1280.50"},
        {u"应收: 12.50 元", u"12.50"},
        {u"金额 \uFFE512,345.6元", u"12345.6"},
        {u"  7.20\n", u"7.20"},
        {u"\uFF11\uFF12\uFF0E\uFF15\uFF10", u"12.50"},  // full-width digits
        // A label the recogniser spelt its own way is a word before the amount.
        {u"Sit: 45.00", u"45.00"},
        {u"Bit \uFFE5 1", u"1"},
        // A small whole number after a label or sign.
        {u"合计 1", u"1"},
        {u"应 收 1", u"1"},  // the label's characters set apart
        {u"RMB 5", u"5"},
        {u"Total 12.50", u"12.50"},
        // A point the recogniser set apart from its digits.
        {u"\u00A587 .89", u"87.89"},
        {u"\uFFE5 449. 27", u"449.27"},
        {u"5, 760. 1 元", u"5760.1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Modified(c.recognised), c.amount)
            << "for " << std::string(c.recognised.begin(), c.recognised.end());
    }
}

TEST(ModifyAccount, GivesNothingWhenTheAmountIsInDoubt) {
    const std::u16string doubtful[] = {
        u"",
        u"   ",
        u"合计：",
        u"12.50 13.00",  // two numbers
        u"25 7",         // two numbers, or a point the recogniser missed
        u"83 ,94",       // a comma that is no thousands separator, set apart
        u"12.345",       // three decimals
        u"1?8.50",       // a doubtful digit
        u"?128.50",      // a doubtful sign or digit against the amount
        u"128.5?",
        u"12.50 x",  // something after the amount
        u"l28.50",   // a letter where a digit belongs
        u"12,50",    // a comma that is no thousands separator
        u"1,2345.00",
        u",123.00",
        u"12.",
        u".50",
        u"1.2.3",
        u"\u00A5 01",  // "0.1" whose point the recogniser lost
        u"0150",
        u"08304.3",  // a first digit misread as a zero
        u"Bik 4",    // the rest of "0.14" read as letters
        u"YU 1",
        u"四 1",    // the rest of a blurred "¥1.91" read as one character
        u"007.50",  // tills do not pad totals with zeros
        u"-12.50",
        u"1234567890",  // longer than the amount box takes
        u"12345678.90",
    };
    for (const std::u16string& text : doubtful) {
        EXPECT_EQ(Modified(text), u"") << "for " << std::string(text.begin(), text.end());
    }
}

TEST(ModifyAccount, TheLongestAmountTheBoxTakesStays) {
    EXPECT_EQ(Modified(u"123456.78"), u"123456.78");
    EXPECT_EQ(Modified(u"123,456,789"), u"123456789");
}

}  // namespace
}  // namespace zelvo
