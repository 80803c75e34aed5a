// The query page driven from the keyboard alone: reaching and choosing a row of the grid, and
// leaving the refund and settlement prompts with Escape.
#include <gtest/gtest.h>

#include "shell/controls/AmountEdit.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinEdit.h"
#include "shell/controls/TabButton.h"
#include "shell/pages/PasswordPrompt.h"
#include "shell/pages/QueryRefundPage.h"
#include "shell/pages/QueryRefundPanel.h"
#include "shell/pages/RefundPrompt.h"
#include "shell/pages/TransactionGrid.h"
#include "tests/pages/PageTestSupport.h"

namespace zelvo {
namespace {

using test::PressOnPage;

class QueryRefundKeysTest : public testing::Test {
protected:
    QueryRefundKeysTest() : m_env(m_gateway) {}

    // Paid rows, newest first: order numbers and amounts as listed.
    void OpenWithPaidRows(const std::vector<std::pair<std::string, std::string>>& rows) {
        std::string sql = "begin;";
        int second = 59;
        for (const auto& [order, amount] : rows) {
            sql +=
                "insert into TBL_TRANS_LOG (REC_CREATE_TIME, TRANS_CODE, PROCESS_FLAG, "
                "REV_FLAG, ORDER_NUM, OPER_ID, TRANS_AMT, ACCEPT_INS_CODE, RESP_CODE, "
                "SETTLE_TYPE) values ('2026-12-07 10:00:" +
                std::to_string(second--) + "', 'PURC', '0', '0', '" + order + "', '01', " + amount +
                ", 'WXP', '00', '0');";
        }
        test::RunSql(m_env.DbPath(), sql + "commit;");
        m_page = std::make_unique<QueryRefundPage>(m_host, m_env.Services(), nullptr);
        m_host.pages = {m_page.get()};
        m_host.current = PageId::QueryRefund;
        test::ShowActive(*m_page);
        m_page->PreparePage();
    }
    TransactionGrid* Grid() const { return m_page->Panel().Grid(); }
    RefundPrompt& Refund() const { return m_page->Refund(); }
    PasswordPrompt& Settlement() const { return m_page->SettlementPrompt(); }
    std::vector<int> SelectedRows() const {
        std::vector<int> rows;
        for (const QModelIndex& index : Grid()->selectionModel()->selectedRows()) {
            rows.push_back(index.row());
        }
        return rows;
    }
    void PressRepealKey() {
        QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
        EXPECT_TRUE(m_page->HandlePageKey(f3));
    }

    test::ScriptedGateway m_gateway;
    test::PagesEnvironment m_env;
    test::FakeShellHost m_host;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<QueryRefundPage> m_page;
};

TEST_F(QueryRefundKeysTest, TabToTheGridSelectsTheOnlyRowForTheRefundKey) {
    OpenWithPaidRows({{"PAY1230", "12.30"}});
    PressOnPage(*m_page, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Grid());
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    // Down on the last row keeps it.
    PressOnPage(*m_page, Qt::Key_Down);
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});

    PressRepealKey();
    ASSERT_TRUE(Refund().isVisible());
    EXPECT_EQ(Refund().OrderBox()->text(), QStringLiteral("PAY1230"));
    EXPECT_EQ(Refund().AmountBox()->text(), QStringLiteral("12.30"));
}

TEST_F(QueryRefundKeysTest, UpAndDownMoveTheSelectionTheRefundKeyUses) {
    OpenWithPaidRows({{"NEWEST", "1.00"}, {"MIDDLE", "2.00"}, {"OLDEST", "3.00"}});
    PressOnPage(*m_page, Qt::Key_Tab);
    PressOnPage(*m_page, Qt::Key_Down);
    PressOnPage(*m_page, Qt::Key_Down);
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    PressOnPage(*m_page, Qt::Key_Up);
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    // With the selection gone, the first Down takes the row the grid stands on.
    Grid()->clearSelection();
    PressOnPage(*m_page, Qt::Key_Down);
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});

    PressRepealKey();
    ASSERT_TRUE(Refund().isVisible());
    EXPECT_EQ(Refund().OrderBox()->text(), QStringLiteral("MIDDLE"));
    EXPECT_EQ(Refund().AmountBox()->text(), QStringLiteral("2.00"));
}

