#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "payment/PaymentInput.h"
#include "payment/PaymentLog.h"
#include "payment/TransactionLog.h"
#include "payment/TransactionResult.h"
#include "store/CLocalDb.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

class TransactionLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
    }
    std::string Text(const std::string& sql) {
        return test::QueryText(m_dir.Path() / "MISData.db", sql);
    }

    test::ScopedWorkDir m_dir;
    CLocalDb m_db;
    test::FixedClock m_clock{{2026, 3, 15, 10, 20, 30, 500}};
};

TransactionResult Paid(const std::string& code = "00") {
    TransactionResult result;
    result.txnType = "PURC";
    result.respCode = code;
    result.orderNum = "20260315102030500123456";
    result.channelCode = "WXP";
    result.acctNum = "6222***********0123";
    result.channelOrderNum = "4200000123";
    result.transAmt = 12.3;
    return result;
}

TEST_F(TransactionLogTest, PaymentRowHoldsTheAnswer) {
    ASSERT_TRUE(AppendTransactionLog(m_db, Paid(), kTransLogTable, "01", m_clock));
    EXPECT_EQ(Text("select REC_CREATE_TIME || '|' || TRANS_CODE || '|' || PROCESS_FLAG || '|' || "
                   "REV_FLAG || '|' || ORDER_NUM || '|' || OPER_ID || '|' || ACCEPT_INS_CODE || "
                   "'|' || RESP_CODE || '|' || SYS_DATE || '|' || ACCT_ID || '|' || SA_SAV1 || "
                   "'|' || SETTLE_TYPE || '|' || ORIG_ORDER_NUM from TBL_TRANS_LOG"),
              "2026-03-15 10:20:30|PURC|0|0|20260315102030500123456|01|WXP|00|20260315|"
              "6222***********0123|4200000123|0|");
    // Stored as the number 12.30, not as text.
    EXPECT_EQ(Text("select typeof(TRANS_AMT) || ' ' || printf('%.2f', TRANS_AMT) from "
                   "TBL_TRANS_LOG"),
              "real 12.30");
}

TEST_F(TransactionLogTest, AmountIsRoundedToTheFen) {
    TransactionResult result = Paid();
    result.transAmt = 0.1 + 0.2;
    ASSERT_TRUE(AppendTransactionLog(m_db, result, kTransLogTable, "01", m_clock));
    EXPECT_EQ(Text("select TRANS_AMT = 0.3 from TBL_TRANS_LOG"), "1");
}

TEST_F(TransactionLogTest, ProcessFlagFollowsTheResponseCode) {
    AppendTransactionLog(m_db, Paid("09"), kTransLogTable, "01", m_clock);
    AppendTransactionLog(m_db, Paid("98"), kTransLogTable, "01", m_clock);
    AppendTransactionLog(m_db, Paid("51"), kTransLogTable, "01", m_clock);
    TransactionResult refused = Paid("51");
    refused.txnType = "REFD";
    AppendRefundLog(m_db, refused, kTransLogTable, "01", m_clock);
    EXPECT_EQ(Text("select group_concat(RESP_CODE || '=' || PROCESS_FLAG, ',') from "
                   "TBL_TRANS_LOG"),
              "09=5,98=5,51=1,51=");
}

TEST_F(TransactionLogTest, RefundRowIsNegativeWithItsOwnFlag) {
    TransactionResult refund;
    refund.txnType = "REFD";
    refund.respCode = "00";
    refund.orderNum = "20260315103000000111111";
    refund.origOrderNum = "20260315102030500123456";
    refund.channelCode = "SCT";
    refund.transAmt = 5.0;
    ASSERT_TRUE(AppendRefundLog(m_db, refund, kTransLogTable, "00", m_clock));
    EXPECT_EQ(Text("select TRANS_CODE || '|' || REV_FLAG || '|' || PROCESS_FLAG || '|' || "
                   "ORIG_ORDER_NUM || '|[' || ACCEPT_INS_CODE || ']|' || printf('%.2f', "
                   "TRANS_AMT) from TBL_TRANS_LOG"),
              "REFD|3|0|20260315102030500123456|[   ]|-5.00");
}

