#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "config/TerminalConfig.h"
#include "base/CodePage.h"
#include "MISCIL/MisCil.h"
#include "payment/OrderNumber.h"
#include "payment/PaymentFlow.h"
#include "payment/RefundFlow.h"
#include "payment/TransactionList.h"
#include "store/CLocalDb.h"
#include "tests/payment/FlowTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tools/gateway-sim/GatewaySim.h"

namespace zelvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr char16_t kWeChatCode[] = u"134567890123456789";

// The order number as a slip of 32 columns wraps it.
std::string MerchantOrderLines(const std::string& order) {
    return "商家订单号：" + order.substr(0, 20) + "\r\n" + order.substr(20) + "\r\n";
}

// Keeps the request texts on their way to the real library.
class RecordingGateway : public GatewayExchange {
public:
    int Exchange(const char* request) override {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_types.push_back(RequestField(request, MisRequestField::TxnType));
        }
        return m_library.Exchange(request);
    }
    int LastError() const override { return m_library.LastError(); }
    bool RequestSent() const override { return m_library.RequestSent(); }
    const TransRecord* Record() const override { return m_library.Record(); }
    std::vector<std::string> Types() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_types;
    }

private:
    MisCilGateway m_library;
    std::mutex m_mutex;
    std::vector<std::string> m_types;
};

// The flows against the gateway simulator over loopback, with the delivered database.
class GatewayIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
        m_sim.SetLineSink([](const std::string&) {});
        ASSERT_TRUE(m_sim.Start());
        MisCilCreateContext();
        LoadTerminalConfig(m_db, m_config);
        m_config.ServerIP = "127.0.0.1";
        m_config.ServerPort = std::to_string(m_sim.Port());
        m_config.WaitTime = "1";
        m_config.PrintMerPage = "1";
        m_config.PrintCustPage = "1";
        ASSERT_EQ(nLoadCfg(m_config.GatewayValues()), 0);
        MisCilSetOperatorId("01");
        m_payment = std::make_unique<PaymentFlow>(m_paymentView, Services());
        m_refund = std::make_unique<RefundFlow>(m_refundView, m_list, Services());
    }
    void TearDown() override {
        m_payment.reset();
        m_refund.reset();
        MisCilDestroyContext();
        m_sim.Stop();
    }
    FlowServices Services() {
        return FlowServices{m_runner, [this] { return &m_db; }, [] { return "01"; },
                            [this] { ++m_prints; }, m_config};
    }
    void Pay(const std::u16string& amount) {
        m_paymentView.amountBox = amount;
        m_paymentView.codeBox = kWeChatCode;
        m_payment->ConfirmPayment();
        Settle();
    }
    void Settle() {
        while (m_runner.IsRunning() && m_poster.DeliverOne()) {
        }
    }
    std::string Row(const std::string& where) {
        return QueryText(m_dir.Path() / "MISData.db",
                         "select TRANS_CODE || '|' || PROCESS_FLAG || '|' || REV_FLAG || '|' || "
                         "ORIG_ORDER_NUM || '|' || ORDER_NUM || '|' || OPER_ID || '|' || "
                         "printf('%.2f', TRANS_AMT) || '|' || ACCEPT_INS_CODE || '|' || "
                         "RESP_CODE || '|' || length(SYS_DATE) || '|' || SETTLE_TYPE from "
                         "TBL_TRANS_LOG where " +
                             where);
    }
    std::string Count() {
        return QueryText(m_dir.Path() / "MISData.db", "select count(*) from TBL_TRANS_LOG");
    }

    ScopedWorkDir m_dir;
    CLocalDb m_db;
    TerminalConfig m_config;
    sim::GatewaySim m_sim{[] {
        sim::SimOptions options;
        options.port = 0;
        return options;
    }()};
    RecordingGateway m_gateway;
    QueuedPoster m_poster;
    ExchangeRunner m_runner{m_gateway, m_poster.Poster()};
    int m_prints = 0;
    RecordingPaymentView m_paymentView;
    RecordingListView m_listView;
    TransactionList m_list{[this] { return &m_db; }, m_listView};
    RecordingRefundView m_refundView;
    std::unique_ptr<PaymentFlow> m_payment;
    std::unique_ptr<RefundFlow> m_refund;
};

