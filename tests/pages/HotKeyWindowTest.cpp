#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include "config/TerminalConfig.h"
#include "platform/GlobalHotKeys.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/SkinEdit.h"
#include "operator/CurrentOperator.h"
#include "shell/pages/OperationPages.h"
#include "shell/pages/PaymentPage.h"
#include "shell/pages/PaymentPanel.h"
#include "shell/window/MainWindow.h"
#include "shell/window/PageArea.h"
#include "shell/window/RestoreIcon.h"
#include "store/LocalDb.h"
#include "tests/pages/PageTestSupport.h"
#include "tests/support/CashierWindow.h"
#include "tests/support/XKeySender.h"

namespace zelvo {
namespace {

using test::SpinUntil;

const QString kTillTotal = QStringLiteral("128.50");

// The cashier on a real X server with the delivered hot keys (show Ctrl+A, hide Ctrl+B), logged
// in, while the till program (another window of this test) has the keyboard. The keys come from
// another client, as the keyboard would send them.
class HotKeyWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_sender.Connected());
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        CLocalDb* db = GetLocalDb();
        ASSERT_NE(db, nullptr);
        LoadTerminalConfig(*db, GetTerminalConfig());
        GetCurrentOperator().Clear();
        m_till.setWindowTitle(QStringLiteral("till"));
        m_till.setGeometry(1000, 20, 300, 40);  // clear of the docked cashier
    }
    void TearDown() override {
        m_window.reset();
        m_operations.reset();
        GetCurrentOperator().Clear();
        CloseLocalDb();
    }

    void StartCashier() {
        m_operations = std::make_unique<OperationServices>();
        MainWindowSetup setup =
            test::CashierWindowSetup(*GetLocalDb(), *m_operations, QRect(0, 0, 1366, 768));
        setup.hotKeys = CreateSystemHotKeys();
        m_window = std::make_unique<MainWindow>(std::move(setup));
        // Stands in for the amount capture: what it leaves behind is the till's total in the
        // amount box and the keyboard in the code box.
        m_window->SetBeforeRaise([this] {
            ++m_captures;
            Payment().SetAmount(kTillTotal);
        });
        m_window->PlaceAndShow();
        ASSERT_TRUE(SpinUntil([this] { return m_window->isActiveWindow(); }));
        ASSERT_TRUE(test::LogInDemoOperator(*m_window));
        ASSERT_EQ(m_window->CurrentPage(), PageId::Payment);
    }
    void GiveTheTillTheKeyboard() {
        m_till.show();
        m_till.activateWindow();
        ASSERT_TRUE(SpinUntil([this] { return QApplication::activeWindow() == &m_till; }));
    }
    bool RaisedWithTheTotal() {
        return SpinUntil([this] {
            return m_window->isActiveWindow() && !m_window->isMinimized() &&
                   Payment().Panel().AmountBox()->text() == kTillTotal &&
                   QApplication::focusWidget() == Payment().Panel().CodeBox();
        });
    }
    bool Minimised() {
        return SpinUntil([this] {
            return m_window->isMinimized() && m_window->Restore()->isVisible() &&
                   !m_window->VisibleFlag();
        });
    }
    PaymentPage& Payment() const {
        return *static_cast<PaymentPage*>(m_window->Page(PageId::Payment));
    }
    void SaveScreenshot(const char* name) {
        const auto folder = std::filesystem::path(ZELVO_BINARY_DIR) / "screenshots" / "hotkeys";
        std::filesystem::create_directories(folder);
        m_window->grab().save(QString::fromStdString((folder / name).string()));
    }

    test::ScopedWorkDir m_dir;
    test::XKeySender m_sender;
    QLineEdit m_till;
    std::unique_ptr<OperationServices> m_operations;
    std::unique_ptr<MainWindow> m_window;
    int m_captures = 0;
};