TEST_F(TransactionLogTest, QuotesInAnswersAreStoredAsTheyCame) {
    TransactionResult result = Paid();
    result.acctNum = "o'brien'); drop table User; --";
    result.channelOrderNum = "4200'0123";
    ASSERT_TRUE(AppendTransactionLog(m_db, result, kTransLogTable, "01", m_clock));
    EXPECT_EQ(Text("select ACCT_ID from TBL_TRANS_LOG"), "o'brien'); drop table User; --");
    EXPECT_EQ(Text("select SA_SAV1 from TBL_TRANS_LOG"), "4200'0123");
    EXPECT_EQ(Text("select count(*) from User"), "3");
}

// Steps past midnight after its first reading: a row that reads the clock twice shows it.
class MidnightClock final : public Clock {
public:
    LocalTime Now() const override {
        return m_readings++ == 0 ? LocalTime{2026, 12, 31, 23, 59, 59, 999}
                                 : LocalTime{2027, 1, 1, 0, 0, 0, 0};
    }

private:
    mutable int m_readings = 0;
};

TEST_F(TransactionLogTest, BothTimesDescribeTheSameMomentAtMidnight) {
    MidnightClock clock;
    ASSERT_TRUE(AppendTransactionLog(m_db, Paid(), kTransLogTable, "01", clock));
    EXPECT_EQ(Text("select REC_CREATE_TIME || ' ' || SYS_DATE from TBL_TRANS_LOG"),
              "2026-12-31 23:59:59 20261231");
}

TEST_F(TransactionLogTest, FailuresAreReported) {
    EXPECT_FALSE(
        AppendTransactionLog(m_db, Paid(), "TBL_TRANS_LOG; drop table User", "01", m_clock));
    EXPECT_FALSE(AppendTransactionLog(m_db, Paid(), "NO_SUCH_TABLE", "01", m_clock));
    EXPECT_EQ(Text("select count(*) from User"), "3");
}

TEST(ValidateAmountTest, ListOfAmounts) {
    struct Case {
        std::u16string text;
        std::u16string error;
        std::u16string trimmed;
    };
    const Case cases[] = {
        {u"  12.30  ", u"", u"12.30"},
        {u"12.345", u"金额小数位不能超过两位小数！", u"12.345"},
        {u"12a", u"金额不能包含非数字字符！", u"12a"},
        {u"-1", u"金额不能包含非数字字符！", u"-1"},
        {u".5", u"", u".5"},
        {u"0", u"", u"0"},
        {u"1..5", u"", u"1..5"},
        {u"   ", u"金额不能为空！", u""},
        {u"", u"金额不能为空！", u""},
    };
    for (const Case& c : cases) {
        std::u16string text = c.text;
        EXPECT_EQ(ValidateAmount(text), c.error) << Utf16ToUtf8(c.text);
        EXPECT_EQ(text, c.trimmed) << Utf16ToUtf8(c.text);
    }
}

TEST(ValidatePaymentCodeTest, LengthAndDigits) {
    std::u16string nine = u"123456789", ten = u"1234567890";
    std::u16string twenty = u"12345678901234567890", twentyOne = u"123456789012345678901";
    std::u16string letter = u"1234567890a", spaced = u" 1234567890 ";
    EXPECT_EQ(ValidatePaymentCode(nine), u"二维码长度不正确！");
    EXPECT_EQ(ValidatePaymentCode(twentyOne), u"二维码长度不正确！");
    EXPECT_EQ(ValidatePaymentCode(ten), u"");
    EXPECT_EQ(ValidatePaymentCode(twenty), u"");
    EXPECT_EQ(ValidatePaymentCode(letter), u"二维码不能为非数字字符！");
    EXPECT_EQ(ValidatePaymentCode(spaced), u"");
    EXPECT_EQ(spaced, u"1234567890");
}

TEST(KeypadTest, AmountBoxStopsAtNineCharactersAndTwoDecimals) {
    std::u16string text = u"123456789";
    EXPECT_FALSE(ApplyAmountKeypadKey(text, 1));
    EXPECT_EQ(text, u"123456789");
    EXPECT_TRUE(ApplyAmountKeypadKey(text, KeypadKey::Backspace));
    EXPECT_EQ(text, u"12345678");

    text = u"3.45";
    EXPECT_FALSE(ApplyAmountKeypadKey(text, 6));
    EXPECT_FALSE(ApplyAmountKeypadKey(text, KeypadKey::Dot));
    EXPECT_EQ(text, u"3.45");
    text = u"3.4";
    EXPECT_TRUE(ApplyAmountKeypadKey(text, 6));
    EXPECT_EQ(text, u"3.46");
    EXPECT_TRUE(ApplyAmountKeypadKey(text, KeypadKey::Reset));
    EXPECT_EQ(text, u"");
}

