#include <gtest/gtest.h>

#include <QFile>
#include <QFontMetrics>

#include "payment/TransactionList.h"
#include "shell/controls/ActionButton.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinDialog.h"
#include "shell/controls/KeypadInput.h"
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

using test::PressKey;
using test::PressOnPage;

std::string LogRow(const std::string& time, const std::string& processFlag,
                   const std::string& revFlag, const std::string& order, const std::string& amount,
                   const std::string& channel = "WXP", const std::string& operatorId = "01") {
    return "insert into TBL_TRANS_LOG (REC_CREATE_TIME, TRANS_CODE, PROCESS_FLAG, REV_FLAG, "
           "ORIG_ORDER_NUM, ORDER_NUM, OPER_ID, TRANS_AMT, ACCEPT_INS_CODE, RESP_CODE, SYS_DATE, "
           "SETTLE_TYPE) values ('" +
           time + "', 'PURC', '" + processFlag + "', '" + revFlag + "', '', '" + order + "', '" +
           operatorId + "', " + amount + ", '" + channel + "', '00', '20261207', '0');";
}

class QueryRefundPageTest : public testing::Test {
protected:
    QueryRefundPageTest() : m_env(m_gateway) {}
    ~QueryRefundPageTest() override {
        m_gateway.HoldExchanges(false);
        m_page.reset();
    }
    void Open() {
        m_page = std::make_unique<QueryRefundPage>(m_host, m_env.Services(), nullptr);
        m_host.pages = {m_page.get()};
        m_host.current = PageId::QueryRefund;
        test::ShowActive(*m_page);
        m_page->PreparePage();
    }
    void AddRows(const std::string& sql) { test::RunSql(m_env.DbPath(), sql); }
    TransactionGrid* Grid() const { return m_page->Panel().Grid(); }
    SkinEdit* Search() const { return m_page->Panel().SearchBox(); }
    RefundPrompt& Refund() const { return m_page->Refund(); }
    QWidget* Focused() const { return QApplication::focusWidget(); }
    QString Cell(int row, int column) const { return Grid()->item(row, column)->text(); }
    void SetKey(const std::string& name, const std::string& value) {
        ASSERT_TRUE(
            m_env.Db().Execute("update SysConfig set Value = ? where Name = ?", {value, name}));
    }

    test::ScriptedGateway m_gateway;
    test::PagesEnvironment m_env;
    test::FakeShellHost m_host;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<QueryRefundPage> m_page;
};

TEST_F(QueryRefundPageTest, ListsTheNewestHundredOfOneHundredFiftyRows) {
    std::string sql = "begin;";
    for (int i = 0; i < 150; ++i) {
        char time[32];
        std::snprintf(time, sizeof time, "2026-12-07 10:%02d:%02d", i / 60, i % 60);
        sql += LogRow(time, "0", "0", "ORD" + std::to_string(1000 + i), "1.00");
    }
    AddRows(sql + "commit;");
    Open();
    ASSERT_EQ(Grid()->rowCount(), 100);
    EXPECT_EQ(Cell(0, 3), QStringLiteral("ORD1149"));
    EXPECT_EQ(Cell(99, 3), QStringLiteral("ORD1050"));
    EXPECT_EQ(Grid()->columnWidth(0), 140);
    EXPECT_EQ(Grid()->columnWidth(7), 40);
    EXPECT_EQ(Cell(5, 7), QStringLiteral("打印"));
    EXPECT_EQ(Focused(), Search());
}

