#include <filesystem>

#include <gtest/gtest.h>

#include "config/TerminalConfig.h"
#include "payment/ExchangeRunner.h"
#include "payment/OrderJournal.h"
#include "payment/OrderNumber.h"
#include "print/PrintJob.h"
#include "shell/Restart.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/ConfirmDialog.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinEdit.h"
#include "operator/CurrentOperator.h"
#include "shell/pages/OperationPages.h"
#include "shell/pages/PasswordPrompt.h"
#include "shell/pages/PaymentLogList.h"
#include "shell/pages/PaymentPage.h"
#include "shell/pages/PaymentPanel.h"
#include "shell/pages/QueryRefundPage.h"
#include "shell/pages/QueryRefundPanel.h"
#include "shell/pages/RefundPrompt.h"
#include "shell/pages/TransactionGrid.h"
#include "shell/window/MainWindow.h"
#include "shell/window/MessageBanner.h"
#include "shell/window/PageArea.h"
#include "store/LocalDb.h"
#include "tests/pages/PageTestSupport.h"
#include "tests/support/CashierWindow.h"
#include "tools/gateway-sim/GatewaySim.h"

namespace zelvo {
namespace {

using test::PressKey;
using test::SpinUntil;

// The whole cashier in this process, against the gateway simulator on a free loopback port:
// the delivered database, the real gateway library, printing without a driver into a file.
class EndToEndTest : public testing::Test {
protected:
    void SetUp() override {
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        sim::SimOptions options;
        options.port = 0;
        options.rules.pendingQueries = 1;
        m_sim = std::make_unique<sim::GatewaySim>(options);
        m_sim->SetLineSink([](const std::string&) {});
        ASSERT_TRUE(m_sim->Start());
        test::RunSql(m_dir.Path() / "MISData.db", "update SysConfig set Value = '" +
                                                      std::to_string(m_sim->Port()) +
                                                      "' where Name = 'ServerPort';");
        CLocalDb* db = GetLocalDb();
        ASSERT_NE(db, nullptr);
        LoadTerminalConfig(*db, GetTerminalConfig());
        GetCurrentOperator().Clear();
        SetEndOfShiftFlag(false);
        SetRestartHandler([this] { ++m_restarts; });

        m_operations = std::make_unique<OperationServices>();
        MainWindowSetup setup =
            test::CashierWindowSetup(*db, *m_operations, QRect(0, 0, 1920, 1040));
        setup.merCode = QStringLiteral("898310060110001");
        setup.pageKeys = MakePageKeyHandler([] { return GetLocalDb(); });
        m_window = std::make_unique<MainWindow>(std::move(setup));
        m_window->PlaceAndShow();
        QApplication::setActiveWindow(m_window.get());
        m_window->SetNetworkState(true);
    }
    void TearDown() override {
        WaitForPrintJobs();
        m_window.reset();
        m_operations.reset();
        m_sim->Stop();
        SetRestartHandler(nullptr);
        GetCurrentOperator().Clear();
        CloseLocalDb();
    }

    QString Banner() const { return m_window->Pages()->Banner()->Text(); }
    bool BannerReads(const QString& text) {
        return SpinUntil([&] { return Banner() == text; });
    }
    PaymentPage& Payment() const {
        return *static_cast<PaymentPage*>(m_window->Page(PageId::Payment));
    }
    QueryRefundPage& Query() const {
        return *static_cast<QueryRefundPage*>(m_window->Page(PageId::QueryRefund));
    }
    std::string Sql(const std::string& sql) {
        return test::QueryText(m_dir.Path() / "MISData.db", sql);
    }
    QString PrintFile() {
        const std::string bytes = test::ReadFile(m_dir.Path() / "SCprint.txt");
        if (bytes.size() < 2) return QString();
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data() + 2),
                                  static_cast<qsizetype>((bytes.size() - 2) / 2));
    }
    void Pay(const QString& amount, const QString& code) {
        PaymentPanel& panel = Payment().Panel();
        panel.AmountBox()->setText(amount);
        panel.CodeBox()->setFocus();
        panel.CodeBox()->setText(code);
        PressKey(Qt::Key_Return);
    }

    test::ScopedWorkDir m_dir;
    std::unique_ptr<sim::GatewaySim> m_sim;
    std::unique_ptr<OperationServices> m_operations;
    std::unique_ptr<MainWindow> m_window;
    ScriptedDialogs m_dialogs;
    int m_restarts = 0;
};

