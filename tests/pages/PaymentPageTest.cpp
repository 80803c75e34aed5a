#include <gtest/gtest.h>

#include "payment/PaymentFlow.h"
#include "shell/controls/ActionButton.h"
#include "shell/controls/AmountDisplay.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/BusyIndicator.h"
#include "shell/controls/ConfirmDialog.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/KeypadInput.h"
#include "shell/Layout.h"
#include "shell/controls/Skin.h"
#include "shell/controls/SkinEdit.h"
#include "shell/pages/PaymentLogList.h"
#include "shell/pages/PaymentPage.h"
#include "shell/pages/PaymentPanel.h"
#include "tests/pages/PageTestSupport.h"

namespace zelvo {
namespace {

using test::PressKey;

class PaymentPageTest : public testing::Test {
protected:
    PaymentPageTest() : m_env(m_gateway) {
        m_page = std::make_unique<PaymentPage>(m_host, m_env.Services(), nullptr);
        test::ShowActive(*m_page);
        m_page->PreparePage();
    }
    ~PaymentPageTest() override {
        m_gateway.HoldExchanges(false);
        m_page.reset();
    }
    AmountEdit* Amount() const { return m_page->Panel().AmountBox(); }
    SkinEdit* Code() const { return m_page->Panel().CodeBox(); }
    QWidget* Focused() const { return QApplication::focusWidget(); }
    void TypeInAmountBox(const QString& text) {
        for (QChar c : text) {
            const int key = c == u'.' ? Qt::Key_Period : Qt::Key_0 + (c.unicode() - u'0');
            PressKey(key, Amount(), QString(c));
        }
    }
    bool Idle() const { return m_page->Flow().State() == PaymentState::Idle; }
    int LoggedRows() {
        return std::stoi(test::QueryText(m_env.DbPath(), "select count(*) from TBL_TRANS_LOG"));
    }

    test::ScriptedGateway m_gateway;
    test::PagesEnvironment m_env;
    test::FakeShellHost m_host;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<PaymentPage> m_page;
};

TEST_F(PaymentPageTest, FocusOnActivationFollowsTheAmountBox) {
    EXPECT_EQ(Focused(), Amount());
    Amount()->setText(QStringLiteral("12.30"));
    m_page->PreparePage();
    EXPECT_EQ(Focused(), Code());
}

TEST_F(PaymentPageTest, TabGoesToTheCodeBoxAndBackToTheWholeAmount) {
    Amount()->setText(QStringLiteral("8.5"));
    PressKey(Qt::Key_Tab);
    EXPECT_EQ(Focused(), Code());
    PressKey(Qt::Key_Tab);
    EXPECT_EQ(Focused(), Amount());
    EXPECT_EQ(Amount()->selectedText(), QStringLiteral("8.5"));
}

TEST_F(PaymentPageTest, TypingShowsTheAmountAndEnterMovesOnOnlyWhenValid) {
    TypeInAmountBox(QStringLiteral("12.30"));
    EXPECT_EQ(m_page->Panel().Display()->Amount(), QStringLiteral("12.30"));
    PressKey(Qt::Key_Return, Amount());
    EXPECT_EQ(Focused(), Code());

    Amount()->setText(QStringLiteral("12.345"));
    Amount()->setFocus();
    PressKey(Qt::Key_Return);
    EXPECT_EQ(m_host.LastText(), QStringLiteral("金额小数位不能超过两位小数！"));
    EXPECT_TRUE(Amount()->text().isEmpty());
    EXPECT_EQ(Focused(), Amount());
}

TEST_F(PaymentPageTest, KeypadKeepsTheAmountWithinNineCharactersAndTwoDecimals) {
    for (int digit : {1, 2, 3, 4, 5, 6, 7, 8, 9, 1}) m_page->HandleKeypadKey(digit);
    EXPECT_EQ(Amount()->text(), QStringLiteral("123456789"));
    Amount()->setText(QStringLiteral("5"));
    for (int key : {KeypadKey::Dot, 2, 5, 7}) m_page->HandleKeypadKey(key);
    EXPECT_EQ(Amount()->text(), QStringLiteral("5.25"));
    EXPECT_EQ(m_page->Panel().Display()->Amount(), QStringLiteral("5.25"));
    Code()->setFocus();
    for (int key : {1, 2, 3}) m_page->HandleKeypadKey(key);
    EXPECT_EQ(Code()->text(), QStringLiteral("123"));
}

TEST_F(PaymentPageTest, ScannedCodeAndEnterTakeAPaymentThatIsLoggedAndListed) {
    m_gateway.Script({"PURC", "00", "WXP", 12.30, "ORD1"});
    Amount()->setText(QStringLiteral("12.30"));
    Code()->setFocus();
    Code()->setText(QStringLiteral("134567890123456789"));
    PressKey(Qt::Key_Return);
    ASSERT_TRUE(
        test::SpinUntil([this] { return m_host.LastText() == QStringLiteral("支付成功！"); }));
    EXPECT_EQ(m_host.messages.back().kind, MessageKind::Success);
    const auto& rows = m_page->Panel().LogList()->Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].kind, 0);
    EXPECT_TRUE(rows[0].text.endsWith(QStringLiteral("，金额：12.30，微信；交易成功！")));
    EXPECT_EQ(LoggedRows(), 1);
    EXPECT_TRUE(Amount()->text().isEmpty());
    EXPECT_TRUE(Code()->text().isEmpty());
    EXPECT_EQ(Focused(), Amount());
}

