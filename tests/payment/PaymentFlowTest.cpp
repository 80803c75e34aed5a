#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "payment/OrderNumber.h"
#include "payment/PaymentInput.h"
#include "tests/payment/PaymentFlowTestSupport.h"

namespace zelvo::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr char16_t kCode[] = u"134567890123456789";
const std::string kPaidMessage = "message:success:支付成功！";
const std::string kBusyMessage = "message:notice:正在处理，请稍候！";

ScriptedAnswer Paid(const std::string& channel = "WXP") {
    ScriptedAnswer answer = Answer("00", channel);
    answer.account = "6222021234567890123";
    answer.channelOrderNum = "4200000123";
    return answer;
}

ScriptedAnswer Unverified() {
    ScriptedAnswer answer = Paid();
    answer.errDetail = "&RSP_AUTH_NO_ERROR";
    return answer;
}

std::string Notice(const std::string& text) {
    return "notice:0:" + text + ":我知道了";
}

TEST_F(PaymentFlowTest, InvalidBoxesAreRefusedWithoutAnExchange) {
    Pay(u"12.345", kCode);
    EXPECT_EQ(m_view.events.back(), "message:error:金额小数位不能超过两位小数！");
    EXPECT_EQ(m_view.amountBox, u"");
    EXPECT_EQ(m_view.focus, "amount");

    Pay(u"12.30", u"123456789");
    EXPECT_EQ(m_view.events.back(), "message:error:二维码长度不正确！");
    EXPECT_EQ(m_view.codeBox, u"");
    EXPECT_EQ(m_view.amountBox, u"12.30");
    EXPECT_EQ(m_view.focus, "code");
    EXPECT_THAT(m_exchange.gateway.Requests(), IsEmpty());
}

TEST_F(PaymentFlowTest, OfflineKeepsTheAmountAndDropsTheCode) {
    m_view.network = false;
    Pay(u"12.30", kCode);
    EXPECT_EQ(m_view.events.back(), Notice("网络异常，请确认当前网络状态"));
    EXPECT_EQ(m_view.codeBox, u"");
    EXPECT_EQ(m_view.amountBox, u"12.30");
    EXPECT_EQ(m_view.focus, "code");
    EXPECT_FALSE(m_exchange.runner.IsRunning());
}

TEST_F(PaymentFlowTest, PaidPurchaseIsLoggedRecordedAndPrinted) {
    Script({Paid()});
    Pay(u" 12.30 ", kCode);
    EXPECT_EQ(m_flow->State(), PaymentState::Purchasing);
    EXPECT_EQ(m_view.keypadCloses, 1);
    Settle();

    std::string request = m_exchange.gateway.LastRequest();
    EXPECT_EQ(RequestField(request, MisRequestField::MisTransAmt), "12.30");
    EXPECT_EQ(RequestField(request, MisRequestField::ScanCode), Utf16ToUtf8(kCode));
    EXPECT_EQ(m_flow->State(), PaymentState::Idle);
    EXPECT_THAT(m_view.events, Contains(kPaidMessage));
    EXPECT_EQ(m_view.amountBox, u"");
    EXPECT_EQ(m_view.codeBox, u"");
    EXPECT_EQ(m_view.amountDisplay, u"");
    EXPECT_EQ(m_view.focus, "amount");
    EXPECT_EQ(m_prints, 1);

    ASSERT_EQ(m_view.log.size(), 1u);
    EXPECT_EQ(m_view.log[0].kind, PaymentLogKind::Success);
    std::u16string text = m_view.log[0].text;
    EXPECT_EQ(text.substr(8), u"，订单号：" + Utf8ToUtf16(LastPurchaseOrderNumber()) +
                                  u"，金额：12.30，微信；交易成功！");

    EXPECT_EQ(Text("select TRANS_CODE || '|' || PROCESS_FLAG || '|' || ORDER_NUM || '|' || "
                   "OPER_ID || '|' || ACCEPT_INS_CODE || '|' || ACCT_ID || '|' || "
                   "printf('%.2f', TRANS_AMT) from TBL_TRANS_LOG"),
              "PURC|0|" + LastPurchaseOrderNumber() + "|01|WXP|6222***********0123|12.30");
}