TEST_F(HotKeyWindowTest, HideKeySendsTheCashierAwayAndShowKeyBringsItBackWithTheAmount) {
    StartCashier();
    GiveTheTillTheKeyboard();

    m_sender.Press({"Control_L"}, "b");
    ASSERT_TRUE(Minimised());
    EXPECT_EQ(m_captures, 0);
    GiveTheTillTheKeyboard();

    m_sender.Press({"Control_L"}, "a");
    ASSERT_TRUE(RaisedWithTheTotal());
    EXPECT_EQ(m_captures, 1);
    EXPECT_TRUE(m_window->VisibleFlag());
    EXPECT_FALSE(m_till.isActiveWindow());
    SaveScreenshot("raised-by-show-key.png");

    // Pressed while the window is up, the key reads the amount again and raises again.
    Payment().Panel().AmountBox()->clear();
    GiveTheTillTheKeyboard();
    m_sender.Press({"Control_L"}, "a");
    ASSERT_TRUE(RaisedWithTheTotal());
    EXPECT_EQ(m_captures, 2);
}

TEST_F(HotKeyWindowTest, KeysWorkWithCapsLockAndNumLockOn) {
    StartCashier();
    m_sender.Tap("Caps_Lock");
    m_sender.Tap("Num_Lock");
    ASSERT_TRUE(m_sender.CapsLockOn() && m_sender.NumLockOn());
    m_sender.Press({"Control_L"}, "b");
    const bool minimised = Minimised();
    GiveTheTillTheKeyboard();
    m_sender.Press({"Control_L"}, "a");
    const bool raised = RaisedWithTheTotal();
    m_sender.Tap("Caps_Lock");
    m_sender.Tap("Num_Lock");
    EXPECT_TRUE(minimised);
    EXPECT_TRUE(raised);
}

TEST_F(HotKeyWindowTest, KeysEditedInTheSettingsWaitForTheNextStart) {
    StartCashier();
    ASSERT_TRUE(
        GetLocalDb()->Execute("update SysConfig set Value = 'alt+q' where Name = 'ShowKey'"));
    m_sender.Press({"Control_L"}, "b");
    ASSERT_TRUE(Minimised());
    m_sender.Press({"Alt_L"}, "q");
    m_sender.Press({"Control_L"}, "a");
    ASSERT_TRUE(RaisedWithTheTotal());
    EXPECT_EQ(m_captures, 1);

    // The next start registers the edited key.
    m_window.reset();
    StartCashier();
    m_sender.Press({"Control_L"}, "b");
    ASSERT_TRUE(Minimised());
    m_sender.Press({"Alt_L"}, "q");
    ASSERT_TRUE(RaisedWithTheTotal());
    EXPECT_EQ(m_captures, 2);
}

TEST_F(HotKeyWindowTest, AShowKeyAnotherProgramHoldsStaysSilentAndTheCashierRuns) {
    m_sender.TakeCombination(HotKeyModifier::Control, "a");
    StartCashier();
    m_sender.Press({"Control_L"}, "b");
    ASSERT_TRUE(Minimised());
    m_sender.Press({"Control_L"}, "a");
    // The hide key still works, so once it has been seen again the show key would have been too.
    m_sender.Press({"Control_L"}, "b");
    EXPECT_EQ(m_sender.PressesReceived(), 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_window->isMinimized());
    EXPECT_EQ(m_captures, 0);
}

TEST_F(HotKeyWindowTest, ClosedCashierLetsGoOfItsKeys) {
    StartCashier();
    m_window.reset();
    // Another program can now have both combinations, and gets them.
    m_sender.TakeCombination(HotKeyModifier::Control, "a");
    m_sender.TakeCombination(HotKeyModifier::Control, "b");
    m_sender.Press({"Control_L"}, "a");
    m_sender.Press({"Control_L"}, "b");
    EXPECT_EQ(m_sender.PressesReceived(), 2);
    EXPECT_EQ(m_captures, 0);
}

}  // namespace
}  // namespace zelvo
