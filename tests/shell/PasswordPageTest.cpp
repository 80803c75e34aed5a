#include <QApplication>
#include <QTest>

#include "shell/controls/ActionButton.h"
#include "shell/controls/SkinEdit.h"
#include "shell/login/ChangePasswordPage.h"
#include "shell/window/MainWindow.h"
#include "shell/window/MessageBanner.h"
#include "shell/window/PageArea.h"
#include "tests/shell/ShellFixture.h"

namespace zelvo {
namespace {

class PasswordPageTest : public test::ShellTest {
protected:
    void OpenPage(const QString& id, const QString& password) {
        MakeWindow();
        QApplication::setActiveWindow(m_window.get());
        LogIn(id, password);
        m_window->NextPage();
        m_window->NextPage();
        ASSERT_EQ(m_window->CurrentPage(), PageId::ChangePassword);
        m_page = dynamic_cast<ChangePasswordPage*>(m_window->Page(PageId::ChangePassword));
        ASSERT_NE(m_page, nullptr);
    }
    SkinEdit* Box(PasswordBox box) const { return m_page->Box(box); }
    void Fill(const QString& id, const QString& old, const QString& fresh, const QString& repeat) {
        Box(PasswordBox::OperatorId)->setText(id);
        Box(PasswordBox::OldPassword)->setText(old);
        Box(PasswordBox::NewPassword)->setText(fresh);
        Box(PasswordBox::RepeatPassword)->setText(repeat);
    }
    MessageBanner* Banner() const { return m_window->Pages()->Banner(); }

    ChangePasswordPage* m_page = nullptr;
};

TEST_F(PasswordPageTest, ShowingThePageEmptiesItAndFocusesTheId) {
    OpenPage(QStringLiteral("01"), QStringLiteral("123456"));
    Fill(QStringLiteral("01"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"));
    m_window->PreviousPage();
    m_window->NextPage();
    for (PasswordBox box : {PasswordBox::OperatorId, PasswordBox::OldPassword,
                            PasswordBox::NewPassword, PasswordBox::RepeatPassword}) {
        EXPECT_TRUE(Box(box)->text().isEmpty());
    }
    EXPECT_TRUE(Box(PasswordBox::OperatorId)->hasFocus());
    EXPECT_EQ(Box(PasswordBox::OperatorId)->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(Box(PasswordBox::RepeatPassword)->echoMode(), QLineEdit::Password);
}

TEST_F(PasswordPageTest, TabCyclesThroughTheBoxesAndTheHighlightedButton) {
    OpenPage(QStringLiteral("01"), QStringLiteral("123456"));
    for (PasswordBox box :
         {PasswordBox::OldPassword, PasswordBox::NewPassword, PasswordBox::RepeatPassword}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(Box(box)->hasFocus());
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(m_page->ButtonHasFocus());
    EXPECT_EQ(m_page->ConfirmButton()->Fill(), QColor(0x11, 0xE2, 0xFC));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(Box(PasswordBox::OperatorId)->hasFocus());
    EXPECT_FALSE(m_page->ButtonHasFocus());
    EXPECT_EQ(m_page->ConfirmButton()->Fill(), QColor(0x00, 0xBC, 0xD4));
}

TEST_F(PasswordPageTest, EnterWalksDownThenSubmitsAndTheProgramRestarts) {
    OpenPage(QStringLiteral("01"), QStringLiteral("123456"));
    QTest::keyClicks(Box(PasswordBox::OperatorId), QStringLiteral("01"));
    QTest::keyClick(Box(PasswordBox::OperatorId), Qt::Key_Return);
    ASSERT_TRUE(Box(PasswordBox::OldPassword)->hasFocus());
    QTest::keyClicks(Box(PasswordBox::OldPassword), QStringLiteral("123456"));
    QTest::keyClick(Box(PasswordBox::OldPassword), Qt::Key_Return);
    QTest::keyClicks(Box(PasswordBox::NewPassword), QStringLiteral("abc9"));
    QTest::keyClick(Box(PasswordBox::NewPassword), Qt::Key_Return);
    QTest::keyClicks(Box(PasswordBox::RepeatPassword), QStringLiteral("ABC9"));
    EXPECT_EQ(m_restarts, 0);
    QTest::keyClick(Box(PasswordBox::RepeatPassword), Qt::Key_Return);
    EXPECT_EQ(Banner()->Text(), QStringLiteral("修改成功！"));
    EXPECT_EQ(Banner()->Kind(), MessageKind::Success);
    EXPECT_EQ(m_restarts, 1);
    EXPECT_TRUE(Box(PasswordBox::RepeatPassword)->text().isEmpty());
    // The next run logs in with the new password only.
    m_window.reset();
    MakeWindow();
    LogIn(QStringLiteral("01"), QStringLiteral("123456"));
    EXPECT_EQ(m_window->CurrentPage(), PageId::None);
    LogIn(QStringLiteral("01"), QStringLiteral("abc9"));
    EXPECT_EQ(m_window->CurrentPage(), PageId::Payment);
}

TEST_F(PasswordPageTest, CashierNamingAnotherOperatorIsRefusedOnTheBanner) {
    OpenPage(QStringLiteral("02"), QStringLiteral("654321"));
    Fill(QStringLiteral("01"), QString(), QString(), QString());
    Click(m_page->ConfirmButton());
    EXPECT_EQ(Banner()->Text(), QStringLiteral("您不是超级管理员，不能修改其他操作员密码！"));
    EXPECT_EQ(m_restarts, 0);
}

TEST_F(PasswordPageTest, KeypadTypesIntoTheFocusedBox) {
    OpenPage(QStringLiteral("01"), QStringLiteral("123456"));
    m_page->HandleKeypadKey(0);
    m_page->HandleKeypadKey(1);
    EXPECT_EQ(Box(PasswordBox::OperatorId)->text(), QStringLiteral("01"));
    m_page->HandleKeypadKey(12);
    EXPECT_TRUE(Box(PasswordBox::OldPassword)->hasFocus());
    m_page->HandleKeypadKey(7);
    m_page->HandleKeypadKey(13);
    EXPECT_TRUE(Box(PasswordBox::OldPassword)->text().isEmpty());
}

}  // namespace
}  // namespace zelvo
