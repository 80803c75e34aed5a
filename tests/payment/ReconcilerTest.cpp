#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "base/CodePage.h"
#include "MISCIL/FieldTables.h"
#include "MISCIL/MisCil.h"
#include "payment/ReconcileService.h"
#include "payment/Reconciler.h"
#include "payment/TransactionResult.h"
#include "tests/payment/JournalTestSupport.h"

namespace zelvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kOrder = "20260315100000000123456";
const std::string kRefundOrder = "20260315110000000654321";

ScriptedAnswer Paid(const std::string& channel = "WXP") {
    ScriptedAnswer answer = Answer("00", channel);
    answer.account = "6222021234567890123";
    answer.channelOrderNum = "4200000777";
    return answer;
}

class ReconcilerTest : public JournalTest {
protected:
    std::vector<ReconcileItem> Round() {
        Reconciler reconciler({m_runner, &m_journal, nullptr});
        return reconciler.RunRound(m_db);
    }
    std::vector<ReconcileAction> Actions() {
        std::vector<ReconcileAction> actions;
        for (const ReconcileItem& item : Round()) actions.push_back(item.action);
        return actions;
    }
    std::vector<std::string> Sent(MisTextField field) {
        std::vector<std::string> values;
        for (const std::string& request : m_gateway.Requests()) {
            values.push_back(RequestField(request, field));
        }
        return values;
    }
};

TEST_F(ReconcilerTest, PaidOrderGetsTheFlowsRowOnceWhateverIsRepeated) {
    InsertOpen(kOrder, "PURC", "12.30", "07");
    Script({Paid()});
    std::vector<ReconcileItem> items = Round();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].action, ReconcileAction::Recorded);
    EXPECT_EQ(RecoveredOrderText(items[0]),
              u"已找回付款，订单号：" + Utf8ToUtf16(kOrder) + u"，金额：12.30");
    // The query carried the order's own number and amount.
    EXPECT_THAT(Sent(MisRequestField::TxnType), ElementsAre("INQY"));
    EXPECT_THAT(Sent(MisRequestField::OrigOrderNum), ElementsAre(kOrder));
    EXPECT_THAT(Sent(MisRequestField::MisTransAmt), ElementsAre("12.30"));
    EXPECT_EQ(Text("select TRANS_CODE || '|' || ORDER_NUM || '|' || OPER_ID || '|' || TRANS_AMT "
                   "|| '|' || ACCEPT_INS_CODE || '|' || RESP_CODE || '|' || ACCT_ID || '|' || "
                   "SA_SAV1 || '|' || REV_FLAG from TBL_TRANS_LOG"),
              "PURC|" + kOrder + "|07|12.3|WXP|00|6222***********0123|4200000777|0");
    EXPECT_EQ(StateOf(kOrder), "paid");

    // A second round finds nothing open and sends nothing.
    EXPECT_THAT(Round(), IsEmpty());
    EXPECT_EQ(m_gateway.Requests().size(), 1u);
    EXPECT_EQ(LogRows(kOrder), 1);
}

TEST_F(ReconcilerTest, OrderStillOpenAtTheGatewayIsCancelled) {
    InsertOpen(kOrder, "PURC", "8");
    Script({Answer("09"), Answer("12"), Answer("00")});
    EXPECT_THAT(Actions(), ElementsAre(ReconcileAction::Cancelled));
    EXPECT_THAT(Sent(MisRequestField::TxnType), ElementsAre("INQY", "CANC", "CANC"));
    EXPECT_THAT(Sent(MisRequestField::OrigOrderNum), ElementsAre(kOrder, kOrder, kOrder));
    EXPECT_EQ(StateOf(kOrder), "cancelled");
    EXPECT_EQ(LogRows(kOrder), 0);
}

TEST_F(ReconcilerTest, CancelThatNeverSucceedsLeavesTheOrderForTheNextRound) {
    InsertOpen(kOrder, "PURC", "8");
    ScriptedAnswer unverified = Answer("00");
    unverified.errDetail = "&RSP_AUTH_NO_ERROR";
    Script({Answer("98"), Answer("12"), unverified, Answer("12"), Answer("12"), Paid()});
    EXPECT_THAT(Actions(), ElementsAre(ReconcileAction::LeftOpen));
    EXPECT_EQ(m_gateway.Requests().size(), 5u);  // one query, four cancels
    EXPECT_EQ(StateOf(kOrder), "open");
    // Next round: the customer had paid after all.
    EXPECT_THAT(Actions(), ElementsAre(ReconcileAction::Recorded));
    EXPECT_EQ(LogRows(kOrder), 1);
}