TEST_F(PaymentFlowTest, SlipsKeptForTheSettlementAreNotPrinted) {
    m_config.PrintCustPage = "2";
    Script({Paid()});
    Pay(u"1", kCode);
    Settle();
    EXPECT_EQ(LoggedRows(), 1);
    EXPECT_EQ(m_prints, 0);
}

TEST_F(PaymentFlowTest, FailedInsertIsReportedAndThePaymentStillCompletes) {
    ASSERT_TRUE(m_db.Execute("drop table TBL_TRANS_LOG"));
    Script({Paid()});
    Pay(u"1", kCode);
    Settle();
    EXPECT_THAT(m_view.events, Contains(Notice("添加交易记录失败了，请联系客户经理，谢谢")));
    EXPECT_THAT(m_view.events, Contains(kPaidMessage));
    EXPECT_EQ(m_prints, 1);
}

TEST_F(PaymentFlowTest, CustomerStillPayingOpensTheWaitingPromptAndAManualQueryCompletes) {
    Script({Answer("09")});
    Pay(u"12.30", kCode);
    Settle();
    const std::string purchase = LastPurchaseOrderNumber();
    EXPECT_EQ(m_flow->State(), PaymentState::WaitingForCustomer);
    EXPECT_EQ(m_view.events.back(),
              "prompt:open:2:请在用户完成付款后，查询结果！:查询结果:取消支付");
    EXPECT_EQ(m_flow->PendingPayment().amountText, "12.30");
    EXPECT_THAT(m_view.log, IsEmpty());

    Script({Paid()});
    m_flow->QueryNow();
    EXPECT_EQ(m_flow->State(), PaymentState::ManualQuery);
    Settle();
    std::string query = m_exchange.gateway.LastRequest();
    EXPECT_EQ(RequestField(query, MisRequestField::TxnType), "INQY");
    EXPECT_EQ(RequestField(query, MisRequestField::OrigTxnType), "PURC");
    EXPECT_EQ(RequestField(query, MisRequestField::OrigOrderNum), purchase);
    EXPECT_EQ(RequestField(query, MisRequestField::MisTransAmt), "12.30");

    EXPECT_FALSE(m_view.promptOpen);
    EXPECT_EQ(m_flow->State(), PaymentState::Idle);
    EXPECT_EQ(m_prints, 1);
    EXPECT_EQ(m_view.log.back().kind, PaymentLogKind::Success);
    // The purchase is recorded, not the query that confirmed it.
    EXPECT_EQ(Text("select TRANS_CODE || '|' || RESP_CODE || '|' || ORDER_NUM from TBL_TRANS_LOG"),
              "PURC|00|" + purchase);
}

TEST_F(PaymentFlowTest, UnansweredManualQueryLeavesThePromptOpen) {
    Script({Answer("09"), Answer("09"), Failure(1)});
    Pay(u"5", kCode);
    Settle();
    m_flow->QueryNow();
    Settle();
    EXPECT_EQ(m_flow->State(), PaymentState::WaitingForCustomer);
    EXPECT_TRUE(m_view.promptOpen);
    ASSERT_EQ(m_view.log.size(), 1u);
    EXPECT_EQ(m_view.log.back().kind, PaymentLogKind::InProgress);

    m_flow->QueryNow();
    Settle();
    EXPECT_EQ(m_flow->State(), PaymentState::WaitingForCustomer);
    EXPECT_EQ(m_view.log.size(), 1u);
    EXPECT_EQ(LoggedRows(), 0);
}

