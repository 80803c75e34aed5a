#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "config/TerminalConfig.h"
#include "base/CodePage.h"
#include "MISCIL/MisCil.h"
#include "payment/OrderNumber.h"
#include "payment/PaymentFlow.h"
#include "payment/QueryRow.h"
#include "payment/RefundFlow.h"
#include "payment/TransactionList.h"
#include "store/CLocalDb.h"
#include "tests/payment/FlowTestSupport.h"
#include "tests/support/TestSupport.h"

namespace zelvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const std::string kOrder = "20260315100000000123456";

class RefundFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
        ASSERT_TRUE(m_db.Execute("update User set PassWord = 'Adm1n' where ID = '00'"));
        m_config.PrintCustPage = "1";
        m_config.PrintMerPage = "1";
        m_config.MerName = u"测试商户";
        m_config.MerCode = "898310060110001";
        m_config.TermCode = "10000001";
        m_config.ServerPort = "17601";
        nLoadCfg(m_config.GatewayValues());
        m_flow = std::make_unique<RefundFlow>(m_view, m_list, Services());
    }
    FlowServices Services() {
        return FlowServices{m_exchange.runner, [this] { return &m_db; }, [] { return "00"; },
                            [this] { ++m_prints; }, m_config};
    }
    void Script(std::initializer_list<ScriptedAnswer> answers) {
        for (const ScriptedAnswer& answer : answers) m_exchange.gateway.Script(answer);
    }
    void Refund(const std::u16string& amount, const std::u16string& password = u"Adm1n") {
        m_flow->StartRefund(Utf8ToUtf16(kOrder), amount, password);
    }
    std::string Text(const std::string& sql) { return QueryText(m_dir.Path() / "MISData.db", sql); }
    std::vector<std::string> Sent(MisTextField field) {
        std::vector<std::string> values;
        for (const std::string& request : m_exchange.gateway.Requests()) {
            values.push_back(RequestField(request, field));
        }
        return values;
    }
    void ListPaidRow(const std::u16string& status = kStatusPaid) {
        QueryRow row;
        row.status = status;
        row.orderNum = Utf8ToUtf16(kOrder);
        row.amount = u"12.3";
        m_list.AddRowAtTop(row);
        m_listView.selected = 0;
        m_view.gridFocused = true;
    }

    ScopedWorkDir m_dir;
    CLocalDb m_db;
    TerminalConfig m_config;
    int m_prints = 0;
    ExchangeHarness m_exchange;
    RecordingListView m_listView;
    TransactionList m_list{[this] { return &m_db; }, m_listView};
    RecordingRefundView m_view;
    std::unique_ptr<RefundFlow> m_flow;
};

TEST_F(RefundFlowTest, OfflineRefusesToOpen) {
    m_view.network = false;
    m_flow->OpenRefund();
    EXPECT_THAT(m_view.events, ElementsAre("notice:0:网络异常，请确认当前网络状态:我知道了"));
    EXPECT_FALSE(m_flow->RefundPromptOpen());
}

TEST_F(RefundFlowTest, OnlyAPaidRowCanBeRefunded) {
    ListPaidRow(kStatusRefunded);
    m_flow->OpenRefund();
    EXPECT_EQ(m_view.events.back(), "message:notice:不能退款！");
    EXPECT_FALSE(m_view.promptOpen);
}

TEST_F(RefundFlowTest, SelectedRowFillsThePrompt) {
    ListPaidRow();
    m_flow->OpenRefund();
    EXPECT_THAT(m_view.events, ElementsAre("settlement:close", "prompt:open:" + kOrder + ":12.3"));
    EXPECT_TRUE(m_flow->RefundPromptOpen());

    // A second opening replaces the first prompt; without the grid's focus the search box counts.
    m_view.gridFocused = false;
    m_view.search = u"2026031510";
    m_flow->OpenRefund();
    EXPECT_THAT(m_view.events,
                ElementsAre("settlement:close", "prompt:open:" + kOrder + ":12.3",
                            "settlement:close", "prompt:close", "prompt:open:2026031510:"));
}

TEST_F(RefundFlowTest, PasswordIsComparedIgnoringLetterCase) {
    m_flow->OpenRefund();
    Refund(u"5.00", u"adm1x");
    EXPECT_EQ(m_view.events.back(), "password:reset");
    EXPECT_THAT(m_view.events, testing::Contains("message:error:密码错误！"));
    EXPECT_TRUE(m_view.promptOpen);
    EXPECT_THAT(m_exchange.gateway.Requests(), IsEmpty());

    Script({Answer("00")});
    Refund(u"5.00", u"ADM1N");
    EXPECT_FALSE(m_view.promptOpen);
    m_exchange.Settle();
    EXPECT_EQ(m_view.events.back(), "keypad:close");
    EXPECT_THAT(m_view.events, testing::Contains("message:success:退款成功！"));
}