TEST(KeypadTest, OtherBoxesTakeEveryKey) {
    std::u16string text = u"12345678901234567890";
    EXPECT_TRUE(ApplyKeypadKey(text, 7));
    EXPECT_TRUE(ApplyKeypadKey(text, KeypadKey::Dot));
    EXPECT_EQ(text, u"123456789012345678907.");
    EXPECT_FALSE(ApplyKeypadKey(text, KeypadKey::Confirm));
    std::u16string empty;
    EXPECT_TRUE(ApplyKeypadKey(empty, KeypadKey::Backspace));
    EXPECT_EQ(empty, u"");
}

TEST(PaymentLogTest, LinesReadAsTheOperatorSeesThem) {
    LocalTime now{2026, 3, 15, 9, 5, 7, 0};
    TransactionResult paid = Paid();
    PaymentLogLine line = ComposeLogLine(paid, now);
    EXPECT_EQ(line.kind, PaymentLogKind::Success);
    EXPECT_EQ(line.text,
              u"09:05:07，订单号：20260315102030500123456，金额：12.30，微信；交易成功！");

    TransactionResult refused = Paid("51");
    refused.channelCode = "ABC";
    refused.errDetail = Utf8ToGbk("余额不足");
    line = ComposeLogLine(refused, now);
    EXPECT_EQ(line.kind, PaymentLogKind::Failure);
    EXPECT_EQ(line.text,
              u"09:05:07，订单号：20260315102030500123456，金额：12.30，ABC；"
              u"交易失败，返回码：51；错误详情：余额不足");

    TransactionResult waiting = Paid("09");
    waiting.errDetail = "ignored";
    line = ComposeLogLine(waiting, now);
    EXPECT_EQ(line.kind, PaymentLogKind::InProgress);
    EXPECT_EQ(line.text.substr(8),
              u"，订单号：20260315102030500123456，金额：12.30，微信；交易处理中...");
}

TEST(PaymentLogTest, CancelLinesNameTheCancelledOrder) {
    LocalTime now{2026, 3, 15, 9, 5, 7, 0};
    TransactionResult cancel = Paid();
    cancel.txnType = "CANC";
    cancel.orderNum = "20260315100000000999999";
    cancel.origOrderNum = "20260315102030500123456";
    PaymentLogLine line = ComposeLogLine(cancel, now);
    EXPECT_EQ(line.kind, PaymentLogKind::Success);
    EXPECT_EQ(line.text,
              u"09:05:07，订单号：20260315102030500123456，金额：12.30，微信；"
              u"取消支付，关闭订单！");
    cancel.respCode = "09";
    line = ComposeLogLine(cancel, now);
    EXPECT_EQ(line.kind, PaymentLogKind::Failure);
    EXPECT_NE(line.text.find(u"；取消失败，返回码：09"), std::u16string::npos);
}

TEST(PaymentLogTest, KeepsTheNewestThreeLines) {
    PaymentLog log;
    for (char16_t c = u'1'; c <= u'4'; ++c)
        log.Add({PaymentLogKind::Success, std::u16string(1, c)});
    ASSERT_EQ(log.Lines().size(), 3u);
    EXPECT_EQ(log.Lines().front().text, u"2");
    EXPECT_EQ(log.Lines().back().text, u"4");
}

TEST(PaymentLogTest, FailureLineUsesThePurchaseOrder) {
    PaymentLogLine line =
        ComposeFailureLine("20260315102030500123456", u"12.30", {2026, 3, 15, 9, 5, 7, 0});
    EXPECT_EQ(line.kind, PaymentLogKind::Failure);
    EXPECT_EQ(line.text, u"09:05:07，订单号：20260315102030500123456，金额：12.30，交易失败；");
}

}  // namespace
}  // namespace zelvo