TEST_F(ReconcilerTest, OrderClosedOrUnknownAtTheGatewayIsClosed) {
    InsertOpen(kOrder, "PURC", "8");
    Script({Answer("25")});
    EXPECT_THAT(Actions(), ElementsAre(ReconcileAction::Closed));
    EXPECT_EQ(StateOf(kOrder), "notpaid");
    EXPECT_EQ(LogRows(kOrder), 0);
}

TEST_F(ReconcilerTest, NoAnswerAndUnverifiedPaymentKeepTheRowOpen) {
    InsertOpen(kOrder, "PURC", "8");
    Script({Failure(MisCilError::Timeout)});
    EXPECT_THAT(Actions(), ElementsAre(ReconcileAction::LeftOpen));
    EXPECT_EQ(StateOf(kOrder), "open");
    EXPECT_EQ(LogRows(kOrder), 0);
}

TEST_F(ReconcilerTest, RefundIsReconciledWithTheRefundQuery) {
    InsertOpen(kRefundOrder, "REFD", "5.00", "03");
    Script({Paid("YZF")});
    std::vector<ReconcileItem> items = Round();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].action, ReconcileAction::Recorded);
    EXPECT_EQ(RecoveredOrderText(items[0]),
              u"已找回退款，订单号：" + Utf8ToUtf16(kRefundOrder) + u"，金额：-5.00");
    EXPECT_THAT(Sent(MisRequestField::OrigTxnType), ElementsAre("REFD"));
    EXPECT_THAT(Sent(MisRequestField::OrigOrderNum), ElementsAre(kRefundOrder));
    EXPECT_EQ(Text("select TRANS_CODE || '|' || ORDER_NUM || '|' || ORIG_ORDER_NUM || '|' || "
                   "OPER_ID || '|' || TRANS_AMT || '|' || REV_FLAG from TBL_TRANS_LOG"),
              "REFD|" + kRefundOrder + "|20260315090000000111111|03|-5|3");
    EXPECT_EQ(StateOf(kRefundOrder), "refunded");
}

TEST_F(ReconcilerTest, RefundStillOpenIsNeverCancelled) {
    InsertOpen(kRefundOrder, "REFD", "5.00");
    Script({Answer("09")});
    EXPECT_THAT(Actions(), ElementsAre(ReconcileAction::LeftOpen));
    EXPECT_THAT(Sent(MisRequestField::TxnType), ElementsAre("INQY"));
}

TEST_F(ReconcilerTest, OrderAFlowStillFollowsIsLeftToIt) {
    JournalEntry entry = NewJournalEntry("PURC", kOrder, "8", "01", CurrentClock().Now());
    ASSERT_TRUE(m_journal.Open(&m_db, entry));
    EXPECT_THAT(Actions(), ElementsAre(ReconcileAction::Skipped));
    EXPECT_THAT(m_gateway.Requests(), IsEmpty());
    m_journal.Release(&m_db, kOrder);
    EXPECT_EQ(m_leftOpen, 1);
    Script({Answer("25")});
    EXPECT_THAT(Actions(), ElementsAre(ReconcileAction::Closed));
}

TEST_F(ReconcilerTest, OrderAnotherRunningProcessSentRecentlyIsLeftToIt) {
    JournalEntry entry = NewJournalEntry("PURC", kOrder, "8", "01", CurrentClock().Now());
    entry.ownerPid = getppid();  // the process that started the test runs on
    ASSERT_TRUE(JournalInsert(m_db, entry));
    EXPECT_THAT(Actions(), ElementsAre(ReconcileAction::Skipped));
    EXPECT_THAT(m_gateway.Requests(), IsEmpty());

    // Long after it was sent, its number proves nothing any more.
    ASSERT_TRUE(m_db.Execute("update TBL_ORDER_JOURNAL set SENT_TIME = '2026-01-01 10:00:00'"));
    Script({Answer("25")});
    EXPECT_THAT(Actions(), ElementsAre(ReconcileAction::Closed));
}