TEST_F(RefundFlowTest, WithoutAnAdministratorNoPasswordOpensARefund) {
    ASSERT_TRUE(m_db.Execute("delete from User where ID = '00'"));
    RefundFlow flow(m_view, m_list, Services());
    flow.StartRefund(Utf8ToUtf16(kOrder), u"5.00", u"");
    EXPECT_EQ(m_view.events.back(), "password:reset");
    EXPECT_THAT(m_exchange.gateway.Requests(), IsEmpty());
}

TEST_F(RefundFlowTest, EmptyAmountOrOrderIsRefusedAfterThePromptCloses) {
    m_flow->OpenRefund();
    Refund(u"");
    EXPECT_EQ(m_view.events.back(), "message:error:退款失败了，退款金额为空！");
    EXPECT_FALSE(m_view.promptOpen);
    m_flow->StartRefund(u"", u"5", u"Adm1n");
    EXPECT_EQ(m_view.events.back(), "message:error:退款失败了，退款订单号为空！");
    EXPECT_THAT(m_exchange.gateway.Requests(), IsEmpty());
}

TEST_F(RefundFlowTest, ConfirmedRefundIsRecordedListedAndPrinted) {
    Script({Answer("00")});
    Refund(u"5.00");
    m_exchange.Settle();
    std::string own = LastOrderNumber();
    EXPECT_EQ(Sent(MisRequestField::TxnType), std::vector<std::string>{"REFD"});
    EXPECT_EQ(Sent(MisRequestField::OrigOrderNum), std::vector<std::string>{kOrder});
    EXPECT_EQ(Text("select TRANS_CODE || '|' || REV_FLAG || '|' || ORDER_NUM || '|' || "
                   "ORIG_ORDER_NUM || '|' || OPER_ID || '|' || printf('%.2f', TRANS_AMT) from "
                   "TBL_TRANS_LOG"),
              "REFD|3|" + own + "|" + kOrder + "|00|-5.00");
    ASSERT_EQ(m_list.Rows().size(), 1u);
    const QueryRow& row = m_list.Rows().front();
    EXPECT_EQ(row.status, kStatusRefunded);
    EXPECT_EQ(row.amount, u"-5.00");
    EXPECT_EQ(row.orderNum, Utf8ToUtf16(own));
    EXPECT_EQ(row.channel, u"微信");
    EXPECT_EQ(row.respCode, u"00");
    EXPECT_EQ(row.operatorId, u"00");
    // The listed time is the time stored, so a reprint finds the row.
    EXPECT_EQ(Utf16ToUtf8(row.dateTime), Text("select REC_CREATE_TIME from TBL_TRANS_LOG"));
    EXPECT_EQ(m_prints, 1);
}

TEST_F(RefundFlowTest, UnclearRefundIsQueriedUntilTheFourthAnswer) {
    Script({Answer("98"), Answer("09"), Answer("09"), Answer("09"), Answer("09")});
    Refund(u"5.00");
    m_exchange.Settle();
    std::string own = LastOrderNumber();
    EXPECT_THAT(Sent(MisRequestField::TxnType),
                ElementsAre("REFD", "INQY", "INQY", "INQY", "INQY"));
    std::vector<std::string> origins = Sent(MisRequestField::OrigOrderNum);
    std::vector<std::string> codes = Sent(MisRequestField::OrigTxnType);
    EXPECT_EQ(origins[1], own);
    EXPECT_EQ(origins[4], own);
    EXPECT_EQ(codes[1], "REFD");
    EXPECT_EQ(Sent(MisRequestField::MisTransAmt)[4], "5.00");
    EXPECT_EQ(m_view.events.back(), "message:error:请联系客户经理确认退款状态");
    EXPECT_EQ(Text("select count(*) from TBL_TRANS_LOG"), "0");
}

TEST_F(RefundFlowTest, SuccessAtTheFourthQueryStillCompletes) {
    Script({Answer("98"), Answer("09"), Answer("09"), Answer("09"), Answer("00")});
    Refund(u"5.00");
    m_exchange.Settle();
    EXPECT_THAT(m_view.events, testing::Contains("message:success:退款成功！"));
    EXPECT_EQ(Text("select count(*) from TBL_TRANS_LOG"), "1");
}