TEST_F(GatewayIntegrationTest, PaidPurchaseWritesItsRowAndSlip) {
    Pay(u"12.30");
    const std::string order = LastPurchaseOrderNumber();
    EXPECT_THAT(m_paymentView.events, testing::Contains("message:success:支付成功！"));
    EXPECT_EQ(Row("1"), "PURC|0|0||" + order + "|01|12.30|WXP|00|8|0");
    std::string account =
        QueryText(m_dir.Path() / "MISData.db", "select ACCT_ID from TBL_TRANS_LOG");
    EXPECT_THAT(account, HasSubstr("*"));
    EXPECT_NE(QueryText(m_dir.Path() / "MISData.db", "select SA_SAV1 from TBL_TRANS_LOG"), "");

    std::u16string slip = ReadSlipFile();
    EXPECT_THAT(Utf16ToUtf8(slip), HasSubstr("签购单\r\n"));
    EXPECT_THAT(Utf16ToUtf8(slip), HasSubstr("签购单（顾客存根）\r\n"));
    EXPECT_THAT(Utf16ToUtf8(slip), HasSubstr("商户编号：898310060110001\r\n"));
    EXPECT_THAT(Utf16ToUtf8(slip), HasSubstr("操作员ID：01\r\n"));
    EXPECT_THAT(Utf16ToUtf8(slip), HasSubstr("交易类型：微信 扫码付\r\n"));
    EXPECT_THAT(Utf16ToUtf8(slip), HasSubstr(MerchantOrderLines(order)));
    EXPECT_THAT(Utf16ToUtf8(slip), HasSubstr("金额：RMB  12.30\r\n"));
    EXPECT_EQ(m_prints, 1);
}

TEST_F(GatewayIntegrationTest, CustomerStillPayingIsSettledByManualQueries) {
    Pay(u"12.91");
    ASSERT_EQ(m_payment->State(), PaymentState::WaitingForCustomer);
    const std::string order = LastPurchaseOrderNumber();
    for (int i = 0; i < 3 && m_payment->State() != PaymentState::Idle; ++i) {
        m_payment->QueryNow();
        Settle();
    }
    EXPECT_THAT(m_gateway.Types(), ElementsAre("PURC", "INQY", "INQY", "INQY"));
    EXPECT_EQ(m_payment->State(), PaymentState::Idle);
    EXPECT_EQ(Row("1"), "PURC|0|0||" + order + "|01|12.91|WXP|00|8|0");
    std::string slip = Utf16ToUtf8(ReadSlipFile());
    EXPECT_THAT(slip, HasSubstr("交易类型：微信 扫码付\r\n"));
    EXPECT_THAT(slip, HasSubstr(MerchantOrderLines(order)));
}

TEST_F(GatewayIntegrationTest, RefusedPurchaseLeavesNoRow) {
    Pay(u"12.92");
    EXPECT_EQ(LastEvent(m_paymentView.events, "notice"), "notice:0:交易失败了:我知道了");
    EXPECT_THAT(Utf16ToUtf8(m_paymentView.log.back().text),
                HasSubstr("返回码：51；错误详情：余额不足"));
    EXPECT_EQ(Count(), "0");
}

TEST_F(GatewayIntegrationTest, SilentGatewayIsAskedAboutThePurchaseItself) {
    Pay(u"12.93");
    const std::string order = LastPurchaseOrderNumber();
    ASSERT_GE(m_gateway.Types().size(), 2u);
    EXPECT_EQ(m_gateway.Types()[1], "INQY");
    EXPECT_EQ(Row("1"), "PURC|0|0||" + order + "|01|12.93|WXP|00|8|0");
}

TEST_F(GatewayIntegrationTest, AnswerWithABadSignatureIsNotTakenAsPaid) {
    Pay(u"12.98");
    EXPECT_THAT(m_gateway.Types(), ElementsAre("PURC", "INQY"));
    EXPECT_EQ(Count(), "1");
    EXPECT_EQ(Row("1").substr(0, 4), "PURC");
}

TEST_F(GatewayIntegrationTest, RefundOfAPaidPurchase) {
    Pay(u"20.00");
    const std::string purchase = LastPurchaseOrderNumber();
    m_refund->StartRefund(Utf8ToUtf16(purchase), u"20.00", u"888888");
    Settle();
    const std::string refund = LastOrderNumber();
    EXPECT_EQ(m_refundView.events.back(), "keypad:close");
    EXPECT_THAT(m_refundView.events, testing::Contains("message:success:退款成功！"));
    std::string row = Row("REV_FLAG = '3'");
    EXPECT_EQ(row.substr(0, row.find("|-20.00|")), "REFD|0|3|" + purchase + "|" + refund + "|01");
    EXPECT_THAT(row, HasSubstr("|-20.00|"));
    EXPECT_THAT(row, testing::EndsWith("|00|8|0"));
    std::string slip = Utf16ToUtf8(ReadSlipFile());
    EXPECT_THAT(slip, HasSubstr("退款\r\n"));
    EXPECT_THAT(slip, HasSubstr("金额：RMB  -20.00\r\n"));
    ASSERT_FALSE(m_list.Rows().empty());
    EXPECT_EQ(m_list.Rows().front().amount, u"-20.00");
    EXPECT_EQ(Count(), "2");
}

TEST_F(GatewayIntegrationTest, RefundOfAnUnknownOrderIsRefused) {
    m_refund->StartRefund(u"20260101000000000100000", u"1.00", u"888888");
    Settle();
    EXPECT_THAT(LastEvent(m_refundView.events, "message"),
                HasSubstr("message:error:退款失败，原因："));
    EXPECT_EQ(Count(), "0");
}

}  // namespace
}  // namespace zelvo::test
