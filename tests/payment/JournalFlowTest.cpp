#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "MISCIL/MisCil.h"
#include "payment/OrderNumber.h"
#include "payment/PaymentFlow.h"
#include "payment/QueryRow.h"
#include "payment/RefundFlow.h"
#include "payment/TransactionList.h"
#include "payment/TransactionResult.h"
#include "tests/payment/JournalTestSupport.h"

namespace zelvo::test {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;

constexpr char16_t kCode[] = u"134567890123456789";

ScriptedAnswer Paid() {
    ScriptedAnswer answer = Answer("00");
    answer.account = "6222021234567890123";
    answer.channelOrderNum = "4200000123";
    return answer;
}

class PaymentJournalTest : public JournalTest {
protected:
    void SetUp() override {
        JournalTest::SetUp();
        m_flow = std::make_unique<PaymentFlow>(m_view, Services());
    }
    std::string Pay(const std::u16string& amount = u"12.30") {
        m_view.amountBox = amount;
        m_view.codeBox = kCode;
        m_flow->ConfirmPayment();
        return LastPurchaseOrderNumber();
    }

    RecordingPaymentView m_view;
    std::unique_ptr<PaymentFlow> m_flow;
};

TEST_F(PaymentJournalTest, PaidPurchaseIsJournalledBeforeItLeavesAndClosedWithItsRow) {
    Script({Paid()});
    const std::string order = Pay();
    Settle();
    // The row was committed, open, before the request left.
    EXPECT_THAT(m_gateway.StatesSeen(), ElementsAre("open"));
    EXPECT_EQ(StateOf(order), "paid");
    EXPECT_EQ(LogRows(order), 1);
    EXPECT_EQ(Text("select TRANS_CODE || '|' || TRANS_AMT_TEXT || '|' || PAY_CODE || '|' || "
                   "OPER_ID from TBL_ORDER_JOURNAL"),
              "PURC|12.30|1345**********6789|01");
    EXPECT_FALSE(m_journal.IsFollowed(order));
    EXPECT_EQ(m_leftOpen, 0);
}

TEST_F(PaymentJournalTest, RefusedPurchaseClosesAsNotPaidWithoutARow) {
    Script({Answer("51")});
    const std::string order = Pay();
    Settle();
    EXPECT_EQ(StateOf(order), "notpaid");
    EXPECT_EQ(LogRows(order), 0);
    EXPECT_EQ(m_leftOpen, 0);
}

TEST_F(PaymentJournalTest, CancelledWaitClosesAsCancelled) {
    Script({Answer("09"), Answer("H3")});
    const std::string order = Pay();
    Settle();
    EXPECT_TRUE(m_journal.IsFollowed(order));  // the waiting prompt is open
    m_flow->CancelWaiting();
    Settle();
    EXPECT_EQ(StateOf(order), "cancelled");
    EXPECT_FALSE(m_journal.IsFollowed(order));
    EXPECT_EQ(m_leftOpen, 0);
}

TEST_F(PaymentJournalTest, QueriesRunningOutLeaveTheOrderOpenForReconciliation) {
    Script({Answer("98"), Answer("09"), Answer("09"), Answer("09"), Answer("09")});
    const std::string order = Pay();
    Settle();
    EXPECT_EQ(m_view.events.back(), "notice:0:支付失败，请联系客户经理确认交易状态:我知道了");
    EXPECT_EQ(StateOf(order), "open");
    EXPECT_FALSE(m_journal.IsFollowed(order));
    EXPECT_EQ(m_leftOpen, 1);
}

TEST_F(PaymentJournalTest, UnansweredPurchaseFoundPaidByItsQueryIsRecordedOnce) {
    Script({Failure(MisCilError::Timeout), Paid()});
    const std::string order = Pay();
    Settle();
    EXPECT_EQ(StateOf(order), "paid");
    EXPECT_EQ(LogRows(order), 1);
    // The same confirmation once more (a late reconciliation) writes nothing.
    TransactionResult again;
    again.txnType = "PURC";
    again.orderNum = order;
    again.respCode = "00";
    EXPECT_EQ(JournalRecordPayment(m_db, again, "01", CurrentClock().Now()),
              JournalWrite::AlreadyClosed);
    EXPECT_EQ(LogRows(order), 1);
}

TEST_F(PaymentJournalTest, ConfirmationAfterAnEarlierNotPaidStillGetsItsRow) {
    Script({Answer("51")});
    const std::string order = Pay();
    Settle();
    ASSERT_EQ(StateOf(order), "notpaid");
    TransactionResult paid;
    paid.txnType = "PURC";
    paid.orderNum = order;
    paid.respCode = "00";
    paid.transAmt = 12.3;
    EXPECT_EQ(JournalRecordPayment(m_db, paid, "01", CurrentClock().Now()), JournalWrite::Written);
    EXPECT_EQ(StateOf(order), "paid");
    EXPECT_EQ(LogRows(order), 1);
}

TEST_F(PaymentJournalTest, PaidOrderWhoseRowCouldNotBeWrittenStaysOpenForReconciliation) {
    ASSERT_TRUE(
        m_db.Execute("create trigger refuse before insert on TBL_TRANS_LOG "
                     "begin select raise(abort, 'disk full'); end"));
    Script({Paid()});
    const std::string order = Pay();
    Settle();
    EXPECT_THAT(m_view.events,
                testing::Contains("notice:0:添加交易记录失败了，请联系客户经理，谢谢:我知道了"));
    // Nothing half-written: no row, and the journal still says the outcome is to be recorded.
    EXPECT_EQ(LogRows(order), 0);
    EXPECT_EQ(StateOf(order), "open");
    EXPECT_EQ(m_leftOpen, 1);
}

TEST_F(PaymentJournalTest, UnwritableJournalKeepsThePurchaseFromLeaving) {
    ASSERT_TRUE(m_db.Execute("drop table TBL_ORDER_JOURNAL"));
    Script({Paid()});
    Pay();
    EXPECT_EQ(m_view.events.back(), "notice:0:添加交易记录失败了，请联系客户经理，谢谢:我知道了");
    EXPECT_TRUE(m_gateway.Requests().empty());
}

class RefundJournalTest : public JournalTest {
protected:
    void SetUp() override {
        JournalTest::SetUp();
        ASSERT_TRUE(m_db.Execute("update User set PassWord = 'Adm1n' where ID = '00'"));
        m_flow = std::make_unique<RefundFlow>(m_view, m_list, Services());
    }
    std::string Refund() {
        m_flow->StartRefund(u"20260315100000000123456", u"5.00", u"Adm1n");
        return LastOrderNumber();
    }

