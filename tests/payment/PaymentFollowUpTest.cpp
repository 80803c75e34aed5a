#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "base/CodePage.h"
#include "payment/OrderNumber.h"
#include "tests/payment/PaymentFlowTestSupport.h"

namespace zelvo::test {
namespace {

using ::testing::ElementsAre;

constexpr char16_t kCode[] = u"134567890123456789";

ScriptedAnswer Paid(std::optional<double> amount = std::nullopt) {
    ScriptedAnswer answer = Answer("00");
    answer.amount = amount;
    return answer;
}

std::string Notice(const std::string& text) {
    return "notice:0:" + text + ":我知道了";
}

class PaymentFollowUpTest : public PaymentFlowTest {
protected:
    std::string RowAmount() { return Text("select printf('%.2f', TRANS_AMT) from TBL_TRANS_LOG"); }
    std::string AmountSent(size_t request) {
        return RequestField(m_exchange.gateway.Requests().at(request),
                            MisRequestField::MisTransAmt);
    }
    // The operator types into the amount box and presses Enter while the purchase is open.
    void EditAmountBox(const std::u16string& text) {
        m_view.amountBox = text;
        m_flow->EnterInAmountBox();
    }
};

TEST_F(PaymentFollowUpTest, AmountEditedWhileAnUnansweredPurchaseRunsChangesNothingOfIt) {
    Script({Failure(1), Paid()});
    Pay(u"21.50", kCode);
    EditAmountBox(u"99.99");
    Settle();
    EXPECT_EQ(AmountSent(1), "21.50");
    EXPECT_EQ(RowAmount(), "21.50");
    EXPECT_NE(m_view.log.back().text.find(u"，金额：21.50，"), std::u16string::npos);
}

TEST_F(PaymentFollowUpTest, AmountEditedWhileTheCustomerPaysChangesNeitherQueryNorCancel) {
    Script({Answer("09"), Answer("09"), Answer("00")});
    Pay(u"21.50", kCode);
    EditAmountBox(u"99.99");
    Settle();
    m_flow->QueryNow();
    Settle();
    EditAmountBox(u"88.88");
    m_flow->CancelWaiting();
    Settle();
    EXPECT_THAT(TxnTypesSent(), ElementsAre("PURC", "INQY", "CANC"));
    EXPECT_EQ(AmountSent(1), "21.50");
    EXPECT_EQ(AmountSent(2), "21.50");
    EXPECT_NE(m_view.log.back().text.find(u"，金额：21.50，"), std::u16string::npos);
}

TEST_F(PaymentFollowUpTest, FailureLineKeepsTheAmountThatWasSent) {
    Script({Failure(9), Failure(1), Failure(1), Failure(1)});
    Pay(u"21.50", kCode);
    EditAmountBox(u"99.99");
    Settle();
    EXPECT_EQ(
        m_view.log.back().text.substr(8),
        u"，订单号：" + Utf8ToUtf16(LastPurchaseOrderNumber()) + u"，金额：21.50，交易失败；");
}

TEST_F(PaymentFollowUpTest, AnswerCarryingAnotherAmountIsRecordedWithTheSentOne) {
    Script({Paid(5.00)});
    Pay(u"21.50", kCode);
    Settle();
    EXPECT_EQ(RowAmount(), "21.50");

    Script({Answer("98", "WXP"), Paid(5.00)});
    Pay(u"12.00", kCode);
    Settle();
    EXPECT_EQ(AmountSent(2), "12.00");
    EXPECT_EQ(Text("select printf('%.2f', TRANS_AMT) from TBL_TRANS_LOG order by rowid desc "
                   "limit 1"),
              "12.00");
}

TEST_F(PaymentFollowUpTest, UnverifiedCancelIsResentNotTakenForClosed) {
    ScriptedAnswer unverified = Answer("00");
    unverified.errDetail = "&RSP_AUTH_NO_ERROR";
    Script({Answer("09"), unverified, Answer("00")});
    Pay(u"7.50", kCode);
    Settle();
    m_flow->CancelWaiting();
    ASSERT_TRUE(m_exchange.poster.DeliverOne());
    EXPECT_EQ(m_flow->State(), PaymentState::Cancelling);
    EXPECT_EQ(m_view.log.size(), 0u);
    Settle();
    EXPECT_THAT(TxnTypesSent(), ElementsAre("PURC", "CANC", "CANC"));
    EXPECT_EQ(m_flow->State(), PaymentState::Idle);
    EXPECT_NE(m_view.log.back().text.find(u"；取消支付，关闭订单！"), std::u16string::npos);
}

TEST_F(PaymentFollowUpTest, UnreadableAnswerToAPurchaseIsQueriedByItsOwnOrderAndAmount) {
    // Garbage, an overlong frame, a missing field: the request left, the order may be paid.
    for (int error : {10, 10007, 10052, 5}) {
        SCOPED_TRACE(error);
        const size_t sent = m_exchange.gateway.Requests().size();
        const int rows = LoggedRows();
        Script({Failure(error), Paid()});
        Pay(u"21.50", kCode);
        Settle();
        const std::string purchase = LastPurchaseOrderNumber();
        ASSERT_EQ(m_exchange.gateway.Requests().size(), sent + 2);
        const std::string query = m_exchange.gateway.LastRequest();
        EXPECT_EQ(RequestField(query, MisRequestField::TxnType), "INQY");
        EXPECT_EQ(RequestField(query, MisRequestField::OrigOrderNum), purchase);
        EXPECT_EQ(RequestField(query, MisRequestField::MisTransAmt), "21.50");
        EXPECT_EQ(LastEvent(m_view.events, "confirm"), "");
        EXPECT_EQ(LoggedRows(), rows + 1);
    }
}

TEST_F(PaymentFollowUpTest, UnreadableAnswersAreCountedLikeMissingOnes) {
    Script({Failure(10), Failure(10007), Failure(1), Failure(10)});
    Pay(u"2.50", kCode);
    Settle();
    EXPECT_THAT(TxnTypesSent(), ElementsAre("PURC", "INQY", "INQY", "INQY"));
    EXPECT_EQ(LastEvent(m_view.events, "notice"), Notice("处理失败，请联系客户经理确认交易状态"));
}

TEST_F(PaymentFollowUpTest, UnreadableAnswerToACancelResendsTheCancel) {
    Script({Answer("09"), Failure(10), Answer("00")});
    Pay(u"7.50", kCode);
    Settle();
    m_flow->CancelWaiting();
    Settle();
    EXPECT_THAT(TxnTypesSent(), ElementsAre("PURC", "CANC", "CANC"));
    EXPECT_NE(m_view.log.back().text.find(u"；取消支付，关闭订单！"), std::u16string::npos);
}

TEST_F(PaymentFollowUpTest, RequestThatNeverLeftOffersRetryOrCash) {
    for (int error : {14, 15, 19, 10072}) {
        SCOPED_TRACE(error);
        m_view.events.clear();
        ScriptedAnswer refused = Failure(error);
        refused.requestSent = false;
        const size_t sent = m_exchange.gateway.Requests().size();
        Script({refused});
        Pay(u"2.50", kCode);
        Settle();
        EXPECT_EQ(m_exchange.gateway.Requests().size(), sent + 1);
        EXPECT_EQ(LastEvent(m_view.events, "confirm"), "confirm:0:支付失败了:再试一次:现金支付");
        EXPECT_EQ(m_flow->State(), PaymentState::Idle);
    }
}

TEST_F(PaymentFollowUpTest, CancelWithoutAnAnswerIsResent) {
    for (int error : {1, 9}) {
        SCOPED_TRACE(error);
        const size_t sent = m_exchange.gateway.Requests().size();
        Script({Answer("09"), Failure(error), Answer("00")});
        Pay(u"7.50", kCode);
        Settle();
        m_flow->CancelWaiting();
        Settle();
        ASSERT_EQ(m_exchange.gateway.Requests().size(), sent + 3);
        EXPECT_EQ(RequestField(m_exchange.gateway.LastRequest(), MisRequestField::TxnType), "CANC");
        EXPECT_NE(m_view.log.back().text.find(u"；取消支付，关闭订单！"), std::u16string::npos);
    }
}

}  // namespace
}  // namespace zelvo::test