TEST_F(RefundFlowTest, QueryThatConfirmsTheRefundRecordsItAsTheRefund) {
    ScriptedAnswer found = Answer("00", "YZF");
    Script({Answer("09"), Answer("09"), found});
    Refund(u"5.00");
    m_exchange.Settle();
    std::string own = LastOrderNumber();
    // A Bestpay refund keeps the order the operator typed as the refunded one.
    EXPECT_EQ(Text("select TRANS_CODE || '|' || ORDER_NUM || '|' || ORIG_ORDER_NUM || '|' || "
                   "ACCEPT_INS_CODE from TBL_TRANS_LOG"),
              "REFD|" + own + "|" + kOrder + "|YZF");
    EXPECT_EQ(m_list.Rows().front().channel, u"翼支付");
}

TEST_F(RefundFlowTest, RefundFoundByAQueryPointsAtTheRefundedPurchase) {
    // The query's answer names the refund as its original order; the row keeps the purchase.
    Script({Answer("98"), Answer("00", "WXP")});
    Refund(u"5.00");
    m_exchange.Settle();
    std::string own = LastOrderNumber();
    EXPECT_EQ(Sent(MisRequestField::OrigOrderNum), (std::vector<std::string>{kOrder, own}));
    EXPECT_EQ(Text("select TRANS_CODE || '|' || ORDER_NUM || '|' || ORIG_ORDER_NUM || '|' || "
                   "ACCEPT_INS_CODE from TBL_TRANS_LOG"),
              "REFD|" + own + "|" + kOrder + "|WXP");
}

TEST_F(RefundFlowTest, GatewaysOwnWordsForRefundsAlreadyMade) {
    // The banner after a refund answered with `code` and the gateway's detail.
    auto bannerAfter = [this](const std::string& code, const char* detail) {
        ScriptedAnswer answer = Answer(code);
        answer.errDetail = Utf8ToGbk(detail);
        Script({answer});
        Refund(u"5.00");
        m_exchange.Settle();
        return m_view.events.back();
    };
    EXPECT_EQ(bannerAfter("R3", "该订单已退款"), "message:success:该订单已退款");
    EXPECT_EQ(bannerAfter("H3", "订单已撤销"), "message:success:订单已撤销");
    EXPECT_EQ(bannerAfter("51", "余额不足"), "message:error:退款失败，原因：余额不足");
    EXPECT_EQ(Text("select count(*) from TBL_TRANS_LOG"), "0");
}

TEST_F(RefundFlowTest, FailedExchangesAreQueriedOrReported) {
    Script({Failure(14)});
    Refund(u"5.00");
    m_exchange.Settle();
    EXPECT_EQ(m_view.events.back(), "message:error:退款失败了，请再试一次！");

    Script({Failure(1), Failure(9), Failure(1), Failure(1)});
    Refund(u"5.00");
    m_exchange.Settle();
    EXPECT_THAT(Sent(MisRequestField::TxnType),
                ElementsAre("REFD", "REFD", "INQY", "INQY", "INQY"));
    EXPECT_EQ(m_view.events.back(), "message:error:请联系客户经理确认退款状态");
}

TEST_F(RefundFlowTest, AnAnswerThatCannotBeReadIsQueriedNotOfferedAgain) {
    // The refund left and its answer was garbage: the gateway may have refunded already.
    Script({Failure(MisCilError::BadAnswer), Answer("00")});
    Refund(u"5.00");
    m_exchange.Settle();
    EXPECT_THAT(Sent(MisRequestField::TxnType), ElementsAre("REFD", "INQY"));
    EXPECT_EQ(Text("select count(*) from TBL_TRANS_LOG"), "1");
    EXPECT_NE(m_view.events.back(), "message:error:退款失败了，请再试一次！");
}

TEST_F(RefundFlowTest, UnverifiedSuccessIsQueriedBeforeItCounts) {
    ScriptedAnswer unverified = Answer("00");
    unverified.errDetail = "&RSP_AUTH_NO_ERROR";
    Script({unverified, unverified, Answer("00")});
    Refund(u"5.00");
    m_exchange.Settle();
    EXPECT_THAT(Sent(MisRequestField::TxnType), ElementsAre("REFD", "INQY", "INQY"));
    EXPECT_EQ(Text("select count(*) from TBL_TRANS_LOG"), "1");
}