TEST_F(PaymentPageTest, ConfirmButtonGreysAndTheRingTurnsWhileTheExchangeRuns) {
    ActionButton* confirm = m_page->Panel().ConfirmButton();
    BusyIndicator* ring = m_page->Panel().BusyCue();
    EXPECT_FALSE(confirm->Dimmed());
    EXPECT_FALSE(ring->isVisible());
    m_gateway.HoldExchanges(true);
    m_gateway.Script({"PURC", "00", "WXP", 1.00, "ORD1"});
    Amount()->setText(QStringLiteral("1.00"));
    Code()->setText(QStringLiteral("134567890123456789"));
    m_page->Flow().ConfirmPayment();
    ASSERT_TRUE(test::SpinUntil([&] { return ring->isVisible(); }));
    EXPECT_TRUE(confirm->Dimmed());
    // The operator can still press the button; the page answers it, nothing is sent twice.
    confirm->Clicked(0);
    EXPECT_EQ(m_host.LastText(), QStringLiteral("正在处理，请稍候！"));
    m_gateway.HoldExchanges(false);
    ASSERT_TRUE(test::SpinUntil([&] { return !ring->isVisible(); }));
    EXPECT_FALSE(confirm->Dimmed());
    EXPECT_EQ(m_gateway.RequestCount(), 1u);
}

TEST_F(PaymentPageTest, ALogLineCutAtTheEdgeShowsItsWholeTextOnHover) {
    PaymentLogList* log = m_page->Panel().LogList();
    log->resize(600, log->height());
    const QString shortLine = QStringLiteral("10:00:01，订单号：1，金额：1.00，微信；交易成功！");
    const QString longLine =
        QStringLiteral("10:00:02，订单号：20261208043835795107386，金额：1.00，微信；") +
        QString(40, QChar(u'长')) + QStringLiteral("的拒绝原因");
    log->SetRows({{0, shortLine}, {2, longLine}});
    const int rowHeight = GetLayoutScale().Y(36);
    EXPECT_TRUE(log->ToolTipAt(QPoint(100, rowHeight / 2)).isEmpty());
    EXPECT_EQ(log->ToolTipAt(QPoint(100, rowHeight + rowHeight / 2)), longLine);
    EXPECT_TRUE(log->ToolTipAt(QPoint(100, 2 * rowHeight + rowHeight / 2)).isEmpty());
    // The cut line ends inside its row instead of running into the edge.
    const QImage shot = log->grab().toImage();
    for (int y = rowHeight; y < 2 * rowHeight; ++y) {
        for (int x = shot.width() - 3; x < shot.width(); ++x) {
            ASSERT_EQ(shot.pixelColor(x, y), QColor(Qt::white)) << x << ", " << y;
        }
    }
}

TEST_F(PaymentPageTest, OfflineRefusesBeforeAnythingIsSent) {
    m_host.network = false;
    Amount()->setText(QStringLiteral("3"));
    Code()->setText(QStringLiteral("1345678901"));
    m_page->Panel().ConfirmButton()->Clicked(0);
    ASSERT_EQ(m_dialogs.History().size(), 1u);
    EXPECT_EQ(m_dialogs.History()[0].text, QStringLiteral("网络异常，请确认当前网络状态"));
    EXPECT_TRUE(Code()->text().isEmpty());
    EXPECT_EQ(Amount()->text(), QStringLiteral("3"));
    EXPECT_EQ(m_gateway.RequestCount(), 0u);
}