TEST_F(QueryRefundPageTest, StatusTextsAndColoursOfEveryKindOfRow) {
    AddRows(LogRow("2026-12-07 10:00:06", "0", "0", "PAID", "5.00") +
            LogRow("2026-12-07 10:00:05", "0", "3", "REFUNDED", "-5.00") +
            LogRow("2026-12-07 10:00:04", "0", "2", "CANCELLED", "5.00") +
            LogRow("2026-12-07 10:00:03", "5", "0", "OPEN", "5.00") +
            LogRow("2026-12-07 10:00:02", "1", "0", "FAILED", "5.00", "ABC") +
            LogRow("2026-12-07 10:00:01", "0", "1", "ODD", "5.00", "wxp"));
    Open();
    ASSERT_EQ(Grid()->rowCount(), 6);
    const QString statuses[] = {QStringLiteral("付款成功"), QStringLiteral("已退款"),
                                QStringLiteral("已撤销"),   QStringLiteral("处理中..."),
                                QStringLiteral("付款失败"), QStringLiteral("0")};
    for (int row = 0; row < 6; ++row) EXPECT_EQ(Cell(row, 1), statuses[row]) << row;
    const QColor darkRed(120, 0, 0);
    EXPECT_EQ(Grid()->item(1, 0)->foreground().color(), darkRed);
    EXPECT_EQ(Grid()->item(3, 4)->foreground().color(), darkRed);
    EXPECT_EQ(Grid()->item(4, 2)->foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(Grid()->item(0, 0)->foreground().style(), Qt::NoBrush);
    EXPECT_EQ(Cell(4, 5), QStringLiteral("ABC"));
    EXPECT_EQ(Cell(5, 5), QStringLiteral("微信"));
}

TEST_F(QueryRefundPageTest, EnterSearchesSelectsAListedRowAndSwallowsTheNextDown) {
    AddRows(LogRow("2026-12-07 10:00:02", "0", "0", "A123B", "1.00") +
            LogRow("2026-12-07 10:00:01", "0", "0", "C1234", "2.00"));
    Open();
    Search()->setText(QStringLiteral("123"));
    PressOnPage(*m_page, Qt::Key_Return);
    EXPECT_EQ(Focused(), Grid());
    EXPECT_EQ(Grid()->currentRow(), 0);
    // The Down that a scanner's Enter may bring along is dropped once.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    EXPECT_TRUE(m_page->HandlePageKey(down));
    EXPECT_FALSE(m_page->HandlePageKey(down));
}

TEST_F(QueryRefundPageTest, SearchBeyondTheListAppendsTheLastStoredMatch) {
    std::string sql = "begin;";
    for (int i = 0; i < 100; ++i) {
        char time[32];
        std::snprintf(time, sizeof time, "2026-12-07 11:%02d:%02d", i / 60, i % 60);
        sql += LogRow(time, "0", "0", "NEW" + std::to_string(i), "1.00");
    }
    sql += LogRow("2026-12-01 09:00:00", "0", "0", "OLD777A", "7.00");
    sql += LogRow("2026-12-01 09:00:01", "0", "0", "OLD777B", "8.00");
    AddRows(sql + "commit;");
    Open();
    Search()->setText(QStringLiteral("777"));
    m_page->Panel().SearchButton()->Clicked(0);
    ASSERT_EQ(Grid()->rowCount(), 101);
    EXPECT_EQ(Cell(100, 3), QStringLiteral("OLD777B"));
    EXPECT_EQ(Grid()->currentRow(), 100);

    Search()->setText(QStringLiteral("none"));
    m_page->Panel().SearchButton()->Clicked(0);
    EXPECT_EQ(m_host.LastText(), QStringLiteral("对不起，没有查到该订单号！"));
    EXPECT_EQ(Focused(), Search());
}

TEST_F(QueryRefundPageTest, TabMovesBetweenSearchBoxAndGrid) {
    Open();
    PressOnPage(*m_page, Qt::Key_Tab);
    EXPECT_EQ(Focused(), Grid());
    PressOnPage(*m_page, Qt::Key_Tab);
    EXPECT_EQ(Focused(), Search());
}

TEST_F(QueryRefundPageTest, KeypadEditsTheSearchBoxAndItsConfirmSearches) {
    AddRows(LogRow("2026-12-07 10:00:01", "0", "0", "A7788", "1.00"));
    Open();
    for (int key : {7, 7, 9, KeypadKey::Backspace, 8}) m_page->HandleKeypadKey(key);
    EXPECT_EQ(Search()->text(), QStringLiteral("778"));
    m_host.keypadOpen = true;
    m_page->HandleKeypadKey(KeypadKey::Confirm);
    EXPECT_EQ(Focused(), Grid());
    EXPECT_EQ(Grid()->currentRow(), 0);
    EXPECT_FALSE(m_host.keypadOpen);
}

TEST_F(QueryRefundPageTest, RefundPromptTabAndEnterOrder) {
    Open();
    Search()->setText(QStringLiteral("ORD9"));
    m_page->OpenRefund();
    ASSERT_TRUE(Refund().isVisible());
    EXPECT_TRUE(m_page->PageBusy());
    EXPECT_EQ(Refund().OrderBox()->text(), QStringLiteral("ORD9"));
    EXPECT_TRUE(Refund().AmountBox()->text().isEmpty());
    EXPECT_EQ(Focused(), Refund().ConfirmButton());
    EXPECT_TRUE(Refund().ConfirmButton()->IsSelected());

    // Enter on "确  定" does nothing; Tab goes on to "取  消" and round to the order number.
    PressOnPage(*m_page, Qt::Key_Return);
    EXPECT_TRUE(Refund().isVisible());
    PressOnPage(*m_page, Qt::Key_Tab);
    EXPECT_EQ(Focused(), Refund().CancelButton());
    EXPECT_TRUE(Refund().CancelButton()->IsSelected());
    PressOnPage(*m_page, Qt::Key_Tab);
    EXPECT_EQ(Focused(), Refund().OrderBox());
    PressOnPage(*m_page, Qt::Key_Tab);
    EXPECT_EQ(Focused(), Refund().AmountBox());
    PressOnPage(*m_page, Qt::Key_Tab);
    EXPECT_EQ(Focused(), Refund().PasswordBox());
    PressOnPage(*m_page, Qt::Key_Tab);
    EXPECT_EQ(Focused(), Refund().ConfirmButton());

    Refund().OrderBox()->setFocus();
    PressOnPage(*m_page, Qt::Key_Return);
    EXPECT_EQ(Focused(), Refund().AmountBox());
    PressOnPage(*m_page, Qt::Key_Return);
    EXPECT_EQ(Focused(), Refund().PasswordBox());
    Refund().CancelButton()->setFocus();
    PressOnPage(*m_page, Qt::Key_Return);
    EXPECT_FALSE(Refund().isVisible());
    EXPECT_FALSE(m_page->PageBusy());
}

TEST_F(QueryRefundPageTest, RefundPromptKeypadFollowsTheAmountRule) {
    Open();
    m_page->OpenRefund();
    Refund().AmountBox()->setFocus();
    for (int key : {1, 2, KeypadKey::Dot, 3, 4, 5}) m_page->HandleKeypadKey(key);
    EXPECT_EQ(Refund().AmountBox()->text(), QStringLiteral("12.34"));
    m_page->HandleKeypadKey(KeypadKey::Backspace);
    EXPECT_EQ(Refund().AmountBox()->text(), QStringLiteral("12.3"));
    m_page->HandleKeypadKey(KeypadKey::Confirm);
    EXPECT_EQ(Focused(), Refund().PasswordBox());
    // On "确  定", where Enter does nothing, the keypad's confirm confirms.
    Refund().ConfirmButton()->setFocus();
    m_host.keypadOpen = true;
    m_page->HandleKeypadKey(KeypadKey::Confirm);
    EXPECT_EQ(m_host.LastText(), QStringLiteral("密码错误！"));
    EXPECT_FALSE(m_host.keypadOpen);
}

TEST_F(QueryRefundPageTest, OnlyAPaidSelectedRowCanBeRefunded) {
    AddRows(LogRow("2026-12-07 10:00:02", "0", "3", "GONE", "-3.00") +
            LogRow("2026-12-07 10:00:01", "0", "0", "PAID1", "3.00"));
    Open();
    Grid()->setFocus();
    Grid()->selectRow(0);
    m_page->OpenRefund();
    EXPECT_EQ(m_host.LastText(), QStringLiteral("不能退款！"));
    EXPECT_FALSE(Refund().isVisible());
    Grid()->selectRow(1);
    m_page->OpenRefund();
    ASSERT_TRUE(Refund().isVisible());
    EXPECT_EQ(Refund().OrderBox()->text(), QStringLiteral("PAID1"));
    EXPECT_EQ(Refund().AmountBox()->text(), QStringLiteral("3.00"));
}

// Gateway order numbers are 23 digits and differ in the last ones, which the fixed column and
// the refund box would cut off.
TEST_F(QueryRefundPageTest, WholeOrderNumbersOnHoverAndInTheRefundBox) {
    const QString order = QStringLiteral("20261208043835795107386");
    AddRows(LogRow("2026-12-07 10:00:01", "0", "0", order.toStdString(), "3.00"));
    Open();
    EXPECT_EQ(Grid()->item(0, 3)->toolTip(), order);
    EXPECT_TRUE(Grid()->item(0, 4)->toolTip().isEmpty());
    EXPECT_TRUE(Grid()->item(0, 2)->toolTip().isEmpty());

    Grid()->setFocus();
    Grid()->selectRow(0);
    m_page->OpenRefund();
    ASSERT_TRUE(Refund().isVisible());
    SkinEdit* box = Refund().OrderBox();
    EXPECT_EQ(box->text(), order);
    EXPECT_EQ(box->cursorPosition(), 0);
    EXPECT_LT(box->font().pixelSize(), 24);
    EXPECT_LE(QFontMetrics(box->font()).horizontalAdvance(order), box->width() - 8);
    // A short number keeps the box's own size.
    box->setText(QStringLiteral("ORD1"));
    EXPECT_EQ(box->font().pixelSize(), 24);
}

TEST_F(QueryRefundPageTest, ASecondRefundWhileTheAnswerIsOutstandingIsRefused) {
    AddRows(LogRow("2026-12-07 10:00:01", "0", "0", "PAID1", "3.00"));
    Open();
    m_gateway.HoldExchanges(true);
    m_gateway.Script({"REFD", "00", "WXP", -3.0, "RFD1", "PAID1"});
    m_page->OpenRefund();
    Refund().OrderBox()->setText(QStringLiteral("PAID1"));
    Refund().AmountBox()->setText(QStringLiteral("3.00"));
    Refund().PasswordBox()->setText(QStringLiteral("888888"));
    Refund().PasswordBox()->setFocus();
    PressKey(Qt::Key_Return);
    EXPECT_FALSE(Refund().isVisible());
    ASSERT_TRUE(m_env.Runner().IsRunning());

    m_page->OpenRefund();
    Refund().OrderBox()->setText(QStringLiteral("PAID1"));
    Refund().AmountBox()->setText(QStringLiteral("3.00"));
    Refund().PasswordBox()->setText(QStringLiteral("888888"));
    Refund().ConfirmButton()->Clicked(0);
    EXPECT_EQ(m_host.LastText(), QStringLiteral("正在处理，请稍候！"));
    EXPECT_TRUE(Refund().isVisible());

    m_gateway.HoldExchanges(false);
    ASSERT_TRUE(
        test::SpinUntil([this] { return m_host.LastText() == QStringLiteral("退款成功！"); }));
    EXPECT_EQ(Cell(0, 1), QStringLiteral("已退款"));
    EXPECT_EQ(Cell(0, 4), QStringLiteral("-3.00"));
    EXPECT_EQ(m_gateway.RequestCount(), 1u);
}

TEST_F(QueryRefundPageTest, WrongAdministratorPasswordKeepsThePromptOpen) {
    Open();
    m_page->OpenRefund();
    Refund().PasswordBox()->setText(QStringLiteral("123"));
    Refund().PasswordBox()->setFocus();
    PressKey(Qt::Key_Return);
    EXPECT_EQ(m_host.LastText(), QStringLiteral("密码错误！"));
    EXPECT_TRUE(Refund().isVisible());
    EXPECT_TRUE(Refund().PasswordBox()->text().isEmpty());
    EXPECT_EQ(Focused(), Refund().PasswordBox());
}

TEST_F(QueryRefundPageTest, SettlementPromptChecksThePasswordAndMarksTheRows) {
    AddRows(LogRow("2026-12-07 10:00:01", "0", "0", "PAID1", "3.00"));
    Open();
    m_page->Panel().SettleButton()->Clicked(0);
    PasswordPrompt& prompt = m_page->SettlementPrompt();
    ASSERT_TRUE(prompt.isVisible());
    EXPECT_TRUE(m_page->PageBusy());
    EXPECT_EQ(Focused(), prompt.PasswordBox());
    prompt.PasswordBox()->setText(QStringLiteral("000000"));
    PressKey(Qt::Key_Return);
    EXPECT_EQ(m_host.LastText(), QStringLiteral("密码错误，结算失败！"));
    EXPECT_TRUE(prompt.isVisible());
    EXPECT_TRUE(prompt.PasswordBox()->text().isEmpty());

    prompt.PasswordBox()->setText(QStringLiteral("123456"));
    PressKey(Qt::Key_Return);
    EXPECT_EQ(m_host.LastText(), QStringLiteral("结算成功！"));
    EXPECT_FALSE(prompt.isVisible());
    EXPECT_EQ(m_env.printJobs, 1);
    EXPECT_EQ(test::QueryText(m_env.DbPath(), "select SETTLE_TYPE from TBL_TRANS_LOG"), "1");
    EXPECT_EQ(Focused(), Search());
    EXPECT_TRUE(m_dialogs.History().empty());
}

TEST_F(QueryRefundPageTest, SettlementAtTheEndOfAShiftAsksToLogInAgain) {
    Open();
    SetEndOfShiftFlag(true);
    m_page->OpenSettlement();
    m_page->SettlementPrompt().CancelButton()->Clicked(0);
    ASSERT_EQ(m_dialogs.History().size(), 1u);
    EXPECT_EQ(m_dialogs.History()[0].text, QStringLiteral("确定要重新登陆吗？"));
    // Declined: the operator stays and the shift goes on.
    EXPECT_FALSE(EndOfShiftFlag());
}

TEST_F(QueryRefundPageTest, ASecondSettlementWhileOneRunsIsRefused) {
    AddRows(LogRow("2026-12-07 10:00:01", "0", "0", "PAID1", "3.00"));
    Open();
    SetEndOfShiftFlag(true);
    // While the re-login question of the first settlement is open, Escape asks for another.
    bool secondOpened = true;
    m_dialogs.SetResponder([&](SkinDialog&) {
        m_page->OpenSettlement();
        secondOpened = m_page->SettlementPrompt().isVisible();
        return DialogResult::Cancel;
    });
    m_page->OpenSettlement();
    m_page->SettlementPrompt().PasswordBox()->setText(QStringLiteral("123456"));
    m_page->SettlementPrompt().ConfirmButton()->Clicked(0);
    ASSERT_EQ(m_dialogs.History().size(), 1u);
    EXPECT_FALSE(secondOpened);
    EXPECT_EQ(m_host.LastText(), QStringLiteral("正在处理，请稍候！"));
    EXPECT_EQ(m_env.printJobs, 1);
    // Once it has ended, the next settlement opens as usual.
    m_page->OpenSettlement();
    EXPECT_TRUE(m_page->SettlementPrompt().isVisible());
}

TEST_F(QueryRefundPageTest, OpeningTheSettlementPromptClosesTheRefundPrompt) {
    Open();
    m_page->OpenRefund();
    ASSERT_TRUE(Refund().isVisible());
    m_page->OpenSettlement();
    EXPECT_FALSE(Refund().isVisible());
    EXPECT_TRUE(m_page->SettlementPrompt().isVisible());
    m_page->OpenRefund();
    EXPECT_FALSE(m_page->SettlementPrompt().isVisible());
    EXPECT_TRUE(Refund().isVisible());
}

TEST_F(QueryRefundPageTest, RepealAndSettleKeysAreReadAtEveryPress) {
    Open();
    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    EXPECT_TRUE(m_page->HandlePageKey(f3));
    EXPECT_TRUE(Refund().isVisible());
    Refund().CancelButton()->Clicked(0);

    SetKey("SettleKey", "f2");
    SetKey("RightKey", "f2");
    Search()->setFocus();
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    EXPECT_TRUE(m_page->HandlePageKey(f2));
    EXPECT_TRUE(m_page->SettlementPrompt().isVisible());
    EXPECT_EQ(m_host.nextCount, 0);
}

// SCprint.txt of the working folder as text, without its byte-order mark.
QString SlipText() {
    QFile file(QStringLiteral("SCprint.txt"));
    if (!file.open(QIODevice::ReadOnly)) return QString();
    const QByteArray bytes = file.readAll().mid(2);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                              bytes.size() / 2);
}

TEST_F(QueryRefundPageTest, EnterOnTheGridAndAClickOnThePrintCellReprintTheirRow) {
    AddRows(LogRow("2026-12-07 10:00:02", "0", "0", "CLICKED", "3.30") +
            LogRow("2026-12-07 10:00:01", "0", "0", "ENTERED", "12.00"));
    Open();
    Grid()->setFocus();
    Grid()->selectRow(1);
    PressOnPage(*m_page, Qt::Key_Return);
    EXPECT_EQ(m_env.printJobs, 1);
    EXPECT_TRUE(SlipText().contains(QStringLiteral("ENTERED")));
    EXPECT_TRUE(SlipText().contains(QStringLiteral("金额：RMB  12.00\r\n")));

    Q_EMIT Grid()->cellClicked(0, 7);
    EXPECT_EQ(m_env.printJobs, 2);
    EXPECT_EQ(Grid()->currentRow(), 0);
    EXPECT_TRUE(SlipText().contains(QStringLiteral("CLICKED")));

    // Any other cell only selects.
    Q_EMIT Grid()->cellClicked(1, 3);
    EXPECT_EQ(m_env.printJobs, 2);
}

}  // namespace
}  // namespace zelvo