TEST_F(QueryRefundKeysTest, AnEmptyGridTakesTheFocusWithoutASelection) {
    OpenWithPaidRows({});
    PressOnPage(*m_page, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Grid());
    PressOnPage(*m_page, Qt::Key_Down);
    EXPECT_TRUE(SelectedRows().empty());
}

TEST_F(QueryRefundKeysTest, EscapeCancelsTheRefundPromptFromAnyOfItsControls) {
    OpenWithPaidRows({{"PAY1", "5.00"}});
    const std::vector<QWidget*> controls = {Refund().AmountBox(), Refund().PasswordBox(),
                                            Refund().ConfirmButton()};
    for (QWidget* control : controls) {
        m_page->OpenRefund();
        ASSERT_TRUE(Refund().isVisible());
        control->setFocus();
        PressOnPage(*m_page, Qt::Key_Escape);
        EXPECT_FALSE(Refund().isVisible());
        EXPECT_FALSE(m_page->PageBusy());
    }
    // Only the prompt closes: no settlement, no end of the shift, no exchange.
    EXPECT_FALSE(Settlement().isVisible());
    EXPECT_FALSE(EndOfShiftFlag());
    EXPECT_EQ(m_gateway.RequestCount(), 0u);
}

TEST_F(QueryRefundKeysTest, AfterEscapeTheRefundKeyWorksAgainAtOnce) {
    OpenWithPaidRows({{"PAY1", "5.00"}, {"PAY2", "6.00"}});
    PressOnPage(*m_page, Qt::Key_Tab);
    PressOnPage(*m_page, Qt::Key_Down);
    PressRepealKey();
    ASSERT_TRUE(Refund().isVisible());
    PressOnPage(*m_page, Qt::Key_Escape);
    ASSERT_FALSE(Refund().isVisible());
    // The keyboard is back on the grid with the row still chosen: no Tab needed.
    EXPECT_EQ(QApplication::focusWidget(), Grid());
    PressOnPage(*m_page, Qt::Key_Up);
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    PressRepealKey();
    ASSERT_TRUE(Refund().isVisible());
    EXPECT_EQ(Refund().OrderBox()->text(), QStringLiteral("PAY1"));
}

TEST_F(QueryRefundKeysTest, EscapeCancelsTheSettlementPromptAsItsCancelButtonDoes) {
    OpenWithPaidRows({{"PAY1", "5.00"}});
    m_page->OpenSettlement();
    Settlement().PasswordBox()->setText(QStringLiteral("123456"));
    PressOnPage(*m_page, Qt::Key_Escape);
    EXPECT_FALSE(Settlement().isVisible());
    EXPECT_TRUE(m_dialogs.History().empty());
    EXPECT_EQ(test::QueryText(m_env.DbPath(), "select SETTLE_TYPE from TBL_TRANS_LOG"), "0");

    // At the end of a shift, cancelling asks whether to log in again.
    SetEndOfShiftFlag(true);
    m_page->OpenSettlement();
    PressOnPage(*m_page, Qt::Key_Escape);
    EXPECT_FALSE(Settlement().isVisible());
    ASSERT_EQ(m_dialogs.History().size(), 1u);
    EXPECT_EQ(m_dialogs.History()[0].text, QStringLiteral("确定要重新登陆吗？"));
}

TEST_F(QueryRefundKeysTest, AHeldEscapeDoesNotCloseThePromptItOpened) {
    OpenWithPaidRows({});
    m_page->OpenSettlement();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(Settlement().PasswordBox(), &repeat);
    EXPECT_TRUE(Settlement().isVisible());
}

}  // namespace
}  // namespace zelvo
