#include <gtest/gtest.h>

#include "payment/SettlementBill.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

std::vector<std::u16string> Lines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
}

std::u16string Spaces(size_t count) {
    return std::u16string(count, u' ');
}

SettlementBillHeader Header(int lineWidth) {
    SettlementBillHeader header;
    header.merName = u"Zelvo演示商户";
    header.merCode = "898310060110001";
    header.termCode = "10000001";
    header.operatorId = "01";
    header.lineWidth = lineWidth;
    header.trailingBlankLines = 1;
    return header;
}

TEST(SettlementBill, QqWalletIsPaddedAsThreeColumnsAndUnknownCodesHaveNoName) {
    SettlementTotals totals;
    totals["QQP"] = {1, 0, 800, 0};
    totals["ZZZ"] = {2, 0, 100, 0};
    const auto lines = Lines(SettlementBillText(totals, Header(32)));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[8], u"QQ钱包   下单支付 1     8.00");
    EXPECT_EQ(lines[9], u"QQ钱包   退款     0     0.00");
    EXPECT_EQ(lines[10], u"         下单支付 2     1.00");
    EXPECT_EQ(lines[12], std::u16string(32, u'-'));
    EXPECT_EQ(lines[13], u"QQ钱包" + Spaces(8) + u"1笔" + Spaces(7) + u"8.00元");
    EXPECT_EQ(lines[14], Spaces(14) + u"2笔" + Spaces(7) + u"1.00元");
}

TEST(SettlementBill, WideLineCentresTheTitleAndLengthensTheRules) {
    const auto lines = Lines(SettlementBillText({{"WXP", {}}}, Header(40)));
    EXPECT_EQ(lines[0], std::u16string(14, u' ') + u"交易结算账单");
    EXPECT_EQ(lines[1], std::u16string(40, u'-'));
    EXPECT_EQ(lines[5], std::u16string(40, u'-'));
    EXPECT_EQ(lines[2], u"商户名称：Zelvo演示商户");
}

TEST(SettlementBill, OddWidthRoundsTheIndentTowardZero) {
    EXPECT_EQ(Lines(SettlementBillText({}, Header(33)))[0],
              std::u16string(10, u' ') + u"交易结算账单");
    EXPECT_EQ(Lines(SettlementBillText({}, Header(12)))[0], u"交易结算账单");
}

TEST(SettlementBill, LongMerchantNameIsSplitOnceAfterHalfTheWidth) {
    SettlementBillHeader header = Header(32);
    header.merName = u"一二三四五六七八九十一二三四五";  // 5 + 15 = 20 characters
    const auto lines = Lines(SettlementBillText({}, header));
    EXPECT_EQ(lines[2], u"商户名称：一二三四五六七八九十一");
    EXPECT_EQ(lines[3], u"二三四五");
    EXPECT_EQ(lines[4], u"商户编号：898310060110001");

    header.merName = std::u16string(60, u'长');
    const auto once = Lines(SettlementBillText({}, header));
    EXPECT_EQ(once[3], std::u16string(49, u'长'));  // the rest is not wrapped again
}

TEST(SettlementBill, NarrowLineIndentsTheTitleAndWidensTheRestOfTheBill) {
    SettlementBillHeader header = Header(10);
    header.merName = u"小店";  // "商户名称：小店": 7 characters, under half of 16
    auto lines = Lines(SettlementBillText({}, header));
    EXPECT_EQ(lines[0], u"  交易结算账单");
    EXPECT_EQ(lines[1], std::u16string(16, u'-'));
    EXPECT_EQ(lines[2], u"商户名称：小店");

    header.lineWidth = 4;  // 4 + 3 * 8 = 28
    header.merName = u"一二三四五六七八九十";
    lines = Lines(SettlementBillText({}, header));
    EXPECT_EQ(lines[0], std::u16string(8, u' ') + u"交易结算账单");
    EXPECT_EQ(lines[1], std::u16string(28, u'-'));
    EXPECT_EQ(lines[2], u"商户名称：一二三四五六七八九");
}

TEST(SettlementBill, OversizedNumbersKeepASpaceBetweenColumns) {
    SettlementTotals totals;
    totals["WXP"] = {1234567, -2, 123456789012, -100};
    const auto lines = Lines(SettlementBillText(totals, Header(32)));
    EXPECT_EQ(lines[8], u"微信     下单支付 1234567 1234567890.12");
    EXPECT_EQ(lines[9], u"微信     退款     -2    -1.00");
    EXPECT_EQ(lines[11], u"微信" + Spaces(4) + u"1234565笔1234567889.12元");
}

TEST(SettlementBill, TrailingBlankLinesFollowTheSummary) {
    SettlementBillHeader header = Header(32);
    header.trailingBlankLines = 3;
    const auto lines = Lines(SettlementBillText({{"ALP", {}}}, header));
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[11], u"支付宝" + Spaces(8) + u"0笔" + Spaces(7) + u"0.00元");
    EXPECT_EQ(lines[12], u"");
    EXPECT_EQ(lines[14], u"");
}

TEST(SettlementBill, FileIsUtf16WithByteOrderMarkAndFailsWhereItCannotBeWritten) {
    test::ScopedWorkDir dir;
    ASSERT_TRUE(ComposeSettlementBill({{"WXP", {}}}, Header(32), "SCprint.txt"));
    const std::string bytes = test::ReadFile("SCprint.txt");
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\r\0\n\0", 4));
    EXPECT_FALSE(ComposeSettlementBill({}, Header(32), "no-such-folder/SCprint.txt"));
}

TEST(FormatFen, MatchesTwoDecimalFormatting) {
    EXPECT_EQ(FormatFen(0), "0.00");
    EXPECT_EQ(FormatFen(1250), "12.50");
    EXPECT_EQ(FormatFen(-500), "-5.00");
    EXPECT_EQ(FormatFen(-5), "-0.05");
    EXPECT_EQ(FormatFen(100000000), "1000000.00");
}

}  // namespace
}  // namespace zelvo
