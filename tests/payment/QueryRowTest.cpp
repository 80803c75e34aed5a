#include <gtest/gtest.h>

#include <utility>

#include "payment/ChannelNames.h"
#include "payment/QueryRow.h"

namespace zelvo {
namespace {

TEST(StatusText, FollowsTheFlagTable) {
    EXPECT_EQ(StatusText("0", "2"), u"已撤销");
    EXPECT_EQ(StatusText("0", "3"), u"已退款");
    EXPECT_EQ(StatusText("0", "0"), u"付款成功");
    EXPECT_EQ(StatusText("0", "1"), u"0");  // an unknown reversal shows the outcome flag itself
    EXPECT_EQ(StatusText("0", ""), u"0");
    EXPECT_EQ(StatusText("5", "0"), u"处理中...");
    EXPECT_EQ(StatusText("5", "3"), u"处理中...");
    EXPECT_EQ(StatusText("1", "0"), u"付款失败");
    EXPECT_EQ(StatusText("", "0"), u"付款失败");
    EXPECT_EQ(StatusText("00", "0"), u"付款失败");
}

TEST(RowTextColour, MarksFailedRedAndRefundedOrUnresolvedDarkRed) {
    QueryRow row;
    row.status = u"付款失败";
    EXPECT_EQ(RowTextColour(row), (RgbColour{255, 0, 0}));
    row.status = u"已退款";
    EXPECT_EQ(RowTextColour(row), (RgbColour{120, 0, 0}));
    row.status = u"处理中...";
    EXPECT_EQ(RowTextColour(row), (RgbColour{120, 0, 0}));
    row.status = u"付款成功";
    EXPECT_FALSE(RowTextColour(row).has_value());
    row.status = u"已撤销";
    EXPECT_FALSE(RowTextColour(row).has_value());
}

TEST(ChannelDisplayName, MatchesWholeCodesIgnoringCase) {
    EXPECT_EQ(ChannelDisplayName("wxp"), u"微信");
    EXPECT_EQ(ChannelDisplayName("ALP"), u"支付宝");
    EXPECT_EQ(ChannelDisplayName("YzF"), u"翼支付");
    EXPECT_EQ(ChannelDisplayName("QQP"), u"QQ钱包");
    EXPECT_EQ(ChannelDisplayName("BDP"), u"百度钱包");
    EXPECT_EQ(ChannelDisplayName("JDP"), u"京东钱包");
    EXPECT_EQ(ChannelDisplayName("YDP"), u"移动和包");
    EXPECT_EQ(ChannelDisplayName("YLP"), u"银联钱包");
    EXPECT_EQ(ChannelDisplayName("ABC"), u"ABC");
    EXPECT_EQ(ChannelDisplayName("WXPX"), u"WXPX");
    EXPECT_EQ(ChannelDisplayName("   "), u"   ");
}

TEST(SettlementChannelName, NeedsTheExactCodeAndGivesQqWalletWidthThree) {
    EXPECT_EQ(SettlementChannelName("WXP"), u"微信");
    EXPECT_EQ(SettlementChannelName("wxp"), u"");
    EXPECT_EQ(SettlementChannelName("SCT"), u"");
    EXPECT_EQ(ChannelNameWidth("QQP", u"QQ钱包"), 3);
    EXPECT_EQ(ChannelNameWidth("YLP", u"银联钱包"), 4);
    EXPECT_EQ(ChannelNameWidth("XYZ", u""), 0);
}

TEST(QueryRowFromColumns, ShowsStoredTextsAndKeepsHiddenOnes) {
    const QueryRow row =
        QueryRowFromColumns({"2026-03-15 10:00:00", "0", "01", "20260315100000000001", "12.5",
                             "wxp", "PURC", "00", "3", "20260314090000000009"});
    EXPECT_EQ(row.dateTime, u"2026-03-15 10:00:00");
    EXPECT_EQ(row.status, u"已退款");
    EXPECT_EQ(row.operatorId, u"01");
    EXPECT_EQ(row.orderNum, u"20260315100000000001");
    EXPECT_EQ(row.amount, u"12.50");
    EXPECT_EQ(row.channel, u"微信");
    EXPECT_EQ(row.respCode, u"00");
    EXPECT_EQ(row.transCode, "PURC");
    EXPECT_EQ(row.origOrderNum, "20260314090000000009");
}

TEST(StoredAmountText, EveryNumberHasTwoDecimalsAndOtherTextsStayAsStored) {
    const std::pair<const char*, std::u16string> cases[] = {
        {"12", u"12.00"}, {"12.3", u"12.30"}, {"-5", u"-5.00"},        {"0.5", u"0.50"},
        {"20.0", u"20.00"}, {"", u""},        {"12 yuan", u"12 yuan"}, {"0x10", u"0x10"},
        {"inf", u"inf"},  {"1e300", u"1e300"},
    };
    for (const auto& [stored, shown] : cases) EXPECT_EQ(StoredAmountText(stored), shown) << stored;
}

TEST(QueryRowFromColumns, ShortOrOverlongValuesAreSafe) {
    const QueryRow shortRow = QueryRowFromColumns({"2026-03-15 10:00:00", "0"});
    EXPECT_EQ(shortRow.status, u"0");  // no REV_FLAG read
    EXPECT_TRUE(shortRow.orderNum.empty());
    const QueryRow longRow =
        QueryRowFromColumns({"t", "0", "01", std::string(100000, '7'), "1", "WXP", "PURC", "00",
                             "0", std::string(100000, '8')});
    EXPECT_EQ(longRow.orderNum.size(), 128u);
    EXPECT_EQ(longRow.origOrderNum.size(), 128u);
}

}  // namespace
}  // namespace zelvo