TEST_F(PaymentPageTest, WaitingPromptQueriesOnEnterAndClosesOnThePaidAnswer) {
    m_gateway.Script({"PURC", "09", "ALP", 8.91, "ORD2"});
    Amount()->setText(QStringLiteral("8.91"));
    Code()->setText(QStringLiteral("284567890123456789"));
    Code()->setFocus();
    PressKey(Qt::Key_Return);
    ASSERT_TRUE(test::SpinUntil([this] {
        ConfirmDialog* prompt = m_page->Panel().WaitingPrompt();
        return prompt && prompt->isVisible();
    }));
    ConfirmDialog* prompt = m_page->Panel().WaitingPrompt();
    EXPECT_EQ(prompt->Text(), QStringLiteral("请在用户完成付款后，查询结果！"));
    EXPECT_TRUE(m_page->Panel().LogList()->Rows().empty());

    m_gateway.Script({"INQY", "09", "ALP", 8.91, "", "ORD2"});
    PressKey(Qt::Key_Return, prompt);
    ASSERT_TRUE(test::SpinUntil([this] { return !m_page->Panel().LogList()->Rows().empty(); }));
    EXPECT_EQ(m_page->Panel().LogList()->Rows().back().kind, 1);
    EXPECT_TRUE(prompt->isVisible());

    m_gateway.Script({"INQY", "00", "ALP", 8.91, "", "ORD2"});
    PressKey(Qt::Key_Return, prompt);
    ASSERT_TRUE(test::SpinUntil([this] { return Idle(); }));
    EXPECT_FALSE(prompt->isVisible());
    EXPECT_EQ(m_page->Panel().LogList()->Rows().back().kind, 0);
    EXPECT_EQ(LoggedRows(), 1);
}

TEST_F(PaymentPageTest, EscapeOnTheWaitingPromptCancelsThePayment) {
    m_gateway.Script({"PURC", "09", "WXP", 5.91, "ORD3"});
    m_gateway.Script({"CANC", "00", "WXP", 0, "", "ORD3"});
    Amount()->setText(QStringLiteral("5.91"));
    Code()->setText(QStringLiteral("134567890123456789"));
    m_page->Panel().ConfirmButton()->Clicked(0);
    ASSERT_TRUE(test::SpinUntil([this] {
        return m_page->Panel().WaitingPrompt() && m_page->Panel().WaitingPrompt()->isVisible();
    }));
    PressKey(Qt::Key_Escape, m_page->Panel().WaitingPrompt());
    ASSERT_TRUE(test::SpinUntil([this] { return Idle() && m_gateway.RequestCount() == 2; }));
    const auto& rows = m_page->Panel().LogList()->Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows.back().text.endsWith(QStringLiteral("；取消支付，关闭订单！")));
    EXPECT_EQ(LoggedRows(), 0);
}

TEST_F(PaymentPageTest, EveryWaitStartsWithTheQueryButtonFocused) {
    auto waitForPrompt = [this] {
        return test::SpinUntil([this] {
            ConfirmDialog* prompt = m_page->Panel().WaitingPrompt();
            return prompt && prompt->isVisible();
        });
    };
    m_gateway.Script({"PURC", "09", "WXP", 5.91, "ORD4"});
    m_gateway.Script({"CANC", "00", "WXP", 0, "", "ORD4"});
    Amount()->setText(QStringLiteral("5.91"));
    Code()->setText(QStringLiteral("134567890123456789"));
    m_page->Panel().ConfirmButton()->Clicked(0);
    ASSERT_TRUE(waitForPrompt());
    // The operator tabs to "取消支付" and cancels with Enter.
    PressKey(Qt::Key_Tab, m_page->Panel().WaitingPrompt());
    PressKey(Qt::Key_Return, m_page->Panel().WaitingPrompt());
    ASSERT_TRUE(test::SpinUntil([this] { return Idle() && m_gateway.RequestCount() == 2; }));

    m_gateway.Script({"PURC", "09", "WXP", 6.91, "ORD5"});
    Amount()->setText(QStringLiteral("6.91"));
    Code()->setText(QStringLiteral("134567890123456789"));
    m_page->Panel().ConfirmButton()->Clicked(0);
    ASSERT_TRUE(waitForPrompt());
    EXPECT_FALSE(m_page->Panel().WaitingPrompt()->CancelHasFocus());
    m_page->Panel().WaitingPrompt()->CloseConfirmed();
}

TEST_F(PaymentPageTest, AmountReadOffTheScreenMovesTheFocusToTheCodeBox) {
    m_page->SetAmount(QStringLiteral("66.00"));
    EXPECT_EQ(Amount()->text(), QStringLiteral("66.00"));
    EXPECT_EQ(m_page->Panel().Display()->Amount(), QStringLiteral("66.00"));
    EXPECT_EQ(Focused(), Code());
}

}  // namespace
}  // namespace zelvo