TEST_F(RefundFlowTest, RefundWhilePaymentRunsIsRefusedAndThePaymentKeepsItsAnswer) {
    RecordingPaymentView paymentView;
    PaymentFlow payment(paymentView, Services());
    Script({Answer("00")});
    paymentView.amountBox = u"8";
    paymentView.codeBox = u"134567890123456789";
    payment.ConfirmPayment();
    m_flow->OpenRefund();
    Refund(u"5.00");
    EXPECT_EQ(m_view.events.back(), "message:notice:正在处理，请稍候！");
    EXPECT_TRUE(m_view.promptOpen);
    m_exchange.Settle();
    EXPECT_THAT(paymentView.events, testing::Contains("message:success:支付成功！"));
    EXPECT_EQ(m_view.events.back(), "message:notice:正在处理，请稍候！");
    EXPECT_EQ(Text("select TRANS_CODE from TBL_TRANS_LOG"), "PURC");
}

TEST_F(RefundFlowTest, ReprintOfAPaidRowLooksUpItsAccount) {
    ASSERT_TRUE(m_db.Execute(
        "insert into TBL_TRANS_LOG(REC_CREATE_TIME, TRANS_CODE, PROCESS_FLAG, REV_FLAG, "
        "ORDER_NUM, OPER_ID, TRANS_AMT, ACCEPT_INS_CODE, RESP_CODE, SYS_DATE, ACCT_ID, SA_SAV1) "
        "values('2026-03-15 10:00:00', 'PURC', '0', '0', '" +
        kOrder +
        "', '01', 12.3, 'WXP', "
        "'00', '20260315', '6222***0123', '4200000123')"));
    m_list.RefreshList();
    m_listView.selected = 0;
    m_flow->ReprintSelected();
    std::u16string slip = ReadSlipFile();
    EXPECT_NE(slip.find(u"签购单\r\n"), std::u16string::npos);
    EXPECT_NE(slip.find(u"签购单（顾客存根）"), std::u16string::npos);
    EXPECT_NE(slip.find(u"操作员ID：01\r\n"), std::u16string::npos);
    EXPECT_NE(slip.find(u"交易类型：微信 扫码付\r\n"), std::u16string::npos);
    EXPECT_NE(slip.find(u"日期时间：2026-03-15 10:00:00"), std::u16string::npos);
    EXPECT_NE(slip.find(u"交易账号：6222***0123"), std::u16string::npos);
    EXPECT_NE(slip.find(u"渠道订单号：4200000123"), std::u16string::npos);
    EXPECT_NE(slip.find(u"金额：RMB  12.3"), std::u16string::npos);
    EXPECT_EQ(m_prints, 1);
}

TEST_F(RefundFlowTest, ReprintOfARefundFindsTheRefundRow) {
    Script({Answer("00", "ALP")});
    Refund(u"5.00");
    m_exchange.Settle();
    ASSERT_TRUE(
        m_db.Execute("update TBL_TRANS_LOG set ACCT_ID = 'buyer@example.com', "
                     "SA_SAV1 = '2088000111'"));
    std::remove("SCprint.txt");
    m_listView.selected = 0;
    m_config.PrintCustPage = "2";
    m_flow->ReprintSelected();
    std::u16string slip = ReadSlipFile();
    EXPECT_NE(slip.find(u"交易类型：支付宝 退款\r\n"), std::u16string::npos);
    EXPECT_NE(slip.find(u"交易账号：buyer@example.com"), std::u16string::npos);
    EXPECT_NE(slip.find(u"渠道订单号：2088000111"), std::u16string::npos);
    // The line is wrapped at the slip's width, after the first 20 digits.
    EXPECT_NE(slip.find(u"商家订单号：" + Utf8ToUtf16(LastOrderNumber().substr(0, 20)) + u"\r\n"),
              std::u16string::npos);
    EXPECT_NE(slip.find(u"金额：RMB  -5.00"), std::u16string::npos);
    // Composed, but kept for the settlement: only the refund itself went to the printer.
    EXPECT_EQ(m_prints, 1);
}

TEST_F(RefundFlowTest, ReprintWithTwoMatchingRowsLeavesTheLookedUpValuesEmpty) {
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(m_db.Execute(
            "insert into TBL_TRANS_LOG(REC_CREATE_TIME, PROCESS_FLAG, REV_FLAG, ORDER_NUM, "
            "TRANS_AMT, ACCEPT_INS_CODE, ACCT_ID, SA_SAV1) values('2026-03-15 10:00:0" +
            std::to_string(i) + "', '0', '0', '" + kOrder + "', 1, 'WXP', 'acct', 'chan')"));
    }
    m_list.RefreshList();
    m_listView.selected = 0;
    ASSERT_TRUE(m_flow->ReprintSlip(m_list.Rows().front()));
    std::u16string slip = ReadSlipFile();
    EXPECT_NE(slip.find(u"交易账号：\r\n"), std::u16string::npos);
    EXPECT_EQ(slip.find(u"acct"), std::u16string::npos);
}