    RecordingRefundView m_view;
    RecordingListView m_listView;
    TransactionList m_list{[this] { return &m_db; }, m_listView};
    std::unique_ptr<RefundFlow> m_flow;
};

TEST_F(RefundJournalTest, ConfirmedRefundClosesWithItsRow) {
    Script({Answer("98"), Paid()});
    const std::string order = Refund();
    Settle();
    EXPECT_THAT(m_gateway.StatesSeen(), Each(std::string("open")));
    EXPECT_EQ(StateOf(order), "refunded");
    EXPECT_EQ(LogRows(order), 1);
    EXPECT_EQ(Text("select ORIG_ORDER_NUM from TBL_ORDER_JOURNAL"), "20260315100000000123456");
}

TEST_F(RefundJournalTest, RefundWithoutAnswerStaysOpenAndIsHandedOver) {
    Script({Failure(MisCilError::Timeout), Failure(MisCilError::Timeout),
            Failure(MisCilError::Timeout), Failure(MisCilError::Timeout)});
    const std::string order = Refund();
    Settle();
    EXPECT_EQ(m_view.events.back(), "message:error:请联系客户经理确认退款状态");
    EXPECT_EQ(StateOf(order), "open");
    EXPECT_EQ(m_leftOpen, 1);
}

TEST_F(RefundJournalTest, RefusedRefundClosesAsNotRefunded) {
    Script({Answer("13")});
    const std::string order = Refund();
    Settle();
    EXPECT_EQ(StateOf(order), "notpaid");
    EXPECT_EQ(m_leftOpen, 0);
}

}  // namespace
}  // namespace zelvo::test
