#include <gtest/gtest.h>

#include "base/Clock.h"
#include "base/Text.h"

namespace zelvo {
namespace {

TEST(TrimWhitespace, RemovesOnlySpaceTabCrLfAtTheEnds) {
    EXPECT_EQ(TrimWhitespace(" \t01\r\n"), "01");
    EXPECT_EQ(TrimWhitespace("a b"), "a b");
    EXPECT_EQ(TrimWhitespace("   "), "");
    EXPECT_EQ(TrimWhitespace("pw\t"), "pw");
    EXPECT_EQ(TrimWhitespace("\vx\f"), "\vx\f");  // other control characters stay
    EXPECT_EQ(TrimWhitespace(u" 金额 "), u"金额");
}

TEST(Bounded, CutsToCapacity) {
    EXPECT_EQ(Bounded("123456789", 8), "12345678");
    EXPECT_EQ(Bounded("12", 8), "12");
}

TEST(CaseFolding, OnlyLatinLettersFold) {
    EXPECT_TRUE(EqualsIgnoringCase(u"AbZ9", u"aBz9"));
    EXPECT_FALSE(EqualsIgnoringCase(u"a", u"a "));
    EXPECT_FALSE(EqualsIgnoringCase(u"[", u"{"));
    EXPECT_FALSE(EqualsIgnoringCase(u"É", u"é"));
    EXPECT_TRUE(EqualsIgnoringCase(std::string_view("Yzf"), std::string_view("yZF")));
    EXPECT_FALSE(EqualsIgnoringCase(std::string_view("@"), std::string_view("`")));
}

TEST(FormatLocalTime, FormatsTheLogAndDateForms) {
    LocalTime time{2016, 3, 5, 9, 7, 2, 0};
    EXPECT_EQ(FormatLocalTime(time, "%Y-%m-%d %H:%M:%S"), "2016-03-05 09:07:02");
    EXPECT_EQ(FormatLocalTime(time, "%Y%m%d"), "20160305");
}

}  // namespace
}  // namespace zelvo