TEST_F(PaymentFlowTest, CancelFromThePromptClosesTheOrderOnH3) {
    // The cancel's answer carries no amount of its own: the line shows the purchase's.
    ScriptedAnswer closed = Answer("H3");
    closed.amount = 0.0;
    Script({Answer("09"), closed});
    Pay(u"7.50", kCode);
    Settle();
    const std::string purchase = LastPurchaseOrderNumber();
    m_flow->CancelWaiting();
    EXPECT_EQ(m_flow->State(), PaymentState::Cancelling);
    EXPECT_EQ(m_view.amountBox, u"");
    Settle();
    std::string cancel = m_exchange.gateway.LastRequest();
    EXPECT_EQ(RequestField(cancel, MisRequestField::TxnType), "CANC");
    EXPECT_EQ(RequestField(cancel, MisRequestField::OrigOrderNum), purchase);
    EXPECT_EQ(RequestField(cancel, MisRequestField::MisTransAmt), "7.50");
    EXPECT_EQ(m_flow->State(), PaymentState::Idle);
    EXPECT_EQ(m_view.log.back().kind, PaymentLogKind::Success);
    EXPECT_EQ(m_view.log.back().text.substr(8),
              u"，订单号：" + Utf8ToUtf16(purchase) + u"，金额：7.50，微信；取消支付，关闭订单！");
    EXPECT_EQ(LoggedRows(), 0);
}

TEST_F(PaymentFlowTest, CancelIsResentUntilTheFourthAnswer) {
    Script({Answer("09"), Answer("51"), Answer("51"), Answer("51"), Answer("00")});
    Pay(u"7.50", kCode);
    Settle();
    m_flow->CancelWaiting();
    Settle();
    EXPECT_THAT(TxnTypesSent(), ElementsAre("PURC", "CANC", "CANC", "CANC", "CANC"));
    EXPECT_EQ(LastEvent(m_view.events, "notice"),
              Notice("取消失败，如顾客反馈已付款，请联系客户经理处理"));
    EXPECT_EQ(m_flow->State(), PaymentState::Idle);
}

TEST_F(PaymentFlowTest, NoAnswerThenThreeInProgressEndsAtTheFourthQuery) {
    Script({Answer("98"), Answer("09"), Answer("09"), Answer("09"), Paid()});
    Pay(u"12.30", kCode);
    Settle();
    EXPECT_THAT(TxnTypesSent(), ElementsAre("PURC", "INQY", "INQY", "INQY", "INQY"));
    // The fourth answer is not looked at, even when it says paid.
    EXPECT_EQ(LastEvent(m_view.events, "notice"), Notice("支付失败，请联系客户经理确认交易状态"));
    EXPECT_THAT(m_view.events, Not(Contains(kPaidMessage)));
    EXPECT_EQ(LoggedRows(), 0);
    EXPECT_EQ(m_flow->State(), PaymentState::Idle);
    EXPECT_EQ(m_view.focus, "amount");
}

TEST_F(PaymentFlowTest, AutomaticQueryThatFindsThePaymentRecordsIt) {
    Script({Answer("98"), Answer("09"), Paid()});
    Pay(u"3", kCode);
    Settle();
    EXPECT_EQ(LoggedRows(), 1);
    EXPECT_EQ(Text("select TRANS_CODE || RESP_CODE from TBL_TRANS_LOG"), "PURC00");
    EXPECT_EQ(m_prints, 1);
}

TEST_F(PaymentFlowTest, RefusedAutomaticQueryEndsThePayment) {
    Script({Answer("98"), Answer("51")});
    Pay(u"3", kCode);
    Settle();
    EXPECT_EQ(LastEvent(m_view.events, "notice"), Notice("支付失败了"));
    EXPECT_EQ(m_view.log.back().kind, PaymentLogKind::Failure);
    EXPECT_EQ(LoggedRows(), 0);
}

TEST_F(PaymentFlowTest, RefusedPurchaseShowsTheGatewaysReason) {
    ScriptedAnswer refused = Answer("51");
    refused.errDetail = Utf8ToGbk("余额不足");
    Script({refused});
    Pay(u"3", kCode);
    Settle();
    EXPECT_EQ(LastEvent(m_view.events, "notice"), Notice("交易失败了"));
    EXPECT_NE(m_view.log.back().text.find(u"；交易失败，返回码：51；错误详情：余额不足"),
              std::u16string::npos);
    EXPECT_EQ(LoggedRows(), 0);
}

