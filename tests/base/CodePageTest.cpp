#include "base/CodePage.h"

#include <gtest/gtest.h>

namespace zelvo {
namespace {

TEST(CodePage, GbkRoundTripOfChineseAndAscii) {
    const std::u16string text = u"付款成功 QQ钱包 12.30";
    std::string gbk = Utf16ToGbk(text);
    // 付 is 0xB8 0xB6 in GBK: two bytes per Chinese character.
    EXPECT_EQ(gbk.substr(0, 2), "\xB8\xB6");
    EXPECT_EQ(gbk.size(), 8u + 1 + 2 + 4 + 1 + 5);
    EXPECT_EQ(GbkToUtf16(gbk), text);
}

TEST(CodePage, InvalidInputHasDefinedResults) {
    // A lead byte without its trail byte, and a byte GBK never uses.
    EXPECT_EQ(GbkToUtf16("A\xB8"), u"A\uFFFD");
    EXPECT_EQ(GbkToUtf16("\xFF" "B"), u"\uFFFD" "B");
    // Characters outside GBK, and lone surrogates, become '?'.
    EXPECT_EQ(Utf16ToGbk(u"a\U0001F600b"), "a?b");
    EXPECT_EQ(Utf16ToGbk(std::u16string(u"x") + char16_t(0xD800) + u"y"), "x?y");
    EXPECT_EQ(Utf16ToGbk(u"\u0E01\u4E2D"), "?\xD6\xD0");
}

TEST(CodePage, Utf8RejectsMalformedSequences) {
    EXPECT_EQ(Utf8ToUtf16("\xE4\xB8\xAD"), u"中");
    EXPECT_EQ(Utf8ToUtf16("\xE4\xB8"), u"\uFFFD\uFFFD");  // truncated
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong '/'
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600中"), "\xF0\x9F\x98\x80\xE4\xB8\xAD");
}

TEST(CodePage, GbkAndUtf8AgreeThroughUtf16) {
    const std::string utf8 = "欢迎进入Zelvo";
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk(utf8)), utf8);
    EXPECT_TRUE(Utf8ToGbk("").empty());
    EXPECT_TRUE(GbkToUtf16("").empty());
}

}  // namespace
}  // namespace zelvo
