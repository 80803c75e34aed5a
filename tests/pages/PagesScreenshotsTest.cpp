#include <filesystem>

#include <gtest/gtest.h>

#include "config/TerminalConfig.h"
#include "payment/PaymentFlow.h"
#include "shell/controls/ActionButton.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/ConfirmDialog.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/Skin.h"
#include "shell/controls/SkinEdit.h"
#include "shell/pages/PasswordPrompt.h"
#include "shell/pages/PaymentPage.h"
#include "shell/pages/PaymentPanel.h"
#include "shell/pages/QueryRefundPage.h"
#include "shell/pages/QueryRefundPanel.h"
#include "shell/pages/RefundPrompt.h"
#include "shell/settings/SettingsPage.h"
#include "tests/pages/PageTestSupport.h"

namespace zelvo {
namespace {

// Saves the look of the pages as PNG files under <build>/screenshots/pages for a person to
// look at; each must come out as a real picture of its widget's size.
class PagesScreenshotsTest : public testing::Test {
protected:
    PagesScreenshotsTest() : m_env(m_gateway) {
        // The faces the cashier draws with, as at start-up.
        skin::InstallFontSubstitutions();
        std::filesystem::copy(std::filesystem::path(ZELVO_SOURCE_DIR) / "data" / "pic", "pic",
                              std::filesystem::copy_options::recursive);
    }
    ~PagesScreenshotsTest() override { m_gateway.HoldExchanges(false); }

    void Save(QWidget& widget, const char* name) {
        const std::filesystem::path folder =
            std::filesystem::path(ZELVO_BINARY_DIR) / "screenshots" / "pages";
        std::filesystem::create_directories(folder);
        QCoreApplication::processEvents();
        const QPixmap shot = widget.grab();
        ASSERT_FALSE(shot.isNull()) << name;
        EXPECT_EQ(shot.size(), widget.size()) << name;
        ASSERT_TRUE(shot.save(QString::fromStdString((folder / name).string()), "PNG")) << name;
    }
    void Pay(PaymentPage& page, const QString& amount) {
        page.Panel().AmountBox()->setText(amount);
        page.Panel().CodeBox()->setText(QStringLiteral("134567890123456789"));
        page.Flow().ConfirmPayment();
        test::SpinUntil([this] { return !m_env.Runner().IsRunning(); });
        QCoreApplication::processEvents();
    }

    test::ScriptedGateway m_gateway;
    test::PagesEnvironment m_env;
    test::FakeShellHost m_host;
    ScriptedDialogs m_dialogs;
};

TEST_F(PagesScreenshotsTest, PaymentPageWithThreeLinesAndTheWaitingPrompt) {
    PaymentPage page(m_host, m_env.Services(), nullptr);
    test::ShowActive(page);
    m_gateway.Script({"PURC", "00", "WXP", 12.30, "202612071030001"});
    Pay(page, QStringLiteral("12.30"));
    m_gateway.Script({"PURC", "51", "ALP", 8.00, "202612071031002"});
    Pay(page, QStringLiteral("8.00"));
    m_gateway.Script({"PURC", "09", "YZF", 25.91, "202612071032003"});
    Pay(page, QStringLiteral("25.91"));
    m_gateway.Script({"INQY", "09", "YZF", 25.91, "", "202612071032003"});
    page.Flow().QueryNow();
    test::SpinUntil([this] { return !m_env.Runner().IsRunning(); });
    QCoreApplication::processEvents();
    page.Panel().AmountBox()->setText(QStringLiteral("66.00"));
    page.Flow().AmountEdited();
    Save(page, "payment-page.png");
    ConfirmDialog* prompt = page.Panel().WaitingPrompt();
    ASSERT_NE(prompt, nullptr);
    Save(*prompt, "waiting-prompt.png");
    prompt->CloseConfirmed();
}

TEST_F(PagesScreenshotsTest, PaymentPageWhileTheExchangeRuns) {
    PaymentPage page(m_host, m_env.Services(), nullptr);
    test::ShowActive(page);
    page.Panel().AmountBox()->setText(QStringLiteral("66.00"));
    page.Flow().AmountEdited();
    page.Panel().CodeBox()->setText(QStringLiteral("134567890123456789"));
    m_gateway.HoldExchanges(true);
    m_gateway.Script({"PURC", "00", "WXP", 66.00, "202612071033004"});
    page.Flow().ConfirmPayment();
    ASSERT_TRUE(test::SpinUntil([&] { return page.Panel().ConfirmButton()->Dimmed(); }));
    Save(page, "payment-page-busy.png");
    m_gateway.HoldExchanges(false);
    test::SpinUntil([this] { return !m_env.Runner().IsRunning(); });
}

TEST_F(PagesScreenshotsTest, QueryPageWithEveryStatusAndItsPrompts) {
    std::string sql;
    const char* rows[][4] = {
        {"2026-12-07 10:00:06", "0", "0", "WXP"}, {"2026-12-07 10:00:05", "0", "3", "ALP"},
        {"2026-12-07 10:00:04", "0", "2", "QQP"}, {"2026-12-07 10:00:03", "5", "0", "YZF"},
        {"2026-12-07 10:00:02", "1", "0", "JDP"}, {"2026-12-07 10:00:01", "0", "1", "ABC"},
    };
    int n = 0;
    for (const auto& row : rows) {
        sql += std::string(
                   "insert into TBL_TRANS_LOG (REC_CREATE_TIME, PROCESS_FLAG, REV_FLAG, "
                   "ORDER_NUM, OPER_ID, TRANS_AMT, ACCEPT_INS_CODE, RESP_CODE) values ('") +
               row[0] + "', '" + row[1] + "', '" + row[2] + "', '2026120710000012345678" +
               std::to_string(++n) + "', '01', " + (row[2][0] == '3' ? "-5.00" : "5.00") + ", '" +
               row[3] + "', '00');";
    }
    test::RunSql(m_env.DbPath(), sql);
    QueryRefundPage page(m_host, m_env.Services(), nullptr);
    test::ShowActive(page);
    page.PreparePage();
    Save(page, "query-page.png");
    page.Panel().SearchBox()->setText(QStringLiteral("20261207100000123456781"));
    page.OpenRefund();
    page.Refund().AmountBox()->setText(QStringLiteral("5.00"));
    page.Refund().PasswordBox()->setText(QStringLiteral("888888"));
    Save(page.Refund(), "refund-prompt.png");
    page.OpenSettlement();
    page.SettlementPrompt().PasswordBox()->setText(QStringLiteral("123456"));
    Save(page.SettlementPrompt(), "settlement-prompt.png");
}

TEST_F(PagesScreenshotsTest, SettingsPage) {
    SettingsPage::Services services;
    services.db = &m_env.Db();
    services.operatorId = [] { return std::string("00"); };
    services.restart = [] {};
    SettingsPage page(m_host, services, ParameterSettings::LoadForm(&m_env.Db(), m_env.Config()),
                      {QStringLiteral("Receipt-80")}, nullptr);
    test::ShowActive(page);
    page.PreparePage();
    Save(page, "settings-page.png");
}

}  // namespace
}  // namespace zelvo
