#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "MISCIL/ExchangeLog.h"
#include "MISCIL/MisCil.h"
#include "MISCIL/SlipComposer.h"
#include "tests/MISCIL/GatewayTestSupport.h"

namespace zelvo {
namespace {

const LocalTime kNow{2026, 12, 7, 10, 11, 12, 0};

SlipTerminal Terminal(int width = 32, int spacing = 1) {
    SlipTerminal terminal;
    terminal.merName = u"演示商户";
    terminal.merCode = "898310060110001";
    terminal.termCode = "10000001";
    terminal.operatorId = "01x";
    terminal.lineWidth = width;
    terminal.spacLine = spacing;
    terminal.merchantCopy = true;
    return terminal;
}

TransRecord Paid(const char* txnType = "PURC") {
    TransRecord record{};
    SetFieldValue(record.saTxnType, txnType);
    SetFieldValue(record.saChannelCode, "WXP");
    SetFieldValue(record.saAcctNum, "oUpF8uMuAJO_M2pxb1Q9zNjWeS6o");
    SetFieldValue(record.saChannelOrderNum, "4200000001");
    SetFieldValue(record.saOrderNum, "ORD1");
    SetFieldValue(record.saMisTransAmt, "12.34");
    return record;
}

std::vector<std::u16string> Lines(const std::u16string& slip) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t end = slip.find(u"\r\n"); end != std::u16string::npos;
         end = slip.find(u"\r\n", start)) {
        lines.push_back(slip.substr(start, end - start));
        start = end + 2;
    }
    if (start < slip.size()) lines.push_back(slip.substr(start));
    return lines;
}

std::vector<std::u16string> Copy(const TransRecord& record, const SlipTerminal& terminal,
                                 std::u16string_view title = kMerchantCopyTitle) {
    std::u16string slip;
    AppendSlipCopy(slip, title, SlipContentFromRecord(record, kNow), terminal);
    return Lines(slip);
}

TEST(Slip, APurchaseCopyAtThirtyTwoColumns) {
    std::vector<std::u16string> lines = Copy(Paid(), Terminal());
    std::vector<std::u16string> expected = {
        std::u16string(13, u' ') + u"签购单",
        std::u16string(32, u'-'),
        u"商户名称：演示商户",
        u"商户编号：898310060110001",
        u"终端编号：10000001",
        u"操作员ID：01",
        u"交易类型：微信 扫码付",
        u"日期时间：2026-12-07 10:11:12",
        u"交易账号：oUpF" + std::u16string(18, u'*'),
        u"**eS6o",
        u"渠道订单号：4200000001",
        u"商家订单号：ORD1",
        u"金额：RMB  12.34",
    };
    EXPECT_EQ(lines, expected);
}

TEST(Slip, TheCustomerTitleIsCentredAndTooWideATitleStartsAtTheEdge) {
    EXPECT_EQ(Copy(Paid(), Terminal(), kCustomerCopyTitle)[0],
              std::u16string(7, u' ') + u"签购单（顾客存根）");
    SlipTerminal narrow = Terminal(10);
    EXPECT_EQ(Copy(Paid(), narrow, kCustomerCopyTitle)[0], u"签购单（顾客存根）");
    EXPECT_EQ(Copy(Paid(), narrow)[1], std::u16string(10, u'-'));
}

TEST(Slip, LongLinesAreSplitOnceAtTheirOwnWidths) {
    SlipTerminal terminal = Terminal();
    terminal.merName = u"一二三四五六七八九十百千";
    std::vector<std::u16string> lines = Copy(Paid(), terminal);
    EXPECT_EQ(lines[2], u"商户名称：一二三四五六七八九十百");
    EXPECT_EQ(lines[3], u"千");

    TransRecord record = Paid();
    SetFieldValue(record.saChannelOrderNum, std::string(70, '7'));
    lines = Copy(record, Terminal());
    auto at = std::find(lines.begin(), lines.end(), u"渠道订单号：" + std::u16string(20, u'7'));
    ASSERT_NE(at, lines.end());
    // The field holds 64; the rest of the line is not wrapped again.
    EXPECT_EQ(*(at + 1), std::u16string(44, u'7'));
}

TEST(Slip, AccountsAreMaskedExceptForAlipayAndWhenShort) {
    // 28 characters keep their first and last four: 20 stars between.
    EXPECT_EQ(MaskAccount(u"oUpF8uMuAJO_M2pxb1Q9zNjWeS6o"),
              u"oUpF" + std::u16string(20, u'*') + u"eS6o");
    EXPECT_EQ(MaskAccount(u"12345678"), u"12345678");
    EXPECT_EQ(MaskAccount(u"123456789"), u"1234*6789");
    TransRecord record = Paid();
    SetFieldValue(record.saChannelCode, "ALP");
    SetFieldValue(record.saAcctNum, "zel***@example.com");
    std::vector<std::u16string> lines = Copy(record, Terminal());
    EXPECT_EQ(lines[6], u"交易类型：支付宝 扫码付");
    EXPECT_EQ(lines[8], u"交易账号：zel***@example.com");
}