TEST_F(EndToEndTest, PayWaitListRefundAndSettleAShift) {
    ASSERT_TRUE(test::LogInDemoOperator(*m_window));
    ASSERT_EQ(m_window->CurrentPage(), PageId::Payment);

    // A payment the gateway accepts at once.
    Pay(QStringLiteral("12.30"), QStringLiteral("134567890123456789"));
    ASSERT_TRUE(BannerReads(QStringLiteral("支付成功！")));
    const auto& log = Payment().Panel().LogList()->Rows();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_TRUE(log[0].text.endsWith(QStringLiteral("，金额：12.30，微信；交易成功！")));
    EXPECT_EQ(Sql("select count(*) from TBL_TRANS_LOG where PROCESS_FLAG = '0' and "
                  "REV_FLAG = '0' and OPER_ID = '01'"),
              "1");
    EXPECT_TRUE(PrintFile().contains(QStringLiteral("签购单")));
    const std::string firstOrder = Sql("select ORDER_NUM from TBL_TRANS_LOG");

    // A payment the customer has still to confirm: the operator asks until it is paid.
    Pay(QStringLiteral("8.91"), QStringLiteral("134567890123456789"));
    ASSERT_TRUE(SpinUntil([this] {
        ConfirmDialog* prompt = Payment().Panel().WaitingPrompt();
        return prompt && prompt->isVisible();
    }));
    ConfirmDialog* prompt = Payment().Panel().WaitingPrompt();
    PressKey(Qt::Key_Return, prompt);
    ASSERT_TRUE(SpinUntil([&] { return log.size() == 2; }));
    EXPECT_TRUE(log[1].text.endsWith(QStringLiteral("；交易处理中...")));
    EXPECT_TRUE(prompt->isVisible());
    PressKey(Qt::Key_Return, prompt);
    ASSERT_TRUE(SpinUntil([&] { return !prompt->isVisible(); }));
    EXPECT_TRUE(log[2].text.endsWith(QStringLiteral("；交易成功！")));
    EXPECT_EQ(Sql("select count(*) from TBL_TRANS_LOG"), "2");

    // The first payment, found in the list, refunded with the administrator's password. The
    // main window takes the keyboard back when the prompt closes.
    ASSERT_TRUE(SpinUntil([&] { return m_window->isActiveWindow(); }));
    m_window->NextPage();
    ASSERT_EQ(m_window->CurrentPage(), PageId::QueryRefund);
    TransactionGrid* grid = Query().Panel().Grid();
    ASSERT_EQ(grid->rowCount(), 2);
    Query().Panel().SearchBox()->setText(QString::fromStdString(firstOrder));
    PressKey(Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), grid);
    PressKey(Qt::Key_F3);
    RefundPrompt& refund = Query().Refund();
    ASSERT_TRUE(refund.isVisible());
    // The platform's own activation of the shown prompt arrives now, not after it has closed.
    QCoreApplication::processEvents();
    EXPECT_EQ(refund.OrderBox()->text(), QString::fromStdString(firstOrder));
    refund.PasswordBox()->setText(QStringLiteral("888888"));
    refund.PasswordBox()->setFocus();
    PressKey(Qt::Key_Return);
    ASSERT_TRUE(BannerReads(QStringLiteral("退款成功！")));
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("已退款"));
    EXPECT_TRUE(grid->item(0, 4)->text().startsWith(u'-'));
    EXPECT_EQ(Sql("select count(*) from TBL_TRANS_LOG where REV_FLAG = '3' and TRANS_AMT < 0"),
              "1");

    // The operator's settlement: the bill goes to the printer and the rows are marked.
    WaitForPrintJobs();
    PressKey(Qt::Key_F4);
    PasswordPrompt& settle = Query().SettlementPrompt();
    ASSERT_TRUE(settle.isVisible());
    settle.PasswordBox()->setText(QStringLiteral("123456"));
    PressKey(Qt::Key_Return);
    ASSERT_TRUE(BannerReads(QStringLiteral("结算成功！")));
    EXPECT_TRUE(PrintFile().contains(QStringLiteral("交易结算账单")));
    EXPECT_EQ(Sql("select count(*) from TBL_TRANS_LOG where SETTLE_TYPE <> '1'"), "0");
    EXPECT_EQ(m_restarts, 0);
}

TEST_F(EndToEndTest, RestartShowsThePaymentALostRunHadLeftOpen) {
    // The run before took a payment the gateway confirmed, and ended before writing its row.
    RequestBuffer request;
    ClearRequest(request);
    BuildPurchase("12.30", "134567890123456789", request, u"CNY");
    const std::string order = LastPurchaseOrderNumber();
    JournalEntry entry = NewJournalEntry("PURC", order, "12.30", "01", CurrentClock().Now());
    ASSERT_TRUE(JournalInsert(*GetLocalDb(), entry));
    bool sent = false;
    ASSERT_TRUE(m_operations->Services().exchanges.Start(request, [&](ExchangeResult) { sent = true; }));
    ASSERT_TRUE(SpinUntil([&] { return sent; }));
    ASSERT_EQ(Sql("select count(*) from TBL_TRANS_LOG"), "0");

    // This run finds it paid, records it for the operator who took it and says so.
    m_operations->StartReconciliation(
        [this](const QString& text) { m_window->ShowMessage(MessageKind::Success, text); },
        [] { return true; });
    ASSERT_TRUE(BannerReads(QStringLiteral("已找回付款，订单号：") + QString::fromStdString(order) +
                            QStringLiteral("，金额：12.30")));
    EXPECT_EQ(Sql("select OPER_ID || '|' || TRANS_AMT || '|' || ACCEPT_INS_CODE from "
                  "TBL_TRANS_LOG where ORDER_NUM = '" + order + "'"),
              "01|12.3|WXP");
    EXPECT_EQ(Sql("select STATE from TBL_ORDER_JOURNAL"), "paid");
}

}  // namespace
}  // namespace zelvo
