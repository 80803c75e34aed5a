#include <atomic>
#include <filesystem>

#include <QApplication>
#include <QTest>

#include "platform/Connectivity.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/LinkLabel.h"
#include "shell/controls/NoticeDialog.h"
#include "shell/controls/NumericKeypad.h"
#include "shell/controls/SkinEdit.h"
#include "shell/controls/TabButton.h"
#include "operator/CurrentOperator.h"
#include "shell/login/LoginPanel.h"
#include "shell/window/ContactPopup.h"
#include "shell/window/MainWindow.h"
#include "shell/window/MessageBanner.h"
#include "shell/window/NavigationBar.h"
#include "shell/window/PageArea.h"
#include "shell/window/PlaceholderPage.h"
#include "shell/window/RestoreIcon.h"
#include "shell/window/StatusBar.h"
#include "shell/window/TitleBar.h"
#include "tests/shell/ShellFixture.h"

namespace zelvo {
namespace {

using test::ShellTest;

TEST_F(ShellTest, WindowSizeAndPlaceFollowTheWorkArea) {
    struct Case {
        int workWidth, workHeight;
        QRect geometry;
        bool small;
    };
    const Case cases[] = {
        {1920, 1040, QRect(2, 332, 960, 706), false},
        {1366, 728, QRect(2, 71, 890, 655), true},
        {800, 600, QRect(2, 69, 720, 529), true},
    };
    for (const Case& c : cases) {
        MakeWindow(c.workWidth, c.workHeight);
        EXPECT_EQ(m_window->geometry(), c.geometry) << c.workWidth;
        EXPECT_EQ(SmallScreenMode(), c.small);
        // Title 30 units, status 55 units, the page area between.
        EXPECT_EQ(m_window->Title()->height(), GetLayoutScale().Y(30));
        EXPECT_EQ(m_window->Status()->height(), GetLayoutScale().Y(55));
        EXPECT_EQ(m_window->Pages()->geometry().bottom() + 1, m_window->Status()->y());
        EXPECT_TRUE(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(m_window->windowFlags().testFlag(Qt::FramelessWindowHint));
    }
}

TEST_F(ShellTest, StartsAtTheLoginPanelWithNothingElseShown) {
    MakeWindow();
    PageArea* area = m_window->Pages();
    ASSERT_NE(area->Login(), nullptr);
    EXPECT_TRUE(area->Login()->isVisible());
    EXPECT_FALSE(area->Navigation()->isVisible());
    EXPECT_FALSE(area->KeypadOpen());
    EXPECT_EQ(area->CurrentPage(), PageId::None);
    for (PageId id : NavigationBar::kOrder) EXPECT_FALSE(m_window->Page(id)->isVisible());
    EXPECT_TRUE(m_window->VisibleFlag());
}

TEST_F(ShellTest, TypingRightAfterStartGoesIntoTheOperatorIdBox) {
    MakeWindow();
    LoginPanel* login = m_window->Pages()->Login();
    EXPECT_EQ(m_window->focusWidget(), login->OperatorIdBox());
    QApplication::setActiveWindow(m_window.get());
    // Keys go where the keyboard is, as the X server would send them.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("01"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("123456"));
    EXPECT_EQ(login->OperatorIdBox()->text(), QStringLiteral("01"));
    EXPECT_EQ(login->PasswordBox()->text(), QStringLiteral("123456"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(m_window->Pages()->CurrentPage(), PageId::Payment);
}

TEST_F(ShellTest, ClosingADialogGivesTheKeyboardBackToTheWindow) {
    MakeWindow();
    QApplication::setActiveWindow(m_window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    NoticeDialog notice(IconKind::Warning, QStringLiteral("交易失败了"), QStringLiteral("我知道了"),
                        m_window.get());
    notice.open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&notice));
    QTest::keyClick(&notice, Qt::Key_Return);
    ASSERT_FALSE(notice.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    // The page keys work again without a click.
    LogIn(QStringLiteral("01"), QStringLiteral("123456"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    EXPECT_EQ(m_window->Pages()->CurrentPage(), PageId::QueryRefund);
}

TEST_F(ShellTest, CashierLoginShowsThePaymentPageWithItsTabSelected) {
    MakeWindow();
    LogIn(QStringLiteral("01"), QStringLiteral("123456"));
    PageArea* area = m_window->Pages();
    EXPECT_EQ(area->CurrentPage(), PageId::Payment);
    EXPECT_TRUE(m_window->Page(PageId::Payment)->isVisible());
    EXPECT_TRUE(area->Navigation()->isVisible());
    EXPECT_EQ(area->Navigation()->Selected(), PageId::Payment);
    EXPECT_EQ(GetCurrentOperator().operatorId, "01");
    EXPECT_EQ(GetCurrentOperator().receiptOperator, "01");
    EXPECT_EQ(m_window->Title()->OperatorId(), QStringLiteral("01"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(area->Login(), nullptr);
}

TEST_F(ShellTest, WrongPasswordShowsTheBannerAndEmptiesTheBoxes) {
    MakeWindow();
    LogIn(QStringLiteral("01"), QStringLiteral("bad"));
    MessageBanner* banner = m_window->Pages()->Banner();
    EXPECT_TRUE(banner->Showing());
    EXPECT_EQ(banner->Kind(), MessageKind::Error);
    EXPECT_EQ(banner->Text(), QStringLiteral("用户不存在或密码不正确！"));
    LoginPanel* login = m_window->Pages()->Login();
    EXPECT_TRUE(login->OperatorIdBox()->text().isEmpty());
    EXPECT_TRUE(login->PasswordBox()->text().isEmpty());
    EXPECT_EQ(m_window->Pages()->CurrentPage(), PageId::None);
    EXPECT_TRUE(m_window->Title()->OperatorId().isEmpty());
}

TEST_F(ShellTest, CashierOnUnconfiguredTerminalStaysAtLoginWithANotice) {
    m_db.Execute("update SysConfig set Value = '000000000000000' where Name = 'MerCode'");
    MakeWindow();
    LogIn(QStringLiteral("01"), QStringLiteral("123456"));
    EXPECT_EQ(m_window->Pages()->Banner()->Kind(), MessageKind::Notice);
    EXPECT_EQ(m_window->Pages()->Banner()->Text(),
              QStringLiteral("请使用管理员账号登录,进行参数配置！"));
    ASSERT_NE(m_window->Pages()->Login(), nullptr);
    EXPECT_TRUE(GetCurrentOperator().operatorId.empty());
    EXPECT_EQ(m_window->Pages()->CurrentPage(), PageId::None);
}

TEST_F(ShellTest, EnterWalksFromIdToPasswordThenLogsIn) {
    MakeWindow();
    LoginPanel* login = m_window->Pages()->Login();
    login->OperatorIdBox()->setFocus();
    QTest::keyClicks(login->OperatorIdBox(), QStringLiteral("01"));
    QTest::keyClick(login->OperatorIdBox(), Qt::Key_Return);
    EXPECT_TRUE(login->PasswordBox()->hasFocus());
    QTest::keyClicks(login->PasswordBox(), QStringLiteral("123456"));
    QTest::keyClick(login->PasswordBox(), Qt::Key_Return);
    EXPECT_EQ(m_window->Pages()->CurrentPage(), PageId::Payment);
}

TEST_F(ShellTest, KeypadTypesIntoTheLoginBoxesAndConfirmActsAsEnter) {
    MakeWindow();
    PageArea* area = m_window->Pages();
    StatusBar* status = m_window->Status();
    Click(status, status->KeypadButtonRect().center());
    ASSERT_TRUE(area->KeypadOpen());
    LoginPanel* login = area->Login();
    login->OperatorIdBox()->setFocus();
    NumericKeypad* keypad = area->Keypad();
    Click(keypad, QPoint(415, 105));  // 0
    Click(keypad, QPoint(95, 39));    // 1
    EXPECT_EQ(login->OperatorIdBox()->text(), QStringLiteral("01"));
    Click(keypad, QPoint(600, 60));  // 确  认: on to the password box, keypad closed
    EXPECT_TRUE(login->PasswordBox()->hasFocus());
    EXPECT_FALSE(area->KeypadOpen());
    Click(status, status->KeypadButtonRect().center());
    for (QPoint key : {QPoint(95, 39), QPoint(175, 39), QPoint(255, 39), QPoint(335, 39),
                       QPoint(415, 39), QPoint(95, 105)}) {
        Click(keypad, key);
    }
    EXPECT_EQ(login->PasswordBox()->text(), QStringLiteral("123456"));
    Click(keypad, QPoint(600, 60));
    EXPECT_EQ(area->CurrentPage(), PageId::Payment);
}

TEST_F(ShellTest, SecondMessageReplacesTheFirstAndRestartsTheTimer) {
    MakeWindow();
    MessageBanner* banner = m_window->Pages()->Banner();
    m_window->ShowMessage(MessageKind::Error, QStringLiteral("密码为空！"));
    ASSERT_TRUE(banner->Timer().isActive());
    EXPECT_EQ(banner->Timer().interval(), 5000);
    QTest::qSleep(300);
    int remainingBefore = banner->Timer().remainingTime();
    m_window->ShowMessage(MessageKind::Success, QStringLiteral("修改成功！"));
    EXPECT_EQ(banner->Kind(), MessageKind::Success);
    EXPECT_EQ(banner->Text(), QStringLiteral("修改成功！"));
    EXPECT_GT(banner->Timer().remainingTime(), remainingBefore);
    banner->Expire();
    EXPECT_FALSE(banner->Showing());
    EXPECT_FALSE(banner->Timer().isActive());
}

TEST_F(ShellTest, BannerColoursByKind) {
    EXPECT_EQ(MessageBanner::KindColour(MessageKind::Error), QColor(0xFB, 0x65, 0x37));
    EXPECT_EQ(MessageBanner::KindColour(MessageKind::Success), QColor(0x50, 0xE3, 0xC2));
    EXPECT_EQ(MessageBanner::KindColour(MessageKind::Notice), QColor(0xEE, 0xD4, 0x6C));
}

class FixedConnectivity : public ConnectivityCheck {
public:
    explicit FixedConnectivity(bool online) : m_online(online) {}
    bool IsOnline() override { return m_online; }

private:
    bool m_online;
};

TEST_F(ShellTest, NetworkMonitorFeedsTheIndicatorOnTheUserInterfaceThread) {
    WindowPlacement placement = PlaceMainWindow({0, 0, 1920, 1040});
    MainWindowSetup setup;
    setup.db = &m_db;
    setup.placement = placement;
    setup.workArea = QRect(0, 0, 1920, 1040);
    setup.pages = MakePlaceholderPageFactory();
    setup.connectivity = std::make_unique<FixedConnectivity>(true);
    MainWindow window(std::move(setup));
    EXPECT_FALSE(window.NetworkConnected());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.NetworkConnected(); }, 20000));
    EXPECT_TRUE(window.Status()->Connected());
}

TEST_F(ShellTest, ClosingWhileTheMonitorWaitsOnTheWindowDoesNotHang) {
    MainWindowSetup setup;
    setup.db = &m_db;
    setup.placement = PlaceMainWindow({0, 0, 1920, 1040});
    setup.pages = MakePlaceholderPageFactory();
    setup.connectivity = std::make_unique<FixedConnectivity>(false);
    auto window = std::make_unique<MainWindow>(std::move(setup));
    // No event is processed: the monitor's first report is still waiting.
    window.reset();
    SUCCEED();
}

TEST_F(ShellTest, ExchangeDoneGoesToTheCurrentPageOrToANotice) {
    MakeWindow(1920, 1040, true);
    ScriptedDialogs scripted;
    m_window->DeliverExchangeDone(ExchangeResult::Completed);
    ASSERT_EQ(scripted.History().size(), 1u);
    EXPECT_EQ(scripted.History()[0].text, QStringLiteral("请与客户经理联系，确认交易状态"));
    LogIn(QStringLiteral("01"), QStringLiteral("123456"));
    m_window->DeliverExchangeDone(ExchangeResult::Failed);
    EXPECT_EQ(Recording(PageId::Payment)->exchangeResults,
              std::vector<ExchangeResult>{ExchangeResult::Failed});
}

TEST_F(ShellTest, RestoreIconTogglesTheWindow) {
    MakeWindow();
    int captures = 0;
    m_window->SetBeforeRaise([&] { ++captures; });
    m_window->SetCoveredCheck([] { return false; });
    RestoreIcon* icon = m_window->Restore();
    EXPECT_EQ(icon->size(), QSize(65, 65));
    EXPECT_EQ(icon->pos(), QPoint(1920 - 95, 30));
    Click(icon, QPoint(30, 30));
    EXPECT_FALSE(m_window->VisibleFlag());
    EXPECT_EQ(captures, 0);
    Click(icon, QPoint(30, 30));
    EXPECT_TRUE(m_window->VisibleFlag());
    EXPECT_EQ(captures, 1);
    // A covered window is brought forward instead of sent away.
    m_window->SetCoveredCheck([] { return true; });
    Click(icon, QPoint(30, 30));
    EXPECT_TRUE(m_window->VisibleFlag());
}

TEST_F(ShellTest, RaisingKeepsTheKeyboardInTheBoxThatHadIt) {
    MakeWindow();
    m_window->SetCoveredCheck([] { return false; });
    LoginPanel* login = m_window->Pages()->Login();
    // What runs before the raise (reading the amount off the screen) may place the focus.
    m_window->SetBeforeRaise([login] { login->PasswordBox()->setFocus(); });
    QApplication::setActiveWindow(m_window.get());
    login->OperatorIdBox()->setFocus();
    m_window->Minimise();
    Click(m_window->Restore(), QPoint(30, 30));
    ASSERT_TRUE(m_window->VisibleFlag());
    QApplication::setActiveWindow(m_window.get());
    EXPECT_EQ(m_window->focusWidget(), login->PasswordBox());
}

TEST(RestoreIconDrag, StaysInsideTheWorkArea) {
    QRect area(0, 0, 1920, 1040);
    QRect icon(100, 100, 65, 65);
    EXPECT_EQ(RestoreIcon::DraggedPosition(icon, QPoint(5, -7), area), QPoint(105, 93));
    QRect atLeft(0, 100, 65, 65);
    EXPECT_EQ(RestoreIcon::DraggedPosition(atLeft, QPoint(-5, 3), area), QPoint(0, 103));
    EXPECT_EQ(RestoreIcon::DraggedPosition(atLeft, QPoint(5, 0), area), QPoint(5, 100));
    QRect atBottomRight(1855, 975, 65, 65);
    EXPECT_EQ(RestoreIcon::DraggedPosition(atBottomRight, QPoint(4, 4), area), QPoint(1855, 975));
    EXPECT_EQ(RestoreIcon::DraggedPosition(atBottomRight, QPoint(-4, -4), area), QPoint(1851, 971));
}

TEST_F(ShellTest, ContactPopupCountsDownThenCloses) {
    MakeWindow();
    m_window->ToggleContactPopup();
    ContactPopup* popup = m_window->Contact();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->size(), QSize(100, 120));
    QPoint corner = m_window->frameGeometry().bottomRight() + QPoint(1, 1);
    EXPECT_EQ(popup->pos(), corner - QPoint(235, 135));
    EXPECT_EQ(popup->CountdownText(), QStringLiteral("关闭倒数计时(10)"));
    for (int second = 0; second < 10; ++second) popup->Tick();
    EXPECT_EQ(popup->CountdownText(), QStringLiteral("关闭倒数计时(0)"));
    popup->Tick();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_window->Contact(), nullptr);
    // Toggling twice opens a fresh one and closes it.
    m_window->ToggleContactPopup();
    EXPECT_EQ(m_window->Contact()->Count(), 10);
    m_window->ToggleContactPopup();
    EXPECT_EQ(m_window->Contact(), nullptr);
}

TEST_F(ShellTest, ContactLinkClickStartsNoDragOfTheStatusBar) {
    MakeWindow();
    StatusBar* status = m_window->Status();
    LinkLabel* link = status->ContactLink();
    QPoint before = m_window->pos();
    Click(link);
    ASSERT_NE(m_window->Contact(), nullptr);
    EXPECT_EQ(m_window->pos(), before);
    // A press on the keypad button afterwards opens the keypad, and its release leaves it open.
    Click(status, status->KeypadButtonRect().center());
    EXPECT_TRUE(m_window->Pages()->KeypadOpen());
    m_window->ToggleContactPopup();
}

TEST_F(ShellTest, EscapeInThePageAreaMarksTheEndOfTheShift) {
    MakeWindow();
    LoginPanel* login = m_window->Pages()->Login();
    QApplication::setActiveWindow(m_window.get());
    login->OperatorIdBox()->setFocus();
    QTest::keyClick(login->OperatorIdBox(), Qt::Key_Escape);
    EXPECT_TRUE(EndOfShiftFlag());
}

}  // namespace
}  // namespace zelvo

namespace zelvo {
namespace {

TEST_F(ShellTest, TabsSitAtTheirUnitsFromTheRightOnEveryScreen) {
    for (auto [workWidth, workHeight] : {std::pair{1920, 1040}, std::pair{800, 600}}) {
        MakeWindow(workWidth, workHeight);
        LogIn(QStringLiteral("01"), QStringLiteral("123456"));
        const LayoutScale& scale = GetLayoutScale();
        NavigationBar* bar = m_window->Pages()->Navigation();
        QRect settings = bar->Tab(PageId::Settings)->geometry();
        EXPECT_EQ(settings.left(), bar->width() - scale.X(145));
        EXPECT_EQ(settings.right() + 1, bar->width() - scale.X(30));
        EXPECT_EQ(settings.top(), scale.Y(25));
        EXPECT_EQ(settings.bottom() + 1, scale.Y(55));
        QRect password = bar->Tab(PageId::ChangePassword)->geometry();
        EXPECT_EQ(password.right() + 1, settings.left() - scale.X(15));
        EXPECT_EQ(password.width(), scale.X(115));
        QRect payment = bar->Tab(PageId::Payment)->geometry();
        EXPECT_LT(payment.left(), bar->Tab(PageId::QueryRefund)->geometry().left());
        EXPECT_EQ(bar->y(), scale.Y(64));
        EXPECT_EQ(m_window->Page(PageId::Payment)->y(), scale.Y(144));
        EXPECT_EQ(m_window->Pages()->Keypad()->height(), scale.Y(144));
        m_window.reset();
        GetCurrentOperator().Clear();
    }
}

TEST_F(ShellTest, MissingPicturesLeaveTheirPlacesEmpty) {
    std::filesystem::remove_all(m_dir->Path() / "pic");
    MakeWindow();
    QImage shot = m_window->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    // The title bar is still drawn in its colour where the logo would be.
    EXPECT_EQ(shot.pixelColor(35, 10), QColor(0x4D, 0x4D, 0x4D));
    LogIn(QStringLiteral("01"), QStringLiteral("123456"));
    EXPECT_EQ(m_window->CurrentPage(), PageId::Payment);
}

TEST_F(ShellTest, PicturesAreDrawnWhenPresent) {
    MakeWindow();
    QImage shot = m_window->grab().toImage();
    // The logo of the title bar covers its middle.
    EXPECT_NE(shot.pixelColor(40, 15), QColor(0x4D, 0x4D, 0x4D));
}

}  // namespace
}  // namespace zelvo