TEST_F(PaymentFlowTest, UnansweredPurchaseIsQueriedByItsOwnOrderAndAmount) {
    ScriptedAnswer found = Paid("ALP");
    found.account = "buyer@example.com";
    Script({Failure(1), found});
    Pay(u"12.30", kCode);
    Settle();
    const std::string purchase = LastPurchaseOrderNumber();
    std::vector<std::string> requests = m_exchange.gateway.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(RequestField(requests[1], MisRequestField::OrigOrderNum), purchase);
    EXPECT_EQ(RequestField(requests[1], MisRequestField::MisTransAmt), "12.30");
    EXPECT_EQ(Text("select TRANS_CODE || '|' || ORDER_NUM || '|' || ACCEPT_INS_CODE || '|' || "
                   "ACCT_ID || '|' || printf('%.2f', TRANS_AMT) from TBL_TRANS_LOG"),
              "PURC|" + purchase + "|ALP|buyer@example.com|12.30");
}

TEST_F(PaymentFlowTest, FourthFailedExchangeGivesUp) {
    Script({Failure(9), Failure(1), Failure(1), Failure(1)});
    Pay(u"2.5", kCode);
    Settle();
    EXPECT_THAT(TxnTypesSent(), ElementsAre("PURC", "INQY", "INQY", "INQY"));
    EXPECT_EQ(LastEvent(m_view.events, "notice"), Notice("处理失败，请联系客户经理确认交易状态"));
    EXPECT_EQ(m_view.log.back().text.substr(8),
              u"，订单号：" + Utf8ToUtf16(LastPurchaseOrderNumber()) + u"，金额：2.5，交易失败；");
}

TEST_F(PaymentFlowTest, ConnectionRefusedOffersRetryOrCash) {
    Script({Failure(14)});
    Pay(u"2.5", kCode);
    Settle();
    EXPECT_EQ(LastEvent(m_view.events, "confirm"), "confirm:0:支付失败了:再试一次:现金支付");
    EXPECT_EQ(m_exchange.gateway.Requests().size(), 1u);
    EXPECT_EQ(m_flow->State(), PaymentState::Idle);
}

TEST_F(PaymentFlowTest, CancelThatCannotConnectIsReported) {
    Script({Answer("09"), Failure(14)});
    Pay(u"2.5", kCode);
    Settle();
    m_flow->CancelWaiting();
    Settle();
    EXPECT_EQ(LastEvent(m_view.events, "notice"), Notice("取消失败了"));
}

TEST_F(PaymentFlowTest, UnverifiedSuccessIsFollowedUpNotPaid) {
    Script({Unverified(), Unverified(), Paid()});
    Pay(u"9.99", kCode);
    Settle();
    EXPECT_THAT(TxnTypesSent(), ElementsAre("PURC", "INQY", "INQY"));
    EXPECT_EQ(LoggedRows(), 1);
    EXPECT_EQ(m_prints, 1);
}

TEST_F(PaymentFlowTest, SuccessWithAnOverlongDetailIsFollowedUpNotPaid) {
    // So long that the library had no room left for its mark of a failed signature.
    ScriptedAnswer forged = Paid();
    forged.errDetail = std::string(600, 'e');
    Script({forged, Paid()});
    Pay(u"9.99", kCode);
    Settle();
    EXPECT_THAT(TxnTypesSent(), ElementsAre("PURC", "INQY"));
    EXPECT_EQ(LoggedRows(), 1);
    EXPECT_EQ(m_prints, 1);
}

TEST_F(PaymentFlowTest, UnverifiedSuccessOnAManualQueryKeepsWaiting) {
    Script({Answer("09"), Unverified()});
    Pay(u"9.99", kCode);
    Settle();
    m_flow->QueryNow();
    Settle();
    EXPECT_TRUE(m_view.promptOpen);
    EXPECT_EQ(m_flow->State(), PaymentState::WaitingForCustomer);
    EXPECT_EQ(LoggedRows(), 0);
}