TEST_F(RefundFlowTest, NothingSelectedReprintsNothing) {
    m_flow->ReprintSelected();
    EXPECT_THAT(m_view.events, IsEmpty());
    EXPECT_EQ(m_prints, 0);
}

TEST_F(RefundFlowTest, WholeYuanAmountsKeepTheirDecimalsInPromptListAndReprint) {
    // The NUMERIC column keeps 20.00 as the integer 20 and the refund's -5.00 as -5.
    Script({Answer("00")});
    Refund(u"5");
    m_exchange.Settle();
    ASSERT_EQ(m_listView.shown.size(), 1u);
    EXPECT_EQ(m_listView.shown[0].amount, u"-5.00");
    ASSERT_TRUE(m_db.Execute("insert into TBL_TRANS_LOG (REC_CREATE_TIME, TRANS_CODE, "
                             "PROCESS_FLAG, REV_FLAG, ORDER_NUM, OPER_ID, TRANS_AMT, "
                             "ACCEPT_INS_CODE, RESP_CODE) values('2099-01-01 10:00:00', 'PURC', "
                             "'0', '0', 'W20', '01', 20.00, 'WXP', '00')"));
    EXPECT_EQ(Text("select typeof(TRANS_AMT) from TBL_TRANS_LOG where ORDER_NUM = 'W20'"),
              "integer");
    m_list.RefreshList();
    ASSERT_EQ(m_listView.shown.size(), 2u);
    EXPECT_EQ(m_listView.shown[0].amount, u"20.00");
    EXPECT_EQ(m_listView.shown[1].amount, u"-5.00");

    m_listView.selected = 0;
    m_view.gridFocused = true;
    m_flow->OpenRefund();
    EXPECT_EQ(m_view.events.back(), "prompt:open:W20:20.00");

    m_listView.selected = 1;
    m_flow->ReprintSelected();
    EXPECT_NE(ReadSlipFile().find(u"金额：RMB  -5.00\r\n"), std::u16string::npos);
}

TEST_F(RefundFlowTest, BestpayRefundKeepsTheTypedOrderWhateverTheAnswerNames) {
    ScriptedAnswer bestpay = Answer("00", "YZF");
    bestpay.origOrderNum = "GATEWAY-ORIG-1";
    ScriptedAnswer wechat = Answer("00", "WXP");
    wechat.origOrderNum = "GATEWAY-ORIG-2";
    Script({bestpay});
    Refund(u"5.00");
    m_exchange.Settle();
    Script({wechat});
    Refund(u"6.00");
    m_exchange.Settle();
    EXPECT_EQ(Text("select group_concat(ORIG_ORDER_NUM, ',') from (select ORIG_ORDER_NUM from "
                   "TBL_TRANS_LOG order by rowid)"),
              kOrder + ",GATEWAY-ORIG-2");
}

TEST_F(RefundFlowTest, SlipsKeptForTheSettlementAreNotPrintedAfterARefund) {
    m_config.PrintCustPage = "2";
    Script({Answer("00")});
    Refund(u"5.00");
    m_exchange.Settle();
    EXPECT_THAT(m_view.events, testing::Contains("message:success:退款成功！"));
    EXPECT_EQ(Text("select count(*) from TBL_TRANS_LOG"), "1");
    EXPECT_EQ(m_prints, 0);
}

TEST_F(RefundFlowTest, RefusedQueryEndsWithTheGatewaysWords) {
    ScriptedAnswer refused = Answer("51");
    refused.errDetail = Utf8ToGbk("退款超时");
    Script({Answer("98"), refused});
    Refund(u"5.00");
    m_exchange.Settle();
    EXPECT_THAT(Sent(MisRequestField::TxnType), ElementsAre("REFD", "INQY"));
    EXPECT_EQ(m_view.events.back(), "message:error:退款失败，原因：退款超时");
    EXPECT_EQ(Text("select count(*) from TBL_TRANS_LOG"), "0");
    EXPECT_EQ(m_prints, 0);
}

TEST_F(RefundFlowTest, ReprintWhoseFileCannotBeWrittenSaysSoAndPrintsNothing) {
    ListPaidRow();
    std::filesystem::create_directory(m_dir.Path() / "SCprint.txt");  // in the file's way
    m_flow->ReprintSelected();
    EXPECT_EQ(m_view.events.back(), "message:error:打印文件失败！");
    EXPECT_EQ(m_prints, 0);
}

}  // namespace
}  // namespace zelvo::test