TEST_F(ReconcilerTest, OrderOfAProcessThatEndedIsTakenAtOnce) {
    const pid_t ended = fork();
    if (ended == 0) _exit(0);
    ASSERT_GT(ended, 0);
    waitpid(ended, nullptr, 0);
    JournalEntry entry = NewJournalEntry("PURC", kOrder, "8", "01", CurrentClock().Now());
    entry.ownerPid = ended;
    ASSERT_TRUE(JournalInsert(m_db, entry));
    Script({Answer("25")});
    EXPECT_THAT(Actions(), ElementsAre(ReconcileAction::Closed));
}

TEST_F(ReconcilerTest, WaitsWhileAFlowsExchangeRunsAndTakesTheNextGap) {
    InsertOpen(kOrder, "PURC", "8");
    Script({Answer("09"), Answer("25")});
    RequestBuffer flowRequest;
    ClearRequest(flowRequest);
    BuildQuery("PURC", "20260315080000000999999", "1", flowRequest);
    std::vector<ExchangeResult> flowResults;
    ASSERT_TRUE(m_runner.Start(flowRequest, [&](ExchangeResult result) { flowResults.push_back(result); }));

    std::thread round([this] { Round(); });
    // The flow's completion has not been handled yet: the round must not have sent anything.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(m_gateway.Requests().size(), 1u);
    ASSERT_TRUE(m_poster.DeliverOne());
    round.join();
    EXPECT_THAT(flowResults, ElementsAre(ExchangeResult::Completed));
    EXPECT_THAT(Sent(MisRequestField::OrigOrderNum),
                ElementsAre("20260315080000000999999", kOrder));
    EXPECT_EQ(StateOf(kOrder), "notpaid");
    // While the round held the gateway, a flow would have been refused; now it may start.
    EXPECT_TRUE(m_runner.Start(flowRequest, nullptr));
    m_poster.DeliverOne();
}

TEST_F(ReconcilerTest, FlowFollowUpFromItsCompletionIsNeverOvertakenByARound) {
    int completions = 0;
    RequestBuffer request;
    ClearRequest(request);
    BuildQuery("PURC", kOrder, "1", request);
    Script({Answer("09"), Answer("09")});
    ExchangeDoneHandler handler = [&](ExchangeResult) {
        ++completions;
        // A round trying for the gap right now must not get it.
        EXPECT_FALSE(m_runner.TryHold());
        if (completions == 1) {
            EXPECT_TRUE(m_runner.Start(request, handler));
        }
    };
    ASSERT_TRUE(m_runner.Start(request, handler));
    Settle();
    EXPECT_EQ(completions, 2);
    EXPECT_TRUE(m_runner.TryHold());
    m_runner.ReleaseHold();
}

// Waits for `done`, as a guard against a hang and not a measurement.
bool Eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 3000 && !done(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

TEST_F(ReconcilerTest, ServiceRunsAtStartAndAgainWhenAFlowLeavesAnOrderOpen) {
    std::vector<std::u16string> banners;
    ReconcileServiceSetup setup;
    setup.exchanges = &m_runner;
    setup.journal = &m_journal;
    setup.openDatabase = [path = (m_dir.Path() / "MISData.db").u16string()] {
        auto db = std::make_unique<CLocalDb>();
        return db->Open(path) ? std::move(db) : nullptr;
    };
    setup.networkUp = [] { return true; };
    setup.poster = m_poster.Poster();
    setup.showRecovered = [&](const std::u16string& text) { banners.push_back(text); };
    setup.startPrintJob = [this] { ++m_prints; };
    setup.period = std::chrono::hours(1);
    ReconcileService service(std::move(setup));
    m_journal.SetLeftOpenHandler([&] { service.Trigger(); });
    ASSERT_TRUE(Eventually([&] { return service.Rounds() == 1; }));

    // A flow gives up on an order that the customer then pays.
    JournalEntry entry = NewJournalEntry("PURC", kOrder, "12.30", "01", CurrentClock().Now());
    ASSERT_TRUE(m_journal.Open(&m_db, entry));
    Script({Paid()});
    m_journal.Release(&m_db, kOrder);
    // The banner and the slip come through the user-interface thread.
    ASSERT_TRUE(m_poster.DeliverOne());
    ASSERT_TRUE(Eventually([&] { return service.Rounds() == 2; }));
    EXPECT_THAT(banners,
                ElementsAre(u"已找回付款，订单号：" + Utf8ToUtf16(kOrder) + u"，金额：12.30"));
    EXPECT_EQ(m_prints, 1);
    EXPECT_EQ(LogRows(kOrder), 1);
}

}  // namespace
}  // namespace zelvo::test