TEST_F(PaymentFlowTest, SecondConfirmWhileAnExchangeRunsIsRefused) {
    Script({Paid()});
    Pay(u"1", kCode);
    Pay(u"2", u"12345678901234");
    EXPECT_EQ(m_view.events.back(), kBusyMessage);
    Settle();
    EXPECT_EQ(m_exchange.gateway.Requests().size(), 1u);
    EXPECT_EQ(Text("select printf('%.2f', TRANS_AMT) from TBL_TRANS_LOG"), "1.00");
}

TEST_F(PaymentFlowTest, AnswerForAFlowThatIsGoneIsDropped) {
    Script({Paid()});
    Pay(u"1", kCode);
    m_flow.reset();
    Settle();
    EXPECT_FALSE(m_exchange.runner.IsRunning());
    EXPECT_EQ(LoggedRows(), 0);
}

TEST_F(PaymentFlowTest, CancelDuringAManualQueryWaitsForItsAnswer) {
    Script({Answer("09"), Answer("09"), Answer("00")});
    Pay(u"4", kCode);
    Settle();
    m_flow->QueryNow();
    m_flow->QueryNow();
    EXPECT_EQ(m_view.events.back(), kBusyMessage);
    m_flow->CancelWaiting();
    EXPECT_EQ(m_flow->State(), PaymentState::ManualQuery);
    Settle();
    EXPECT_THAT(TxnTypesSent(), ElementsAre("PURC", "INQY", "CANC"));
    EXPECT_EQ(m_flow->State(), PaymentState::Idle);
    EXPECT_EQ(LoggedRows(), 0);
}

TEST_F(PaymentFlowTest, CancelDuringAManualQueryThatFindsThePaymentIsDropped) {
    Script({Answer("09"), Paid()});
    Pay(u"4", kCode);
    Settle();
    m_flow->QueryNow();
    m_flow->CancelWaiting();
    Settle();
    EXPECT_THAT(TxnTypesSent(), ElementsAre("PURC", "INQY"));
    EXPECT_EQ(LoggedRows(), 1);
}

TEST_F(PaymentFlowTest, LogShowsTheLastThreeOutcomes) {
    for (int i = 0; i < 4; ++i) {
        Script({Answer("51")});
        Pay(u"1", kCode);
        Settle();
    }
    EXPECT_EQ(m_view.log.size(), 3u);
    EXPECT_EQ(m_flow->Log().Lines().size(), 3u);
}

TEST_F(PaymentFlowTest, KeypadFollowsTheAmountRuleAndConfirmActsLikeEnter) {
    m_view.amountBox = u"123456789";
    m_flow->KeypadKey(5, true);
    EXPECT_EQ(m_view.amountBox, u"123456789");
    m_view.amountBox = u"8.2";
    m_flow->KeypadKey(5, true);
    m_flow->KeypadKey(5, true);
    EXPECT_EQ(m_view.amountBox, u"8.25");
    EXPECT_EQ(m_view.amountDisplay, u"8.25");

    m_flow->KeypadKey(KeypadKey::Confirm, true);
    EXPECT_EQ(m_view.keypadCloses, 1);
    EXPECT_EQ(m_view.focus, "code");

    m_view.amountBox = u"12a";
    m_flow->KeypadKey(KeypadKey::Confirm, true);
    EXPECT_EQ(m_view.amountBox, u"");
    EXPECT_EQ(m_view.events.back(), "message:error:金额不能包含非数字字符！");
}

TEST_F(PaymentFlowTest, ReadAmountGoesToTheCodeBox) {
    m_flow->SetAmount(u"66.80");
    EXPECT_EQ(m_view.amountBox, u"66.80");
    EXPECT_EQ(m_view.amountDisplay, u"66.80");
    EXPECT_EQ(m_view.focus, "code");
    m_view.amountBox.clear();
    m_flow->Activate();
    EXPECT_EQ(m_view.focus, "amount");
}

}  // namespace
}  // namespace zelvo::test
