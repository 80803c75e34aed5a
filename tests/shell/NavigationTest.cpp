#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include <QLineEdit>

#include "shell/controls/NumericKeypad.h"
#include "shell/pages/OperationPages.h"
#include "shell/controls/TabButton.h"
#include "operator/CurrentOperator.h"
#include "shell/login/ReloginPrompt.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinDialog.h"
#include "shell/window/MainWindow.h"
#include "shell/window/NavigationBar.h"
#include "shell/window/PageArea.h"
#include "shell/window/TitleBar.h"
#include "tests/shell/ShellFixture.h"

namespace zelvo {
namespace {

class NavigationTest : public test::ShellTest {
protected:
    void LogInAsCashier() {
        MakeWindow(1920, 1040, true);
        LogIn(QStringLiteral("01"), QStringLiteral("123456"));
        ASSERT_EQ(Current(), PageId::Payment);
    }
    PageId Current() const { return m_window->CurrentPage(); }
    void PressTab(PageId id) { Click(m_window->Pages()->Navigation()->Tab(id)); }
};

TEST_F(NavigationTest, TabPressSwitchesAndPreparesThePage) {
    LogInAsCashier();
    PressTab(PageId::QueryRefund);
    EXPECT_EQ(Current(), PageId::QueryRefund);
    EXPECT_TRUE(m_window->Page(PageId::QueryRefund)->isVisible());
    EXPECT_FALSE(m_window->Page(PageId::Payment)->isVisible());
    EXPECT_EQ(Recording(PageId::QueryRefund)->prepared, 1);
    EXPECT_EQ(m_window->Pages()->Navigation()->Selected(), PageId::QueryRefund);
}

TEST_F(NavigationTest, PreviousAndNextStopAtTheEnds) {
    LogInAsCashier();
    m_window->PreviousPage();
    EXPECT_EQ(Current(), PageId::Payment);
    m_window->NextPage();
    m_window->NextPage();
    m_window->NextPage();
    EXPECT_EQ(Current(), PageId::Settings);
    EXPECT_EQ(m_window->Pages()->Navigation()->Selected(), PageId::Settings);
    m_window->NextPage();
    EXPECT_EQ(Current(), PageId::Settings);
    m_window->PreviousPage();
    EXPECT_EQ(Current(), PageId::ChangePassword);
}

TEST_F(NavigationTest, PageKeysBeforeLoginDoNothing) {
    MakeWindow(1920, 1040, true);
    m_window->NextPage();
    m_window->PreviousPage();
    EXPECT_EQ(Current(), PageId::None);
}

TEST_F(NavigationTest, FunctionKeysStepThroughThePages) {
    LogInAsCashier();
    QWidget* page = m_window->Page(PageId::Payment);
    QApplication::setActiveWindow(m_window.get());
    page->setFocus();
    QTest::keyClick(page, Qt::Key_F2);
    EXPECT_EQ(Current(), PageId::QueryRefund);
    QWidget* query = m_window->Page(PageId::QueryRefund);
    query->setFocus();
    QTest::keyClick(query, Qt::Key_F1);
    EXPECT_EQ(Current(), PageId::Payment);
}

TEST_F(NavigationTest, ReplacedPageKeysAreUsed) {
    LogInAsCashier();
    m_window->Pages()->SetPageKeyHandler([](QKeyEvent& event, ShellHost& host) {
        if (event.key() != Qt::Key_Left) return false;
        host.NextPage();
        return true;
    });
    QWidget* page = m_window->Page(PageId::Payment);
    QApplication::setActiveWindow(m_window.get());
    page->setFocus();
    QTest::keyClick(page, Qt::Key_F2);
    EXPECT_EQ(Current(), PageId::Payment);
    QTest::keyClick(page, Qt::Key_Left);
    EXPECT_EQ(Current(), PageId::QueryRefund);
}

TEST_F(NavigationTest, ConfiguredPageKeysActThroughTheKeyFilterWhileAnEditBoxHasTheFocus) {
    LogInAsCashier();
    ASSERT_TRUE(m_db.Execute("update SysConfig set Value = 'left' where Name = 'LeftKey';"));
    ASSERT_TRUE(m_db.Execute("update SysConfig set Value = 'x' where Name = 'RightKey';"));
    m_window->Pages()->SetPageKeyHandler(MakePageKeyHandler([this] { return &m_db; }));
    QApplication::setActiveWindow(m_window.get());
    // An edit box of the page, with the keyboard focus.
    auto focusedBox = [this](PageId id) {
        auto* box = new QLineEdit(m_window->Page(id));
        box->show();
        box->setFocus();
        EXPECT_EQ(QApplication::focusWidget(), box);
        return box;
    };
    QLineEdit* amount = focusedBox(PageId::Payment);
    QTest::keyClick(amount, Qt::Key_X);
    EXPECT_EQ(Current(), PageId::QueryRefund);
    EXPECT_TRUE(amount->text().isEmpty());  // the key switched pages instead of typing
    QTest::keyClick(focusedBox(PageId::QueryRefund), Qt::Key_Left);
    EXPECT_EQ(Current(), PageId::Payment);
}

TEST_F(NavigationTest, BusyQueryPageHoldsTheNavigation) {
    LogInAsCashier();
    PressTab(PageId::QueryRefund);
    Recording(PageId::QueryRefund)->busy = true;
    PressTab(PageId::Payment);
    EXPECT_EQ(Current(), PageId::QueryRefund);
    EXPECT_EQ(m_window->Pages()->Navigation()->Selected(), PageId::QueryRefund);
    m_window->NextPage();
    m_window->PreviousPage();
    EXPECT_EQ(Current(), PageId::QueryRefund);
    // No window drag either.
    QPoint before = m_window->pos();
    TitleBar* title = m_window->Title();
    QTest::mousePress(title, Qt::LeftButton, Qt::NoModifier, QPoint(300, 10));
    QTest::mouseMove(title, QPoint(400, 60));
    QTest::mouseRelease(title, Qt::LeftButton, Qt::NoModifier, QPoint(400, 60));
    EXPECT_EQ(m_window->pos(), before);
}

TEST_F(NavigationTest, AdministratorOnNewTerminalIsLockedOnSettings) {
    m_db.Execute("update SysConfig set Value = '000000000000000' where Name = 'MerCode'");
    MakeWindow(1920, 1040, true);
    LogIn(QStringLiteral("00"), QStringLiteral("888888"));
    EXPECT_EQ(Current(), PageId::Settings);
    EXPECT_TRUE(m_window->Pages()->NavigationLocked());
    EXPECT_EQ(m_window->Pages()->Navigation()->Selected(), PageId::Settings);
    for (PageId id : NavigationBar::kOrder) PressTab(id);
    m_window->PreviousPage();
    EXPECT_EQ(Current(), PageId::Settings);
    EXPECT_EQ(m_window->Pages()->Navigation()->Selected(), PageId::Settings);
    EXPECT_EQ(Recording(PageId::Settings)->prepared, 1);
}

TEST_F(NavigationTest, KeypadKeysGoToTheCurrentPageAndSwitchingClosesIt) {
    LogInAsCashier();
    PageArea* area = m_window->Pages();
    area->ToggleKeypad();
    ASSERT_TRUE(area->KeypadOpen());
    Click(area->Keypad(), QPoint(495, 105));
    EXPECT_EQ(Recording(PageId::Payment)->keypadKeys, std::vector<int>{10});
    PressTab(PageId::QueryRefund);
    EXPECT_FALSE(area->KeypadOpen());
}

TEST_F(NavigationTest, DraggingTheTitleBarMovesTheWindowAndClosesTheKeypad) {
    LogInAsCashier();
    m_window->Pages()->ToggleKeypad();
    QPoint before = m_window->pos();
    TitleBar* title = m_window->Title();
    QTest::mousePress(title, Qt::LeftButton, Qt::NoModifier, QPoint(300, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(350, 20), title->mapToGlobal(QPointF(350, 20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(title, &move);
    QTest::mouseRelease(title, Qt::LeftButton, Qt::NoModifier, QPoint(350, 20));
    EXPECT_EQ(m_window->pos(), before + QPoint(50, 10));
    EXPECT_FALSE(m_window->Pages()->KeypadOpen());
}

TEST_F(NavigationTest, HideButtonMinimisesAndCloseButtonCloses) {
    LogInAsCashier();
    TitleBar* title = m_window->Title();
    Click(title, title->HideButtonRect().center());
    EXPECT_FALSE(m_window->VisibleFlag());
    m_window->Raise();
    QSignalSpy closed(m_window.get(), &MainWindow::Closed);
    Click(title, title->CloseButtonRect().center());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(NavigationTest, ReloginConfirmedRestartsAndDeclinedClearsTheShiftFlag) {
    LogInAsCashier();
    ScriptedDialogs scripted;
    SetEndOfShiftFlag(true);
    scripted.QueueAnswer(DialogResult::Cancel);
    ReloginPrompt();
    EXPECT_FALSE(EndOfShiftFlag());
    EXPECT_EQ(m_restarts, 0);
    scripted.QueueAnswer(DialogResult::Confirm);
    ReloginPrompt();
    EXPECT_EQ(m_restarts, 1);
    EXPECT_EQ(scripted.History().back().text, QStringLiteral("确定要重新登陆吗？"));
}

}  // namespace
}  // namespace zelvo