TEST(Slip, RefundsShowAMinusAndQueriesShowTheQueriedTransaction) {
    TransRecord refund = Paid("REFD");
    std::vector<std::u16string> lines = Copy(refund, Terminal());
    EXPECT_EQ(lines[6], u"交易类型：微信 退款");
    EXPECT_EQ(lines.back(), u"金额：RMB  -12.34");

    TransRecord query = Paid("INQY");
    SetFieldValue(query.saOrigTxnType, "PURC");
    SetFieldValue(query.saOrigOrderNum, "QUERIED");
    lines = Copy(query, Terminal());
    EXPECT_EQ(lines[6], u"交易类型：微信 扫码付");
    EXPECT_EQ(lines[11], u"商家订单号：QUERIED");
    EXPECT_EQ(lines.back(), u"金额：RMB  12.34");

    TransRecord refundQuery = Paid("INQY");
    SetFieldValue(refundQuery.saOrigTxnType, "REFD");
    EXPECT_EQ(Copy(refundQuery, Terminal()).back(), u"金额：RMB  -12.34");
}

TEST(Slip, AmountAndCodesFallBackInTheirOrder) {
    TransRecord record = Paid("");
    SetFieldValue(record.saMisTransAmt, "");
    SetFieldValue(record.saOigTransAmtStr, "7.05");
    SetFieldValue(record.saChannelCode, "ABC");
    std::vector<std::u16string> lines = Copy(record, Terminal());
    EXPECT_EQ(lines[6], u"交易类型：ABC 扫码付");
    EXPECT_EQ(lines.back(), u"金额：RMB  7.05");
    SetFieldValue(record.saOigTransAmtStr, "");
    EXPECT_EQ(Copy(record, Terminal()).back(), u"金额：RMB  0.00");
    EXPECT_EQ(OperationWord("VOID"), u"撤销");
    EXPECT_EQ(OperationWord("PAUT"), u"收款码");
    EXPECT_EQ(OperationWord("CANC"), u"取消");
}

std::string SlipBytes(const TransRecord& record, const SlipTerminal& terminal) {
    test::ScopedWorkDir dir;
    EXPECT_TRUE(WriteSlipFile("SCprint.txt", SlipContentFromRecord(record, kNow), terminal));
    return test::ReadFile(dir.Path() / "SCprint.txt");
}

std::u16string Decode(const std::string& bytes) {
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return text;
}

TEST(SlipFile, IsUtf16WithByteOrderMarkAndHoldsTheSelectedCopies) {
    SlipTerminal terminal = Terminal(32, 3);
    std::string bytes = SlipBytes(Paid(), terminal);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::u16string text = Decode(bytes);
    // S = 3: the amount line ends and two empty lines follow.
    EXPECT_NE(text.find(u"金额：RMB  12.34\r\n\r\n\r\n"), std::u16string::npos);
    EXPECT_EQ(text.find(u"顾客存根"), std::u16string::npos);

    terminal.customerCopy = true;
    text = Decode(SlipBytes(Paid(), terminal));
    EXPECT_LT(text.find(u"签购单\r\n"), text.find(u"签购单（顾客存根）"));

    terminal.merchantCopy = terminal.customerCopy = false;
    EXPECT_EQ(SlipBytes(Paid(), terminal), "\xFF\xFE");
}

TEST(SlipFile, TheDriversSlipUsesTheLoadedTerminalAndLogsAFileItCannotCreate) {
    test::LibraryEnv env;
    MisCilSetOperatorId("02");
    WriteTransactionSlip(Paid());
    std::u16string text = Decode(test::ReadFile(env.Dir() / "SCprint.txt"));
    EXPECT_NE(text.find(u"操作员ID：02\r\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"商户名称：演示商户\r\n"), std::u16string::npos);

    std::filesystem::remove(env.Dir() / "SCprint.txt");
    std::filesystem::create_directory(env.Dir() / "SCprint.txt");
    WriteTransactionSlip(Paid());
    EXPECT_NE(env.Log().find("[1175]"), std::string::npos);
    EXPECT_NE(env.Log().find("err: 1, info:open file failed."), std::string::npos);
}

}  // namespace
}  // namespace zelvo
